// The line grid driven from the keyboard over a small model: two rows per
// line, a drop-down, numbers with ranges, a text cell, a cell shown only on
// some lines and one that is never entered.
#include "outside/sl_wlib/intermtrx.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <array>

namespace sl {
namespace {

enum Field { kNo = 0, kKind = 1, kCount = 2, kExtra = 3, kName = 4, kPrice = 5 };

struct Line {
  int kind = 0;
  double count = 0;
  double extra = 0;
  QString name;
  double price = 0;
};

// Line layout:  [No][Kind ][Count][Extra]
//               [No][Name        ][Price]
class TestModel final : public CMtrxModel {
 public:
  std::array<Line, 4> lines;
  int refusedKind = -1;  // a kind the model refuses
  Line saved;            // the line as it was when its edit started
  int started = 0;
  int cancelled = 0;

  void editStarted(int line, int /*field*/) override {
    saved = lines[static_cast<std::size_t>(line)];
    ++started;
  }
  void editCancelled(int line, int /*field*/) override {
    lines[static_cast<std::size_t>(line)] = saved;
    ++cancelled;
  }

  TestModel() {
    setLayout(MtrxLayout(2, {4, 8, 10, 10},
                         {{kNo, 0, 0, 1, 2, QStringLiteral("No")},
                          {kKind, 0, 1, 1, 1, QStringLiteral("Kind")},
                          {kCount, 0, 2, 1, 1, QStringLiteral("Count")},
                          {kExtra, 0, 3, 1, 1, QStringLiteral("Extra")},
                          {kName, 1, 1, 2, 1, QStringLiteral("Name")},
                          {kPrice, 1, 3, 1, 1, QStringLiteral("Price")}}));
  }
  int lineCount() const override { return static_cast<int>(lines.size()); }
  void changeCaption(int field, const QString& caption) { setCaption(field, caption); }

 protected:
  QVariant cellData(int line, int field, int role) const override {
    const Line& l = lines[static_cast<std::size_t>(line)];
    if (role == kEditorRole) {
      switch (field) {
        case kKind: return static_cast<int>(MtrxEditor::Choice);
        case kCount: case kExtra: case kPrice: return static_cast<int>(MtrxEditor::Number);
        case kName: return static_cast<int>(MtrxEditor::Text);
        default: return static_cast<int>(MtrxEditor::None);
      }
    }
    if (role == kChoicesRole)
      return QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")};
    if (role == kChoiceCodesRole) return QVariantList{1, 2, 3};
    if (role == kChoiceByDigitRole) return true;
    if (role == kLiveRole) return field == kPrice;
    if (role == kMinimumRole) return field == kPrice ? -999.0 : 0.0;
    if (role == kMaximumRole) return field == kPrice ? 9999.99 : 999.0;
    if (role == kDecimalsRole) return field == kPrice ? 2 : 0;
    if (role == kMaxLengthRole) return 5;
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    switch (field) {
      case kNo: return line + 1;
      case kKind:
        return role == Qt::EditRole ? QVariant(l.kind)
                                    : QVariant(l.kind ? QString::number(l.kind) : QString());
      case kCount: return l.count;
      case kExtra: return l.extra;
      case kName: return l.name;
      case kPrice: return l.price;
      default: return {};
    }
  }
  Qt::ItemFlags cellFlags(int line, int field) const override {
    const Line& l = lines[static_cast<std::size_t>(line)];
    const Qt::ItemFlags shown = Qt::ItemIsEnabled;
    const Qt::ItemFlags entered = Qt::ItemIsEnabled | Qt::ItemIsEditable;
    switch (field) {
      case kNo: return shown;
      case kKind: return entered;
      case kExtra: return l.kind == 1 ? entered : Qt::NoItemFlags;  // only on kind 1
      default: return l.kind ? entered : Qt::NoItemFlags;
    }
  }
  bool setCellData(int line, int field, const QVariant& value) override {
    Line& l = lines[static_cast<std::size_t>(line)];
    switch (field) {
      case kKind:
        if (value.toInt() == refusedKind) return false;
        l.kind = value.toInt();
        break;
      case kCount: l.count = value.toDouble(); break;
      case kExtra: l.extra = value.toDouble(); break;
      case kName: l.name = value.toString(); break;
      case kPrice: l.price = value.toDouble(); break;
      default: return false;
    }
    linesChanged(line, line);
    return true;
  }
};

// A window around the grid that records the keys reaching it.
class Window final : public QWidget {
 public:
  QList<int> keys;
  CInterMtrx* grid;
  TestModel model;

