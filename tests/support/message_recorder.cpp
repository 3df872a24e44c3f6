#include "tests/support/message_recorder.h"

namespace hv6test {

MessageRecorder::MessageRecorder() { hv6::setMessagePresenter(this); }

MessageRecorder::~MessageRecorder() { hv6::setMessagePresenter(nullptr); }

hv6::MsgAnswer MessageRecorder::present(const hv6::MessageRequest& request) {
  messages_.append(request);
  if (!script_.isEmpty()) return script_.dequeue();
  switch (request.buttons) {
    case hv6::MsgButtons::YesNo:
    case hv6::MsgButtons::YesNoCancel: return hv6::MsgAnswer::Yes;
    case hv6::MsgButtons::RetryCancel: return hv6::MsgAnswer::Retry;
    default: return hv6::MsgAnswer::Ok;
  }
}

QList<long> MessageRecorder::numbers() const {
  QList<long> out;
  for (const auto& m : messages_) out.append(m.number);
  return out;
}

}  // namespace hv6test
