// The slip model as the grid drives it: kind changes, sign rules, line
// amounts and taxes, leaving and entering 内税 and kind 9, discount lines,
// totals, the totals line, per-rate totals, the changed-slip test.
#include "tests/sales/model/salesfixture.h"

#include <gtest/gtest.h>

namespace hv6::sales {
namespace {

using test::kRate10;
using test::kRate8;
using test::setUp;

// A kind-1 line of quantity x price at a class and rate.
void saleLine(SlipModel& m, int row, double quantity, double price,
              std::uint8_t taxClass = sl::kTaxAdded, std::uint8_t rate = kRate10) {
  ASSERT_EQ(m.setKind(row, sl::kLineSale), 0);
  m.setTaxClass(row, taxClass);
  m.setTaxRateCode(row, rate);
  m.setUnitPrice(row, price);
  m.setQuantity(row, quantity);
}

// ---- the edge cases of the rules ----

TEST(SlipModelEdge, IncludedTaxLineAndBackToAddedTax) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundHalfUp, sl::kRoundHalfUp, kRate8);
  saleLine(m, 0, 1, 1080, sl::kTaxIncluded, kRate8);
  // 8 x 1080 / 108 = 80; 1080 - 80 = 1000.
  EXPECT_EQ(m.line(0).amount, 1000);
  EXPECT_EQ(m.line(0).tax, 80);
  EXPECT_EQ(m.header().taxInAmount, 1000);
  EXPECT_EQ(m.header().inTax, 80);
  EXPECT_EQ(m.header().grandTotal, 1080);
  ASSERT_TRUE(m.setTaxClass(0, sl::kTaxAdded));
  // 1000 + 80 = 1080 whose included tax is still 80: the amount is 1080
  // again, and 8 % of it, 86.4, rounds half up to 86.
  EXPECT_EQ(m.line(0).amount, 1080);
  EXPECT_EQ(m.line(0).tax, 86);
  EXPECT_EQ(m.header().taxOutAmount, 1080);
  EXPECT_EQ(m.header().taxInAmount, 0);
  EXPECT_EQ(m.header().taxTotal, 86);
  EXPECT_EQ(m.header().grandTotal, 1166);
}

TEST(SlipModelEdge, TruncatedTaxPerLineAgainstPerSlip) {
  for (const std::uint8_t timing : {sl::kTimingPerLine, sl::kTimingPerSlip}) {
    SlipModel m;
    setUp(m, timing, sl::kRoundTruncate, sl::kRoundHalfUp, kRate8);
    saleLine(m, 0, 1, 10, sl::kTaxAdded, kRate8);
    saleLine(m, 1, 1, 10, sl::kTaxAdded, kRate8);
    EXPECT_EQ(m.header().taxOutAmount, 20);
    // Per line 0.8 truncates to 0 twice; per slip 1.6 truncates to 1.
    EXPECT_EQ(m.header().taxTotal, timing == sl::kTimingPerLine ? 0 : 1) << int(timing);
    EXPECT_EQ(m.header().grandTotal, timing == sl::kTimingPerLine ? 20 : 21) << int(timing);
  }
}

TEST(SlipModelEdge, ClosingTimingShowsNoAddedTax) {
  SlipModel m;
  setUp(m, sl::kTimingAtClose, sl::kRoundHalfUp);
  saleLine(m, 0, 10, 100);
  EXPECT_EQ(m.line(0).tax, 0);
  EXPECT_EQ(m.header().taxTotal, 0);
  EXPECT_EQ(m.header().grandTotal, 1000);
  const QList<TotalsCell> cells = m.totalsLine();
  ASSERT_EQ(cells.size(), 5);
  EXPECT_EQ(cells[1].caption, QStringLiteral("外 消費税"));
  EXPECT_EQ(cells[1].text, QStringLiteral("0"));
  EXPECT_EQ(cells[2].text, QStringLiteral("1,000"));
}

TEST(SlipModelEdge, ReturnQuantityIsStoredNegative) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  ASSERT_EQ(m.setKind(0, sl::kLineReturn), 0);
  m.setUnitPrice(0, 100);
  m.setQuantity(0, 3);
  EXPECT_EQ(m.line(0).quantity, -3);
  EXPECT_EQ(m.line(0).amount, -300);
  EXPECT_EQ(m.line(0).tax, -30);
  EXPECT_EQ(m.header().grandTotal, -330);
  // A negative value typed stays as typed; a negative unit price keeps its
  // sign, so the amount turns positive.
  m.setQuantity(0, -2);
  EXPECT_EQ(m.line(0).quantity, -2);
  m.setUnitPrice(0, -100);
  EXPECT_EQ(m.line(0).unitPrice, -100);
  EXPECT_EQ(m.line(0).amount, 200);
}

