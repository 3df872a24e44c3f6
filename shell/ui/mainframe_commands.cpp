// The frame's commands: the launchers, help, the launcher settings, the
// base-information sheet, the mobile diary import and input settings, the
// field locations, the
// photo commands, the data tools, the version dialog, and the commands whose
// subsystems come later.
#include "calendar/commands.h"
#include "calendar/ui/hrvview.h"
#include "outside/errtext6/errmsg.h"
#include "platform/presenter.h"
#include "shell/appcore.h"
#include "shell/commandtexts.h"
#include "shell/firststart.h"
#include "shell/startup.h"
#include "shell/ui/mainframe.h"
#include "shell/ui/menusetdlg.h"
#include "weather/ui/fieldlocationdlg.h"
#include "tools/ui/photodesk.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QStatusBar>
#include <QToolBar>

namespace {

using namespace hv6::FrameCmd;

bool isLauncherCommand(int id) {
  return id >= hv6::kLauncherCommandFirst && id <= hv6::kLauncherCommandLast;
}

}  // namespace

void CMainFrame::OnCommand(int id) {
  if (isLauncherCommand(id)) return launch(id);
  switch (id) {
    case kHelp: return showHelp(hv6::HelpTopic::kMain);
    case kMenuSettings: return runMenuSettings();
    case kBaseInfo: return runBaseInfo();
    case kMobileImport: return runMobileImport();
    case kMobileSettings: return runMobileSettings();
    case kFieldLocations: return runFieldLocations();
    case kWeatherRetrieval: return runWeatherRetrieval();
    case kVersion: return showVersion();
    case kNewData:
    case kBackup:
    case kRestore:
    case kMaintenance: return runDataTool(id);
    case kSupport: return runEnquiry();
    case kExit: close(); return;
    case kPictureImport:
    case kPictureShow:
    case kAlbum: photos_->run(id); return;
    default: return showNotYetAvailable();
  }
}

// Commands of the view's context menus that the frame carries out.
// The photo commands of a day's menu work on that day.
void CMainFrame::onViewCommand(int id) {
  if (id == kPictureImport || id == kPictureShow)
    photos_->runOnDay(id, view_->logic().state().selectedDate);
  else
    OnCommand(id);
}

void CMainFrame::launch(int id) {
  const QList<hv6::LauncherEntry>& entries = view_->logic().launchers();
  const int index = id - hv6::kLauncherCommandBase - 1;
  if (index < 0 || index >= entries.size()) return;
  launcher_.launch(entries.at(index), core_.diaryDatabase().IsOpen(),
                   view_->logic().state().selectedDate, today(), core_.registry());
}

void CMainFrame::applyLaunchers() {
  const QList<bool> offered = hv6::offeredEntries(view_->logic().launchers());
  for (int number = 1; number <= offered.size(); ++number) {
    QAction* action = frameAction(hv6::kLauncherCommandBase + number);
    if (action && launcherBar_ && launcherBar_->actions().contains(action))
      action->setVisible(offered.at(number - 1));
  }
  updateToolsMenu();
  if (!hv6::anyUsableOffered(offered)) CErrMsg().Disp(2911, 1, 0, hv6::kAppTitle);
}

// Any mode of the window is left and the mouse released before the page
// opens in the browser.
void CMainFrame::showHelp(int topic) {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  const hv6::PageOpener open =
      helpOpener_ ? helpOpener_ : hv6::PageOpener([](const QUrl& url) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool opened = QDesktopServices::openUrl(url);
        QApplication::restoreOverrideCursor();
        return opened;
      });
  hv6::showHelpTopic(hv6::HelpBook(helpPath_), topic, open);
}

void CMainFrame::runMenuSettings() {
  statusBar()->showMessage(hv6::commandPrompt(kRefresh));
  CMenuSetDlg dialog(core_.registry(), view_->logic().launchers(), this);
  dialog.setHelpHandler([this] { showHelp(hv6::HelpTopic::kMenuSettings); });
  const bool accepted = dialog.exec() == QDialog::Accepted;
  statusBar()->showMessage(hv6::commandPrompt(kIdlePrompt));
  if (!accepted) return;
  view_->logic().setLaunchers(dialog.entries());
  applyLaunchers();
}

// Both databases are opened again for the dialog; one that does not open
// is handed over closed, and the dialog says so.
void CMainFrame::runFieldLocations() {
  CDaoDatabase* diary = core_.reopenDiaryDatabase();
  CDaoDatabase* weather = core_.reopenWeatherDatabase();
  CFieldLocationDlg dialog(diary, weather, observationSlots_, this);
  dialog.setHelpHandler([this](int topic) { showHelp(topic); });
  dialog.run();
}

void CMainFrame::showNotYetAvailable() {
  hv6::showMessage(hv6::FirstStartChoice::notYetAvailableText(), hv6::kAppTitle,
                   hv6::MsgButtons::Ok, hv6::MsgIcon::Information, this);
}

// The weather command is enabled while the online service and weather
// communication are both switched on.
void CMainFrame::updateCommandStates() {
  std::uint32_t terra8 = 0, network = 0;
  const bool read =
      core_.registry().readDword(hv6::StartKeys::kBaseInfo, QStringLiteral("Terra8Setup"), terra8) &&
      core_.registry().readDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kNetworkSetup, network);
  if (QAction* weather = frameAction(kWeatherRetrieval))
    weather->setEnabled(read && terra8 != 0 && network != 0);
}
