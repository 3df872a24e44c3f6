// Rounding, the zero test, tax formulas, a line's cost and gross profit,
// number and caption formats, invoice registration numbers.
#include "sales/model/slipcalc.h"

#include <gtest/gtest.h>

namespace hv6::sales {
namespace {

TEST(SlipRounding, ThreeModesAreSymmetricAboutZero) {
  EXPECT_EQ(roundValue(-2.5, sl::kRoundHalfUp), -3);
  EXPECT_EQ(roundValue(2.5, sl::kRoundHalfUp), 3);
  EXPECT_EQ(roundValue(-2.4, sl::kRoundHalfUp), -2);
  EXPECT_EQ(roundValue(-2.5, sl::kRoundTruncate), -2);
  EXPECT_EQ(roundValue(2.9, sl::kRoundTruncate), 2);
  EXPECT_EQ(roundValue(-2.1, sl::kRoundUp), -3);
  EXPECT_EQ(roundValue(2.1, sl::kRoundUp), 3);
  EXPECT_EQ(roundValue(2.0, sl::kRoundUp), 2);
  EXPECT_EQ(roundValue(0.0, sl::kRoundUp), 0);
}

TEST(SlipRounding, RepresentationErrorIsAbsorbed) {
  // A product standing for 3 but stored a little below truncates to 3.
  EXPECT_EQ(roundValue(2.9999999, sl::kRoundTruncate), 3);
  EXPECT_EQ(roundValue(-2.9999999, sl::kRoundTruncate), -3);
  // 1.15 x 100 is 114.99999999999999 in binary.
  EXPECT_EQ(roundValue(1.15 * 100, sl::kRoundTruncate), 115);
  // 15 x 16.6 is 249.00000000000003 in binary: rounding up stays at 249.
  const double quantity = 15;
  EXPECT_EQ(roundValue(quantity * 16.6, sl::kRoundUp), 249);
  EXPECT_EQ(roundValue(-quantity * 16.6, sl::kRoundUp), -249);
  EXPECT_EQ(roundValue(3.001, sl::kRoundUp), 4);
}

TEST(SlipRounding, DecimalsAndUnknownRule) {
  // d = 3 keeps two decimals.
  EXPECT_DOUBLE_EQ(roundValue(1.236, sl::kRoundHalfUp, 3), 1.24);
  EXPECT_DOUBLE_EQ(roundValue(1.234, sl::kRoundHalfUp, 3), 1.23);
  EXPECT_DOUBLE_EQ(roundValue(-1.236, sl::kRoundHalfUp, 3), -1.24);
  EXPECT_DOUBLE_EQ(roundValue(1.239, sl::kRoundTruncate, 3), 1.23);
  EXPECT_DOUBLE_EQ(roundValue(1.231, sl::kRoundUp, 3), 1.24);
  // Any other rule code rounds half up.
  EXPECT_EQ(roundValue(2.5, 0), 3);
  EXPECT_EQ(roundValue(-2.5, 7), -3);
  EXPECT_EQ(roundValue(2.4, 7), 2);
}

TEST(SlipRounding, ZeroTestIsStrict) {
  EXPECT_TRUE(isZero(0.0));
  EXPECT_TRUE(isZero(0.00009));
  EXPECT_TRUE(isZero(-0.00009));
  EXPECT_FALSE(isZero(0.0001));
  EXPECT_FALSE(isZero(-0.0001));
  EXPECT_FALSE(isZero(1.0));
}

TEST(SlipTax, RatesAndFormulas) {
  sl::S_COMPANY company;
  company.taxRates[0] = 1000;
  company.taxRates[1] = 800;
  EXPECT_EQ(taxRatePercent(company, 0), 10);
  EXPECT_EQ(taxRatePercent(company, 1), 8);
  EXPECT_EQ(taxRatePercent(company, 2), 0);
  EXPECT_EQ(taxRatePercent(company, sl::kTaxRateSlots), 0);
  EXPECT_EQ(taxRatePercent(company, -1), 0);
  // 8 x 1234 / 100 = 98.72
  EXPECT_EQ(addedTax(1234, 8, sl::kRoundTruncate), 98);
  EXPECT_EQ(addedTax(1234, 8, sl::kRoundHalfUp), 99);
  EXPECT_EQ(addedTax(-1234, 8, sl::kRoundHalfUp), -99);
  // 8 x 1080 / 108 = 80; 8 x 1000 / 108 = 74.07
  EXPECT_EQ(includedTax(1080, 8, sl::kRoundTruncate), 80);
  EXPECT_EQ(includedTax(1000, 8, sl::kRoundTruncate), 74);
  EXPECT_EQ(includedTax(1000, 8, sl::kRoundUp), 75);
  EXPECT_EQ(includedTax(-1000, 8, sl::kRoundUp), -75);
}

sl::S_SELSLIP goodsLine(std::uint8_t kind, double boxes, double quantity, double cost, double amount) {
  sl::S_SELSLIP l;
  l.kind = kind;
  l.boxes = boxes;
  l.quantity = quantity;
  l.costPrice = cost;
  l.amount = amount;
  return l;
}

TEST(SlipLineFigures, CostAndGrossProfitByKind) {
  // Sale of 10 at cost 60: cost 600, profit 1000 - 600.
  EXPECT_EQ(lineCost(goodsLine(sl::kLineSale, 0, 10, 60, 1000), sl::kRoundHalfUp), 600);
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineSale, 0, 10, 60, 1000), sl::kRoundHalfUp), 400);
  // Gross profit takes boxes when nonzero, the cost total quantity.
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineSale, 5, 10, 60, 1000), sl::kRoundHalfUp), 700);
  EXPECT_EQ(lineCost(goodsLine(sl::kLineSale, 5, 10, 60, 1000), sl::kRoundHalfUp), 600);
  // Cost 33.3 x 3 = 99.9 by the amount rule.
  EXPECT_EQ(lineCost(goodsLine(sl::kLineSale, 0, 3, 33.3, 300), sl::kRoundTruncate), 99);
  EXPECT_EQ(lineCost(goodsLine(sl::kLineSale, 0, 3, 33.3, 300), sl::kRoundUp), 100);
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineSale, 0, 3, 33.3, 300), sl::kRoundUp), 200);
  // Return: -200 - round(60 x -2) = -80.
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineReturn, 0, -2, 60, -200), sl::kRoundHalfUp), -80);
  EXPECT_EQ(lineCost(goodsLine(sl::kLineReturn, 0, -2, 60, -200), sl::kRoundHalfUp), -120);
  // Discounts and other amounts count their amount, truncated to whole yen.
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineGoodsDiscount, 0, 0, 0, -100), 3), -100);
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineTotalDiscount, 0, 0, 0, -50.7), 3), -50);
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineOther, 0, 0, 0, 100.7), 3), 100);
  // Charges, adjustments and memos count nothing, nor do they cost.
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineAdvance, 0, 1, 10, 500), 3), 0);
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineShipping, 0, 1, 10, 500), 3), 0);
  EXPECT_EQ(lineGrossProfit(goodsLine(sl::kLineTaxAdjust, 0, 1, 10, 500), 3), 0);
  EXPECT_EQ(lineCost(goodsLine(sl::kLineOther, 0, 1, 10, 500), 3), 0);
}