  QLineEdit* before;
  QLineEdit* after;

  Window() {
    auto* layout = new QVBoxLayout(this);
    before = new QLineEdit(this);
    grid = new CInterMtrx(this);
    after = new QLineEdit(this);
    layout->addWidget(before);
    layout->addWidget(grid);
    layout->addWidget(after);
    grid->setMtrxModel(&model);
    resize(600, 400);
  }
  ~Window() override { delete grid; }  // before the model

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() != Qt::Key_Shift) keys.append(event->key());
  }
};

QLineEdit* lineEditor(CInterMtrx* grid) {
  return qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
}

class InterMtrxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.show();
    QApplication::setActiveWindow(&w);
    w.grid->setFocus();
    ASSERT_TRUE(w.grid->setCurrentCell(0, kKind));
  }
  void at(int line, int field) {
    EXPECT_EQ(w.grid->currentLine(), line);
    EXPECT_EQ(w.grid->currentField(), field);
  }
  Window w;
};

TEST_F(InterMtrxTest, LayoutMapsLinesAndFieldsAndSpans) {
  const CMtrxModel& m = w.model;
  EXPECT_EQ(m.rowCount(), 8);
  EXPECT_EQ(m.columnCount(), 4);
  for (int line = 0; line < 4; ++line)
    for (const int field : {kNo, kKind, kCount, kExtra, kName, kPrice}) {
      const QModelIndex index = m.cellIndex(line, field);
      ASSERT_TRUE(index.isValid());
      EXPECT_EQ(m.lineOf(index), line);
      EXPECT_EQ(m.fieldOf(index), field);
    }
  // The number spans both rows of a line, the name two columns.
  EXPECT_EQ(w.grid->rowSpan(2, 0), 2);
  EXPECT_EQ(w.grid->columnSpan(3, 1), 2);
  EXPECT_EQ(w.grid->columnSpan(1, 1), 2);
  EXPECT_EQ(m.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Count"));
  // A cell not shown on its line is empty and cannot be edited.
  const QModelIndex extra = m.cellIndex(0, kExtra);
  w.model.lines[0].extra = 5;
  EXPECT_FALSE(extra.data().isValid());
  EXPECT_FALSE(extra.flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(w.model.setData(extra, 7.0));
  EXPECT_EQ(w.model.lines[0].extra, 5);
}

TEST_F(InterMtrxTest, EnterAndTabFollowTheEntryOrderAndSkipHiddenCells) {
  // An empty line offers only its kind: Enter goes to the next line's kind.
  QTest::keyClick(w.grid, Qt::Key_Return);
  at(1, kKind);
  QTest::keyClick(w.grid, Qt::Key_Tab);
  at(2, kKind);
  QTest::keyClick(w.grid, Qt::Key_Backtab);
  at(1, kKind);
  QTest::keyClick(w.grid, Qt::Key_Tab, Qt::ShiftModifier);
  at(0, kKind);

  // Kind 2: Extra is not shown, so Enter goes Kind, Count, Name, Price.
  w.model.lines[0].kind = 2;
  QTest::keyClick(w.grid, Qt::Key_Return);
  at(0, kCount);
  QTest::keyClick(w.grid, Qt::Key_Return);
  at(0, kName);
  QTest::keyClick(w.grid, Qt::Key_Return);
  at(0, kPrice);
  QTest::keyClick(w.grid, Qt::Key_Return);
  at(1, kKind);
  // Kind 1 shows Extra after Count.
  w.model.lines[0].kind = 1;
  ASSERT_TRUE(w.grid->setCurrentCell(0, kCount));
  QTest::keyClick(w.grid, Qt::Key_Tab);
  at(0, kExtra);
  QTest::keyClick(w.grid, Qt::Key_Backtab);
  at(0, kCount);
  QTest::keyClick(w.grid, Qt::Key_Backtab);
  at(0, kKind);
  // Nothing before the first cell: the cursor stays.
  EXPECT_FALSE(w.grid->movePrevious());
  at(0, kKind);
  // Nothing after the last line's last enterable cell.
  ASSERT_TRUE(w.grid->setCurrentCell(3, kKind));
  EXPECT_FALSE(w.grid->moveNext());
  at(3, kKind);
  // Enter stays there; Tab leaves the grid, Shift+Tab from the first cell
  // too.
  QTest::keyClick(w.grid, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), w.grid);
  QTest::keyClick(w.grid, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), w.after);
  at(3, kKind);
  w.grid->setFocus();
  ASSERT_TRUE(w.grid->setCurrentCell(0, kKind));
  QTest::keyClick(w.grid, Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), w.before);
}

