#include "shell/ui/compopage.h"

#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using hv6::ModulePassword;

struct RowIds {
  const char* check;
  const char* oldPassword;
  const char* newPassword;
  const char* confirm;
};
constexpr RowIds kIds[] = {{"1012", "1018", "1027", "1033"},
                           {"1013", "1022", "1028", "1034"},
                           {"1014", "1024", "1030", "1036"},
                           {"1016", "1025", "1031", "1037"}};

// Row 0 off, row 1 on without a password, row 2 and row 3 locked.
hv6::ModulePasswords samplePasswords() {
  return {{ModulePassword{false, QString()}, ModulePassword{true, QString()},
           ModulePassword{true, QStringLiteral("Kome8")},
           ModulePassword{true, QStringLiteral("nikki")}}};
}

void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = QString()) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(target, &release);
}

void typeText(QWidget* target, const QString& text) {
  for (QChar c : text) sendKey(target, c.toUpper().unicode(), {}, c);
}

// The page in a sheet-like window: another page in front, OK and Cancel.
class CompoPageTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  QWidget window;
  QTabWidget* tabs = new QTabWidget(&window);
  QWidget* otherPage = new QWidget;
  CCompo* page = new CCompo;
  QPushButton* okButton = new QPushButton(QStringLiteral("OK"), &window);
  QPushButton* cancelButton = new QPushButton(QStringLiteral("キャンセル"), &window);

  void SetUp() override {
    okButton->setObjectName(QStringLiteral("1"));
    cancelButton->setObjectName(QStringLiteral("2"));
    tabs->addTab(page, QStringLiteral("パスワード"));
    tabs->addTab(otherPage, QStringLiteral("その他"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(tabs);
    layout->addWidget(okButton);
    layout->addWidget(cancelButton);
    page->load(samplePasswords());
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(window.isActiveWindow());
  }

  QCheckBox* check(int row) { return page->findChild<QCheckBox*>(kIds[row].check); }
  QLineEdit* oldEdit(int row) { return page->findChild<QLineEdit*>(kIds[row].oldPassword); }
  QLineEdit* newEdit(int row) { return page->findChild<QLineEdit*>(kIds[row].newPassword); }
  QLineEdit* confirmEdit(int row) { return page->findChild<QLineEdit*>(kIds[row].confirm); }

  // Enabled controls of a row as "check old new confirm", e.g. "1001".
  std::string enabled(int row) {
    std::string flags;
    for (QWidget* w : {static_cast<QWidget*>(check(row)), static_cast<QWidget*>(oldEdit(row)),
                       static_cast<QWidget*>(newEdit(row)), static_cast<QWidget*>(confirmEdit(row))})
      flags += w->isEnabled() ? '1' : '0';
    return flags;
  }

  void focus(QWidget* target) {
    target->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), target);
  }

  void setPasswords(int row, const QString& fresh, const QString& confirm) {
    focus(newEdit(row));
    typeText(newEdit(row), fresh);
    focus(confirmEdit(row));
    typeText(confirmEdit(row), confirm);
  }

  // Answers the next dialog 132 with a code (OK) or cancels it.
  static void answerUnlock(const QString& code, bool ok = true) {
    QTimer::singleShot(0, [code, ok] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->objectName(), QStringLiteral("132"));
      dialog->findChild<QLineEdit*>(QStringLiteral("1019"))->setText(code);
      dialog->findChild<QPushButton*>(QLatin1String(ok ? "1" : "2"))->click();
    });
  }
};

TEST_F(CompoPageTest, PageStartSetsEachRowFromItsFlagAndPassword) {
  EXPECT_EQ(enabled(0), "1000");
  EXPECT_EQ(enabled(1), "1011");
  EXPECT_EQ(enabled(2), "0100");
  EXPECT_EQ(enabled(3), "0100");
  EXPECT_FALSE(check(0)->isChecked());
  for (int row = 1; row < 4; ++row) EXPECT_TRUE(check(row)->isChecked());
  EXPECT_EQ(check(0)->text(), QStringLiteral("作業日誌(&S)"));
  EXPECT_EQ(check(3)->text(), QStringLiteral("営農日記(&E)"));
  for (int row = 0; row < 4; ++row)
    for (QLineEdit* edit : {oldEdit(row), newEdit(row), confirmEdit(row)}) {
      EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
      EXPECT_TRUE(edit->text().isEmpty());
    }
}

