#include "platform/dao/variant.h"

#include <gtest/gtest.h>

namespace {

// Dates come back as wall-clock values in UTC.
QDateTime at(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::UTC);
}

TEST(Variant, NullIsDistinctFromZeroAndEmptyText) {
  const COleVariant null;
  const COleVariant zero(0);
  const COleVariant empty("");
  EXPECT_TRUE(null.isNull());
  EXPECT_FALSE(zero.isNull());
  EXPECT_FALSE(empty.isNull());
  EXPECT_EQ(zero.vt(), VT_I4);
  EXPECT_EQ(empty.vt(), VT_BSTR);
  EXPECT_FALSE(null == zero);
  EXPECT_FALSE(null == empty);
  EXPECT_FALSE(zero == empty);
  EXPECT_TRUE(null == COleVariant::null());
  // Null converts to the neutral values.
  EXPECT_EQ(null.toLong(), 0);
  EXPECT_EQ(null.toString(), QString());
  EXPECT_FALSE(null.toDateTime().isValid());
}

TEST(Variant, ValuesThatCannotBeDatesOrTextAreNull) {
  EXPECT_TRUE(COleVariant(QDateTime()).isNull());
  EXPECT_TRUE(COleVariant(static_cast<const char*>(nullptr)).isNull());
  // Empty text must bind as text, never as NULL.
  const QVariant bound = COleVariant(QString()).toQVariant();
  EXPECT_EQ(bound.typeId(), QMetaType::QString);
  EXPECT_FALSE(bound.toString().isNull());
  EXPECT_FALSE(COleVariant::null().toQVariant().isValid());
}

TEST(Variant, ShortConstructorMakesIntegerBooleanOrByte) {
  EXPECT_EQ(COleVariant(short{7}).vt(), VT_I2);
  const COleVariant yes(short{-1}, VT_BOOL);
  EXPECT_EQ(yes.vt(), VT_BOOL);
  EXPECT_TRUE(yes.toBool());
  EXPECT_EQ(yes.toLong(), 1);
  EXPECT_EQ(yes.toQVariant().toInt(), 1);
  EXPECT_EQ(COleVariant::boolean(false).toQVariant().toInt(), 0);
  EXPECT_EQ(COleVariant(short{200}, VT_UI1).toLong(), 200);
}

TEST(Variant, NumbersRoundHalfToEven) {
  EXPECT_EQ(COleVariant(2.5).toLong(), 2);
  EXPECT_EQ(COleVariant(3.5).toLong(), 4);
  EXPECT_EQ(COleVariant(-2.5).toLong(), -2);
  EXPECT_EQ(COleVariant(2.3 * 10).toLong(), 23);  // 22.999999999999996
  EXPECT_EQ(COleVariant(COleCurrency::fromUnits(25000)).toLong(), 2);
}

TEST(Variant, TextConvertsOnlyWhenItIsANumber) {
  EXPECT_EQ(COleVariant(" 12 ").toLong(), 12);
  EXPECT_DOUBLE_EQ(COleVariant("1.5").toDouble(), 1.5);
  EXPECT_EQ(COleVariant("2.5").toLong(), 2);
  long out = 99;
  EXPECT_FALSE(COleVariant("12abc").tryLong(out));
  EXPECT_EQ(out, 99);
  EXPECT_EQ(COleVariant("abc").toLong(), 0);
  double number = 0;
  EXPECT_FALSE(COleVariant::null().tryDouble(number));
  EXPECT_TRUE(COleVariant("True").toBool());
  EXPECT_TRUE(COleVariant("yes").toBool());
  EXPECT_FALSE(COleVariant("0").toBool());
  EXPECT_FALSE(COleVariant("False").toBool());
}

