#include "weather/dialupentries.h"
#include "weather/startdate.h"

#include <gtest/gtest.h>

namespace {

TEST(StartDate, AcceptsRealDaysWrittenYYYYMMDD) {
  EXPECT_EQ(hv6::parseStartDate(QStringLiteral("2004/02/29")), QDate(2004, 2, 29));
  EXPECT_EQ(hv6::parseStartDate(QStringLiteral("2000/02/29")), QDate(2000, 2, 29));
  EXPECT_EQ(hv6::parseStartDate(QStringLiteral("2003/06/30")), QDate(2003, 6, 30));
  EXPECT_EQ(hv6::parseStartDate(QStringLiteral("0001/01/01")), QDate(1, 1, 1));
  EXPECT_EQ(hv6::parseStartDate(QStringLiteral("9999/12/31")), QDate(9999, 12, 31));
}

TEST(StartDate, RefusesOtherFormsAndDaysThatDoNotExist) {
  for (const char* text :
       {"2003/6/30", "2003/02/29", "1900/02/29", "2003/06/31", "2003/13/01", "2003/00/10",
        "2003/06/00", "0000/01/01", "2003-06-30", "2003/06/30 ", "", "abcd/ef/gh",
        "20030630  "}) {
    EXPECT_FALSE(hv6::parseStartDate(QString::fromUtf8(text))) << text;
  }
}

TEST(StartDate, TakesOnlyAsciiDigitsInTheNumberFields) {
  // Blanks, signs, decimal points and full-width digits would each read as
  // a number, but the form is digits only.
  for (const char* text :
       {"2003/ 6/30", "2003/+6/30", "2003/06/3 ", "2003/6./30", "+003/06/30", " 003/06/30",
        "2003/06/+3", "２００３/06/30", "2003/０６/30", "2003/06/３０"}) {
    EXPECT_FALSE(hv6::parseStartDate(QString::fromUtf8(text))) << text;
  }
}

TEST(StartDate, TextIsZeroPadded) {
  EXPECT_EQ(hv6::startDateText(QDate(2003, 6, 3)), QStringLiteral("2003/06/03"));
  EXPECT_EQ(hv6::startDateText(QDate(812, 12, 25)), QStringLiteral("0812/12/25"));
}

TEST(DialUpEntryList, SortsIgnoringCaseAndSelectsByPrefix) {
  const QStringList sorted = hv6::sortedEntries(
      {QStringLiteral("office"), QStringLiteral("Home"), QStringLiteral("ISP-b"),
       QStringLiteral("isp-a")});
  EXPECT_EQ(sorted, (QStringList{QStringLiteral("Home"), QStringLiteral("isp-a"),
                                 QStringLiteral("ISP-b"), QStringLiteral("office")}));
  EXPECT_EQ(hv6::entryIndexFor(sorted, QStringLiteral("ISP")), 1);
  EXPECT_EQ(hv6::entryIndexFor(sorted, QStringLiteral("isp-B")), 2);
  EXPECT_EQ(hv6::entryIndexFor(sorted, QStringLiteral("OFF")), 3);
  EXPECT_EQ(hv6::entryIndexFor(sorted, QStringLiteral("mobile")), 0);
  EXPECT_EQ(hv6::entryIndexFor(sorted, QString()), 0);
  EXPECT_EQ(hv6::entryIndexFor({}, QStringLiteral("Home")), -1);
}

}  // namespace
