#include "mobile/fields.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

namespace {

namespace mobile = hv6::mobile;

TEST(RecordFields, PlainAndQuotedFieldsWithLeadingBlanksDropped) {
  QString line = QStringLiteral("2024/05/01, 11,\t21");
  for (int field = 4; field <= 23; ++field) line += QStringLiteral(",%1").arg(field);
  // A quoted text may hold commas and quotes; it ends at the first "\",".
  line += QStringLiteral(",  \"1,000倍\",\"a \"b\" c\",\"\",x,y,\"last\"");
  const QStringList fields = mobile::cutRecordFields(line);
  ASSERT_EQ(fields.size(), 29);
  EXPECT_EQ(fields[0], "2024/05/01");
  EXPECT_EQ(fields[1], "11");
  EXPECT_EQ(fields[2], "21");
  EXPECT_EQ(fields[22], "23");
  EXPECT_EQ(fields[23], "1,000倍");
  EXPECT_EQ(fields[24], "a \"b\" c");
  EXPECT_EQ(fields[25], "");
  EXPECT_EQ(fields[26], "x") << "an unquoted text field ends at the comma";
  EXPECT_EQ(fields[27], "y");
  EXPECT_EQ(fields[28], "last") << "the last field may lack its comma";

  const QStringList shortLine = mobile::cutRecordFields(QStringLiteral("2024/05/01,11"));
  ASSERT_EQ(shortLine.size(), 29);
  EXPECT_EQ(shortLine[1], "11");
  for (int i = 2; i < 29; ++i) EXPECT_TRUE(shortLine[i].isEmpty()) << i;

  // Bytes are cut the same way.
  const QList<QByteArray> bytes = mobile::cutRecordFields(QByteArrayView(hv6::cp932::encode(line)));
  ASSERT_EQ(bytes.size(), 29);
  for (int i = 0; i < 29; ++i) EXPECT_EQ(hv6::cp932::decode(bytes[i]), fields[i]) << i;
}

TEST(RecordFields, DurationsAreHoursAndMinutesAsNumbers) {
  const QList<std::pair<const char*, long>> good{
      {"2:30", 230}, {"1:5", 105}, {"0:45", 45}, {"10:00", 1000}, {"2.5", 230},
      {"2.25", 215}, {"1.5", 130}, {"0.1", 6},   {"2.", 200},     {".5", 30},
      {"3", 300},    {"2.999", 300}, {" 4 ", 400}};
  for (const auto& [text, hhmm] : good) {
    const auto value = mobile::durationOf(QString::fromUtf8(text));
    ASSERT_TRUE(value.has_value()) << text;
    EXPECT_EQ(*value, hhmm) << text;
  }
  for (const char* bad : {"1:75", "1:60", "1:", ":30", "a:30", "1.x", "-1", "1e2", "abc", ".",
                          "1:2:3", "99999999"})
    EXPECT_FALSE(mobile::durationOf(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(RecordFields, TimesOfDayNeedAColonAndARealTime) {
  EXPECT_EQ(mobile::timeOfDayOf(u"8:30"), 830);
  EXPECT_EQ(mobile::timeOfDayOf(u"8:5"), 805);
  EXPECT_EQ(mobile::timeOfDayOf(u"23:59"), 2359);
  EXPECT_EQ(mobile::timeOfDayOf(u"0:00"), 0);
  for (const char16_t* bad : {u"830", u"24:00", u"8:60", u"8.5", u"8:3a", u"", u"-1:00"})
    EXPECT_FALSE(mobile::timeOfDayOf(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(RecordFields, NumbersCodesAndCategories) {
  EXPECT_EQ(mobile::tenthsOf(u"12.5"), 125);
  EXPECT_EQ(mobile::tenthsOf(u"3.25"), 32) << "half to even, as the platform converts";
  EXPECT_FALSE(mobile::tenthsOf(u"nan").has_value());
  EXPECT_FALSE(mobile::tenthsOf(u"1e300").has_value());
  EXPECT_FALSE(mobile::tenthsOf(u"12,5").has_value());
  EXPECT_EQ(mobile::quantityOf(u"2.5"), 2.5);
  EXPECT_FALSE(mobile::quantityOf(u"inf").has_value());

  EXPECT_EQ(mobile::userNumberOf(u"42"), 42);
  EXPECT_EQ(mobile::userNumberOf(u"-3"), -3);
  for (const char16_t* bad : {u"1 OR 1=1", u"1; DROP TABLE WDiary", u"0x10", u"4.0", u"1e3",
                              u"", u"2147483648", u"１２"})
    EXPECT_FALSE(mobile::userNumberOf(bad).has_value()) << QString::fromUtf16(bad).toStdString();

  for (int number = 6; number <= 11; ++number)
    EXPECT_EQ(mobile::materialCategoryOf(QString::number(number)), number - 6);
  for (const char16_t* bad : {u"5", u"12", u"7.0", u"x"})
    EXPECT_FALSE(mobile::materialCategoryOf(bad).has_value());

  EXPECT_TRUE(mobile::dateOf(u"2024/05/01").has_value());
  EXPECT_FALSE(mobile::dateOf(u"2024/02/30").has_value());
  EXPECT_FALSE(mobile::dateOf(u"yesterday").has_value());
  EXPECT_TRUE(mobile::textOf(QString(255, QLatin1Char('a'))).has_value());
  EXPECT_FALSE(mobile::textOf(QString(256, QLatin1Char('a'))).has_value());
}

TEST(RecordFields, EmptyOrZeroGivesNullAndSetsNoCategory) {
  for (int field : {1, 7, 9, 19, 21, 23, 24}) {
    for (const char16_t* absent : {u"", u"0"}) {
      int category = 3;
      const auto value = mobile::convertField(field, absent, category);
      ASSERT_TRUE(value.has_value()) << field;
      EXPECT_TRUE(value->isNull()) << field;
      if (field == 21) {
        EXPECT_EQ(category, 0);
      }
    }
  }
  int category = 0;
  EXPECT_EQ(mobile::convertField(21, u"8", category)->toLong(), 2);
  EXPECT_EQ(category, 2);
  EXPECT_FALSE(mobile::convertField(21, u"13", category).has_value());
  EXPECT_EQ(category, -1) << "an unknown category has no material table";
  EXPECT_EQ(mobile::masterTable(22, 2), "MaterialMst2");
  EXPECT_EQ(mobile::masterTable(22, 0), "FertilizerMst");
  EXPECT_TRUE(mobile::masterTable(22, -1).isEmpty());
  EXPECT_EQ(mobile::fieldColumn(22, 0), "FrzCode");
  EXPECT_EQ(mobile::fieldColumn(22, 5), "Mte5Code");
  EXPECT_EQ(mobile::fieldColumn(23, 0), "Quantity");
  EXPECT_EQ(mobile::fieldColumn(29, 0), "ReserveItem3");
}

}  // namespace
