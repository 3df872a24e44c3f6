#include "outside/vqbase106/vqstring.h"

#include <gtest/gtest.h>

namespace {

QString withCommas(const QString& text) {
  QString out = QStringLiteral("failed");
  CVqstring::AddComma(text, out);
  return out;
}

QString withoutCommas(const QString& text) {
  QString out = QStringLiteral("failed");
  CVqstring::DeleteComma(text, out);
  return out;
}

TEST(CVqstringNumbers, IsMathBoundsAndSyntax) {
  EXPECT_TRUE(CVqstring::IsMath(QStringLiteral("90"), 0, 90));
  EXPECT_FALSE(CVqstring::IsMath(QStringLiteral("90.01"), 0, 90));
  EXPECT_FALSE(CVqstring::IsMath(QStringLiteral("-1"), 0, 90));
  EXPECT_TRUE(CVqstring::IsMath(QStringLiteral(".5"), 0, 1));
  EXPECT_TRUE(CVqstring::IsMath(QStringLiteral(" 5"), 0, 59));  // as "%2d" writes it
  EXPECT_TRUE(CVqstring::IsMath(QStringLiteral("　－１．５"), -2, 0));
  for (const char* garbage : {"", " ", "abc", "12a", "1 2", "1.2.3", "+", ".", "1e3", "1,000",
                              "0x10", "--1", "nan", "inf"})
    EXPECT_FALSE(CVqstring::IsMath(QString::fromUtf8(garbage), -1e9, 1e9)) << garbage;
}

TEST(CVqstringNumbers, ChartoMathRangesPerType) {
  char c = 7;
  EXPECT_EQ(CVqstring::ChartoMath(QStringLiteral("-128"), c), 0);
  EXPECT_NE(CVqstring::ChartoMath(QStringLiteral("128"), c), 0);
  EXPECT_EQ(c, -128);  // unchanged by the failure
  int i = 0;
  EXPECT_EQ(CVqstring::ChartoMath(QStringLiteral("+2147483647"), i), 0);
  EXPECT_EQ(i, 2147483647);
  long l = 0;
  EXPECT_EQ(CVqstring::ChartoMath(QStringLiteral("２００３０６３０"), l), 0);
  EXPECT_EQ(l, 20030630);
  EXPECT_NE(CVqstring::ChartoMath(QStringLiteral("99999999999999999999"), l), 0);
  EXPECT_NE(CVqstring::ChartoMath(QStringLiteral("12.5"), l), 0);  // whole numbers only
  double d = 0;
  EXPECT_EQ(CVqstring::ChartoMath(QStringLiteral("-0.25"), d), 0);
  EXPECT_DOUBLE_EQ(d, -0.25);
  EXPECT_NE(CVqstring::ChartoMath(QString(400, QLatin1Char('9')), d), 0);  // overflows
}

TEST(CVqstringNumbers, CommasRoundTrip) {
  EXPECT_EQ(withCommas(QStringLiteral("-1234567.891")), QStringLiteral("-1,234,567.891"));
  EXPECT_EQ(withCommas(QStringLiteral("-123")), QStringLiteral("-123"));
  EXPECT_EQ(withCommas(QStringLiteral("１２３４")), QStringLiteral("1,234"));
  EXPECT_EQ(withCommas(QStringLiteral("12a4")), QStringLiteral("failed"));
  EXPECT_EQ(withoutCommas(QStringLiteral("１，２３４")), QStringLiteral("1234"));
  EXPECT_EQ(withoutCommas(QStringLiteral("1,2a")), QStringLiteral("failed"));
  for (const char* number : {"0", "-1", "-123456", "1234567890", "-0.001", "-98765.4321"})
    EXPECT_EQ(withoutCommas(withCommas(QString::fromUtf8(number))), QString::fromUtf8(number));
}

TEST(CVqstringText, IsSpaceCountsBothBlanks) {
  EXPECT_TRUE(CVqstring::IsSpace(QStringLiteral("　　"), 0));
  EXPECT_TRUE(CVqstring::IsSpace(QString(), 0));
  EXPECT_FALSE(CVqstring::IsSpace(QStringLiteral("　山田　"), 0));
  EXPECT_FALSE(CVqstring::IsSpace(QStringLiteral(" \t"), 0));
  EXPECT_TRUE(CVqstring::IsSpace(QStringLiteral(" \t\r\n　"), 1));
}

TEST(CVqstringText, IsKanaClassifies) {
  EXPECT_EQ(CVqstring::IsKana(QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ")), CVqstring::kHalfKana);
  EXPECT_EQ(CVqstring::IsKana(QStringLiteral("ヤマダ　タロー")), CVqstring::kFullKana);
  EXPECT_EQ(CVqstring::IsKana(QStringLiteral("ヤマダﾀﾛｳ")), CVqstring::kMixedKana);
  EXPECT_EQ(CVqstring::IsKana(QStringLiteral("やまだ")), CVqstring::kNotKana);
  EXPECT_EQ(CVqstring::IsKana(QStringLiteral("ヤマダ1")), CVqstring::kNotKana);
  EXPECT_EQ(CVqstring::IsKana(QStringLiteral("　")), CVqstring::kNotKana);
}

}  // namespace
