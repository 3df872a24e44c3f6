#pragma once
// The application object: the start in the order of the system's
// InitInstance, the message loop, and the exit. It owns the settings store,
// the settings record and both databases (through hv6::AppCore), the
// instance guards, the message presenter and the main frame.

#include "platform/registry.h"
#include "platform/ui/message_box.h"
#include "shell/appcore.h"
#include "shell/instanceguard.h"
#include "shell/startup.h"
#include "shell/ui/printrun.h"

#include <QObject>

#include <memory>

class CMainFrame;

class CHrvApp final : public QObject {
  Q_OBJECT

 public:
  // Exit codes of the program.
  static constexpr int kExitNormal = 0;    // also a second start that raised the first
  static constexpr int kExitStartEnded = 1;
  static constexpr int kExitFirstStart = 3;  // --check-start: data missing
  static constexpr int kExitBadArguments = 2;
  static constexpr int kExitPrintFailed = 4;
  // --import-mobile: 0 when the records were imported and the server asked
  // to delete them (outcome 0); otherwise one of these.
  static constexpr int kExitAlreadyRunning = 5;   // hv6 runs (this user or another): nothing done
  static constexpr int kExitImportNotRun = 6;     // diary not open, related programs running, or
                                                  // the run ended at its start (8001, 2039, memory)
  static constexpr int kExitLogonFailed = 11;     // outcome 1
  static constexpr int kExitDownloadFailed = 12;  // outcome 2 after a failure (records stay on the server)
  static constexpr int kExitClearFailed = 13;     // outcome 3
  static constexpr int kExitNothingToImport = 14; // outcome 2: the server held no records
  static constexpr int kExitFetchFailed = 20;  // --fetch-weather: the retrieval failed

  explicit CHrvApp(hv6::StartOptions options, hv6::PrintRequest print = {});
  ~CHrvApp() override;

  // InitInstance, the message loop and ExitInstance; the exit code.
  int run();

  // False when the start ended (exitCode() tells how).
  bool InitInstance();
  int ExitInstance();

  // The message boxes of the program go to this presenter instead of Qt's
  // (tests answer them); before InitInstance.
  void usePresenter(hv6::MessagePresenter* presenter) { presenterInUse_ = presenter; }

  hv6::AppCore& core() { return core_; }
  CMainFrame* mainFrame() const { return frame_.get(); }
  int exitCode() const { return exitCode_; }
  // The help file: the program's file name with "chm" as its last three
  // characters' replacement, as the framework derived it.
  const QString& helpFilePath() const { return helpPath_; }

 private:
  // --print: the start without guards and window, the month to PDF.
  int runPrint();
  // --import-mobile: the start with the guards, without a window; the
  // import command's run with its messages on standard error and the
  // summary on standard output.
  int runImportMobile();
  // --fetch-weather: the reading start without guards and window, then the
  // weather retrieval with its messages on standard error.
  int runFetchWeather();
  bool takeInstanceGuards();
  bool createFrame();
  void reportCheckStart();
  void onRaiseRequested();

  hv6::StartOptions options_;
  hv6::PrintRequest print_;
  hv6::RegistryStore store_;
  hv6::AppCore core_;
  hv6::InstanceGuard guard_;
  hv6::QtMessagePresenter presenter_;
  hv6::MessagePresenter* presenterInUse_ = &presenter_;
  std::unique_ptr<CMainFrame> frame_;
  QString helpPath_;
  bool waitForRaise_ = false;
  int exitCode_ = kExitNormal;
};