TEST(SlipModelEdge, AllLinesEmpty) {
  SlipModel m;
  setUp(m, sl::kTimingPerSlip, sl::kRoundHalfUp);
  const sl::S_SELSLIPHD& h = m.header();
  for (const double v : {h.taxOutAmount, h.taxInAmount, h.noTaxAmount, h.taxTotal, h.inTax,
                         h.adjustTax, h.grandTotal, h.quantityTotal, h.unitAverage})
    EXPECT_EQ(v, 0);
  EXPECT_EQ(m.costTotal(), 0);
  EXPECT_EQ(m.grossProfitTotal(), 0);
  for (const sl::S_RATETOTAL& r : h.rates) EXPECT_EQ(r, sl::S_RATETOTAL{});
  for (const TotalsCell& c : m.totalsLine()) EXPECT_EQ(c.text, QStringLiteral("0"));
}

// ---- kind changes ----

TEST(SlipModelKinds, GoodsDiscountNeedsASaleLineAbove) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  EXPECT_EQ(m.setKind(0, sl::kLineGoodsDiscount), kErrDiscountWithoutGoods);
  EXPECT_EQ(m.line(0), sl::S_SELSLIP{});
  ASSERT_EQ(m.setKind(0, sl::kLineReturn), 0);
  EXPECT_EQ(m.setKind(1, sl::kLineGoodsDiscount), kErrDiscountWithoutGoods);
  EXPECT_EQ(m.line(1).kind, sl::kLineEmpty);
  EXPECT_EQ(m.setKind(2, sl::kLineGoodsDiscount), kErrDiscountWithoutGoods);  // above is empty
}

TEST(SlipModelKinds, GoodsDiscountIsBuiltFromTheLineAbove) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  saleLine(m, 0, 10, 100, sl::kTaxIncluded, kRate8);
  m.setIrisu(0, 10);
  m.setCostPrice(0, 60);
  m.setSimpleTaxClass(0, 2);
  ASSERT_EQ(m.setKind(1, sl::kLineGoodsDiscount), 0);
  const sl::S_SELSLIP& d = m.line(1);
  EXPECT_EQ(d.irisu, 10);
  EXPECT_EQ(d.boxes, 10);
  EXPECT_EQ(d.quantity, 10);
  EXPECT_EQ(d.unitPrice, 100);
  EXPECT_EQ(d.costPrice, 60);
  EXPECT_EQ(d.taxRateCode, kRate8);
  EXPECT_EQ(d.taxClass, sl::kTaxIncluded);
  EXPECT_EQ(d.simpleTaxClass, 2);
  EXPECT_EQ(d.amount, 0);
  // A positive discount typed is stored negative: -108 with 8 included.
  m.setAmount(1, 108);
  EXPECT_EQ(m.line(1).amount, -100);
  EXPECT_EQ(m.line(1).tax, -8);
  // 1000 - 74 (8 x 1000 / 108 = 74.07 truncated) = 926 and -100.
  EXPECT_EQ(m.header().taxInAmount, 826);
  EXPECT_EQ(m.header().inTax, 66);
  EXPECT_EQ(m.header().grandTotal, 892);
}

TEST(SlipModelKinds, SaleLineWithDiscountBelowKeepsItsKind) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  saleLine(m, 0, 10, 100);
  ASSERT_EQ(m.setKind(1, sl::kLineGoodsDiscount), 0);
  const sl::S_SELSLIP before = m.line(0);
  for (const std::uint8_t kind : {sl::kLineReturn, sl::kLineMemo, sl::kLineTaxAdjust, sl::kLineEmpty})
    EXPECT_EQ(m.setKind(0, kind), kErrGoodsWithDiscount) << int(kind);
  EXPECT_EQ(m.line(0), before);
  // The discount line itself may change; then the sale line is free.
  ASSERT_EQ(m.setKind(1, sl::kLineOther), 0);
  EXPECT_EQ(m.setKind(0, sl::kLineReturn), 0);
}

TEST(SlipModelKinds, ChangesOfTheGoodsLineReachItsDiscount) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundHalfUp);
  saleLine(m, 0, 10, 100);
  ASSERT_EQ(m.setKind(1, sl::kLineGoodsDiscount), 0);
  m.setAmount(1, 110);  // 外税 at 10 %: -110, tax -11
  ASSERT_EQ(m.line(1).tax, -11);
  m.setQuantity(0, 12);
  m.setUnitPrice(0, 90);
  m.setCostPrice(0, 50);
  m.setSimpleTaxClass(0, 3);
  EXPECT_EQ(m.line(1).quantity, 12);
  EXPECT_EQ(m.line(1).unitPrice, 90);
  EXPECT_EQ(m.line(1).costPrice, 50);
  EXPECT_EQ(m.line(1).simpleTaxClass, 3);
  EXPECT_EQ(m.line(1).amount, -110);  // the typed discount stays
  // 内税 on the goods line: the discount's -110 now includes -10.
  ASSERT_TRUE(m.setTaxClass(0, sl::kTaxIncluded));
  EXPECT_EQ(m.line(1).taxClass, sl::kTaxIncluded);
  EXPECT_EQ(m.line(1).amount, -100);
  EXPECT_EQ(m.line(1).tax, -10);
  // A rate change too: -110 at 8 % includes -8.15, half up -8.
  m.setTaxRateCode(0, kRate8);
  EXPECT_EQ(m.line(1).taxRateCode, kRate8);
  EXPECT_EQ(m.line(1).tax, -8);
  EXPECT_EQ(m.line(1).amount, -102);
}