TEST_F(InterMtrxTest, ArrowsPassOverCellsNotShown) {
  // Line 0 empty: under its kind lies its name, not shown; Down goes on to
  // the next line's kind.
  QTest::keyClick(w.grid, Qt::Key_Down);
  at(1, kKind);
  QTest::keyClick(w.grid, Qt::Key_Right);
  at(1, kKind);
  w.model.lines[1].kind = 2;  // Count shown, Extra not
  QTest::keyClick(w.grid, Qt::Key_Right);
  at(1, kCount);
  QTest::keyClick(w.grid, Qt::Key_Right);
  at(1, kCount);
  QTest::keyClick(w.grid, Qt::Key_Down);
  at(1, kName);
  QTest::keyClick(w.grid, Qt::Key_Up);
  QTest::keyClick(w.grid, Qt::Key_Up);
  at(0, kKind);
}

TEST_F(InterMtrxTest, TypingEditsAndEnterStoresAndMoves) {
  QSignalSpy committed(w.grid, &CInterMtrx::cellCommitted);
  QSignalSpy moved(w.grid, &CInterMtrx::currentCellChanged);
  // A digit on the drop-down chooses the item of that code and moves on.
  QTest::keyClick(w.grid, Qt::Key_1);
  EXPECT_EQ(w.model.lines[0].kind, 1);
  at(0, kCount);
  ASSERT_EQ(committed.size(), 1);
  EXPECT_EQ(committed.at(0).at(0).toInt(), 0);
  EXPECT_EQ(committed.at(0).at(1).toInt(), kKind);
  ASSERT_FALSE(moved.isEmpty());
  EXPECT_EQ(moved.last().at(1).toInt(), kCount);

  // Typing starts an edit; Enter stores it and moves.
  QTest::keyClicks(w.grid, QStringLiteral("42"));
  ASSERT_TRUE(w.grid->isEditing());
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Return);
  EXPECT_FALSE(w.grid->isEditing());
  EXPECT_EQ(w.model.lines[0].count, 42);
  at(0, kExtra);
  QTest::keyClicks(w.grid, QStringLiteral("7"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Tab);
  EXPECT_EQ(w.model.lines[0].extra, 7);
  at(0, kName);
  // Typing over a value replaces it.
  QTest::keyClicks(w.grid, QStringLiteral("abc"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Enter);
  at(0, kPrice);
  QTest::keyClicks(w.grid, QStringLiteral("-12.5"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Return);
  EXPECT_EQ(w.model.lines[0].name, QStringLiteral("abc"));
  EXPECT_EQ(w.model.lines[0].price, -12.5);
  at(1, kKind);
  // Shift+Tab inside an editor stores and goes back.
  ASSERT_TRUE(w.grid->setCurrentCell(0, kCount));
  QTest::keyClicks(w.grid, QStringLiteral("9"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Backtab);
  EXPECT_EQ(w.model.lines[0].count, 9);
  at(0, kKind);
}

TEST_F(InterMtrxTest, EscapeDropsTheEditAndARefusedValueKeepsTheCursor) {
  w.model.lines[0].kind = 1;
  w.model.lines[0].count = 3;
  ASSERT_TRUE(w.grid->setCurrentCell(0, kCount));
  QTest::keyClicks(w.grid, QStringLiteral("55"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Escape);
  EXPECT_FALSE(w.grid->isEditing());
  EXPECT_EQ(w.model.lines[0].count, 3);
  at(0, kCount);
  // A refused kind stays unchanged and the cursor stays on it.
  w.model.refusedKind = 3;
  ASSERT_TRUE(w.grid->setCurrentCell(0, kKind));
  QTest::keyClick(w.grid, Qt::Key_3);
  EXPECT_EQ(w.model.lines[0].kind, 1);
  at(0, kKind);
  EXPECT_FALSE(w.grid->isEditing());
  // A digit without an item of that code chooses nothing.
  QTest::keyClick(w.grid, Qt::Key_7);
  EXPECT_EQ(w.model.lines[0].kind, 1);
}

TEST_F(InterMtrxTest, NumbersAndTextsStayWithinTheirLimits) {
  w.model.lines[0].kind = 1;
  ASSERT_TRUE(w.grid->setCurrentCell(0, kCount));
  // Count: 0..999, no decimals, no sign.
  QTest::keyClicks(w.grid, QStringLiteral("12345"));
  EXPECT_EQ(lineEditor(w.grid)->text(), QStringLiteral("123"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Escape);
  QTest::keyClicks(w.grid, QStringLiteral("-5.5"));
  EXPECT_EQ(lineEditor(w.grid)->text(), QStringLiteral("55"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Escape);
  // Price: -999..9999.99, two decimals.
  ASSERT_TRUE(w.grid->setCurrentCell(0, kPrice));
  QTest::keyClicks(w.grid, QStringLiteral("12.3456"));
  EXPECT_EQ(lineEditor(w.grid)->text(), QStringLiteral("12.34"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Escape);
  QTest::keyClicks(w.grid, QStringLiteral("-9999"));
  EXPECT_EQ(lineEditor(w.grid)->text(), QStringLiteral("-999"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Escape);
  QTest::keyClicks(w.grid, QStringLiteral("99999"));
  EXPECT_EQ(lineEditor(w.grid)->text(), QStringLiteral("9999"));
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Escape);
  // Name: five characters.
  ASSERT_TRUE(w.grid->setCurrentCell(0, kName));
  QTest::keyClicks(w.grid, QStringLiteral("abcdefgh"));
  EXPECT_EQ(lineEditor(w.grid)->text(), QStringLiteral("abcde"));
  // The editor shows the stored number without trailing zeros.
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Escape);
  w.model.lines[0].price = 1234.5;
  ASSERT_TRUE(w.grid->setCurrentCell(0, kPrice));
  w.grid->edit(w.grid->currentIndex());
  ASSERT_NE(lineEditor(w.grid), nullptr);
  EXPECT_EQ(lineEditor(w.grid)->text(), QStringLiteral("1234.5"));
}

TEST_F(InterMtrxTest, ALiveCellStoresEveryKeystrokeAndEscPutsItBack) {
  w.model.lines[0].kind = 1;
  w.model.lines[0].price = 8;
  ASSERT_TRUE(w.grid->setCurrentCell(0, kPrice));
  QSignalSpy committed(w.grid, &CInterMtrx::cellCommitted);
  QTest::keyClick(w.grid, Qt::Key_1);
  EXPECT_EQ(w.model.started, 1);
  EXPECT_EQ(w.model.lines[0].price, 1);
  QTest::keyClick(w.grid, Qt::Key_2);
  EXPECT_EQ(w.model.lines[0].price, 12);
  QTest::keyClick(w.grid, Qt::Key_Backspace);
  EXPECT_EQ(w.model.lines[0].price, 1);
  QTest::keyClick(w.grid, Qt::Key_Escape);
  EXPECT_EQ(w.model.cancelled, 1);
  EXPECT_EQ(w.model.lines[0].price, 8);
  EXPECT_FALSE(w.grid->isEditing());
  EXPECT_TRUE(committed.isEmpty());
  // Enter keeps what was typed.
  QTest::keyClicks(w.grid, QStringLiteral("34"));
  QTest::keyClick(w.grid, Qt::Key_Return);
  EXPECT_EQ(w.model.lines[0].price, 34);
  EXPECT_EQ(w.model.cancelled, 1);
  EXPECT_EQ(committed.size(), 1);
  // A cell that is not live stores on Enter only.
  ASSERT_TRUE(w.grid->setCurrentCell(0, kCount));
  QTest::keyClick(w.grid, Qt::Key_5);
  EXPECT_EQ(w.model.lines[0].count, 0);
  QTest::keyClick(w.grid, Qt::Key_Escape);
  EXPECT_EQ(w.model.lines[0].count, 0);
  EXPECT_EQ(w.model.cancelled, 1);
}

TEST(MtrxNumberValidator, TakesOnlyWhatStaysInRange) {
  CMtrxNumberValidator price(-9999999.99, 99999999.99, 2);
  CMtrxNumberValidator count(0, 999, 0);
  struct Case {
    const CMtrxNumberValidator* v;
    const char* text;
    QValidator::State state;
  };
  const Case cases[] = {
      {&price, "", QValidator::Intermediate},     {&price, "-", QValidator::Intermediate},
      {&price, "99999999.99", QValidator::Acceptable},
      {&price, "100000000", QValidator::Invalid}, {&price, "-9999999.99", QValidator::Acceptable},
      {&price, "-10000000", QValidator::Invalid}, {&price, "1.234", QValidator::Invalid},
      {&price, "1.", QValidator::Intermediate},   {&price, "1.2.3", QValidator::Invalid},
      {&price, "12a", QValidator::Invalid},       {&count, "-1", QValidator::Invalid},
      {&count, "1.5", QValidator::Invalid},       {&count, "999", QValidator::Acceptable},
      {&count, "1000", QValidator::Invalid},
  };
  for (const Case& c : cases) {
    QString text = QString::fromLatin1(c.text);
    int pos = 0;
    EXPECT_EQ(c.v->validate(text, pos), c.state) << c.text;
  }
  // Full width, as an input method in Japanese mode gives it.
  QString wide = QStringLiteral("－１２．５");
  int pos = 0;
  EXPECT_EQ(price.validate(wide, pos), QValidator::Acceptable);
  EXPECT_EQ(wide, QStringLiteral("-12.5"));
  wide = QStringLiteral("１０００");
  EXPECT_EQ(count.validate(wide, pos), QValidator::Invalid);
}

TEST_F(InterMtrxTest, FunctionKeysReachTheWindow) {
  w.model.lines[0].kind = 1;
  // Not editing.
  QTest::keyClick(w.grid, Qt::Key_F2);
  QTest::keyClick(w.grid, Qt::Key_F4, Qt::ShiftModifier);
  // Editing a number.
  ASSERT_TRUE(w.grid->setCurrentCell(0, kCount));
  QTest::keyClicks(w.grid, QStringLiteral("1"));
  ASSERT_NE(lineEditor(w.grid), nullptr);
  QTest::keyClick(lineEditor(w.grid), Qt::Key_F5);
  QTest::keyClick(lineEditor(w.grid), Qt::Key_Escape);
  // Editing a drop-down (F4 would open a list in a plain one).
  ASSERT_TRUE(w.grid->setCurrentCell(0, kKind));
  w.grid->edit(w.grid->currentIndex());
  QWidget* combo = w.grid->indexWidget(w.grid->currentIndex());
  ASSERT_NE(qobject_cast<CMtrxComboBox*>(combo), nullptr);
  QTest::keyClick(combo, Qt::Key_F4);
  QTest::keyClick(combo, Qt::Key_F8);
  EXPECT_EQ(w.keys, (QList<int>{Qt::Key_F2, Qt::Key_F4, Qt::Key_F5, Qt::Key_F4, Qt::Key_F8}));
  EXPECT_EQ(w.model.lines[0].kind, 1);
}

TEST_F(InterMtrxTest, CaptionsAndSizesFollowTheInitRecord) {
  MTRX_INIT init;
  init.font = w.grid->font();
  init.cellWidth = 9;
  init.cellHeight = 20;
  int handle = 0;
  init.resource = &handle;
  init.colors.background = QColor(0xfff8e0);
  w.grid->Initial(init);
  EXPECT_EQ(w.grid->resource(), &handle);
  EXPECT_EQ(w.grid->rowHeight(), 26);
  EXPECT_EQ(w.grid->verticalHeader()->defaultSectionSize(), 26);
  EXPECT_EQ(w.grid->horizontalHeader()->height(), 2 * 26 + 1);
  EXPECT_GE(w.grid->columnWidth(2), 10 * 9);
  EXPECT_EQ(w.grid->palette().color(QPalette::Base), QColor(0xfff8e0));
  QSignalSpy captions(&w.model, &CMtrxModel::captionsChanged);
  w.model.changeCaption(kCount, QStringLiteral("     "));
  EXPECT_EQ(captions.size(), 1);
  EXPECT_EQ(w.model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("     "));
}

}  // namespace
}  // namespace sl