TEST(SlipRecords, CompleteLinesNumbersAndDates) {
  sl::S_SELSLIP l;
  EXPECT_TRUE(isEmptyLine(l));
  EXPECT_FALSE(isCompleteLine(l));
  l.kind = sl::kLineSale;
  EXPECT_FALSE(isEmptyLine(l));
  sl::slSetText(l.goodsName, QStringLiteral("なす"));
  EXPECT_FALSE(isCompleteLine(l));  // a goods line needs its code
  sl::slSetText(l.goodsCode, QStringLiteral("N1"));
  EXPECT_TRUE(isCompleteLine(l));
  l.kind = sl::kLineMemo;
  l.goodsCode[0] = 0;
  EXPECT_TRUE(isCompleteLine(l));
  l.goodsName[0] = 0;
  EXPECT_FALSE(isCompleteLine(l));
  l = sl::S_SELSLIP{};
  l.amount = 1;  // no kind: not empty, not complete
  EXPECT_FALSE(isEmptyLine(l));
  EXPECT_FALSE(isCompleteLine(l));

  sl::S_SELSLIPHD h;
  EXPECT_FALSE(hasSlipNumber(h));
  sl::slSetText(h.slipNo, QStringLiteral("             "));
  EXPECT_FALSE(hasSlipNumber(h));
  sl::slSetText(h.slipNo, QStringLiteral("           99"));
  EXPECT_TRUE(hasSlipNumber(h));

  EXPECT_TRUE(isValidSlipDate(18680101));
  EXPECT_TRUE(isValidSlipDate(29991231));
  EXPECT_FALSE(isValidSlipDate(18671231));
  EXPECT_FALSE(isValidSlipDate(30000101));
}