TEST(SlipModelKinds, TotalDiscountAdvanceShippingMemo) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  saleLine(m, 0, 10, 100);
  // 合計値引 clears quantity and price; the amount typed is stored negative.
  ASSERT_EQ(m.setKind(0, sl::kLineTotalDiscount), 0);
  EXPECT_EQ(m.line(0).quantity, 0);
  EXPECT_EQ(m.line(0).unitPrice, 0);
  EXPECT_EQ(m.line(0).amount, 0);
  m.setAmount(0, 50);
  EXPECT_EQ(m.line(0).amount, -50);
  EXPECT_EQ(m.line(0).tax, -5);
  m.setAmount(0, -40);
  EXPECT_EQ(m.line(0).amount, -40);
  // 立替金 and 預り送料 are 不課税 whatever is chosen.
  for (const std::uint8_t kind : {sl::kLineAdvance, sl::kLineShipping}) {
    ASSERT_EQ(m.setKind(1, kind), 0);
    EXPECT_EQ(m.line(1).taxClass, sl::kTaxOutside);
    EXPECT_FALSE(m.setTaxClass(1, sl::kTaxAdded));
    EXPECT_EQ(m.line(1).taxClass, sl::kTaxOutside);
  }
  m.setAmount(1, 500);
  EXPECT_EQ(m.line(1).amount, 500);  // no sign rule
  EXPECT_EQ(m.line(1).tax, 0);
  EXPECT_EQ(m.header().noTaxAmount, 500);
  // メモ keeps only its text.
  ASSERT_EQ(m.setKind(2, sl::kLineSale), 0);
  m.setName(2, QStringLiteral("朝どり"));
  m.setUnitPrice(2, 100);
  m.setQuantity(2, 3);
  ASSERT_EQ(m.setKind(2, sl::kLineMemo), 0);
  sl::S_SELSLIP memo;
  memo.kind = sl::kLineMemo;
  sl::slSetText(memo.goodsName, QStringLiteral("朝どり"));
  EXPECT_EQ(m.line(2), memo);
  m.setAmount(2, 100);
  EXPECT_EQ(m.line(2), memo);
  EXPECT_EQ(m.header().taxOutAmount, -40);
  EXPECT_EQ(m.header().grandTotal, -40 - 4 + 500);
}

TEST(SlipModelKinds, TaxAdjustmentMovesTheAmountIntoTheTax) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundHalfUp, sl::kRoundHalfUp, kRate8);
  ASSERT_EQ(m.setKind(0, sl::kLineOther), 0);
  ASSERT_TRUE(m.setTaxClass(0, sl::kTaxIncluded));
  m.setAmount(0, 1080);
  ASSERT_EQ(m.line(0).amount, 1000);
  // 内税 undone first: 1000 + 80 = 1080 becomes the tax.
  ASSERT_EQ(m.setKind(0, sl::kLineTaxAdjust), 0);
  EXPECT_EQ(m.line(0).tax, 1080);
  EXPECT_EQ(m.line(0).amount, 0);
  EXPECT_EQ(m.line(0).taxClass, sl::kTaxAdded);
  EXPECT_FALSE(m.setTaxClass(0, sl::kTaxIncluded));
  EXPECT_EQ(m.header().adjustTax, 1080);
  EXPECT_EQ(m.header().taxTotal, 1080);
  EXPECT_EQ(m.header().taxOutAmount, 0);
  // The value typed on a kind-9 line is tax.
  m.setAmount(0, 3);
  EXPECT_EQ(m.line(0).tax, 3);
  EXPECT_EQ(m.line(0).amount, 0);
  // Away from kind 9 the tax goes back into the amount (外税, 8 % of 3
  // = 0.24, half up 0).
  ASSERT_EQ(m.setKind(0, sl::kLineOther), 0);
  EXPECT_EQ(m.line(0).amount, 3);
  EXPECT_EQ(m.line(0).tax, 0);
  EXPECT_EQ(m.header().adjustTax, 0);
}

TEST(SlipModelKinds, AdjustmentFromIncludedTaxTypedByHand) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundHalfUp, sl::kRoundHalfUp, kRate8);
  ASSERT_EQ(m.setKind(0, sl::kLineOther), 0);
  ASSERT_TRUE(m.setTaxClass(0, sl::kTaxIncluded));
  m.setAmount(0, 1080);
  m.setTax(0, 70);  // not the rule's 80: the amount without tax stays
  EXPECT_EQ(m.line(0).amount, 1000);
  ASSERT_EQ(m.setKind(0, sl::kLineTaxAdjust), 0);
  EXPECT_EQ(m.line(0).tax, 1000);
}

