// The calculator: sequences of keys and what the display shows, errors,
// limits, and the dialog driven by keys and buttons.
#include "outside/sl_dcalc/seldcalc.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace sl {
namespace {

// Runs keys on an engine: digits, '.', + - * / = , 'C' clear, '<' back.
CalcEngine run(const char* keys, double start = 0) {
  CalcEngine e(start);
  for (const char* k = keys; *k; ++k) {
    switch (*k) {
      case '.': e.point(); break;
      case '+': e.op(CalcEngine::Op::Add); break;
      case '-': e.op(CalcEngine::Op::Subtract); break;
      case '*': e.op(CalcEngine::Op::Multiply); break;
      case '/': e.op(CalcEngine::Op::Divide); break;
      case '=': e.equals(); break;
      case 'C': e.clear(); break;
      case '<': e.backspace(); break;
      default: e.digit(*k - '0'); break;
    }
  }
  return e;
}

TEST(CalcEngine, KeySequences) {
  struct Case {
    const char* keys;
    double start;
    const char* shown;
  };
  const Case cases[] = {
      {"", 0, "0"},
      {"007", 0, "7"},
      {"12+30=", 0, "42"},
      {"2+3*4=", 0, "20"},        // left to right
      {"10-4-3=", 0, "3"},
      {"1/3=", 0, "0.33333333333"},  // twelve digits shown
      {"2/3=", 0, "0.66666666667"},
      {"2.5*4=", 0, "10"},
      {"1.2.3", 0, "1.23"},       // one point only
      {"5-8=", 0, "-3"},
      {"12<3", 0, "13"},
      {"12+", 0, "12"},
      {"12+3", 0, "3"},
      {"12+*3=", 0, "36"},        // the second operator replaces the first
      {"*3=", 2480, "7440"},      // works on the value it was opened with
      {"5", 2480, "5"},           // a digit starts a new entry
      {"9999999999999", 0, "999999999999"},  // twelve digits at most
      {"12+3C", 0, "0"},
      {".5+.25=", 0, "0.75"},
  };
  for (const Case& c : cases) {
    const CalcEngine e = run(c.keys, c.start);
    EXPECT_FALSE(e.isError()) << c.keys;
    EXPECT_EQ(e.display(), QString::fromLatin1(c.shown)) << c.keys;
  }
  EXPECT_EQ(run("1/3=").value(), 0.33333333333);
}

TEST(CalcEngine, ErrorsLastUntilClear) {
  CalcEngine e = run("5/0=");
  EXPECT_TRUE(e.isError());
  EXPECT_EQ(e.display(), QStringLiteral("E"));
  e.digit(3);
  e.op(CalcEngine::Op::Add);
  EXPECT_EQ(e.display(), QStringLiteral("E"));
  EXPECT_EQ(e.value(), 0);
  e.clear();
  EXPECT_FALSE(e.isError());
  e.digit(4);
  EXPECT_EQ(e.display(), QStringLiteral("4"));
  // A result of twelve whole digits or more.
  EXPECT_TRUE(run("999999999999*10=").isError());
  // result() completes the pending operation.
  CalcEngine pending = run("6*7");
  EXPECT_EQ(pending.result(), 42);
}

TEST(CalcDialog, KeysAndButtons) {
  CSelCalcDlg dialog(nullptr, 1250);
  dialog.show();
  EXPECT_EQ(dialog.displayText(), QStringLiteral("1250"));
  QTest::keyClicks(&dialog, QStringLiteral("*3-"));
  EXPECT_EQ(dialog.displayText(), QStringLiteral("3750"));
  dialog.findChild<QPushButton*>(QStringLiteral("digit5"))->click();
  dialog.findChild<QPushButton*>(QStringLiteral("digit0"))->click();
  EXPECT_EQ(dialog.displayText(), QStringLiteral("50"));
  dialog.findChild<QPushButton*>(QStringLiteral("equals"))->click();
  EXPECT_EQ(dialog.displayText(), QStringLiteral("3700"));
  // A look at the dialog when HV6_SHOT_DIR names a folder.
  if (const QByteArray dir = qgetenv("HV6_SHOT_DIR"); !dir.isEmpty())
    dialog.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/calculator.png"));
  QTest::keyClick(&dialog, Qt::Key_Delete);
  EXPECT_EQ(dialog.displayText(), QStringLiteral("0"));
  QTest::keyClicks(&dialog, QStringLiteral("7/2"));
  QTest::keyClick(&dialog, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), 3.5);
  EXPECT_EQ(dialog.result(), 3.5);
  EXPECT_EQ(dialog.result(), 3.5);
  EXPECT_EQ(dialog.QDialog::result(), QDialog::Accepted);
}

TEST(CalcDialog, CalcDispTakesOrDropsTheResult) {
  double result = -1;
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    QTest::keyClicks(dialog, QStringLiteral("+8"));
    QTest::keyClick(dialog, Qt::Key_Enter);
  });
  EXPECT_TRUE(CSelCalcDlg::CalcDisp(nullptr, 34, result));
  EXPECT_EQ(result, 42);

  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    QTest::keyClicks(dialog, QStringLiteral("99"));
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  result = -1;
  EXPECT_FALSE(CSelCalcDlg::CalcDisp(nullptr, 34, result));
  EXPECT_EQ(result, -1);

  // An error is not taken: Enter keeps the dialog open until C.
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    QTest::keyClicks(dialog, QStringLiteral("/0"));
    QTest::keyClick(dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    dialog->findChild<QPushButton*>(QStringLiteral("clear"))->click();
    QTest::keyClicks(dialog, QStringLiteral("6"));
    dialog->findChild<QPushButton*>(QStringLiteral("take"))->click();
  });
  EXPECT_TRUE(CSelCalcDlg::CalcDisp(nullptr, 1, result));
  EXPECT_EQ(result, 6);
}

}  // namespace
}  // namespace sl
