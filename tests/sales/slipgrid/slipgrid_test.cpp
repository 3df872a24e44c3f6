// The slip grid as a user drives it: captions, the cells each line kind
// shows, a 20-line slip typed from the keyboard alone with the totals
// following every keystroke, refusals, limits, the calculator's value and
// the farm cells of the sales slip window.
#include "sales/slsale/slipgrid.h"

#include "tests/sales/model/salesfixture.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace hv6::sales {
namespace {

using G = SlipGridModel;

sl::S_COMMODITY goods(const char16_t* code, const char16_t* name, const char16_t* unit,
                      double price, double cost, double irisu = 0) {
  sl::S_COMMODITY g;
  sl::slSetText(g.code, QString::fromUtf16(code));
  sl::slSetText(g.name, QString::fromUtf16(name));
  sl::slSetText(g.unit, QString::fromUtf16(unit));
  g.standardPrice = price;
  g.costPrice = cost;
  g.irisu = irisu;
  g.taxClass = sl::kTaxAdded;
  g.taxRateCode = test::kRate10;
  return g;
}

const std::map<QString, sl::S_COMMODITY>& catalog() {
  static const std::map<QString, sl::S_COMMODITY> kCatalog = [] {
    std::map<QString, sl::S_COMMODITY> m;
    for (const sl::S_COMMODITY& g :
         {goods(u"101", u"トマト（大玉）　秀品　4kg", u"ｹｰｽ", 2480, 1500),
          goods(u"102", u"ミニトマト　赤　200g", u"ﾊﾟｯｸ", 398, 210),
          goods(u"103", u"きゅうり　A品　5kg", u"箱", 1250, 800),
          goods(u"104", u"なす　千両二号", u"袋", 156, 90),
          goods(u"105", u"メロン　アールス　2玉", u"箱", 3300, 2100),
          goods(u"106", u"ほうれん草　200g", u"束", 98, 55, 10)})
      m.emplace(sl::slText(g.code), g);
    return m;
  }();
  return kCatalog;
}

bool lookup(const QString& code, sl::S_COMMODITY& out) {
  const auto it = catalog().find(code);
  if (it == catalog().end()) return false;
  out = it->second;
  return true;
}

FarmLists farmLists() {
  FarmLists f;
  f.crops = {{11, QStringLiteral("トマト")}, {12, QStringLiteral("きゅうり")},
             {15, QStringLiteral("メロン")}};
  f.fields = {{3, QStringLiteral("第1ハウス")}, {4, QStringLiteral("第2ハウス")}};
  f.grades = {{1, QStringLiteral("秀")}, {2, QStringLiteral("優")}};
  f.standards = {{7, QStringLiteral("L")}, {8, QStringLiteral("M")}};
  return f;
}

class Window final : public QWidget {
 public:
  explicit Window(G::Window kind) {
    auto* layout = new QVBoxLayout(this);
    grid = new SlipGrid(kind, this);
    layout->addWidget(grid);
    test::setUp(slip, sl::kTimingPerLine, sl::kRoundTruncate);
    grid->setGoodsLookup(lookup);
    grid->setFarmLists(farmLists());
    grid->setSlipModel(&slip);
    resize(1400, 700);
  }
  ~Window() override { delete grid; }  // before the slip