TEST(SlipModelTaxClass, LeavingIncludedTaxWithTaxTypedByHand) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundHalfUp, sl::kRoundHalfUp, kRate8);
  saleLine(m, 0, 1, 1080, sl::kTaxIncluded, kRate8);
  m.setTax(0, 79);
  // Only the totals change for a typed tax.
  EXPECT_EQ(m.line(0).amount, 1000);
  EXPECT_EQ(m.header().inTax, 79);
  EXPECT_EQ(m.header().grandTotal, 1079);
  // 1000 + 79 = 1079 includes 79.93 -> 80, not 79: the amount stays 1000.
  ASSERT_TRUE(m.setTaxClass(0, sl::kTaxFree));
  EXPECT_EQ(m.line(0).amount, 1000);
  EXPECT_EQ(m.line(0).tax, 0);
  EXPECT_EQ(m.header().noTaxAmount, 1000);
}

TEST(SlipModelTaxClass, LeavingAddedTaxClearsTheTax) {
  SlipModel m;
  setUp(m, sl::kTimingPerSlip, sl::kRoundHalfUp);
  saleLine(m, 0, 1, 1000);
  // Per slip no line tax is computed; one typed by hand stays ...
  EXPECT_EQ(m.line(0).tax, 0);
  m.setTax(0, 7);
  m.setQuantity(0, 2);
  EXPECT_EQ(m.line(0).tax, 7);
  // ... until the line leaves 外税.
  ASSERT_TRUE(m.setTaxClass(0, sl::kTaxExempt));
  EXPECT_EQ(m.line(0).tax, 0);
  EXPECT_EQ(m.line(0).amount, 2000);
  // Entering 内税 takes the amount as including tax: 2000 at 10 %
  // includes 181.82 -> 182.
  ASSERT_TRUE(m.setTaxClass(0, sl::kTaxIncluded));
  EXPECT_EQ(m.line(0).tax, 182);
  EXPECT_EQ(m.line(0).amount, 1818);
  EXPECT_EQ(m.header().taxTotal, 182);
}

// ---- cells ----

TEST(SlipModelCells, BoxesAndQuantityKeptEqualWhileIrisuIsSet) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  saleLine(m, 0, 4, 100);
  EXPECT_EQ(m.line(0).boxes, 0);  // no 入数: boxes untouched
  m.setIrisu(0, 6);
  EXPECT_EQ(m.line(0).boxes, 4);
  m.setBoxes(0, 5);
  EXPECT_EQ(m.line(0).quantity, 5);
  EXPECT_EQ(m.line(0).amount, 500);
  m.setQuantity(0, 7);
  EXPECT_EQ(m.line(0).boxes, 7);
  EXPECT_EQ(m.line(0).amount, 700);
  // A return negates a typed boxes count too.
  ASSERT_EQ(m.setKind(1, sl::kLineReturn), 0);
  m.setIrisu(1, 6);
  m.setUnitPrice(1, 100);
  m.setBoxes(1, 2);
  EXPECT_EQ(m.line(1).boxes, -2);
  EXPECT_EQ(m.line(1).quantity, -2);
  EXPECT_EQ(m.line(1).amount, -200);
}

TEST(SlipModelCells, AmountIsRoundedByTheCompanyRule) {
  const std::pair<std::uint8_t, double> cases[] = {
      {sl::kRoundTruncate, 100.0}, {sl::kRoundUp, 101.0}, {sl::kRoundHalfUp, 101.0}};
  for (const auto& [rule, expected] : cases) {
    SlipModel m;
    setUp(m, sl::kTimingPerLine, sl::kRoundTruncate, rule);
    saleLine(m, 0, 3, 33.5);  // 100.5
    EXPECT_EQ(m.line(0).amount, expected) << int(rule);
    // 15 x 16.6 stands for 249 exactly, whatever the rule.
    saleLine(m, 1, 15, 16.6);
    EXPECT_EQ(m.line(1).amount, 249) << int(rule);
  }
}