TEST(CompoPageLayoutTest, TextsFitThePageOfTheSheet) {
  CCompo page;
  page.resize(440, 300);
  page.show();
  QApplication::processEvents();
  EXPECT_LE(page.minimumSizeHint().width(), 440);
  EXPECT_LE(page.minimumSizeHint().height(), 300);
  const auto* hint = page.findChild<QLabel*>(QStringLiteral("hint"));
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->text(), QStringLiteral("パスワードを変更、削除するには「古いパスワード」を入力して\n"
                                         "ＴＡＢキーを押してください。"));
  for (const QLabel* label : page.findChildren<QLabel*>()) {
    EXPECT_GE(label->width(), label->minimumSizeHint().width()) << label->text().toStdString();
    EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
  }
  for (const QCheckBox* box : page.findChildren<QCheckBox*>())
    EXPECT_GE(box->width(), box->sizeHint().width()) << box->text().toStdString();
}

TEST_F(CompoPageTest, ANinthCharacterCannotBeTyped) {
  focus(newEdit(1));
  typeText(newEdit(1), QStringLiteral("abcdefghi"));
  EXPECT_EQ(newEdit(1)->text(), QStringLiteral("abcdefgh"));
}

TEST_F(CompoPageTest, StoredPasswordInOtherCaseUnlocksOnTabAndOnFocusLoss) {
  focus(oldEdit(2));
  typeText(oldEdit(2), QStringLiteral("KOME8"));
  sendKey(oldEdit(2), Qt::Key_Tab);
  EXPECT_EQ(enabled(2), "1011");
  EXPECT_EQ(QApplication::focusWidget(), newEdit(2));

  focus(oldEdit(3));
  typeText(oldEdit(3), QStringLiteral("NiKKi"));
  focus(okButton);
  EXPECT_EQ(enabled(3), "1011");
  QApplication::processEvents();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(page->passwords()[3].password, QStringLiteral("nikki"));
}

TEST_F(CompoPageTest, WrongOldPasswordIsClearedAndReportedAfterTheFocusChange) {
  tabs->setCurrentWidget(otherPage);
  tabs->setCurrentWidget(page);
  focus(oldEdit(2));
  typeText(oldEdit(2), QStringLiteral("kome"));
  sendKey(oldEdit(2), Qt::Key_Tab);  // a wrong text does not stop the Tab
  EXPECT_EQ(QApplication::focusWidget(), oldEdit(3));
  EXPECT_TRUE(oldEdit(2)->text().isEmpty());
  EXPECT_EQ(enabled(2), "0100");
  EXPECT_TRUE(messages.empty());  // posted, not yet shown
  QApplication::processEvents();
  ASSERT_EQ(messages.numbers(), QList<long>{2501});
  EXPECT_EQ(messages.messages().first().kind, 1);

  focus(okButton);  // an empty old-password edit is no error
  QApplication::processEvents();
  EXPECT_EQ(messages.messages().size(), 1);
}

TEST_F(CompoPageTest, CheckBoxesTurnRowsOnAndOffButNotLockedOnes) {
  check(2)->click();
  EXPECT_TRUE(check(2)->isChecked());
  EXPECT_TRUE(page->passwords()[2].set);

  check(0)->click();
  EXPECT_EQ(enabled(0), "1011");
  EXPECT_TRUE(page->passwords()[0].set);

  focus(oldEdit(3));
  typeText(oldEdit(3), QStringLiteral("nikki"));
  sendKey(oldEdit(3), Qt::Key_Tab);
  typeText(newEdit(3), QStringLiteral("abc"));
  check(3)->click();
  EXPECT_EQ(enabled(3), "1000");
  EXPECT_FALSE(check(3)->isChecked());
  for (QLineEdit* edit : {oldEdit(3), newEdit(3), confirmEdit(3)}) EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_FALSE(page->passwords()[3].set);
  EXPECT_TRUE(page->passwords()[3].password.isEmpty());
}

TEST_F(CompoPageTest, ConfirmEditCheckedWhenItLosesTheFocus) {
  setPasswords(1, QStringLiteral("ab"), QStringLiteral("AB"));
  focus(check(0));
  QApplication::processEvents();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(page->passwords()[1].password, QStringLiteral("AB"));

  setPasswords(1, QStringLiteral("x"), QStringLiteral("y"));  // "abx" and "ABy"
  focus(okButton);
  EXPECT_TRUE(newEdit(1)->text().isEmpty());
  EXPECT_TRUE(confirmEdit(1)->text().isEmpty());
  QApplication::processEvents();
  EXPECT_EQ(messages.numbers(), QList<long>{2500});
  EXPECT_EQ(messages.messages().last().kind, 0);
  EXPECT_EQ(QApplication::focusWidget(), newEdit(1));

  focus(confirmEdit(1));
  focus(okButton);
  QApplication::processEvents();
  EXPECT_EQ(messages.numbers(), (QList<long>{2500, 2509}));
  EXPECT_EQ(QApplication::focusWidget(), newEdit(1));
  EXPECT_EQ(page->passwords()[1].password, QStringLiteral("AB"));
}