  SlipModel slip;
  SlipGrid* grid;
};

class SlipGridTest : public ::testing::Test {
 protected:
  explicit SlipGridTest(G::Window kind = G::Sales) : w(kind) {}
  void SetUp() override {
    w.show();
    QApplication::setActiveWindow(&w);
    w.grid->grid()->setFocus();
    ASSERT_TRUE(w.grid->setCurrentCell(0, G::kKind));
  }
  QWidget* keys() { return w.grid->grid(); }
  // Keys as typed; a character beyond ASCII comes as a key with its text.
  void type(const QString& text) {
    for (const QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClick(keys(), c.toLatin1());
      } else {
        QTest::sendKeyEvent(QTest::Press, keys(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, keys(), Qt::Key_unknown, QString(c), Qt::NoModifier);
      }
    }
  }
  void press(Qt::Key key) { QTest::keyClick(keys(), key); }
  int line() const { return w.grid->currentLine(); }
  int field() const { return w.grid->currentField(); }
  Qt::ItemFlags flags(int l, int f) const {
    return w.grid->gridModel()->cellIndex(l, f).flags();
  }
  QString text(int l, int f) const {
    return w.grid->gridModel()->cellIndex(l, f).data().toString();
  }
  // The fields Enter visits from the kind cell of a line to the next line.
  QList<int> enterOrder(int l) {
    EXPECT_TRUE(w.grid->setCurrentCell(l, G::kKind));
    QList<int> order{field()};
    for (int i = 0; i < 30; ++i) {
      press(Qt::Key_Return);
      if (line() != l) break;
      order << field();
    }
    return order;
  }
  Window w;
};

class ReservationGridTest : public SlipGridTest {
 protected:
  ReservationGridTest() : SlipGridTest(G::Reservation) {}
};

TEST_F(SlipGridTest, CaptionsInBothRowsAndHiddenColumnsBlank) {
  const sl::MtrxLayout& layout = w.grid->gridModel()->layout();
  QStringList first, second;
  for (int col = 0; col < layout.columnCount(); ++col) {
    if (const sl::MtrxCellDef* c = layout.cell(layout.fieldAt(0, col))) first << c->caption;
    if (const sl::MtrxCellDef* c = layout.cell(layout.fieldAt(1, col))) second << c->caption;
  }
  EXPECT_EQ(first, (QStringList{"番号 ", " 区分  ", "    商品ｺｰﾄﾞ   ",
                                "  税区分   ",
                                "  入  数   ", "  箱  数   ", "単位 ", "    単 価     ",
                                "    金 額     ", " 簡易課税区分 ", "   品 目   ",
                                "   ほ 場   "}));
  ASSERT_EQ(second.size(), 7);
  EXPECT_EQ(second.mid(1, 4), (QStringList{"   数  量       ", "   原 単 価   ",
                                           "   (消費税)   ", "   粗 利 益   "}));
  // The 番号 cell spans both rows of a line; the name lies under 区分..入数.
  EXPECT_EQ(layout.cell(G::kNumber)->rowSpan, 2);
  EXPECT_EQ(layout.cell(G::kName)->column, layout.cell(G::kKind)->column);
  EXPECT_EQ(layout.cell(G::kQuantity)->column, layout.cell(G::kBoxes)->column);

  // The company hides four columns: their captions become blanks of the
  // same width and their cells show on no line.
  sl::S_COMPANY company = w.slip.company();
  company.hideIrisu = company.hideBoxes = company.hideSimpleTax = company.hideGrossProfit = 1;
  w.slip.setCompany(company);
  w.grid->reload();
  for (const int f : {G::kIrisu, G::kBoxes, G::kSimpleTax, G::kGrossProfit}) {
    const QString caption = layout.cell(f)->caption;
    EXPECT_EQ(caption, blankCaption(G::caption(static_cast<G::Field>(f)))) << f;
    EXPECT_TRUE(caption.trimmed().isEmpty()) << f;
  }
  EXPECT_EQ(layout.cell(G::kSimpleTax)->caption.size(), 14);
  ASSERT_EQ(w.slip.setKind(0, sl::kLineSale), 0);
  sl::S_COMMODITY spinach;
  ASSERT_TRUE(lookup(QStringLiteral("106"), spinach));
  w.slip.setGoods(0, spinach);
  w.grid->linesChanged(0, 0);
  for (const int f : {G::kIrisu, G::kBoxes, G::kSimpleTax, G::kGrossProfit})
    EXPECT_FALSE(flags(0, f) & Qt::ItemIsEnabled) << f;
  // The totals line keeps three pairs in six slots.
  EXPECT_EQ(w.grid->totalsLine()->cells().size(), 3);
  EXPECT_EQ(w.grid->totalsLine()->slots(), 6);
}

TEST_F(ReservationGridTest, TheReservationWindowHasNoFarmCells) {
  const sl::MtrxLayout& layout = w.grid->gridModel()->layout();
  EXPECT_EQ(layout.columnCount(), 10);
  EXPECT_EQ(layout.cell(G::kCrop), nullptr);
  EXPECT_EQ(enterOrder(0), (QList<int>{G::kKind}));
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kKind));
  type(QStringLiteral("1"));
  EXPECT_EQ(enterOrder(0), (QList<int>{G::kKind, G::kGoodsCode, G::kName, G::kTaxClass,
                                       G::kQuantity, G::kUnit, G::kUnitPrice, G::kAmount,
                                       G::kCostPrice, G::kTax, G::kSimpleTax}));
}

