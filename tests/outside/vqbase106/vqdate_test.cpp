#include "outside/vqbase106/vqdate.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

long toLong(const QDate& d) { return long(d.year()) * 10000 + d.month() * 100 + d.day(); }

QString wareki(long date, int form) {
  QString out = QStringLiteral("failed");
  CVqdate::WarekiForm(out, date, form);
  return out;
}

QString seireki(long date, int form) {
  QString out = QStringLiteral("failed");
  CVqdate::SeirekiForm(out, date, form);
  return out;
}

long fromText(const char* text, int form) {
  long out = -1;
  CVqdate::ToConvSeireki(out, QString::fromUtf8(text), form);
  return out;
}

TEST(CVqdateEra, BoundariesInShortAndLongForm) {
  const struct {
    long date;
    const char* shortForm;
    const char* longForm;
  } cases[] = {
      {18680125, "M.01/01/25", "明治元年1月25日"},  {19120729, "M.45/07/29", "明治45年7月29日"},
      {19120730, "T.01/07/30", "大正元年7月30日"},  {19261224, "T.15/12/24", "大正15年12月24日"},
      {19261225, "S.01/12/25", "昭和元年12月25日"}, {19890107, "S.64/01/07", "昭和64年1月7日"},
      {19890108, "H.01/01/08", "平成元年1月8日"},   {20190430, "H.31/04/30", "平成31年4月30日"},
      {20190501, "R.01/05/01", "令和元年5月1日"},   {20241208, "R.06/12/08", "令和6年12月8日"},
      {18680124, "failed", "failed"},               {20030229, "failed", "failed"},
      {21180101, "failed", "令和100年1月1日"},  // no longer ten characters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(wareki(c.date, 0), QString::fromUtf8(c.shortForm)) << c.date;
    EXPECT_EQ(wareki(c.date, 3), QString::fromUtf8(c.longForm)) << c.date;
  }
  EXPECT_EQ(wareki(20030630, 1), QStringLiteral("H15.06.30"));
  EXPECT_EQ(wareki(20190501, 2), QStringLiteral("令和01年05月01日"));
  EXPECT_EQ(wareki(20030630, 4), QStringLiteral("failed"));
}

TEST(CVqdateEra, EveryFormReadsBack) {
  for (QDate d(1868, 1, 25); d <= QDate(2117, 12, 31); d = d.addDays(1)) {
    const long date = toLong(d);
    const QString text = wareki(date, 0);
    ASSERT_EQ(text.toLatin1().size(), 10) << date;
    long back = 0;
    ASSERT_EQ(CVqdate::ToConvSeireki(back, text, 0), 0) << qPrintable(text);
    ASSERT_EQ(back, date);
    if (d.day() % 7 != 0) continue;
    for (int form : {1, 2, 3}) {
      ASSERT_EQ(CVqdate::ToConvSeireki(back, wareki(date, form), form), 0) << date;
      ASSERT_EQ(back, date);
    }
    long code = 0;
    ASSERT_EQ(CVqdate::ToConvWareki(code, date), 0);
    ASSERT_EQ(CVqdate::ToConvSeireki(back, code), 0) << code;
    ASSERT_EQ(back, date);
  }
}

TEST(CVqdateEra, ReadingTextIsStrictAboutTheEra) {
  EXPECT_EQ(fromText(" h.15/06/30 ", 0), 20030630);
  EXPECT_EQ(fromText("令和 6年12月 8日", 3), 20241208);
  EXPECT_EQ(fromText("令和６年１２月８日", 3), 20241208);
  EXPECT_EQ(fromText("令和元年5月1日", 2), 20190501);
  for (const char* bad : {"H.00/00/00", "H.31/05/01", "S.64/01/08", "R.01/04/30", "X.01/01/01",
                          "H.1/06/30", "H.15/02/29", "H15.06.30"})
    EXPECT_EQ(fromText(bad, 0), -1) << bad;
  EXPECT_EQ(fromText("天平1年1月1日", 3), -1);
  EXPECT_EQ(fromText("H.15/06/30", 9), -1);
  long back = 0;
  EXPECT_NE(CVqdate::ToConvSeireki(back, 4310501L), 0);  // 平成31年5月1日 lies in 令和
}

TEST(CVqdateCalendar, MonthsAndLeapYears) {
  const struct {
    long year, month;
    int days;
  } months[] = {{1900, 2, 28}, {2000, 2, 29}, {2004, 2, 29}, {2003, 2, 28}, {2100, 2, 28},
                {2003, 6, 30}, {2003, 12, 31}, {2003, 13, 0}, {2003, 0, 0}, {0, 1, 0}};
  for (const auto& m : months) EXPECT_EQ(CVqdate::GetMaxDay(m.year, m.month), m.days) << m.year;
  for (long valid : {20040229L, 20000229L, 10101L, 99991231L})
    EXPECT_EQ(CVqdate::DateCheck(valid), 0) << valid;
  for (long invalid : {20030229L, 19000229L, 20030631L, 20031301L, 20030100L, 101L, 100000101L,
                       -20030630L})
    EXPECT_NE(CVqdate::DateCheck(invalid), 0) << invalid;
}

TEST(CVqdateCalendar, DaysBetweenDates) {
  EXPECT_EQ(CVqdate::GetAmongtwoDate(20031231, 20040101), 1);
  EXPECT_EQ(CVqdate::GetAmongtwoDate(20040101, 20031231), -1);
  EXPECT_EQ(CVqdate::GetAmongtwoDate(20000228, 20000301), 2);
  EXPECT_EQ(CVqdate::GetAmongtwoDate(20030229, 20030301), CVqdate::kNoSpan);
}

TEST(CVqdateCalendar, WesternAndChosenForms) {
  EXPECT_EQ(seireki(990101, 0), QStringLiteral("0099/01/01"));
  EXPECT_EQ(seireki(20030630, 3), QStringLiteral("2003年6月30日"));
  EXPECT_EQ(seireki(20030631, 0), QStringLiteral("failed"));
  QString out;
  EXPECT_NE(CVqdate::HizukeForm(out, 18000101, 0), 0);
  ASSERT_EQ(CVqdate::HizukeForm(out, 18000101, CVqdate::kHizukeSeireki), 0);
  EXPECT_EQ(out, QStringLiteral("1800/01/01"));
}

}  // namespace
