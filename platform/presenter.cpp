#include "platform/presenter.h"

#include <cstdio>

namespace hv6 {
namespace {

// Without a window system: messages go to standard error, questions get
// the answer that changes nothing (No, Cancel).
class StderrPresenter final : public MessagePresenter {
 public:
  MsgAnswer present(const MessageRequest& request) override {
    std::fprintf(stderr, "%s\n", standardErrorLine(request).toUtf8().constData());
    std::fflush(stderr);
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

QString standardErrorLine(const MessageRequest& request) {
  if (request.number == 0) return request.text;
  return u'[' + QString::number(request.number) + QStringLiteral("] ") + request.text;
}

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