TEST_F(SlipGridTest, EnterSkipsTheCellsALineDoesNotShow) {
  // An empty line shows its kind only.
  EXPECT_EQ(enterOrder(0), (QList<int>{G::kKind}));
  EXPECT_EQ(text(0, G::kAmount), QString());
  // A goods line without 入数: no 入数 and 箱数 cells.
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kKind));
  type(QStringLiteral("1"));
  EXPECT_EQ(w.slip.line(0).kind, sl::kLineSale);
  const QList<int> goods{G::kKind,      G::kGoodsCode, G::kName,  G::kTaxClass, G::kQuantity,
                         G::kUnit,      G::kUnitPrice, G::kAmount, G::kCostPrice, G::kTax,
                         G::kSimpleTax, G::kCrop,      G::kField, G::kGrade,    G::kStandard};
  EXPECT_EQ(enterOrder(0), goods);
  EXPECT_FALSE(flags(0, G::kIrisu) & Qt::ItemIsEnabled);
  // With 入数 both show, 箱数 before 数量.
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kGoodsCode));
  type(QStringLiteral("106"));
  press(Qt::Key_Return);
  QList<int> boxed = goods;
  boxed.insert(4, G::kIrisu);
  boxed.insert(5, G::kBoxes);
  EXPECT_EQ(enterOrder(0), boxed);
  EXPECT_EQ(text(0, G::kIrisu), QStringLiteral("10"));
  // A memo line: its text only.
  ASSERT_TRUE(w.grid->setCurrentCell(1, G::kKind));
  type(QStringLiteral("8"));
  EXPECT_EQ(enterOrder(1), (QList<int>{G::kKind, G::kName}));
  EXPECT_FALSE(flags(1, G::kAmount) & Qt::ItemIsEnabled);
  // 立替金: no goods cells; its tax class is forced, so shown but not entered.
  ASSERT_TRUE(w.grid->setCurrentCell(1, G::kKind));
  w.grid->grid()->edit(w.grid->grid()->currentIndex());
  type(QStringLiteral("5"));
  EXPECT_EQ(w.slip.line(1).kind, sl::kLineAdvance);
  EXPECT_EQ(enterOrder(1), (QList<int>{G::kKind, G::kGoodsCode, G::kName, G::kAmount, G::kTax,
                                       G::kSimpleTax}));
  EXPECT_EQ(text(1, G::kTaxClass), QStringLiteral("不課税"));
  EXPECT_FALSE(flags(1, G::kUnitPrice) & Qt::ItemIsEnabled);
  EXPECT_FALSE(flags(1, G::kCrop) & Qt::ItemIsEnabled);
}

