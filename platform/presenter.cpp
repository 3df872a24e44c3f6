#include "platform/presenter.h"

#include <cstdio>

namespace hv6 {
namespace {

// Without a window system: messages go to standard error, questions get
// the answer that changes nothing (No, Cancel).
class StderrPresenter final : public MessagePresenter {
 public:
  MsgAnswer present(const MessageRequest& request) override {
    QByteArray line = request.caption.toUtf8() + ": " + request.text.toUtf8();
    if (request.number != 0) line = "[" + QByteArray::number(qlonglong(request.number)) + "] " + line;
    std::fprintf(stderr, "%s\n", line.constData());
    switch (request.buttons) {
      case MsgButtons::Ok: return MsgAnswer::Ok;
      case MsgButtons::YesNo: return MsgAnswer::No;
      default: return MsgAnswer::Cancel;
    }
  }
};

StderrPresenter g_stderrPresenter;
MessagePresenter* g_presenter = nullptr;

}  // namespace

MessagePresenter& messagePresenter() { return g_presenter ? *g_presenter : g_stderrPresenter; }

void setMessagePresenter(MessagePresenter* presenter) { g_presenter = presenter; }

MsgAnswer showMessage(const QString& text, const QString& caption, MsgButtons buttons,
                      MsgIcon icon, QWidget* parent) {
  MessageRequest request;
  request.text = text;
  request.caption = caption;
  request.buttons = buttons;
  request.icon = icon;
  request.parent = parent;
  return messagePresenter().present(request);
}

}  // namespace hv6
