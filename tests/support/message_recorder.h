#pragma once
// Records every message box instead of showing it, and answers questions
// from a script. Installs itself for its lifetime.

#include "platform/presenter.h"

#include <QList>
#include <QQueue>

namespace hv6test {

class MessageRecorder final : public hv6::MessagePresenter {
 public:
  MessageRecorder();
  ~MessageRecorder() override;
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  hv6::MsgAnswer present(const hv6::MessageRequest& request) override;

  // Answers for the next questions, in order; without one a question is
  // answered Ok or Yes.
  void answer(hv6::MsgAnswer next) { script_.enqueue(next); }

  const QList<hv6::MessageRequest>& messages() const { return messages_; }
  // The message numbers in the order shown (0 for texts of the program).
  QList<long> numbers() const;
  bool empty() const { return messages_.isEmpty(); }
  void clear() { messages_.clear(); }

 private:
  QList<hv6::MessageRequest> messages_;
  QQueue<hv6::MsgAnswer> script_;
};

}  // namespace hv6test
