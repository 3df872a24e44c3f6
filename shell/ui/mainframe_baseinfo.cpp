// The base-information command and the version dialog of the frame.
#include "calendar/ui/hrvview.h"
#include "outside/errtext6/errmsg.h"
#include "outside/hrvcom106/version.h"
#include "shell/appcore.h"
#include "shell/baseinfo.h"
#include "shell/relatedprograms.h"
#include "shell/startup.h"
#include "shell/ui/baseinfosheet.h"
#include "shell/ui/mainframe.h"
#include "weather/dialuplink.h"

QList<CCheckV5App::LauncherProgram> CMainFrame::launcherPrograms() const {
  QList<CCheckV5App::LauncherProgram> programs;
  for (const hv6::LauncherEntry& entry : view_->logic().launchers())
    if (!entry.exe.isEmpty()) programs.append({entry.name, entry.exe});
  return programs;
}

hv6::DialUpEntriesFactory CMainFrame::dialUpEntries() {
  return [this]() -> std::unique_ptr<hv6::DialUpEntries> {
    return std::make_unique<CDialUpLink>(core_.registry());
  };
}

void CMainFrame::runBaseInfo() {
  CCheckV5App check(launcherPrograms());
  if (!hv6::closeRelatedPrograms(check, this)) return;
  CBaseInfo sheet(
      {core_.registry(), check, dialUpEntries(), [this] { return core_.reopenWeatherDatabase(); }},
      1, hv6::kAppTitle, this);
  const bool accepted = sheet.run() == QDialog::Accepted;
  updateCommandStates();  // the sheet may have switched weather communication
  if (!accepted) return;
  if (!hv6::writeFieldMapSettings(core_.registry(), sheet.diaryPath()))
    CErrMsg().Disp(2503, 1, 0, hv6::kAppTitle);
  view_->reload();
  core_.reopenWeatherDatabase();
}

void CMainFrame::showVersion() {
  QString version;
  core_.registry().readString(QStringLiteral("HRV6"), QStringLiteral("Version"), version);
  CVersion dialog(hv6::kAppTitle, version, windowIcon(), this);
  dialog.exec();
}

