// The data tools as the frame runs them: the frame's side of the tool
// frame (settings, databases, the other programs, the launcher array, the
// view), and the first-start dialog's new data and data folder.
#include "calendar/ui/hrvview.h"
#include "outside/errtext6/errmsg.h"
#include "platform/process.h"
#include "shell/accessflag.h"
#include "shell/appcore.h"
#include "shell/commandtexts.h"
#include "shell/relatedprograms.h"
#include "shell/startup.h"
#include "shell/ui/baseinfosheet.h"
#include "shell/ui/mainframe.h"
#include "tools/toolframe.h"

#include <QCoreApplication>

class FrameToolHost final : public hv6::DataToolHost {
 public:
  explicit FrameToolHost(CMainFrame& frame) : frame_(frame), access_(frame.core_.registry()) {}

  bool writeAccess(std::uint32_t value) override {
    return value != 0 ? access_.setBusy() : access_.setFree();
  }
  bool closeRelatedPrograms() override {
    CCheckV5App check(frame_.launcherPrograms());
    return hv6::closeRelatedPrograms(check, &frame_);
  }
  bool closeDiaryDatabase() override { return closeIfOpen(frame_.core_.diaryDatabase()); }
  bool closeWeatherDatabase() override { return closeIfOpen(frame_.core_.weatherDatabase()); }
  bool readInstallPath(QString& path) override {
    return frame_.core_.registry().readString(hv6::StartKeys::kEnvironment,
                                              hv6::StartKeys::kInstallPath, path);
  }
  void reopenDiaryDatabase() override { frame_.core_.reopenDiaryDatabase(); }
  void reopenWeatherDatabase() override { frame_.core_.reopenWeatherDatabase(); }
  void reloadView() override {
    if (frame_.view_) frame_.view_->reload();
  }
  QString programFolder() override { return QCoreApplication::applicationDirPath(); }
  void* viewWindow() override { return static_cast<QWidget*>(frame_.view_); }
  hv6::LauncherArray launchers() override {
    hv6::LauncherArray entries{};
    if (frame_.view_) hv6::toToolEntries(frame_.view_->logic().launchers(), entries.data());
    return entries;
  }
  void takeLaunchers(const hv6::LauncherArray& entries) override {
    if (frame_.view_)
      frame_.view_->logic().setLaunchers(hv6::fromToolEntries(entries.data(), HV6_LAUNCHER_COUNT));
  }
  bool saveLaunchers() override {
    return frame_.view_ &&
           hv6::saveLauncherEntries(frame_.core_.registry(), frame_.view_->logic().launchers());
  }
  void refreshLauncherButtons() override { frame_.applyLaunchers(); }
  bool startProgram(const QString& commandText) override {
    return hv6::startCommand(commandText).ok;
  }

 private:
  static bool closeIfOpen(CDaoDatabase& db) {
    if (!db.IsOpen()) return false;
    db.Close();
    return true;
  }

  CMainFrame& frame_;
  hv6::AccessFlag access_;
};

void CMainFrame::runDataTool(int id) {
  using namespace hv6::FrameCmd;
  const hv6::DataTool tool = id == kBackup        ? hv6::DataTool::Backup
                             : id == kRestore     ? hv6::DataTool::Restore
                             : id == kMaintenance ? hv6::DataTool::Maintenance
                                                  : hv6::DataTool::NewData;
  FrameToolHost host(*this);
  hv6::runDataTool(tool, host);
}

void CMainFrame::runEnquiry() {
  FrameToolHost host(*this);
  hv6::runEnquiryTool(host);
}

bool CMainFrame::firstStartNewData(int mode) {
  FrameToolHost host(*this);
  return hv6::runFirstStartNewData(mode, host);
}

// The base-information sheet in mode 0; the diary path chosen in it when
// it ended with OK.
std::optional<QString> CMainFrame::firstStartDataFolder() {
  CCheckV5App check(launcherPrograms());
  CBaseInfo sheet(
      {core_.registry(), check, dialUpEntries(), [this] { return core_.reopenWeatherDatabase(); }},
      0, hv6::kAppTitle, this);
  if (sheet.run() != QDialog::Accepted) return std::nullopt;
  return sheet.diaryPath();
}
