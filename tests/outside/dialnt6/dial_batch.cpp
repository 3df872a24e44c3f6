// A program without widgets that dials through the dial library, as a run
// without windows does: dial_batch FOLDER ENTRY prints "RESULT ERROR".
#include <QCoreApplication>
#include <QTextStream>

#include "outside/dialnt6/rasapi.h"
#include "platform/module.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments();
  if (arguments.size() != 3) return 2;
  hv6::Module module;
  if (!module.load(arguments.at(1), QStringLiteral("dialnt6.dll"))) return 3;
  auto* dial = module.function<hv6::ras::RasDialDlgFunction>(hv6::ras::kRasDialDlgName);
  if (dial == nullptr) return 4;
  hv6::ras::RasDialDlg info{};
  info.dwSize = sizeof info;
  const QByteArray entry = arguments.at(2).toUtf8();
  const int dialled = dial(nullptr, entry.constData(), nullptr, &info);
  QTextStream(stdout) << dialled << ' ' << info.dwError << Qt::endl;
  return 0;
}
