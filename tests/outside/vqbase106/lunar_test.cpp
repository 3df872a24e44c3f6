#include "outside/vqbase106/astronomy.h"
#include "outside/vqbase106/vqlunar.h"

#include <QDate>
#include <gtest/gtest.h>

#include <map>

namespace {

namespace astro = hv6::astronomy;

long toLong(const QDate& d) { return long(d.year()) * 10000 + d.month() * 100 + d.day(); }

QDate fromLong(long date) { return QDate(int(date / 10000), int(date / 100 % 100), int(date % 100)); }

// A moment in Universal Time as a Julian day.
double universal(long date, int hour, int minute) {
  return double(fromLong(date).toJulianDay()) - 0.5 + (hour + minute / 60.0) / 24.0;
}

double toUniversal(double jde) { return jde - astro::deltaT(2000 + (jde - 2451545.0) / 365.25) / 86400.0; }

constexpr double kTwoMinutes = 2.0 / 1440.0;

void expectLunar(long date, int year, int month, bool leap, int day) {
  const LunarDate l = toLunar(date);
  EXPECT_EQ(l.year, year) << date;
  EXPECT_EQ(l.month, month) << date;
  EXPECT_EQ(l.leap, leap) << date;
  EXPECT_EQ(l.day, day) << date;
}

TEST(Astronomy, MeeusWorkedExamples) {
  // New moon of 1977 February (k = -283): 1977-02-18 3h37m42s TD.
  EXPECT_NEAR(astro::newMoon(-283), 2443192.65118, 2e-5);
  // The sun on 1992-10-13.0 TD: apparent longitude 199°54'21.8".
  EXPECT_NEAR(astro::sunLongitude(2448908.5), 199.90606, 2e-4);
}

TEST(Astronomy, PublishedEventTimesWithinTwoMinutes) {
  const struct {
    long date;
    int hour;
    int minute;
  } newMoons[] = {{20170821, 18, 30}, {20230121, 20, 53}, {20240408, 18, 21}};
  for (const auto& m : newMoons) {
    const double expected = universal(m.date, m.hour, m.minute);
    const double computed = toUniversal(astro::newMoon(astro::newMoonNumberNear(expected)));
    EXPECT_NEAR(computed, expected, kTwoMinutes) << m.date;
  }
  const struct {
    double degrees;
    long date;
    int hour;
    int minute;
  } terms[] = {{0, 20240320, 3, 6}, {270, 20241221, 9, 21}, {270, 20191222, 4, 19}, {0, 20200320, 3, 50}};
  for (const auto& t : terms) {
    const double expected = universal(t.date, t.hour, t.minute);
    EXPECT_NEAR(toUniversal(astro::solarTerm(t.degrees, expected + 20)), expected, kTwoMinutes) << t.date;
  }
}

TEST(Astronomy, JapaneseDayTurnsAtFifteenUniversal) {
  const double day = double(QDate(2024, 1, 1).toJulianDay());
  const double offset = astro::deltaT(2024) / 86400.0;
  EXPECT_EQ(astro::jstDay(day - 0.5 + 14.99 / 24 + offset), long(day));
  EXPECT_EQ(astro::jstDay(day - 0.5 + 15.01 / 24 + offset), long(day) + 1);
}

TEST(LunarDate, NewYearsAndTheDayBefore) {
  for (long date : {19900127L, 20000205L, 20230122L, 20240210L, 20250129L, 20260217L, 20330131L}) {
    expectLunar(date, int(date / 10000), 1, false, 1);
    const LunarDate before = toLunar(toLong(fromLong(date).addDays(-1)));
    EXPECT_EQ(before.year, date / 10000 - 1) << date;
    EXPECT_EQ(before.month, 12) << date;
    EXPECT_GE(before.day, 29) << date;
  }
  expectLunar(20240209, 2023, 12, false, 30);
  expectLunar(20240101, 2023, 11, false, 20);
  expectLunar(20231213, 2023, 11, false, 1);
}

TEST(LunarDate, LeapMonthsOf1980To2050) {
  const std::map<int, int> published = {
      {1982, 4}, {1984, 10}, {1987, 6}, {1990, 5}, {1993, 3}, {1995, 8}, {1998, 5},
      {2001, 4}, {2004, 2},  {2006, 7}, {2009, 5}, {2012, 3}, {2014, 9}, {2017, 5},
      {2020, 4}, {2023, 2},  {2025, 6}, {2028, 5}, {2031, 3}, {2033, 11}, {2036, 6},
      {2039, 5}, {2042, 2},  {2044, 7}, {2047, 5}, {2050, 3},
  };
  std::map<int, int> computed;
  for (QDate d(1980, 1, 1); d <= QDate(2050, 12, 31); d = d.addDays(1)) {
    const LunarDate l = toLunar(toLong(d));
    if (l.leap && l.day == 1) computed[l.year] = l.month;
  }
  EXPECT_EQ(computed, published);
  expectLunar(20120421, 2012, 3, true, 1);
  expectLunar(20170624, 2017, 5, true, 1);
  expectLunar(20200523, 2020, 4, true, 1);
  expectLunar(20230322, 2023, 2, true, 1);
  expectLunar(20250725, 2025, 6, true, 1);
  expectLunar(20250724, 2025, 6, false, 30);
}

// The 2033 problem resolved with the leap month 11 (閏11月案).
TEST(LunarDate, MonthsAround2033) {
  const struct {
    long firstDay;
    int year;
    int month;
    bool leap;
  } months[] = {
      {20330726, 2033, 7, false},  {20330825, 2033, 8, false},  {20330923, 2033, 9, false},
      {20331023, 2033, 10, false}, {20331122, 2033, 11, false}, {20331222, 2033, 11, true},
      {20340120, 2033, 12, false}, {20340219, 2034, 1, false},  {20340320, 2034, 2, false},
  };
  for (const auto& m : months) {
    expectLunar(m.firstDay, m.year, m.month, m.leap, 1);
    const QDate lastDay = fromLong(m.firstDay).addDays(-1);
    EXPECT_GE(toLunar(toLong(lastDay)).day, 29) << m.firstDay;
  }
}

TEST(Rokuyo, FromTheLunarDate) {
  enum { kSensho, kTomobiki, kSenbu, kButsumetsu, kTaian, kShakko };
  EXPECT_EQ(rokuyo(20240101), kShakko);       // 11月20日
  EXPECT_EQ(rokuyo(20231213), kTaian);        // 11月1日
  EXPECT_EQ(rokuyo(20240111), kShakko);       // 12月1日
  EXPECT_EQ(rokuyo(20240210), kSensho);       // 1月1日
  EXPECT_EQ(rokuyo(20240211), kTomobiki);     // 1月2日
  EXPECT_EQ(rokuyo(20330726), kSensho);       // 7月1日
  EXPECT_EQ(rokuyo(20200523), kButsumetsu);   // 閏4月1日 counts as month 4
  EXPECT_EQ(rokuyo(20331222), kTaian);        // 閏11月1日
  // Every first day of months 1 and 7 is 先勝, every first of month 12 赤口.
  for (QDate d(1980, 1, 1); d <= QDate(2050, 12, 31); d = d.addDays(1)) {
    const LunarDate l = toLunar(toLong(d));
    if (l.day != 1 || l.leap) continue;
    const int expected = l.month == 1 || l.month == 7 ? kSensho : l.month == 12 ? kShakko : -1;
    if (expected >= 0) {
      EXPECT_EQ(rokuyo(toLong(d)), expected) << toLong(d);
    }
  }
}

bool isNextMonth(const LunarDate& before, const LunarDate& after) {
  if (after.leap) return !before.leap && after.month == before.month;
  return after.month == before.month % 12 + 1;
}

TEST(LunarDate, EveryDayFrom1980To2050FollowsOnFromTheDayBefore) {
  LunarDate before = toLunar(19791231);
  int monthLength = before.day;
  for (QDate d(1980, 1, 1); d <= QDate(2050, 12, 31); d = d.addDays(1)) {
    const LunarDate l = toLunar(toLong(d));
    ASSERT_GE(l.month, 1) << toLong(d);
    ASSERT_LE(l.month, 12) << toLong(d);
    ASSERT_GE(l.day, 1) << toLong(d);
    ASSERT_LE(l.day, 30) << toLong(d);
    if (l.day == 1) {
      ASSERT_TRUE(monthLength == 29 || monthLength == 30) << toLong(d);
      ASSERT_TRUE(isNextMonth(before, l)) << toLong(d);
      ASSERT_EQ(l.year, before.year + (l.month == 1 && !l.leap ? 1 : 0)) << toLong(d);
    } else {
      ASSERT_EQ(l.day, before.day + 1) << toLong(d);
      ASSERT_EQ(l.month, before.month) << toLong(d);
      ASSERT_EQ(l.leap, before.leap) << toLong(d);
      ASSERT_EQ(l.year, before.year) << toLong(d);
    }
    monthLength = l.day;
    before = l;
  }
}

TEST(LunarDate, InvalidOrUnsupportedDatesGiveNoDate) {
  for (long date : {0L, -20240101L, 20230229L, 20241301L, 20240132L, 18991231L, 22000101L}) {
    const LunarDate l = toLunar(date);
    EXPECT_EQ(l.month, 0) << date;
    EXPECT_EQ(l.day, 0) << date;
    EXPECT_EQ(rokuyo(date), -1) << date;
  }
  EXPECT_EQ(toLunar(19000101).month, 12);
  EXPECT_NE(toLunar(21991231).day, 0);
}

}  // namespace