TEST(Variant, CurrencyKeepsFourDecimals) {
  EXPECT_EQ(COleCurrency::fromDouble(1.23456).units(), 12346);
  EXPECT_EQ(COleCurrency::fromDouble(-0.00005).units(), 0);  // half to even
  EXPECT_EQ(COleVariant(COleCurrency::fromUnits(12345)).toString(), QStringLiteral("1.2345"));
  EXPECT_EQ(COleVariant(COleCurrency::fromUnits(-5000)).toString(), QStringLiteral("-0.5"));
  EXPECT_EQ(COleVariant(COleCurrency::fromUnits(30000)).toString(), QStringLiteral("3"));
  EXPECT_EQ(COleVariant(12).toCurrency().units(), 120000);
  EXPECT_DOUBLE_EQ(COleVariant(COleCurrency::fromUnits(15000)).toQVariant().toDouble(), 1.5);
}

TEST(Variant, DatesAsTextAndAsOleDayNumbers) {
  const COleVariant day(at(2024, 5, 31));
  EXPECT_EQ(day.vt(), VT_DATE);
  EXPECT_EQ(day.toString(), QStringLiteral("2024/05/31"));
  EXPECT_EQ(COleVariant(at(2024, 5, 31, 8, 5, 9)).toString(), QStringLiteral("2024/05/31 08:05:09"));
  EXPECT_EQ(day.toQVariant().toString(), QStringLiteral("2024-05-31 00:00:00"));
  EXPECT_DOUBLE_EQ(day.toDouble(), 45443.0);
  EXPECT_EQ(COleVariant(45443.5).toDateTime(), at(2024, 5, 31, 12));
  EXPECT_EQ(COleVariant("2024/5/31").toDateTime(), at(2024, 5, 31));
}

TEST(Variant, DatesKeepTheirWallClockWhateverTheZone) {
  const QDate date(2024, 3, 31);
  const QTime time(2, 30);
  const COleVariant tokyo(QDateTime(date, time, Qt::OffsetFromUTC, 9 * 3600));
  const COleVariant local(QDateTime(date, time));
  EXPECT_TRUE(tokyo == local);
  EXPECT_EQ(tokyo.toDateTime().date(), date);
  EXPECT_EQ(tokyo.toDateTime().time(), time);
  EXPECT_EQ(tokyo.toQVariant().toString(), QStringLiteral("2024-03-31 02:30:00"));
}

TEST(DateText, StoredFormAlwaysHasTheTime) {
  EXPECT_EQ(storedDateText(at(2024, 5, 1)), QStringLiteral("2024-05-01 00:00:00"));
  EXPECT_EQ(storedDateText(at(987, 12, 31, 23, 59, 58)), QStringLiteral("0987-12-31 23:59:58"));
  EXPECT_EQ(storedDateText(QDateTime()), QString());
}

TEST(DateText, ParsesTheFormsTheProgramMeets) {
  EXPECT_EQ(parseDateText(u"2024-05-31 08:30:00"), at(2024, 5, 31, 8, 30));
  EXPECT_EQ(parseDateText(u"2024-05-31"), at(2024, 5, 31));
  EXPECT_EQ(parseDateText(u"2024/5/31"), at(2024, 5, 31));
  EXPECT_EQ(parseDateText(u" 2024/5/31 8:30 "), at(2024, 5, 31, 8, 30));
  EXPECT_EQ(parseDateText(u"5/31/2024"), at(2024, 5, 31));
  EXPECT_EQ(parseDateText(u"5/31/2024 23:59:59"), at(2024, 5, 31, 23, 59, 59));
  EXPECT_EQ(parseDateText(u"2024-05-31T08:30:00"), at(2024, 5, 31, 8, 30));
}

TEST(DateText, RejectsImpossibleOrForeignText) {
  for (const char* text : {"", "abc", "2024/2/30", "2023-02-29 00:00:00", "13/1/2024", "2024/05/31 25:00",
                           "2024/05/31 8", "2024/05", "31.5.2024", "24/5/31", "2024/5/31 x"})
    EXPECT_FALSE(parseDateText(QString::fromLatin1(text)).isValid()) << text;
  EXPECT_TRUE(parseDateText(u"2024-02-29 00:00:00").isValid());
}

}  // namespace