// A 20-line slip typed from the keyboard alone. Goods lines, a return, a
// discount below a goods line and a memo line; the totals follow every
// keystroke.
TEST_F(SlipGridTest, ATwentyLineSlipFromTheKeyboard) {
  struct Typed {
    char kind;
    const char* code;
    const char* number;  // quantity (goods), amount (discount) or the memo text
  };
  const Typed slip[20] = {
      {'1', "101", "12"}, {'1', "102", "40"}, {'1', "103", "6"},  {'1', "104", "25"},
      {'1', "105", "3"},  {'2', "102", "4"},  {'1', "106", "8"},  {'1', "101", "2"},
      {'1', "103", "10"}, {'3', "", "500"},   {'1', "104", "30"}, {'1', "105", "1"},
      {'1', "102", "15"}, {'1', "101", "7"},  {'8', "", "ASAP"},  {'1', "103", "4"},
      {'1', "106", "20"}, {'1', "104", "12"}, {'2', "101", "1"},  {'1', "105", "2"},
  };
  double amount = 0;  // expected sums: tax added at 10 %, truncated per line
  double tax = 0;
  auto lineTax = [](double a) { return (a < 0 ? -1 : 1) * std::floor(std::fabs(a) / 10); };
  QSignalSpy refusals(w.grid, &SlipGrid::refusal);

  for (int l = 0; l < 20; ++l) {
    const Typed& t = slip[l];
    ASSERT_EQ(line(), l);
    ASSERT_EQ(field(), G::kKind);
    type(QString(QLatin1Char(t.kind)));  // the digit chooses the kind and moves on
    const int kind = t.kind - '0';
    ASSERT_EQ(w.slip.line(l).kind, kind) << l;
    if (kind == sl::kLineMemo) {
      ASSERT_EQ(field(), G::kName);
      type(QStringLiteral("午前中着でお願いします"));
      press(Qt::Key_Return);
      continue;
    }
    ASSERT_EQ(field(), G::kGoodsCode) << l;
    if (kind == sl::kLineGoodsDiscount) {
      press(Qt::Key_Return);  // no code: the goods are those above
      ASSERT_EQ(field(), G::kName);
      type(QStringLiteral("値引"));
      for (int i = 0; i < 5 && field() != G::kAmount; ++i) press(Qt::Key_Return);
      ASSERT_EQ(field(), G::kAmount) << l;
      type(QString::fromLatin1(t.number));
      press(Qt::Key_Return);
      EXPECT_EQ(w.slip.line(l).amount, -500) << "a discount is stored negative";
      amount += -500;
      tax += lineTax(-500);
    } else {
      type(QString::fromLatin1(t.code));
      press(Qt::Key_Return);
      const sl::S_COMMODITY& g = catalog().at(QString::fromLatin1(t.code));
      ASSERT_EQ(text(l, G::kName), sl::slText(g.name));
      // Enter to the quantity (through 入数 and 箱数 when the goods have one).
      for (int i = 0; i < 8 && field() != G::kQuantity && field() != G::kBoxes; ++i)
        press(Qt::Key_Return);
      ASSERT_TRUE(field() == G::kQuantity || field() == G::kBoxes) << l;
      const QString number = QString::fromLatin1(t.number);
      const double sign = kind == sl::kLineReturn ? -1 : 1;
      // Each digit is stored as it is typed: the totals follow it.
      for (int i = 0; i < number.size(); ++i) {
        type(number.at(i));
        const double q = number.left(i + 1).toDouble() * sign;
        const double a = q * g.standardPrice;
        EXPECT_EQ(w.slip.line(l).quantity, q) << l;
        EXPECT_EQ(w.slip.line(l).amount, a) << l;
        EXPECT_EQ(w.slip.header().grandTotal, amount + a + tax + lineTax(a)) << l;
        EXPECT_EQ(w.grid->totalsLine()->cells().at(2).text,
                  formatThousands(amount + a + tax + lineTax(a)))
            << l;
      }
      press(Qt::Key_Return);
      const double a = number.toDouble() * sign * g.standardPrice;
      amount += a;
      tax += lineTax(a);
      if (kind == sl::kLineReturn) {
        EXPECT_LT(w.slip.line(l).quantity, 0) << l;
      }
      if (!isZero(g.irisu)) {
        EXPECT_EQ(w.slip.line(l).boxes, w.slip.line(l).quantity) << l;
      }
    }
    // On to the next line.
    for (int i = 0; i < 20 && line() == l; ++i) press(Qt::Key_Return);
  }
  EXPECT_TRUE(refusals.isEmpty());
  EXPECT_EQ(w.slip.usedLines(), 20);
  EXPECT_EQ(w.grid->gridModel()->lineCount(), 21);
  EXPECT_EQ(line(), 20);
  EXPECT_EQ(w.slip.header().taxOutAmount, amount);
  EXPECT_EQ(w.slip.header().taxTotal, tax);
  EXPECT_EQ(w.slip.header().grandTotal, amount + tax);
  const QList<TotalsCell> cells = w.grid->totalsLine()->cells();
  ASSERT_EQ(cells.size(), 5);
  EXPECT_EQ(cells[0].text, formatThousands(amount));
  EXPECT_EQ(cells[1].text, formatThousands(tax));
  EXPECT_EQ(cells[2].text, formatThousands(amount + tax));
  // The return line shows its negative quantity; the memo its text only.
  EXPECT_EQ(text(5, G::kQuantity), QStringLiteral("-4"));
  EXPECT_EQ(text(5, G::kAmount), QStringLiteral("-1,592"));
  EXPECT_EQ(text(14, G::kName), QStringLiteral("午前中着でお願いします"));
  EXPECT_EQ(text(14, G::kAmount), QString());
  EXPECT_EQ(text(9, G::kAmount), QStringLiteral("-500"));
  EXPECT_EQ(text(8, G::kUnitPrice), QStringLiteral("1,250.00"));
}

TEST_F(SlipGridTest, AKindFromTheOpenedList) {
  // Space opens the list; the arrow and Enter choose, and the cursor moves on.
  press(Qt::Key_Space);
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  QWidget* list = popup->focusWidget() ? popup->focusWidget() : popup;
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(w.slip.line(0).kind, sl::kLineReturn);
  EXPECT_EQ(field(), G::kGoodsCode);
  EXPECT_FALSE(w.grid->grid()->isEditing());
}