TEST(SlipFormats, ThousandsAndBlankCaptions) {
  EXPECT_EQ(formatThousands(0), QStringLiteral("0"));
  EXPECT_EQ(formatThousands(999), QStringLiteral("999"));
  EXPECT_EQ(formatThousands(1000), QStringLiteral("1,000"));
  EXPECT_EQ(formatThousands(-1080), QStringLiteral("-1,080"));
  EXPECT_EQ(formatThousands(-100), QStringLiteral("-100"));
  EXPECT_EQ(formatThousands(99999999999.0), QStringLiteral("99,999,999,999"));
  EXPECT_EQ(formatThousands(1234567.4), QStringLiteral("1,234,567"));
  // Full-width characters count two, half-width (katakana too) one.
  EXPECT_EQ(blankCaption(QStringLiteral("  入  数   ")), QString(11, QLatin1Char(' ')));
  EXPECT_EQ(blankCaption(QStringLiteral(" 簡易課税区分 ")), QString(14, QLatin1Char(' ')));
  EXPECT_EQ(blankCaption(QStringLiteral("ｺｰﾄﾞ")), QString(4, QLatin1Char(' ')));
}

TEST(InvoiceNumber, CorporateCheckDigit) {
  // 7000012050002: base 000012050002, digits from the right weighted
  // 1,2,1,2..: 2 + 5 + 2 + (1 x 2) = 11; 9 - 11 mod 9 = 7.
  EXPECT_EQ(corporateCheckDigit(QStringLiteral("000012050002")), 7);
  // 1180301018771: odd places 1+7+1+1+3+8 = 21, even 2x(7+8+0+0+0+1) = 32;
  // 53 mod 9 = 8; 9 - 8 = 1.
  EXPECT_EQ(corporateCheckDigit(QStringLiteral("180301018771")), 1);
  // A sum divisible by 9 gives 9.
  EXPECT_EQ(corporateCheckDigit(QStringLiteral("000000000000")), 9);
  EXPECT_EQ(corporateCheckDigit(QStringLiteral("12345")), -1);
  EXPECT_EQ(corporateCheckDigit(QStringLiteral("00001205000X")), -1);
}

TEST(InvoiceNumber, FormatsAndChecks) {
  InvoiceNoCheck c = checkInvoiceNo(QStringLiteral("T7000012050002"));
  EXPECT_EQ(c.status, InvoiceNoStatus::kCorporate);
  EXPECT_EQ(c.number, QStringLiteral("T7000012050002"));
  // Digits alone, hyphens, blanks, full width and a lower-case t.
  EXPECT_EQ(checkInvoiceNo(QStringLiteral("7000012050002")).number, QStringLiteral("T7000012050002"));
  c = checkInvoiceNo(QStringLiteral(" t-1180-3010-18771 "));
  EXPECT_EQ(c.status, InvoiceNoStatus::kCorporate);
  EXPECT_EQ(c.number, QStringLiteral("T1180301018771"));
  c = checkInvoiceNo(QStringLiteral("Ｔ７００００１２０５０００２"));
  EXPECT_EQ(c.status, InvoiceNoStatus::kCorporate);
  EXPECT_EQ(c.number, QStringLiteral("T7000012050002"));
  // Thirteen digits whose first is not the check digit: a number of the
  // right form that is not a corporate number.
  c = checkInvoiceNo(QStringLiteral("T1000012050002"));
  EXPECT_EQ(c.status, InvoiceNoStatus::kFormatOnly);
  EXPECT_EQ(c.number, QStringLiteral("T1000012050002"));
  // Wrong forms.
  for (const char* bad : {"T12345", "T70000120500021", "X7000012050002", "T70000120500O2", "TT7000012050002"}) {
    c = checkInvoiceNo(QString::fromLatin1(bad));
    EXPECT_EQ(c.status, InvoiceNoStatus::kBadFormat) << bad;
    EXPECT_TRUE(c.number.isEmpty()) << bad;
  }
  EXPECT_EQ(checkInvoiceNo(QString()).status, InvoiceNoStatus::kEmpty);
  EXPECT_EQ(checkInvoiceNo(QStringLiteral("  ")).status, InvoiceNoStatus::kEmpty);
}

}  // namespace
}  // namespace hv6::sales