TEST(SlipModelCells, GoodsFillTheLine) {
  SlipModel m;
  sl::S_CLIENTSEL c = test::client(sl::kTimingPerLine, sl::kRoundTruncate);
  c.priceClass = 2;
  c.priceRate = 90;
  m.setCompany(test::company());
  m.setClient(c);
  m.newSlip(sl::kKindCredit, 20240401);
  sl::S_COMMODITY g;
  sl::slSetText(g.code, QStringLiteral("A001"));
  sl::slSetText(g.name, QStringLiteral("トマト"));
  sl::slSetText(g.unit, QStringLiteral("ｹｰｽ"));
  g.irisu = 12;
  g.standardPrice = 1000;
  g.price2 = 123.45;
  g.costPrice = 70;
  g.taxClass = sl::kTaxIncluded;
  g.taxRateCode = kRate8;
  g.simpleTaxClass = 3;
  ASSERT_EQ(m.setKind(0, sl::kLineSale), 0);
  m.setQuantity(0, 2);
  m.setGoods(0, g);
  const sl::S_SELSLIP& l = m.line(0);
  EXPECT_EQ(sl::slText(l.goodsCode), QStringLiteral("A001"));
  EXPECT_EQ(sl::slText(l.goodsName), QStringLiteral("トマト"));
  EXPECT_EQ(sl::slText(l.unit), QStringLiteral("ｹｰｽ"));
  EXPECT_EQ(l.irisu, 12);
  EXPECT_EQ(l.boxes, 2);
  // 売値２ 123.45 at 90 % = 111.105, truncated to two decimals.
  EXPECT_DOUBLE_EQ(l.unitPrice, 111.10);
  EXPECT_EQ(l.costPrice, 70);
  EXPECT_EQ(l.taxClass, sl::kTaxIncluded);
  EXPECT_EQ(l.taxRateCode, kRate8);
  EXPECT_EQ(l.simpleTaxClass, 3);
  // 2 x 111.10 = 222.2 -> 222 (half up) including 8 x 222 / 108 = 16.44 -> 16.
  EXPECT_EQ(l.tax, 16);
  EXPECT_EQ(l.amount, 206);

  // Whole-yen prices; a goods rate code the company lacks gives the
  // header's rate.
  sl::S_SELENV env;
  env.wholeYenPrice = 1;
  m.setEnvironment(env);
  g.taxRateCode = 5;
  g.taxClass = sl::kTaxAdded;
  ASSERT_EQ(m.setKind(1, sl::kLineSale), 0);
  m.setGoods(1, g);
  EXPECT_EQ(m.line(1).unitPrice, 111);
  EXPECT_EQ(m.line(1).taxRateCode, kRate10);
  // Goods on a charge line give only code and name.
  ASSERT_EQ(m.setKind(2, sl::kLineShipping), 0);
  m.setAmount(2, 300);
  m.setGoods(2, g);
  EXPECT_EQ(sl::slText(m.line(2).goodsName), QStringLiteral("トマト"));
  EXPECT_EQ(m.line(2).unitPrice, 0);
  EXPECT_EQ(m.line(2).taxClass, sl::kTaxOutside);
  EXPECT_EQ(m.line(2).amount, 300);
}

TEST(SlipModelCells, GoodsBeforeTheKindKeepTheirRate) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  sl::S_COMMODITY g;
  sl::slSetText(g.code, QStringLiteral("K8"));
  sl::slSetText(g.name, QStringLiteral("米"));
  g.standardPrice = 500;
  g.taxRateCode = kRate8;
  m.setQuantity(0, 2);
  m.setGoods(0, g);
  ASSERT_EQ(m.setKind(0, sl::kLineSale), 0);
  EXPECT_EQ(m.line(0).taxRateCode, kRate8);
  EXPECT_EQ(m.line(0).amount, 1000);
  EXPECT_EQ(m.line(0).tax, 80);
  // A memo turned into a sale takes the header's rate.
  ASSERT_EQ(m.setKind(1, sl::kLineMemo), 0);
  ASSERT_EQ(m.setKind(1, sl::kLineSale), 0);
  EXPECT_EQ(m.line(1).taxRateCode, kRate10);
}

TEST(SlipModelCells, RowsOutsideTheSlipAreIgnored) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  EXPECT_EQ(m.setKind(-1, sl::kLineSale), 0);
  EXPECT_EQ(m.setKind(sl::kMaxSlipLines, sl::kLineSale), 0);
  m.setAmount(sl::kMaxSlipLines, 100);
  EXPECT_FALSE(m.setTaxClass(-1, 0));
  EXPECT_EQ(m.line(sl::kMaxSlipLines), sl::S_SELSLIP{});
  m.editLine(sl::kMaxSlipLines).amount = 5;
  m.editLine(-1).kind = sl::kLineSale;
  EXPECT_EQ(m.line(0), sl::S_SELSLIP{});
  EXPECT_EQ(m.line(sl::kMaxSlipLines - 1), sl::S_SELSLIP{});
  EXPECT_FALSE(m.isChanged());
  EXPECT_EQ(m.usedLines(), 0);
}

// ---- totals ----

TEST(SlipModelTotals, QuantityTotalAndAverageUnitPrice) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  saleLine(m, 0, 10, 100);  // 1000
  ASSERT_EQ(m.setKind(1, sl::kLineReturn), 0);
  m.setUnitPrice(1, 100);
  m.setQuantity(1, 2);  // -2, -200
  ASSERT_EQ(m.setKind(2, sl::kLineOther), 0);
  m.setAmount(2, 500);  // not a goods line
  // 10 - 2 = 8; (1000 - 200) / 8 = 100.
  EXPECT_EQ(m.header().quantityTotal, 8);
  EXPECT_EQ(m.header().unitAverage, 100);
  m.setQuantity(0, 2);  // 2 - 2 = 0: no average
  EXPECT_EQ(m.header().quantityTotal, 0);
  EXPECT_EQ(m.header().unitAverage, 0);
}

