#pragma once
// One-line guide messages of the sales windows in the host's status area.
// The host owns the object and sets the handler that shows a line (for
// example on its status bar); the windows call Disp.

#include <QString>

#include <functional>

namespace sl {

class CGidMsg {
 public:
  // Receives the message number and the text to show (empty: clear).
  using Handler = std::function<void(long number, const QString& line)>;

  CGidMsg() = default;
  virtual ~CGidMsg() = default;
  CGidMsg(const CGidMsg&) = delete;
  CGidMsg& operator=(const CGidMsg&) = delete;

  void setHandler(Handler handler) { handler_ = std::move(handler); }

  // Hands guide message `number` and its text to the handler; without a
  // handler nothing is shown.
  virtual void Disp(long number, const QString& text = {});

 private:
  Handler handler_;
};

}  // namespace sl
