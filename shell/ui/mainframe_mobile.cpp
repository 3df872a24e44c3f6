// The mobile diary import command of the frame.
#include "calendar/ui/hrvview.h"
#include "mobile/exchange.h"
#include "mobile/ui/progressdlg.h"
#include "shell/appcore.h"
#include "shell/relatedprograms.h"
#include "shell/ui/mainframe.h"

// The related programs close first; the run adds diary rows, so the
// calendar reloads afterwards.
void CMainFrame::runMobileImport() {
  CCheckV5App check(launcherPrograms());
  if (!hv6::closeRelatedPrograms(check, this)) return;
  hv6::MobileImportWindow window(this);
  const hv6::MobileImportReport report = hv6::runMobileDiaryImport(core_.diaryDatabase(), window);
  if (report.ran) view_->reload();
}
