#include "platform/ui/message_box.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using hv6::MsgAnswer;
using hv6::MsgButtons;
using hv6::QtMessagePresenter;

QStringList buttonTexts(QMessageBox& box) {
  QStringList texts;
  for (QAbstractButton* button : box.buttons()) texts.append(button->text());
  texts.sort();
  return texts;
}

hv6::MessageRequest request(MsgButtons buttons) {
  hv6::MessageRequest r;
  r.text = QStringLiteral("<b>データ</b>を保存しますか？");
  r.caption = QStringLiteral("Harvo V6 Plus for Windows");
  r.buttons = buttons;
  r.icon = hv6::MsgIcon::Question;
  return r;
}

TEST(MessageBox, ButtonsCarryJapaneseTextsAndTheirAnswers) {
  struct Case {
    MsgButtons buttons;
    QStringList texts;
    QMessageBox::StandardButton escape;
  };
  const QList<Case> cases = {
      {MsgButtons::Ok, {QStringLiteral("OK")}, QMessageBox::Ok},
      {MsgButtons::OkCancel, {QStringLiteral("OK"), QStringLiteral("キャンセル")}, QMessageBox::Cancel},
      {MsgButtons::YesNo, {QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}, QMessageBox::No},
      {MsgButtons::YesNoCancel,
       {QStringLiteral("いいえ(&N)"), QStringLiteral("キャンセル"), QStringLiteral("はい(&Y)")},
       QMessageBox::Cancel},
      {MsgButtons::RetryCancel, {QStringLiteral("キャンセル"), QStringLiteral("再試行(&R)")},
       QMessageBox::Cancel},
  };
  for (const Case& c : cases) {
    const auto box = QtMessagePresenter::buildBox(request(c.buttons));
    QStringList expected = c.texts;
    expected.sort();
    EXPECT_EQ(buttonTexts(*box), expected);
    EXPECT_EQ(box->standardButton(box->escapeButton()), c.escape);
  }
  const auto box = QtMessagePresenter::buildBox(request(MsgButtons::YesNo));
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Harvo V6 Plus for Windows"));
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::Yes);
  EXPECT_EQ(QtMessagePresenter::answerFor(QMessageBox::No), MsgAnswer::No);
  EXPECT_EQ(QtMessagePresenter::answerFor(QMessageBox::Retry), MsgAnswer::Retry);
  EXPECT_EQ(QtMessagePresenter::answerFor(QMessageBox::NoButton), MsgAnswer::Cancel);
}

TEST(MessageBox, PresentReturnsTheButtonClicked) {
  QtMessagePresenter presenter;
  QTimer::singleShot(0, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box) box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(presenter.present(request(MsgButtons::YesNoCancel)), MsgAnswer::No);
}

// Runs without a window write "[number] text" for numbered messages and the
// text alone for the program's own; the caption stays out of the line.
TEST(MessageBox, WithoutAWindowMessagesAreNumberAndText) {
  hv6::MessageRequest numbered = request(MsgButtons::Ok);
  numbered.number = 8006;
  numbered.text = QStringLiteral("サーバーのURLをオープンできません。\n");
  EXPECT_EQ(hv6::standardErrorLine(numbered),
            QStringLiteral("[8006] サーバーのURLをオープンできません。\n"));
  hv6::MessageRequest own = request(MsgButtons::Ok);
  own.text = QStringLiteral("DBに追加できない");
  EXPECT_EQ(hv6::standardErrorLine(own), QStringLiteral("DBに追加できない"));
}

}  // namespace
