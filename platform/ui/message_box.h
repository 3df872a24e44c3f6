#pragma once
// The message presenter of the program: Qt message boxes with Japanese
// button texts.

#include "platform/presenter.h"

#include <QMessageBox>

#include <memory>

namespace hv6 {

class QtMessagePresenter final : public MessagePresenter {
 public:
  MsgAnswer present(const MessageRequest& request) override;

  // The box for a request, not yet shown.
  static std::unique_ptr<QMessageBox> buildBox(const MessageRequest& request);
  // The answer a button of the box stands for.
  static MsgAnswer answerFor(QMessageBox::StandardButton button);
};

}  // namespace hv6
