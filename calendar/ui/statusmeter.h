#pragma once
// The view's progress meter on the frame's CMeterBar; the status bar's
// message is kept while the meter runs and put back afterwards.

#include "calendar/filler.h"

class CMeterBar;
class QStatusBar;

namespace hv6 {

class StatusMeter final : public CalendarMeter {
 public:
  StatusMeter(CMeterBar& bar, QStatusBar* status) : bar_(bar), status_(status) {}
  void start(const QString& text) override;
  void set(int percent) override;
  void end() override;

 private:
  CMeterBar& bar_;
  QStatusBar* status_;
  QString kept_;
};

}  // namespace hv6