TEST(SlipModelTotals, StopAtTheFirstEmptyLineButCostAndProfitDoNot) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  saleLine(m, 0, 10, 100);
  saleLine(m, 2, 5, 100);
  m.setCostPrice(2, 40);
  EXPECT_EQ(m.header().taxOutAmount, 1000);
  EXPECT_EQ(m.header().grandTotal, 1100);
  // Cost 40 x 5 = 200; profit 1000 + (500 - 200).
  EXPECT_EQ(m.costTotal(), 200);
  EXPECT_EQ(m.grossProfitTotal(), 1300);
  EXPECT_EQ(m.lineCost(2), 200);
  EXPECT_EQ(m.lineGrossProfit(2), 300);
}

TEST(SlipModelTotals, TotalsLineCaptionsAndRanges) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate, sl::kRoundHalfUp, kRate8);
  saleLine(m, 0, 1, 1080, sl::kTaxIncluded, kRate8);  // 1000 + 80
  saleLine(m, 1, 10, 123456.7, sl::kTaxAdded, kRate8);  // 1234567, tax 98765.36 -> 98765
  m.setCostPrice(1, 100);                               // cost 1000
  const QList<TotalsCell> cells = m.totalsLine();
  ASSERT_EQ(m.totalsSlots(), 10);
  ASSERT_EQ(cells.size(), 5);
  const QStringList captions{QStringLiteral("金額合計"), QStringLiteral("外 消費税"),
                             QStringLiteral("合計金額"), QStringLiteral("原単価計"),
                             QStringLiteral("(粗利益計)")};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(cells[i].caption, captions[i]);
  // 1234567 + 1000 + 80 = 1235647; tax 98765 + 80 - 80 included.
  EXPECT_EQ(cells[0].text, QStringLiteral("1,235,647"));
  EXPECT_EQ(cells[1].text, QStringLiteral("98,765"));
  EXPECT_EQ(cells[2].text, QStringLiteral("1,334,412"));
  EXPECT_EQ(cells[3].text, QStringLiteral("1,000"));
  EXPECT_EQ(cells[4].text, QStringLiteral("1,234,567"));  // 1000 + 1234567 - 1000

  // Hidden gross profit: three pairs in six slots.
  sl::S_COMPANY c = test::company();
  c.hideGrossProfit = 1;
  m.setCompany(c);
  EXPECT_TRUE(m.hideGrossProfit());
  EXPECT_EQ(m.totalsSlots(), 6);
  EXPECT_EQ(m.totalsLine().size(), 3);
}

TEST(SlipModelTotals, OutOfRangeValuesShowDots) {
  SlipModel m;
  setUp(m, sl::kTimingAtClose, sl::kRoundTruncate);
  ASSERT_EQ(m.setKind(0, sl::kLineOther), 0);
  m.setAmount(0, 99999999999.0);  // just inside the amount ranges
  QList<TotalsCell> cells = m.totalsLine();
  EXPECT_FALSE(cells[0].outOfRange);
  EXPECT_EQ(cells[0].text, QStringLiteral("99,999,999,999"));
  m.setAmount(0, 100000000000.0);
  cells = m.totalsLine();
  EXPECT_TRUE(cells[0].outOfRange);
  EXPECT_EQ(cells[0].text, QStringLiteral("･････"));
  EXPECT_TRUE(cells[2].outOfRange);
  EXPECT_TRUE(cells[4].outOfRange);
  EXPECT_FALSE(cells[1].outOfRange);
  m.setAmount(0, -9999999999.0);
  EXPECT_FALSE(m.totalsLine()[0].outOfRange);
  m.setAmount(0, -10000000000.0);
  EXPECT_TRUE(m.totalsLine()[0].outOfRange);
  // The added tax has a range ten times smaller: 10 % of 100000000000.
  SlipModel t;
  setUp(t, sl::kTimingPerLine, sl::kRoundTruncate);
  ASSERT_EQ(t.setKind(0, sl::kLineOther), 0);
  t.setAmount(0, 99999999990.0);  // tax 9999999999
  EXPECT_FALSE(t.totalsLine()[1].outOfRange);
  t.setAmount(0, 100000000000.0);  // tax 10000000000
  EXPECT_TRUE(t.totalsLine()[1].outOfRange);
  // Cost: below 999999999.991.
  ASSERT_EQ(t.setKind(1, sl::kLineSale), 0);
  t.setQuantity(1, 1);
  t.setCostPrice(1, 999999999);
  EXPECT_FALSE(t.totalsLine()[3].outOfRange);
  t.setCostPrice(1, 1000000000);
  EXPECT_TRUE(t.totalsLine()[3].outOfRange);
}