TEST_F(SlipGridTest, RefusedKindChangesAreReportedAndLeaveTheLine) {
  QSignalSpy refusals(w.grid, &SlipGrid::refusal);
  // A discount on the first line.
  type(QStringLiteral("3"));
  ASSERT_EQ(refusals.size(), 1);
  EXPECT_EQ(refusals.at(0).at(0).toInt(), kErrDiscountWithoutGoods);
  EXPECT_EQ(w.slip.line(0).kind, sl::kLineEmpty);
  EXPECT_EQ(line(), 0);
  EXPECT_EQ(field(), G::kKind);
  // A goods line with its discount below cannot change kind.
  type(QStringLiteral("1"));
  ASSERT_TRUE(w.grid->setCurrentCell(1, G::kKind));
  type(QStringLiteral("3"));
  EXPECT_EQ(w.slip.line(1).kind, sl::kLineGoodsDiscount);
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kKind));
  type(QStringLiteral("7"));
  ASSERT_EQ(refusals.size(), 2);
  EXPECT_EQ(refusals.at(1).at(0).toInt(), kErrGoodsWithDiscount);
  EXPECT_EQ(w.slip.line(0).kind, sl::kLineSale);
  EXPECT_EQ(field(), G::kKind);
}

TEST_F(SlipGridTest, UnknownGoodsAndLimitsOfNumberCells) {
  QSignalSpy missing(w.grid, &SlipGrid::goodsNotFound);
  type(QStringLiteral("1"));
  type(QStringLiteral("999"));
  press(Qt::Key_Return);
  ASSERT_EQ(missing.size(), 1);
  EXPECT_EQ(missing.at(0).at(1).toString(), QStringLiteral("999"));
  EXPECT_EQ(field(), G::kGoodsCode);
  EXPECT_TRUE(sl::slText(w.slip.line(0).goodsCode).isEmpty());
  press(Qt::Key_Escape);

  auto typedInto = [&](int f, const QString& keys) {
    EXPECT_TRUE(w.grid->setCurrentCell(0, f));
    type(keys);
    sl::CInterMtrx* grid = w.grid->grid();
    auto* edit = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    const QString shown = edit ? edit->text() : QStringLiteral("<no editor>");
    press(Qt::Key_Escape);
    return shown;
  };
  EXPECT_EQ(typedInto(G::kUnitPrice, QStringLiteral("123456789.999")),
            QStringLiteral("12345678.99"));
  EXPECT_EQ(typedInto(G::kUnitPrice, QStringLiteral("-99999999")), QStringLiteral("-9999999"));
  EXPECT_EQ(typedInto(G::kTax, QStringLiteral("12345678901")), QStringLiteral("123456789"));
  EXPECT_EQ(typedInto(G::kTax, QStringLiteral("1.5")), QStringLiteral("15"));
  EXPECT_EQ(typedInto(G::kName, QString(40, QChar(0x3042))), QString(36, QChar(0x3042)));
  // Esc put every line back: nothing typed above stayed.
  EXPECT_EQ(w.slip.line(0).unitPrice, 0);
  EXPECT_EQ(w.slip.line(0).tax, 0);
  // Whole-yen prices take no decimals.
  sl::S_SELENV env = w.slip.environment();
  env.wholeYenPrice = 1;
  w.slip.setEnvironment(env);
  w.grid->reload();
  EXPECT_EQ(typedInto(G::kUnitPrice, QStringLiteral("12.5")), QStringLiteral("125"));
}

TEST_F(SlipGridTest, EscapeDuringTypingPutsTheLineAndTotalsBack) {
  type(QStringLiteral("1"));
  type(QStringLiteral("101"));
  press(Qt::Key_Return);
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kQuantity));
  type(QStringLiteral("5"));
  press(Qt::Key_Return);
  EXPECT_EQ(w.slip.header().grandTotal, 5 * 2480 + 1240);
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kQuantity));
  type(QStringLiteral("50"));
  EXPECT_EQ(w.slip.header().grandTotal, 50 * 2480 + 12400);
  press(Qt::Key_Escape);
  EXPECT_EQ(w.slip.line(0).quantity, 5);
  EXPECT_EQ(w.slip.header().grandTotal, 5 * 2480 + 1240);
  EXPECT_EQ(w.grid->totalsLine()->cells().at(2).text, QStringLiteral("13,640"));

  // A command of the window while a cell is edited: the typed value stays,
  // and a later Esc takes nothing back.
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kQuantity));
  type(QStringLiteral("7"));
  ASSERT_TRUE(w.grid->grid()->isEditing());
  ASSERT_EQ(w.slip.setKind(1, sl::kLineMemo), 0);
  w.slip.setName(1, QStringLiteral("追加"));
  w.grid->linesChanged(1, 1);
  EXPECT_FALSE(w.grid->grid()->isEditing());
  press(Qt::Key_Escape);
  EXPECT_EQ(w.slip.line(0).quantity, 7);
  EXPECT_EQ(w.slip.line(1).kind, sl::kLineMemo);
  EXPECT_EQ(w.slip.header().grandTotal, 7 * 2480 + 1736);
}

