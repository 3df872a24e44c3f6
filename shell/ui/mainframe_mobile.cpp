// The mobile diary commands of the frame: the import and the input
// settings.
#include "calendar/ui/hrvview.h"
#include "mobile/exchange.h"
#include "mobile/ui/iwdrysheet.h"
#include "mobile/ui/progressdlg.h"
#include "shell/appcore.h"
#include "shell/relatedprograms.h"
#include "shell/ui/mainframe.h"
#include "store/upgrade.h"

// The related programs close first; the run adds diary rows, so the
// calendar reloads afterwards.
void CMainFrame::runMobileImport() {
  CCheckV5App check(launcherPrograms());
  if (!hv6::closeRelatedPrograms(check, this)) return;
  hv6::MobileImportWindow window(this);
  const hv6::MobileImportReport report = hv6::runMobileDiaryImport(core_.diaryDatabase(), window);
  if (report.ran) view_->reload();
}

// The diary database is brought to 6.05.01 (and must have an active crop),
// the related programs close, then the sheet opens; it changes nothing the
// calendar shows.
void CMainFrame::runMobileSettings() {
  if (!hv6::upgradeTo60501(core_.diaryDatabase())) return;
  CCheckV5App check(launcherPrograms());
  if (!hv6::closeRelatedPrograms(check, this)) return;
  CIWDrySheet sheet(core_.diaryDatabase(), this);
  sheet.run();
}
