// hv6-sales: the sales host. It opens the diary database of the current
// data set, loads the sales module from its program folder, hands it the
// service objects and opens the module's windows from its menu.

#include "outside/hrvcom106/runningprogram.h"
#include "outside/salehost/hostsettings.h"
#include "outside/salehost/ui/hostservices.h"
#include "outside/salehost/ui/salemodule.h"
#include "outside/salehost/ui/salesframe.h"
#include "platform/presenter.h"
#include "platform/registry.h"
#include "platform/ui/message_box.h"
#include "shell/instanceguard.h"
#include "sales/reports/reportcommand.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QScreen>
#include <QStyle>
#include <QTextStream>

#include <cstdio>

namespace {

const QString kTitle = QStringLiteral("販売管理");

int fail(const QString& text) {
  hv6::showMessage(text, kTitle, hv6::MsgButtons::Ok, hv6::MsgIcon::Error);
  return 1;
}

long today() {
  const QDate date = QDate::currentDate();
  return date.year() * 10000L + date.month() * 100L + date.day();
}

}  // namespace

int main(int argc, char* argv[]) {
  // "--report ...": a report written to a file, without any window (also
  // where no display is).
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const bool report = hv6::sales::isReportCommand(arguments);
  if (report && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("hv6-sales"));
  QApplication::setApplicationDisplayName(kTitle);
  hv6::QtMessagePresenter presenter;
  hv6::setMessagePresenter(&presenter);

  const hv6::RegistryStore registry;
  salehost::HostSettings settings;
  QTextStream errors(stderr);
  if (report) {
    if (salehost::readHostSettings(registry, settings) != 0) {
      errors << QStringLiteral("[%1] 販売管理の設定（データの場所）が読めません。")
                    .arg(salehost::kSettingMissing)
             << '\n';
      return 1;
    }
    salehost::HostServices services;
    if (!services.open(settings.diaryPath)) {
      errors << services.errorText() << '\n';
      return 1;
    }
    return hv6::sales::runReportCommand(arguments, services.store(), errors);
  }
  // One sales host per user (the report command above runs beside it): a
  // second start raises the first one's window.
  hv6::InstanceGuard guard(QStringLiteral("hv6-sales"), QStringLiteral("hv6-sales.instance"));
  switch (guard.acquire()) {
    case hv6::InstanceGuard::Outcome::First: break;
    case hv6::InstanceGuard::Outcome::AlreadyRunning: return 0;
    case hv6::InstanceGuard::Outcome::OtherUser:
    case hv6::InstanceGuard::Outcome::Failed: return fail(guard.errorText());
  }

  if (salehost::readHostSettings(registry, settings) != 0)
    return fail(QStringLiteral("[%1] 販売管理の設定（データの場所）が読めません。\n"
                               "作業日誌（hv6）を一度起動してから、もう一度実行してください。")
                    .arg(salehost::kSettingMissing));

  salehost::HostServices services;
  if (!services.open(settings.diaryPath)) return fail(services.errorText());
  const QString programFolder = QCoreApplication::applicationDirPath();
  services.help().setBookPath(QDir(programFolder).filePath(QStringLiteral("hv6.chm")));
  // New slips start on the day the calendar handed over.
  sl::S_SELENV env{};
  if (services.store().ReadEnvironment(env) == sl::kSlOk) {
    env.lastSlipDate = static_cast<std::int32_t>(salehost::firstSlipDate(settings, today()));
    services.store().UpdateEnvironment(env);
  }

  salehost::SaleModule module;
  if (!module.load(salehost::SaleModule::defaultPath(programFolder)))
    return fail(module.errorText());
  services.handTo(module);

  salehost::SalesFrame frame(module, services);
  CRunningProgram running(kTitle, frame.windowTitle());
  // Another program of the system asks to end: every window closes (a
  // changed slip asks to be saved first) or the answer is no.
  running.setQueryEndHandler([&frame] { return frame.closeChildren(); });
  QObject::connect(&running, &CRunningProgram::closeRequested, &frame, &QWidget::close);
  QObject::connect(&guard, &hv6::InstanceGuard::raiseRequested, &frame, [&frame] {
    if (frame.isMinimized()) frame.showNormal();
    frame.raise();
    frame.activateWindow();
  });
  // Where the desktop does not maximise, the frame still takes most of it.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const QSize size = area.size() * 0.9;
    frame.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, area));
  }
  frame.showMaximized();
  return QApplication::exec();
}
