#include "outside/vqbase106/astronomy.h"
#include "outside/vqbase106/vqholiday.h"

#include <QDate>
#include <gtest/gtest.h>

#include <map>

namespace {

long toLong(const QDate& d) { return long(d.year()) * 10000 + d.month() * 100 + d.day(); }

using Holidays = std::map<long, QString>;

Holidays holidaysOf(int year) {
  Holidays found;
  for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
    const QString name = holidayName(toLong(d));
    if (!name.isEmpty()) found[toLong(d)] = name;
  }
  return found;
}

void expectNames(const std::map<long, const char*>& expected) {
  for (const auto& [date, name] : expected) EXPECT_EQ(holidayName(date), QString::fromUtf8(name)) << date;
}

TEST(HolidayName, The2019AbdicationYear) {
  const Holidays expected = {
      {20190101, "元日"},           {20190114, "成人の日"},     {20190211, "建国記念の日"},
      {20190321, "春分の日"},       {20190429, "昭和の日"},     {20190430, "国民の休日"},
      {20190501, "天皇の即位の日"}, {20190502, "国民の休日"},   {20190503, "憲法記念日"},
      {20190504, "みどりの日"},     {20190505, "こどもの日"},   {20190506, "振替休日"},
      {20190715, "海の日"},         {20190811, "山の日"},       {20190812, "振替休日"},
      {20190916, "敬老の日"},       {20190923, "秋分の日"},     {20191014, "体育の日"},
      {20191022, "即位礼正殿の儀"}, {20191103, "文化の日"},     {20191104, "振替休日"},
      {20191123, "勤労感謝の日"},
  };
  EXPECT_EQ(holidaysOf(2019), expected);
}

TEST(HolidayName, TheOlympicYears2020And2021) {
  const Holidays y2020 = {
      {20200101, "元日"},       {20200113, "成人の日"},     {20200211, "建国記念の日"},
      {20200223, "天皇誕生日"}, {20200224, "振替休日"},     {20200320, "春分の日"},
      {20200429, "昭和の日"},   {20200503, "憲法記念日"},   {20200504, "みどりの日"},
      {20200505, "こどもの日"}, {20200506, "振替休日"},     {20200723, "海の日"},
      {20200724, "スポーツの日"}, {20200810, "山の日"},     {20200921, "敬老の日"},
      {20200922, "秋分の日"},   {20201103, "文化の日"},     {20201123, "勤労感謝の日"},
  };
  EXPECT_EQ(holidaysOf(2020), y2020);
  expectNames({{20210719, ""},
               {20210722, "海の日"},
               {20210723, "スポーツの日"},
               {20210808, "山の日"},
               {20210809, "振替休日"},
               {20210811, ""},
               {20211011, ""}});
}

TEST(HolidayName, ChangesOfTheLawOverTheYears) {
  expectNames({
      {19990115, "成人の日"},   {20000110, "成人の日"},     {20000115, ""},
      {19880429, "天皇誕生日"}, {19890429, "みどりの日"},   {20060429, "みどりの日"},
      {20070429, "昭和の日"},   {20070504, "みどりの日"},   {19881223, ""},
      {19891223, "天皇誕生日"}, {20181223, "天皇誕生日"},   {20191223, ""},
      {20190223, ""},           {20200223, "天皇誕生日"},   {19950720, ""},
      {19960720, "海の日"},     {20020720, "海の日"},       {20030721, "海の日"},
      {20030720, ""},           {20150811, ""},             {20160811, "山の日"},
      {20200811, ""},           {20220811, "山の日"},
      {20020915, "敬老の日"},   {20030915, "敬老の日"},     {20040915, ""},
      {20040920, "敬老の日"},   {19991010, "体育の日"},     {20001009, "体育の日"},
      {20001010, ""},           {20191014, "体育の日"},     {20201012, ""},
      {20221010, "スポーツの日"},
      {19660211, ""},           {19670211, "建国記念の日"},
  });
}

TEST(HolidayName, OneOffDaysOfSpecialLaws) {
  expectNames({
      {19590410, "皇太子明仁親王の結婚の儀"},
      {19890224, "昭和天皇の大喪の礼"},
      {19901112, "即位礼正殿の儀"},
      {19930609, "皇太子徳仁親王の結婚の儀"},
      {20191022, "即位礼正殿の儀"},
      {20181022, ""},
  });
}

TEST(HolidayName, SubstituteHolidays) {
  expectNames({
      {19730212, ""},          // 1973-02-11 was a Sunday before the rule
      {19730430, "振替休日"},  // the first one
      {19870504, "振替休日"},  // the Monday after 憲法記念日 on a Sunday
      {19890102, "振替休日"},
      {19991011, "振替休日"},
      {20020916, "振替休日"},
      {20070430, "振替休日"},
      {20080506, "振替休日"},  // from 2007 the first day that is no holiday
      {20090506, "振替休日"},
      {20150506, "振替休日"},
      {20181224, "振替休日"},
      {20240923, "振替休日"},
  });
}

TEST(HolidayName, DaysBetweenTwoHolidays) {
  expectNames({
      {19850504, ""},            // before the rule
      {19860504, ""},            // a Sunday until 2006
      {19880504, "国民の休日"},
      {19970504, ""},            // a Sunday
      {20060504, "国民の休日"},
      {20090922, "国民の休日"},
      {20150922, "国民の休日"},
      {20260922, "国民の休日"},
      {20320921, "国民の休日"},
      {20190430, "国民の休日"},
      {20190502, "国民の休日"},
      {20200922, "秋分の日"},
  });
}

// The equinox days by the customary approximation agree with the sun's
// computed longitude in Japan Standard Time.
TEST(HolidayName, EquinoxDaysMatchTheSun) {
  for (int year = 1949; year <= 2099; ++year) {
    for (double degrees : {0.0, 180.0}) {
      const QDate guess(year, degrees == 0.0 ? 3 : 9, 21);
      const long day = hv6::astronomy::jstDay(hv6::astronomy::solarTerm(degrees, double(guess.toJulianDay())));
      const long date = toLong(QDate::fromJulianDay(day));
      EXPECT_EQ(holidayName(date), degrees == 0.0 ? QStringLiteral("春分の日") : QStringLiteral("秋分の日"))
          << date;
    }
  }
  expectNames({{20230321, "春分の日"}, {20230923, "秋分の日"}, {20240920, ""}, {20250320, "春分の日"},
               {20250923, "秋分の日"}, {20120320, "春分の日"}, {20120922, "秋分の日"}});
}

TEST(HolidayName, InvalidDatesAreNoHolidays) {
  for (long date : {0L, -20240101L, 20230229L, 20240001L, 20241301L, 100000101L})
    EXPECT_TRUE(holidayName(date).isEmpty()) << date;
  EXPECT_TRUE(holidayName(19480101).isEmpty());  // before the law
  EXPECT_EQ(holidayName(19481103), QStringLiteral("文化の日"));
  EXPECT_EQ(holidayName(21500101), QStringLiteral("元日"));
}

}  // namespace
