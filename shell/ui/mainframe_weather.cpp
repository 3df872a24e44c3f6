// The weather command of the frame (32828 "気象情報の取得"): the link's
// steps, the wait cursor and dialog 157 around the retrieval, and the
// calendar read again after it.
#include "calendar/ui/hrvview.h"
#include "shell/appcore.h"
#include "shell/commandtexts.h"
#include "shell/ui/mainframe.h"
#include "weather/retrieval.h"
#include "weather/ui/receivingdlg.h"
#include "weather/weatherlink.h"

#include <QApplication>
#include <QEvent>

#include <memory>

void CMainFrame::setWeatherLibrary(std::unique_ptr<hv6::WeatherLibrary> library) {
  weatherLibrary_ = std::move(library);
}

void CMainFrame::setWeatherLinkFactory(
    std::function<std::unique_ptr<hv6::WeatherLink>()> factory) {
  weatherLinkFactory_ = std::move(factory);
}

void CMainFrame::runWeatherRetrieval() {
  if (!weatherLibrary_) weatherLibrary_ = std::make_unique<hv6::Wxfetch6Library>();
  std::unique_ptr<CReceivingDlg> dialog;
  const hv6::WeatherCommandParts parts{
      core_.registry(),
      [this] {
        return weatherLinkFactory_ ? weatherLinkFactory_() : hv6::makeWeatherLink(core_.registry());
      },
      *weatherLibrary_,
      [this] { return core_.reopenWeatherDatabase(); },
      today(),
      this,
      [this, &dialog] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        dialog = std::make_unique<CReceivingDlg>(this);
        dialog->showNow();
      },
      [this, &dialog] {
        dialog.reset();
        QApplication::restoreOverrideCursor();
        view_->reload();  // the calendar shows the weather just stored
      }};
  hv6::runWeatherCommand(parts);
}

// The weather command's state follows the settings when the frame comes
// back to the front (another window may have changed them).
void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) updateCommandStates();
}
