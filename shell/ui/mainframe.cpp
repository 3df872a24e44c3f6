#include "shell/ui/mainframe.h"

#include "calendar/commands.h"
#include "calendar/filler.h"
#include "calendar/ui/calendarhost.h"
#include "calendar/ui/hrvview.h"
#include "calendar/ui/statusmeter.h"
#include "outside/hrvcom106/winpos.h"
#include "outside/vqbase106/ui/calendarbox.h"
#include "outside/vqbase106/ui/meterbar.h"
#include "tools/ui/photoalbumdlg.h"
#include "tools/ui/photodesk.h"
#include "outside/vqbase106/vqdate.h"
#include "platform/presenter.h"
#include "resources/pictures.h"
#include "shell/appcore.h"
#include "shell/envcopy.h"
#include "shell/startup.h"
#include "shell/ui/firststartdlg.h"
#include "shell/ui/splashwnd.h"
#include "weather/retrieval.h"
#include "weather/weatherlink.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTime>
#include <QTimer>

namespace {

using hv6::StartKeys;

constexpr int kRefusedPumpMs = 300;

bool isPopupKind(const QWidget* window) {
  switch (window->windowType()) {
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool:
    case Qt::Window:
      return true;
    default:  // menus, tool tips and the splash close by themselves
      return false;
  }
}

// The application's settings and diary database as the calendar sees them.
class FrameCalendarHost final : public hv6::CalendarHost {
 public:
  explicit FrameCalendarHost(hv6::AppCore& core) : core_(core) {}
  hv6::AppRegistry& registry() override { return core_.registry(); }
  CDaoDatabase* diaryDatabase() override { return &core_.diaryDatabase(); }
  CDaoDatabase* reopenDiaryDatabase() override { return core_.reopenDiaryDatabase(); }
  void setModeItemId(int id) override { core_.modeItemId = id; }

 private:
  hv6::AppCore& core_;
};

}  // namespace

long CMainFrame::today() {
  long date = 0;
  CVqdate::GetDate(date);
  return date;
}

CMainFrame::CMainFrame(hv6::AppCore& core, QWidget* parent)
    : QMainWindow(parent),
      core_(core),
      host_(std::make_unique<FrameCalendarHost>(core)),
      fillers_(std::make_unique<hv6::EmptyFillers>()) {
  setObjectName(QStringLiteral("MainFrame"));
  setWindowTitle(hv6::kAppTitle);
  setWindowIcon(hv6::programIcon());
}

void CMainFrame::setFillers(std::unique_ptr<hv6::CalendarFillers> fillers) {
  if (!view_ && fillers) fillers_ = std::move(fillers);
}

bool CMainFrame::OnCreateClient() {
  view_ = CHrvView::create(*host_, *fillers_, this);
  if (!view_) return false;
  setCentralWidget(view_);
  meterBar_ = new CMeterBar(this);
  meterBar_->setObjectName(QStringLiteral("MeterBar"));
  statusBar()->addPermanentWidget(meterBar_);
  meterBar_->setFixedWidth(width() / 2);
  meter_ = std::make_unique<hv6::StatusMeter>(*meterBar_, statusBar());
  view_->setMeter(meter_.get());
  createMenus();
  createLauncherToolBar();
  createCalendarToolBar();
  createStatusBar();
  updateCommandStates();
  connect(view_, &CHrvView::titleChanged, this, &QWidget::setWindowTitle);
  connect(view_, &CHrvView::dateShown, datePicker_,
          [this](int y, int m, int d) { datePicker_->SetDate(y, m, d); });
  connect(view_, &CHrvView::commandRequested, this, &CMainFrame::onViewCommand);
  photos_ = std::make_unique<CCalendarPhotos>(
      *view_, [this] { return &core_.diaryDatabase(); }, this);
  photos_->desk().setHelpHandler([this] { showHelp(CPhotoAlbumDlg::kHelpTopic); });
  view_->OnInitialUpdate(today());
  applyLaunchers();
  return true;
}

