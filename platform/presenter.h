#pragma once
// Message boxes go through one presenter so that tests can record and
// answer them. The program installs a Qt presenter at start; without one
// (runs without a window), messages go to standard error and questions get
// their default answer.

#include <QString>

class QWidget;

namespace hv6 {

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

struct MessageRequest {
  long number = 0;  // numbered message of the message library, 0 otherwise
  int kind = 0;     // the kind the caller passed with a numbered message
  QString text;
  QString caption;
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::Information;
  QWidget* parent = nullptr;
};

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  virtual MsgAnswer present(const MessageRequest& request) = 0;
};

// The presenter in use. Never null.
MessagePresenter& messagePresenter();
// Installs a presenter (not owned); nullptr restores the default.
void setMessagePresenter(MessagePresenter* presenter);

// The line a message without a window writes to standard error: "[number]
// text" for a numbered message, the text alone otherwise (no caption).
QString standardErrorLine(const MessageRequest& request);

// Shows a text of the program's own.
MsgAnswer showMessage(const QString& text, const QString& caption,
                      MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::Information, QWidget* parent = nullptr);

}  // namespace hv6