TEST_F(CompoPageTest, MessageBringsThePageToTheFront) {
  setPasswords(1, QStringLiteral("a"), QStringLiteral("b"));
  tabs->setCurrentWidget(otherPage);  // the focus leaves the hidden page
  QApplication::processEvents();
  EXPECT_EQ(messages.numbers(), QList<long>{2500});
  EXPECT_EQ(tabs->currentWidget(), page);
  EXPECT_EQ(QApplication::focusWidget(), newEdit(1));
}

TEST_F(CompoPageTest, NoMessageWhenTheFocusWentToCancel) {
  focus(oldEdit(2));
  typeText(oldEdit(2), QStringLiteral("bad"));
  focus(cancelButton);
  setPasswords(1, QStringLiteral("a"), QStringLiteral("b"));
  focus(cancelButton);
  QApplication::processEvents();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(QApplication::focusWidget(), cancelButton);
}

TEST_F(CompoPageTest, FinalCheckStopsAtTheFirstRowWithoutAValidPassword) {
  tabs->setCurrentWidget(otherPage);
  EXPECT_FALSE(page->finalCheck());  // row 1 checked, nothing typed
  EXPECT_EQ(messages.numbers(), QList<long>{2509});
  EXPECT_EQ(tabs->currentWidget(), page);
  EXPECT_EQ(QApplication::focusWidget(), newEdit(1));

  typeText(newEdit(1), QStringLiteral("abc"));
  confirmEdit(1)->setText(QStringLiteral("abc"));  // no focus change
  check(0)->click();
  newEdit(0)->setText(QStringLiteral("zz"));
  confirmEdit(0)->setText(QStringLiteral("zy"));
  EXPECT_FALSE(page->finalCheck());
  EXPECT_EQ(messages.numbers().last(), 2500);
  EXPECT_EQ(QApplication::focusWidget(), newEdit(0));

  newEdit(0)->setText(QStringLiteral("zz"));
  confirmEdit(0)->setText(QStringLiteral("ZZ"));
  EXPECT_TRUE(page->finalCheck());
  const hv6::ModulePasswords result = page->passwords();
  EXPECT_EQ(result[0].password, QStringLiteral("ZZ"));
  EXPECT_EQ(result[1].password, QStringLiteral("abc"));
  EXPECT_EQ(result[2].password, QStringLiteral("Kome8"));
  EXPECT_TRUE(result[2].set);
}

TEST_F(CompoPageTest, CtrlF2ClearsEveryPasswordWithTheUnlockCode) {
  focus(oldEdit(2));
  typeText(oldEdit(2), QStringLiteral("ko"));

  answerUnlock(QStringLiteral("zep"));
  sendKey(oldEdit(2), Qt::Key_F2, Qt::ControlModifier);
  EXPECT_EQ(messages.numbers(), QList<long>{2502});
  EXPECT_EQ(messages.messages().first().kind, 1);
  answerUnlock(QStringLiteral("zeph"), false);
  sendKey(oldEdit(2), Qt::Key_F2, Qt::ControlModifier);
  EXPECT_EQ(enabled(2), "0100");
  EXPECT_EQ(oldEdit(2)->text(), QStringLiteral("ko"));
  EXPECT_EQ(page->passwords()[3].password, QStringLiteral("nikki"));

  answerUnlock(QStringLiteral("zeph"));
  sendKey(oldEdit(2), Qt::Key_F2, Qt::ControlModifier);
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(enabled(row), "1000") << row;
    EXPECT_FALSE(check(row)->isChecked()) << row;
    EXPECT_FALSE(page->passwords()[row].set) << row;
    EXPECT_TRUE(page->passwords()[row].password.isEmpty()) << row;
  }
  EXPECT_TRUE(oldEdit(2)->text().isEmpty());
  QApplication::processEvents();
  EXPECT_EQ(messages.messages().size(), 1);
}

}  // namespace
