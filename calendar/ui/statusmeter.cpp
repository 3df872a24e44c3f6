#include "calendar/ui/statusmeter.h"

#include "outside/vqbase106/ui/meterbar.h"

#include <QStatusBar>

namespace hv6 {

void StatusMeter::start(const QString& text) {
  kept_ = status_ ? status_->currentMessage() : QString();
  bar_.StartMeter(text, 0);
}

void StatusMeter::set(int percent) { bar_.SetMeter(percent); }

void StatusMeter::end() {
  bar_.EndMeter();
  if (status_ && !kept_.isEmpty()) status_->showMessage(kept_);
}

}  // namespace hv6
