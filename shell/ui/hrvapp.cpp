#include "shell/ui/hrvapp.h"

#include "calendar/printing.h"
#include "calendar/salesfill.h"
#include "calendar/ui/hrvview.h"
#include "mobile/exchange.h"
#include "outside/hrvcom106/checkv5app.h"
#include "outside/wxfetch6/wxfetch6.h"
#include "platform/presenter.h"
#include "shell/launcher.h"
#include "shell/relatedprograms.h"
#include "shell/ui/mainframe.h"
#include "weather/retrieval.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

// For the two-process test of the guard: with --check-start, the program
// waits after its report for one raise request, then closes.
constexpr auto kWaitRaiseVariable = "HV6_CHECK_WAIT_RAISE";

void printLine(const QString& line) {
  std::fputs(line.toUtf8().constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

QString openState(const CDaoDatabase& db, const QString& error) {
  if (db.IsOpen()) return QStringLiteral("open");
  return error.isEmpty() ? QStringLiteral("closed") : QStringLiteral("closed: ") + error;
}

}  // namespace

CHrvApp::CHrvApp(hv6::StartOptions options, hv6::PrintRequest print)
    : options_(std::move(options)), print_(std::move(print)), core_(store_),
      guard_(hv6::kAppTitle) {
  waitForRaise_ = options_.checkStart && !qEnvironmentVariableIsEmpty(kWaitRaiseVariable);
  connect(&guard_, &hv6::InstanceGuard::raiseRequested, this, &CHrvApp::onRaiseRequested);
}

CHrvApp::~CHrvApp() {
  frame_.reset();
  if (&hv6::messagePresenter() == presenterInUse_) hv6::setMessagePresenter(nullptr);
}

int CHrvApp::run() {
  if (options_.importMobile) return runImportMobile();
  if (options_.fetchWeather) return runFetchWeather();
  if (print_.wanted) return runPrint();
  if (!InitInstance()) return ExitInstance();
  const int loopCode = QApplication::exec();
  const int code = ExitInstance();
  return code != kExitNormal ? code : loopCode;
}

bool CHrvApp::InitInstance() {
  // A check run reports on standard error instead of message boxes.
  if (!options_.checkStart) hv6::setMessagePresenter(presenterInUse_);
  QApplication::setQuitOnLastWindowClosed(false);
  if (!takeInstanceGuards()) return false;
  // The framework's compatibility version, the window class "HrvClass",
  // control containers and 3D controls have no equivalent here.
  if (!core_.runStartSteps(options_.commandLine).running) {
    exitCode_ = kExitStartEnded;
    return false;
  }
  // The profile settings live in hv6::StartKeys::kProfile below the root.
  helpPath_ = QApplication::applicationFilePath() + QStringLiteral(".chm");
  return createFrame();
}

// Messages go to standard error (no presenter is installed).
int CHrvApp::runPrint() {
  const auto fail = [](const QString& text, int code) {
    std::fputs(("hv6 --print: " + text + u'\n').toUtf8().constData(), stderr);
    return code;
  };
  if (!print_.error.isEmpty()) return fail(print_.error, kExitBadArguments);
  QApplication::setQuitOnLastWindowClosed(false);
  // Reads only: a print beside the running program must not reset its
  // flags or convert the data file under it.
  if (!core_.runReadingSteps(options_.commandLine).running) return kExitStartEnded;
  frame_ = std::make_unique<CMainFrame>(core_);
  frame_->setFillers(std::make_unique<hv6::DatabaseFillers>());
  if (!frame_->OnCreateClient()) {
    ExitInstance();
    return kExitStartEnded;
  }
  // An empty page would pass for a month without work.
  if (!core_.diaryDatabase().IsOpen()) {
    const QString why = core_.diaryOpenError();
    ExitInstance();
    return fail(QStringLiteral("the diary database is not open: ") + why, kExitStartEnded);
  }
  frame_->view()->moveTo(print_.year, print_.month, 1);
  QString error;
  const bool printed = hv6::printCalendarToPdf(frame_->view()->printJob(), print_.pdfFile, &error);
  ExitInstance();
  if (!printed) return fail(error, kExitPrintFailed);
  std::fputs(("hv6 --print: " + print_.pdfFile + u'\n').toUtf8().constData(), stdout);
  return kExitNormal;
}

// A scheduled import writes the diary: it runs only where no hv6 runs,
// holding the guards as a start does, and leaves a running one alone.
int CHrvApp::runImportMobile() {
  // Messages shown already are not repeated.
  const auto fail = [this](const QString& text, int code) {
    if (!text.isEmpty())
      std::fputs(("hv6 --import-mobile: " + text + u'\n').toUtf8().constData(), stderr);
    ExitInstance();
    return code;
  };
  if (print_.wanted || options_.checkStart)
    return fail(QStringLiteral("--import-mobile goes alone, without --print or --check-start"),
                kExitBadArguments);
  QApplication::setQuitOnLastWindowClosed(false);
  switch (guard_.acquire(false)) {
    case hv6::InstanceGuard::Outcome::First:
      break;
    case hv6::InstanceGuard::Outcome::AlreadyRunning:
      return fail(QStringLiteral("hv6 is running; import from its menu or after it ends"),
                  kExitAlreadyRunning);
    case hv6::InstanceGuard::Outcome::OtherUser:
      return fail(hv6::kOtherUserMessage, kExitAlreadyRunning);
    case hv6::InstanceGuard::Outcome::Failed:
      return fail(QStringLiteral("起動できませんでした。\n") + guard_.errorText(), kExitStartEnded);
  }
  if (!core_.runStartSteps(options_.commandLine).running) return fail(QString(), kExitStartEnded);
  if (!core_.diaryDatabase().IsOpen())
    return fail(QStringLiteral("the diary database is not open: ") + core_.diaryOpenError(),
                kExitImportNotRun);
  // The launcher entries name the programs that must not run meanwhile.
  // Without a window the question of closing them gets the answer that
  // changes nothing: a running related program ends the run.
  QList<hv6::LauncherEntry> entries;
  if (!hv6::loadLauncherEntries(core_.registry(), entries)) {
    CErrMsg().Disp(2504, 1, 0, hv6::kAppTitle);
    return fail(QString(), kExitStartEnded);
  }
  QList<CCheckV5App::LauncherProgram> launchers;
  for (const hv6::LauncherEntry& entry : entries)
    if (!entry.exe.isEmpty()) launchers.append({entry.name, entry.exe});
  CCheckV5App check(launchers);
  if (!hv6::closeRelatedPrograms(check))
    return fail(QStringLiteral("related programs are running"), kExitImportNotRun);
  hv6::StandardOutputFeedback output;
  const hv6::MobileImportReport report = hv6::runMobileDiaryImport(core_.diaryDatabase(), output);
  ExitInstance();
  if (!report.ran) return kExitImportNotRun;
  switch (report.outcome) {
    case 0: return kExitNormal;
    case 1: return kExitLogonFailed;
    case 2: return report.failed ? kExitDownloadFailed : kExitNothingToImport;
    default: return kExitClearFailed;
  }
}

// A daily timer's retrieval may run beside the running program: the
// settings are only read (-REG holds for this run alone), nothing is reset
// and the databases are read here, written by the weather library. It runs
// whatever NetworkSetup says and dials nothing: the line the machine has is
// used.
int CHrvApp::runFetchWeather() {
  const auto fail = [](const QString& text, int code) {
    std::fputs(("hv6 --fetch-weather: " + text + u'\n').toUtf8().constData(), stderr);
    return code;
  };
  if (print_.wanted || options_.checkStart || options_.importMobile)
    return fail(QStringLiteral("--fetch-weather goes alone, without --print, --check-start or --import-mobile"),
                kExitBadArguments);
  QApplication::setQuitOnLastWindowClosed(false);
  if (!core_.runReadingSteps(options_.commandLine).running) return kExitStartEnded;
  hv6::wxfetch::useSettingsKey(hv6::regOptionKey(options_.commandLine).value_or(QString()));
  hv6::Wxfetch6Library library;
  const QDate today = QDate::currentDate();
  const bool retrieved = hv6::RetrieveWeatherData(
      library, [this] { return core_.reopenWeatherDatabase(); },
      today.year() * 10000L + today.month() * 100L + today.day());
  ExitInstance();
  return retrieved ? kExitNormal : kExitFetchFailed;
}

bool CHrvApp::takeInstanceGuards() {
  switch (guard_.acquire()) {
    case hv6::InstanceGuard::Outcome::First:
      return true;
    case hv6::InstanceGuard::Outcome::AlreadyRunning:
      exitCode_ = kExitNormal;
      return false;
    case hv6::InstanceGuard::Outcome::OtherUser:
      hv6::showMessage(hv6::kOtherUserMessage, hv6::kAppTitle, hv6::MsgButtons::Ok,
                       hv6::MsgIcon::Warning);
      break;
    case hv6::InstanceGuard::Outcome::Failed:
      hv6::showMessage(QStringLiteral("起動できませんでした。\n") + guard_.errorText(),
                       hv6::kAppTitle, hv6::MsgButtons::Ok, hv6::MsgIcon::Error);
      break;
  }
  exitCode_ = kExitStartEnded;
  return false;
}

// The single-document template of the framework becomes the frame with its
// view, made here directly; the new-document command is its first activation.
bool CHrvApp::createFrame() {
  frame_ = std::make_unique<CMainFrame>(core_);
  frame_->setFillers(std::make_unique<hv6::DatabaseFillers>());
  if (!frame_->OnCreateClient()) {
    exitCode_ = kExitStartEnded;
    return false;
  }
  frame_->setHelpPath(helpPath_);
  connect(frame_.get(), &CMainFrame::closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  frame_->OnCreate(true);
  const CMainFrame::Activation activation = frame_->ActivateFrame(!options_.checkStart);
  if (activation == CMainFrame::Activation::FirstStartNeeded) {
    printLine(QStringLiteral("hv6 --check-start: data files missing: the first-start dialog would be shown"));
    exitCode_ = kExitFirstStart;
    return false;
  }
  if (options_.checkStart && activation == CMainFrame::Activation::Running) reportCheckStart();
  return true;
}

void CHrvApp::reportCheckStart() {
  QString weatherSetting;
  core_.registry().readString(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kWeatherDataPath,
                              weatherSetting);
  printLine(QStringLiteral("hv6 --check-start: DataPath=%1 (%2) WeatherDataPath=%3 (%4)")
                .arg(core_.settings().dataPath,
                     openState(core_.diaryDatabase(), core_.diaryOpenError()), weatherSetting,
                     openState(core_.weatherDatabase(), core_.weatherOpenError())));
  if (waitForRaise_) {
    printLine(QStringLiteral("hv6 --check-start: waiting for a raise request"));
    return;
  }
  QMetaObject::invokeMethod(frame_.get(), &QWidget::close, Qt::QueuedConnection);
}

void CHrvApp::onRaiseRequested() {
  if (frame_) frame_->raiseWindow();
  if (!waitForRaise_ || !frame_) return;
  printLine(QStringLiteral("hv6 --check-start: raise requested"));
  waitForRaise_ = false;
  QMetaObject::invokeMethod(frame_.get(), &QWidget::close, Qt::QueuedConnection);
}

int CHrvApp::ExitInstance() {
  frame_.reset();
  core_.closeDatabases();
  guard_.release();
  return exitCode_;
}