TEST(SlipModelTotals, HiddenColumnOptions) {
  SlipModel m;
  sl::S_COMPANY c = test::company();
  m.setCompany(c);
  EXPECT_FALSE(m.hideIrisu() || m.hideBoxes() || m.hideSimpleTax() || m.hideGrossProfit());
  c.hideIrisu = 1;
  c.hideSimpleTax = 1;
  m.setCompany(c);
  EXPECT_TRUE(m.hideIrisu());
  EXPECT_FALSE(m.hideBoxes());
  EXPECT_TRUE(m.hideSimpleTax());
  EXPECT_FALSE(m.hideGrossProfit());
  EXPECT_EQ(m.priceDecimals(), 2);
}

// ---- per-rate totals ----

TEST(SlipModelRates, PerSlipTaxIsRoundedOncePerRate) {
  SlipModel m;
  setUp(m, sl::kTimingPerSlip, sl::kRoundTruncate);
  saleLine(m, 0, 1, 15, sl::kTaxAdded, kRate8);
  saleLine(m, 1, 1, 15, sl::kTaxAdded, kRate10);
  saleLine(m, 2, 1, 15, sl::kTaxAdded, kRate8);
  saleLine(m, 3, 1, 1080, sl::kTaxIncluded, kRate8);  // 1000 + 80
  // 8 %: 30 x 0.08 = 2.4 -> 2; 10 %: 15 x 0.1 = 1.5 -> 1 (not 45 x 0.1
  // = 4.5 -> 4 at the header's rate); plus the included 80.
  EXPECT_EQ(m.header().taxTotal, 83);
  EXPECT_EQ(m.header().grandTotal, 45 + 1000 + 83);
  const sl::S_RATETOTAL& r10 = m.header().rates[0];
  const sl::S_RATETOTAL& r8 = m.header().rates[1];
  EXPECT_EQ(r10.rateCode, kRate10);
  EXPECT_EQ(r10.used, 1);
  EXPECT_EQ(r10.taxOutAmount, 15);
  EXPECT_EQ(r10.taxInAmount, 0);
  EXPECT_EQ(r10.tax, 1);
  EXPECT_EQ(r8.rateCode, kRate8);
  EXPECT_EQ(r8.used, 1);
  EXPECT_EQ(r8.taxOutAmount, 30);
  EXPECT_EQ(r8.taxInAmount, 1000);
  EXPECT_EQ(r8.tax, 82);
  EXPECT_EQ(m.header().rates[2], sl::S_RATETOTAL{});
}

TEST(SlipModelRates, HeaderRateMovesTheLinesThatFollowIt) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  ASSERT_EQ(m.setKind(0, sl::kLineSale), 0);
  EXPECT_EQ(m.line(0).taxRateCode, kRate10);  // a new line takes the header's
  m.setUnitPrice(0, 100);
  m.setQuantity(0, 10);
  saleLine(m, 1, 1, 1100, sl::kTaxIncluded, kRate10);  // 1000 + 100
  ASSERT_EQ(m.setKind(2, sl::kLineSale), 0);
  m.setTaxRateCode(2, 3);  // a code of its own (no rate in the table)
  m.setUnitPrice(2, 100);
  m.setQuantity(2, 1);
  EXPECT_EQ(m.line(2).tax, 0);
  m.setHeaderTaxRateCode(kRate8);
  EXPECT_EQ(m.line(0).taxRateCode, kRate8);
  EXPECT_EQ(m.line(0).tax, 80);
  // 内税 1100 at 8 %: 81.48 -> 81 included.
  EXPECT_EQ(m.line(1).taxRateCode, kRate8);
  EXPECT_EQ(m.line(1).tax, 81);
  EXPECT_EQ(m.line(1).amount, 1019);
  EXPECT_EQ(m.line(2).taxRateCode, 3);
  EXPECT_EQ(m.header().taxTotal, 161);
}

TEST(SlipModelRates, NewClientAndResettledLines) {
  SlipModel m;
  setUp(m, sl::kTimingPerSlip, sl::kRoundTruncate);
  saleLine(m, 0, 1, 1234);
  saleLine(m, 1, 1, 1234);
  EXPECT_EQ(m.header().taxTotal, 246);  // 2468 x 0.1 = 246.8 -> 246
  m.setClient(test::client(sl::kTimingPerLine, sl::kRoundUp));
  EXPECT_EQ(m.line(0).tax, 0);  // the lines keep their taxes ...
  m.resettleLines();            // ... until resettled: 123.4 -> 124 each
  EXPECT_EQ(m.line(0).tax, 124);
  EXPECT_EQ(m.header().taxTotal, 248);
  // Back to per slip: the lines lose their own added taxes.
  m.setClient(test::client(sl::kTimingPerSlip, sl::kRoundUp));
  m.resettleLines();
  EXPECT_EQ(m.line(0).tax, 0);
  EXPECT_EQ(m.header().taxTotal, 247);  // 246.8 up
  // An unknown timing counts as per line.
  m.setClient(test::client(0, sl::kRoundTruncate));
  EXPECT_EQ(m.timing(), sl::kTimingPerLine);
  m.resettleLines();
  EXPECT_EQ(m.line(0).tax, 123);
  EXPECT_EQ(m.header().taxTotal, 246);
}