TEST_F(SlipGridTest, AnEditorLeftAsOpenedChangesNothing) {
  type(QStringLiteral("1"));
  type(QStringLiteral("101"));
  press(Qt::Key_Return);
  w.slip.editLine(0).tax = 123;  // a tax typed by hand stays until retyped
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kQuantity));
  type(QStringLiteral("3"));
  press(Qt::Key_Return);
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kAmount));
  type(QStringLiteral("7000"));  // over 3 x 2480
  press(Qt::Key_Return);
  EXPECT_EQ(w.slip.line(0).amount, 7000);
  w.slip.editLine(0).tax = 123;
  // Opening the quantity, the tax class and the amount and leaving them
  // with Enter recomputes nothing.
  for (const int f : {G::kQuantity, G::kTaxClass, G::kAmount}) {
    ASSERT_TRUE(w.grid->setCurrentCell(0, f));
    w.grid->grid()->edit(w.grid->grid()->currentIndex());
    ASSERT_TRUE(w.grid->grid()->isEditing()) << f;
    press(Qt::Key_Return);
    EXPECT_FALSE(w.grid->grid()->isEditing()) << f;
  }
  EXPECT_EQ(w.slip.line(0).amount, 7000);
  EXPECT_EQ(w.slip.line(0).tax, 123);
  // Shift+Enter in an editor goes back.
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kUnitPrice));
  type(QStringLiteral("2500"));
  QTest::keyClick(keys(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(field(), G::kUnit);
  EXPECT_EQ(w.slip.line(0).unitPrice, 2500);
}

TEST_F(SlipGridTest, CalculatorValuesAreRoundedAndHeldToTheCell) {
  type(QStringLiteral("1"));
  type(QStringLiteral("101"));
  press(Qt::Key_Return);
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kQuantity));
  EXPECT_TRUE(w.grid->takeCalculatorValue(2.345));
  EXPECT_EQ(w.slip.line(0).quantity, 2.35);
  EXPECT_EQ(w.slip.line(0).amount, 5828);  // 2.35 x 2480
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kUnitPrice));
  EXPECT_TRUE(w.grid->takeCalculatorValue(1e12));
  EXPECT_EQ(w.slip.line(0).unitPrice, 99999999.99);
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kAmount));
  EXPECT_TRUE(w.grid->takeCalculatorValue(1234.5));
  EXPECT_EQ(w.slip.line(0).amount, 1235);
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kTax));
  EXPECT_TRUE(w.grid->takeCalculatorValue(-12.5));
  EXPECT_EQ(w.slip.line(0).tax, -13);
  // Not a number cell.
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kName));
  EXPECT_FALSE(w.grid->takeCalculatorValue(5));
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kGrossProfit));
  EXPECT_FALSE(w.grid->takeCalculatorValue(5));
  // A return line's quantity takes the sign rule as typing would.
  ASSERT_TRUE(w.grid->setCurrentCell(1, G::kKind));
  type(QStringLiteral("2"));
  ASSERT_TRUE(w.grid->setCurrentCell(1, G::kQuantity));
  EXPECT_TRUE(w.grid->takeCalculatorValue(3));
  EXPECT_EQ(w.slip.line(1).quantity, -3);
}

TEST_F(SlipGridTest, TheCalculatorOpensOnTheCurrentNumberCell) {
  type(QStringLiteral("1"));
  type(QStringLiteral("101"));
  press(Qt::Key_Return);
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kQuantity));
  type(QStringLiteral("4"));  // an open edit is stored first
  QString shown;
  QTimer::singleShot(0, [&shown] {
    QWidget* calculator = QApplication::activeModalWidget();
    ASSERT_NE(calculator, nullptr);
    shown = calculator->findChild<QLabel*>(QStringLiteral("display"))->text();
    QTest::keyClicks(calculator, QStringLiteral("*2.5/3"));
    QTest::keyClick(calculator, Qt::Key_Return);
  });
  ASSERT_TRUE(w.grid->openCalculator());
  EXPECT_EQ(shown, QStringLiteral("4"));
  // 4 x 2.5 / 3 = 3.3333.. rounded half up to two decimals.
  EXPECT_EQ(w.slip.line(0).quantity, 3.33);
  EXPECT_EQ(w.slip.line(0).amount, 8258);  // 3.33 x 2480 = 8258.4
  EXPECT_EQ(w.grid->totalsLine()->cells().at(0).text, QStringLiteral("8,258"));
  // Cancelled: nothing changes.
  QTimer::singleShot(0, [] {
    QWidget* calculator = QApplication::activeModalWidget();
    ASSERT_NE(calculator, nullptr);
    QTest::keyClicks(calculator, QStringLiteral("99"));
    QTest::keyClick(calculator, Qt::Key_Escape);
  });
  EXPECT_FALSE(w.grid->openCalculator());
  EXPECT_EQ(w.slip.line(0).quantity, 3.33);
  // Not on a cell without a number.
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kName));
  EXPECT_FALSE(w.grid->openCalculator());
}

