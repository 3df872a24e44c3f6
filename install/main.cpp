// hv6-install: places the program folder's environment files and demo data,
// writes the settings and optionally makes a data folder or the demo data
// the data in use.
//
//   hv6-install --prefix DIR [--data DIR | --demo] [--first-run]
//
// Exit codes: 0 done, 1 the installation failed, 2 a wrong command line.
#include "install/installer.h"
#include "install/settings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void printLine(std::FILE* stream, const QString& text) {
  std::fprintf(stream, "%s\n", qUtf8Printable(text));
}

int usageError(const QCommandLineParser& parser, const QString& text) {
  printLine(stderr, QStringLiteral("hv6-install: ") + text);
  printLine(stderr, parser.helpText());
  return kUsage;
}

QString absolute(const QString& path) { return QDir::cleanPath(QDir(path).absolutePath()); }

}  // namespace

int main(int argc, char** argv) {
  // The demo photos are drawn without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QGuiApplication::setApplicationName(QStringLiteral("hv6-install"));
  QGuiApplication::setApplicationVersion(QStringLiteral("6.05.01"));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Harvo V6 Plus のインストール: プログラムフォルダ DIR/lib/hv6 の環境ファイルと"
                     "デモデータを置き、設定を書き込みます。DIR/lib/hv6 に書き込めない場合"
                     "(システムのパッケージ)、デモデータは共有フォルダに作成します。\n"
                     "Installs Harvo V6 Plus: places the environment files and the demo data in "
                     "DIR/lib/hv6 and writes the settings. Run `cmake --install` into DIR first. "
                     "When DIR/lib/hv6 is read-only (a system package), the demo data is "
                     "generated in the machine-wide folder."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption prefix(QStringLiteral("prefix"),
                                  QStringLiteral("インストール先 (the installation prefix)"),
                                  QStringLiteral("DIR"));
  const QCommandLineOption data(
      QStringLiteral("data"),
      QStringLiteral("新しいデータフォルダを作成して使う (create a new data "
                     "folder and use it)"),
      QStringLiteral("DIR"));
  const QCommandLineOption demo(QStringLiteral("demo"),
                                QStringLiteral("デモデータを使う (use the demo data)"));
  const QCommandLineOption firstRun(
      QStringLiteral("first-run"),
      QStringLiteral("設定が既にあるユーザには何もしない (do nothing for a user who has settings "
                     "already)"));
  parser.addOptions({prefix, data, demo, firstRun});

  if (!parser.parse(QGuiApplication::arguments())) return usageError(parser, parser.errorText());
  if (parser.isSet(help)) {
    printLine(stdout, parser.helpText());
    return 0;
  }
  if (!parser.positionalArguments().isEmpty())
    return usageError(parser, QStringLiteral("余分な引数があります (unexpected arguments): ") +
                                  parser.positionalArguments().join(u' '));
  if (parser.value(prefix).isEmpty())
    return usageError(parser,
                      QStringLiteral("--prefix DIR を指定してください (--prefix DIR is required)"));
  if (parser.isSet(data) && parser.isSet(demo))
    return usageError(
        parser, QStringLiteral(
                    "--data と --demo は同時に指定できません (give --data or --demo, not both)"));
  if (parser.isSet(data) && parser.value(data).isEmpty())
    return usageError(parser,
                      QStringLiteral("--data DIR のフォルダが空です (--data needs a folder)"));

  hv6::install::InstallOptions options;
  options.prefix = absolute(parser.value(prefix));
  if (parser.isSet(data)) options.dataFolder = absolute(parser.value(data));
  options.demo = parser.isSet(demo);
  // A system package's program folder: the demo data goes elsewhere.
  const QFileInfo programFolder(hv6::install::programFolderOf(options.prefix));
  options.readOnlyProgramFolder = programFolder.isDir() && !programFolder.isWritable();

  hv6::RegistryStore store;
  if (parser.isSet(firstRun) && hv6::install::userIsSetUp(store)) {
    printLine(stdout, QStringLiteral("hv6-install: 設定は既にあります。何もしません (this user is set "
                                     "up already; nothing done)"));
    return 0;
  }
  hv6::install::InstallReport report;
  const bool done = hv6::install::runInstallation(store, options, report);
  for (const QString& note : report.notes)
    printLine(stdout, QStringLiteral("hv6-install: ") + note);
  if (!done) {
    printLine(stderr, QStringLiteral("hv6-install: エラー (error): ") + report.error);
    return kFailed;
  }
  printLine(stdout, QStringLiteral("hv6-install: 完了しました (done)"));
  return 0;
}