void CMainFrame::stepMonth(int id) {
  hv6::YearMonthDay date{};
  datePicker_->GetDate(date.year, date.month, date.day);
  const hv6::YearMonthDay next = hv6::stepMonth(date, id == kPrevMonth ? -1 : +1);
  datePicker_->SetDate(next.year, next.month, next.day);
  view_->moveTo(next.year, next.month, next.day);
}

CMainFrame::~CMainFrame() = default;

QString CMainFrame::closeRefusedText() {
  return QStringLiteral(
      "本体カレンダを終了出来ませんでした。\n"
      "画面を閉じてから「ファイル-終了」で本体カレンダを終了してください。");
}

void CMainFrame::OnCreate(bool showSplash) {
  if (view_) view_->setBackdrop(hv6::backgroundPictureId(today(), QTime::currentTime().second()));
  if (showSplash) {
    splash_ = std::make_unique<CSplashWnd>(hv6::picture(hv6::kSplashPicture));
    splash_->ShowSplashScreen();
  }
  hv6::copyEnvironment(core_.settings().installPath, core_.registry());
}

CMainFrame::Activation CMainFrame::ActivateFrame(bool allowFirstStartDialog) {
  const bool placed = loadPlacement();
  Activation activation = Activation::Running;
  if (!core_.dataFilesPresent()) {
    if (splash_) splash_->HideSplashScreen();
    if (!allowFirstStartDialog) return Activation::FirstStartNeeded;
    CFirstStartDlg dialog(core_.registry(),
                          {[this](int mode) { return firstStartNewData(mode); },
                           [this] { return firstStartDataFolder(); }});
    if (hv6::FirstStartChoice::endsProgram(dialog.exec())) {
      // As the exit command: the frame closes once the program runs.
      QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
      activation = Activation::Exiting;
    } else if (view_) {
      view_->reload();
    }
  }
  loadToolBarState();
  if (placed) {
    show();
  } else {
    // Maximised, over a normal size that is useful where the desktop does
    // not maximise (no window manager) and when the user restores it.
    if (const QScreen* screen = this->screen())
      setGeometry(CWinPos::defaultPlacement(screen->availableGeometry(), minimumSizeHint()));
    showMaximized();
  }
  activateWindow();
  return activation;
}

void CMainFrame::raiseWindow() {
  QWidget* popup = openPopup();
  if (!isVisible()) {  // still starting: only the first-start dialog can be brought forward
    if (popup) popup->activateWindow();
    return;
  }
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  if (popup) {
    popup->raise();
    popup->activateWindow();
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (QWidget* popup = openPopup()) {
    event->ignore();
    QEventLoop pump;
    QTimer::singleShot(kRefusedPumpMs, &pump, &QEventLoop::quit);
    pump.exec();
    popup->raise();
    popup->activateWindow();
    hv6::showMessage(closeRefusedText(), hv6::kAppTitle, hv6::MsgButtons::Ok,
                     hv6::MsgIcon::Warning, popup);
    return;
  }
  savePlacement();
  saveToolBarState();
  if (view_) view_->saveSettings(today());
  if (splash_) splash_->HideSplashScreen();
  event->accept();
  Q_EMIT closed();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (meterBar_) meterBar_->setFixedWidth(width() / 2);
}

QWidget* CMainFrame::openPopup() const {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != this) return modal;
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (QWidget* window : windows) {
    if (window == this || window == splash_.get() || !window->isVisible()) continue;
    if (isPopupKind(window)) return window;
  }
  return nullptr;
}

bool CMainFrame::loadPlacement() {
  return CWinPos(core_.registry().store(), core_.registry().keyPath(StartKeys::kProfile))
      .LoadWindowPlacement(this);
}

void CMainFrame::savePlacement() {
  CWinPos(core_.registry().store(), core_.registry().keyPath(StartKeys::kProfile))
      .SaveWindowPlacement(this);
}

void CMainFrame::loadToolBarState() {
  QByteArray state;
  if (core_.registry().readBinary(StartKeys::kProfile, StartKeys::kToolBarState, state))
    restoreState(state);
}

void CMainFrame::saveToolBarState() {
  // Without the profile key (made by the installation) the state is not kept.
  core_.registry().writeBinary(StartKeys::kProfile, StartKeys::kToolBarState, saveState());
}