TEST_F(SlipGridTest, FarmCellsChooseFromTheMastersAndKindsListInCodeOrder) {
  type(QStringLiteral("1"));
  type(QStringLiteral("105"));
  press(Qt::Key_Return);
  const QModelIndex kindCell = w.grid->gridModel()->cellIndex(0, G::kKind);
  EXPECT_EQ(kindCell.data(sl::kChoicesRole).toStringList(), lineKindNames());
  EXPECT_EQ(kindCell.data(sl::kChoiceCodesRole).toList(),
            (QVariantList{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(w.grid->gridModel()->cellIndex(0, G::kTaxClass).data(sl::kChoicesRole).toStringList(),
            taxClassNames());
  EXPECT_EQ(w.grid->gridModel()->cellIndex(0, G::kSimpleTax).data(sl::kChoicesRole).toStringList(),
            simpleTaxClassNames());
  // The tax class by its digit: 1 内税.
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kTaxClass));
  type(QStringLiteral("1"));
  EXPECT_EQ(w.slip.line(0).taxClass, sl::kTaxIncluded);
  // The crop: open the list's editor, the second master, Enter.
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kCrop));
  w.grid->grid()->edit(w.grid->grid()->currentIndex());
  press(Qt::Key_Down);
  press(Qt::Key_Down);
  press(Qt::Key_Return);
  EXPECT_EQ(w.slip.line(0).cropCode, 12);
  EXPECT_EQ(text(0, G::kCrop), QStringLiteral("きゅうり"));
  EXPECT_EQ(field(), G::kField);
  w.slip.editLine(0).fieldCode = 4;
  w.slip.editLine(0).gradeCode = 99;  // no longer among the masters
  w.grid->linesChanged(0, 0);
  EXPECT_EQ(text(0, G::kField), QStringLiteral("第2ハウス"));
  EXPECT_EQ(text(0, G::kGrade), QStringLiteral("99"));
}

TEST_F(SlipGridTest, FunctionKeysReachTheWindowsShortcuts) {
  int saves = 0;
  auto* save = new QShortcut(QKeySequence(Qt::Key_F2), &w);
  QObject::connect(save, &QShortcut::activated, [&saves] { ++saves; });
  press(Qt::Key_F2);
  EXPECT_EQ(saves, 1);
  type(QStringLiteral("1"));
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kQuantity));
  type(QStringLiteral("3"));
  ASSERT_TRUE(w.grid->grid()->isEditing());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
  EXPECT_EQ(saves, 2);
}

// A realistic slip for a look at the grid (saved when HV6_SHOT_DIR names a
// folder): cells sized as the host sizes them, on the half-width digit and
// the line height of the desktop font, in the desktop's colours.
void fillRealisticSlip(SlipModel& slip) {
  const char* codes[] = {"101", "102", "103", "104", "105", "106", "101", "103"};
  for (int l = 0; l < 8; ++l) {
    ASSERT_EQ(slip.setKind(l, sl::kLineSale), 0);
    sl::S_COMMODITY g;
    ASSERT_TRUE(lookup(QString::fromLatin1(codes[l]), g));
    slip.setGoods(l, g);
    slip.setQuantity(l, (l % 4 + 1) * 6);
    slip.editLine(l).cropCode = 11 + (l % 2);
    slip.editLine(l).fieldCode = 3;
    slip.editLine(l).gradeCode = 1;
    slip.editLine(l).standardCode = 7;
  }
  ASSERT_EQ(slip.setKind(8, sl::kLineGoodsDiscount), 0);
  slip.setName(8, QStringLiteral("出荷量値引"));
  slip.setAmount(8, 1200);
  ASSERT_EQ(slip.setKind(9, sl::kLineReturn), 0);
  sl::S_COMMODITY g;
  ASSERT_TRUE(lookup(QStringLiteral("102"), g));
  slip.setGoods(9, g);
  slip.setQuantity(9, 5);
  ASSERT_EQ(slip.setKind(10, sl::kLineMemo), 0);
  slip.setName(10, QStringLiteral("午前中着指定"));
  ASSERT_EQ(slip.setKind(11, sl::kLineTaxAdjust), 0);
  slip.setName(11, QStringLiteral("消費税調整"));
  slip.setTax(11, -1);
}

