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