// ---- the slip as a whole ----

TEST(SlipModelSlip, ChangedComparesWithTheCopyAsLoaded) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  saleLine(m, 0, 10, 100);
  saleLine(m, 1, 2, 50);
  sl::S_SELSLIPHD header = m.header();
  header.code = 7;
  header.newSlip = 0;
  header.lineCount = 2;
  const QList<sl::S_SELSLIP> lines = m.lines();
  ASSERT_EQ(lines.size(), 2);

  SlipModel loaded;
  loaded.setCompany(test::company());
  loaded.setClient(test::client(sl::kTimingPerLine, sl::kRoundTruncate));
  loaded.load(header, lines);
  EXPECT_FALSE(loaded.isChanged());
  EXPECT_EQ(loaded.header(), header);
  EXPECT_EQ(loaded.header().grandTotal, 1210);
  // A change and its undoing.
  loaded.setQuantity(1, 3);
  EXPECT_TRUE(loaded.isChanged());
  loaded.setQuantity(1, 2);
  EXPECT_FALSE(loaded.isChanged());
  // A header field, a line field no computation reads.
  loaded.editHeader().shipDate = 20240405;
  EXPECT_TRUE(loaded.isChanged());
  loaded.editHeader().shipDate = 0;
  loaded.editLine(0).cropCode = 3;
  EXPECT_TRUE(loaded.isChanged());
  EXPECT_EQ(loaded.loadedLine(0).cropCode, 0);
  loaded.markSaved();
  EXPECT_FALSE(loaded.isChanged());
  EXPECT_EQ(loaded.loadedLine(0).cropCode, 3);
}

TEST(SlipModelSlip, NewSlipKeepsOnlyTheNumber) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  sl::slSetText(m.editHeader().slipNo, QStringLiteral("          123"));
  m.editHeader().clientCode = 5;
  saleLine(m, 0, 10, 100);
  m.newSlip(sl::kKindReservation, 20240501);
  EXPECT_EQ(sl::slText(m.header().slipNo), QStringLiteral("          123"));
  EXPECT_EQ(m.header().slipKind, sl::kKindReservation);
  EXPECT_EQ(m.header().slipDate, 20240501);
  EXPECT_EQ(m.header().newSlip, 1);
  EXPECT_EQ(m.header().clientCode, 0);
  EXPECT_EQ(m.header().taxRateCode, test::company().defaultTaxRateCode);
  EXPECT_EQ(m.header().grandTotal, 0);
  EXPECT_EQ(m.line(0), sl::S_SELSLIP{});
  EXPECT_FALSE(m.isChanged());
  EXPECT_EQ(m.loadedHeader(), m.header());
}

TEST(SlipModelSlip, RowsShown) {
  SlipModel m;
  setUp(m, sl::kTimingPerLine, sl::kRoundTruncate);
  EXPECT_EQ(m.rowsShown(), 2);
  saleLine(m, 0, 1, 1);
  EXPECT_EQ(m.rowsShown(), 2);
  saleLine(m, 4, 1, 1);
  EXPECT_EQ(m.usedLines(), 5);
  EXPECT_EQ(m.rowsShown(), 6);
  m.editHeader().lineCount = 20;
  EXPECT_EQ(m.rowsShown(), 21);
  saleLine(m, 97, 1, 1);
  EXPECT_EQ(m.rowsShown(), 99);
  saleLine(m, 98, 1, 1);
  EXPECT_EQ(m.rowsShown(), 99);
  // Loading more than 99 lines keeps 99.
  QList<sl::S_SELSLIP> many(120, m.line(0));
  m.load(m.header(), many);
  EXPECT_EQ(m.usedLines(), sl::kMaxSlipLines);
  EXPECT_EQ(m.header().taxOutAmount, 99);
}

TEST(SlipModelSlip, DropDownNames) {
  EXPECT_EQ(lineKindNames().size(), 9);
  EXPECT_EQ(lineKindNames().first(), QStringLiteral("売上"));
  EXPECT_EQ(lineKindNames().at(8), QStringLiteral("調整消費税"));
  EXPECT_EQ(taxClassNames().size(), 5);
  EXPECT_EQ(simpleTaxClassNames().at(5), QStringLiteral("第５種"));
  EXPECT_EQ(taxTimingNames().at(2), QStringLiteral("締日一括"));
}

}  // namespace
}  // namespace hv6::sales
