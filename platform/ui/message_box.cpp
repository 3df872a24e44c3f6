#include "platform/ui/message_box.h"

#include <QPushButton>

namespace hv6 {
namespace {

struct ButtonChoice {
  QMessageBox::StandardButton button;
  const char* text;
};

QMessageBox::Icon boxIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

// The buttons in the order Windows shows them; the first is the default.
QList<ButtonChoice> buttonsOf(MsgButtons buttons) {
  const ButtonChoice ok{QMessageBox::Ok, "OK"};
  const ButtonChoice cancel{QMessageBox::Cancel, "キャンセル"};
  const ButtonChoice yes{QMessageBox::Yes, "はい(&Y)"};
  const ButtonChoice no{QMessageBox::No, "いいえ(&N)"};
  const ButtonChoice retry{QMessageBox::Retry, "再試行(&R)"};
  switch (buttons) {
    case MsgButtons::Ok: return {ok};
    case MsgButtons::OkCancel: return {ok, cancel};
    case MsgButtons::YesNo: return {yes, no};
    case MsgButtons::YesNoCancel: return {yes, no, cancel};
    case MsgButtons::RetryCancel: return {retry, cancel};
  }
  return {ok};
}

// Escape and the close button give the answer that changes nothing.
QMessageBox::StandardButton escapeOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return QMessageBox::Ok;
    case MsgButtons::YesNo: return QMessageBox::No;
    default: return QMessageBox::Cancel;
  }
}

}  // namespace

std::unique_ptr<QMessageBox> QtMessagePresenter::buildBox(const MessageRequest& request) {
  auto box = std::make_unique<QMessageBox>(request.parent);
  box->setIcon(boxIcon(request.icon));
  box->setWindowTitle(request.caption);
  box->setTextFormat(Qt::PlainText);  // texts are shown as written, never as markup
  box->setText(request.text);
  const QList<ButtonChoice> choices = buttonsOf(request.buttons);
  for (const ButtonChoice& choice : choices)
    box->addButton(choice.button)->setText(QString::fromUtf8(choice.text));
  box->setDefaultButton(choices.first().button);
  box->setEscapeButton(escapeOf(request.buttons));
  return box;
}

MsgAnswer QtMessagePresenter::answerFor(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Retry: return MsgAnswer::Retry;
    default: return MsgAnswer::Cancel;
  }
}

MsgAnswer QtMessagePresenter::present(const MessageRequest& request) {
  const std::unique_ptr<QMessageBox> box = buildBox(request);
  box->exec();
  return answerFor(box->standardButton(box->clickedButton()));
}

}  // namespace hv6