sl::MTRX_INIT hostInit() {
  sl::MTRX_INIT init;
  init.font = QApplication::font();
  const QFontMetrics fm(init.font);
  init.cellWidth = fm.horizontalAdvance(QLatin1Char('0'));
  init.cellHeight = fm.height();
  const QPalette palette = QApplication::palette();
  init.colors.text = palette.color(QPalette::Text);
  init.colors.background = palette.color(QPalette::Base);
  init.colors.caption = palette.color(QPalette::ButtonText);
  init.colors.captionBackground = palette.color(QPalette::Button);
  init.colors.cursor = palette.color(QPalette::HighlightedText);
  init.colors.cursorBackground = palette.color(QPalette::Highlight);
  init.colors.grid = palette.color(QPalette::Mid);
  init.colors.disabledText = palette.color(QPalette::Disabled, QPalette::Text);
  return init;
}

// Every shown cell's text fits its cell, and every caption its column.
void expectFits(SlipGrid& grid, int lines) {
  const QFontMetrics fm(grid.grid()->font());
  const SlipGridModel& m = *grid.gridModel();
  for (int l = 0; l < lines; ++l)
    for (const sl::MtrxCellDef& c : m.layout().cells()) {
      const QModelIndex index = m.cellIndex(l, c.field);
      EXPECT_LE(fm.horizontalAdvance(index.data().toString()) + 6,
                grid.grid()->visualRect(index).width())
          << l << " " << c.field << " " << index.data().toString().toStdString();
    }
  for (const sl::MtrxCellDef& c : m.layout().cells()) {
    int width = 0;
    for (int col = c.column; col < c.column + c.columnSpan; ++col)
      width += grid.grid()->columnWidth(col);
    EXPECT_LE(fm.horizontalAdvance(c.caption.trimmed()) + 6, width) << c.field;
  }
}

void shoot(QWidget& w, const QString& name) {
  const QImage image = w.grab().toImage();
  ASSERT_FALSE(image.isNull());
  const QByteArray dir = qgetenv("HV6_SHOT_DIR");
  if (!dir.isEmpty()) image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name));
}

TEST_F(SlipGridTest, PaintsARealisticSlip) {
  w.grid->Initial(hostInit());
  fillRealisticSlip(w.slip);
  w.grid->reload();
  ASSERT_TRUE(w.grid->setCurrentCell(1, G::kQuantity));
  expectFits(*w.grid, 13);
  shoot(w, QStringLiteral("slipgrid_sales.png"));
  // With a drop-down and then a number being edited.
  ASSERT_TRUE(w.grid->setCurrentCell(2, G::kSimpleTax));
  w.grid->grid()->edit(w.grid->grid()->currentIndex());
  ASSERT_TRUE(w.grid->grid()->isEditing());
  shoot(w, QStringLiteral("slipgrid_sales_choice.png"));
  press(Qt::Key_Escape);
  ASSERT_TRUE(w.grid->setCurrentCell(3, G::kQuantity));
  type(QStringLiteral("125"));
  shoot(w, QStringLiteral("slipgrid_sales_number.png"));
  EXPECT_EQ(w.grid->totalsLine()->cells().at(0).text, formatThousands(w.slip.header().taxOutAmount));
}

TEST_F(ReservationGridTest, PaintsARealisticSlipWithHiddenColumns) {
  w.grid->Initial(hostInit());
  sl::S_COMPANY company = w.slip.company();
  company.hideIrisu = company.hideBoxes = company.hideSimpleTax = company.hideGrossProfit = 1;
  w.slip.setCompany(company);
  fillRealisticSlip(w.slip);
  w.grid->reload();
  ASSERT_TRUE(w.grid->setCurrentCell(0, G::kUnitPrice));
  expectFits(*w.grid, 13);
  w.resize(1000, 600);
  shoot(w, QStringLiteral("slipgrid_reservation_hidden.png"));
}

}  // namespace
}  // namespace hv6::sales
