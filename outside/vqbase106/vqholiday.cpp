#include "outside/vqbase106/vqholiday.h"

#include "outside/vqbase106/astronomy.h"

#include <QDate>

#include <limits>

// The holiday law took effect on 1948-07-20. The substitute holiday exists
// from 1973-04-12 (the Monday after a Sunday holiday) and from 2007 on is the
// first day after it that is no holiday; the day between two holidays is a
// holiday from 1985-12-27 (until 2006 not when it is a Sunday or already a
// substitute holiday).

namespace {

constexpr int kOpenEnd = std::numeric_limits<int>::max();
constexpr long kLawStart = 19480720;
constexpr long kSubstituteStart = 19730412;
constexpr long kBetweenStart = 19851227;
constexpr int kCurrentSubstituteRule = 2007;

// A holiday on a fixed day (nth == 0) or on the nth Monday of its month,
// in the years from..to.
struct Rule {
  int month;
  int day;
  int nth;
  int from;
  int to;
  const char16_t* name;
};

// 2020 and 2021 moved 海の日, スポーツの日 and 山の日 for the Olympic Games:
// their dates are in kSingleDays instead.
constexpr Rule kRules[] = {
    {1, 1, 0, 1949, kOpenEnd, u"元日"},
    {1, 15, 0, 1949, 1999, u"成人の日"},
    {1, 0, 2, 2000, kOpenEnd, u"成人の日"},
    {2, 11, 0, 1967, kOpenEnd, u"建国記念の日"},
    {2, 23, 0, 2020, kOpenEnd, u"天皇誕生日"},
    {4, 29, 0, 1949, 1988, u"天皇誕生日"},
    {4, 29, 0, 1989, 2006, u"みどりの日"},
    {4, 29, 0, 2007, kOpenEnd, u"昭和の日"},
    {5, 3, 0, 1949, kOpenEnd, u"憲法記念日"},
    {5, 4, 0, 2007, kOpenEnd, u"みどりの日"},
    {5, 5, 0, 1949, kOpenEnd, u"こどもの日"},
    {7, 20, 0, 1996, 2002, u"海の日"},
    {7, 0, 3, 2003, 2019, u"海の日"},
    {7, 0, 3, 2022, kOpenEnd, u"海の日"},
    {8, 11, 0, 2016, 2019, u"山の日"},
    {8, 11, 0, 2022, kOpenEnd, u"山の日"},
    {9, 15, 0, 1966, 2002, u"敬老の日"},
    {9, 0, 3, 2003, kOpenEnd, u"敬老の日"},
    {10, 10, 0, 1966, 1999, u"体育の日"},
    {10, 0, 2, 2000, 2019, u"体育の日"},
    {10, 0, 2, 2022, kOpenEnd, u"スポーツの日"},
    {11, 3, 0, 1948, kOpenEnd, u"文化の日"},
    {11, 23, 0, 1948, kOpenEnd, u"勤労感謝の日"},
    {12, 23, 0, 1989, 2018, u"天皇誕生日"},
};

struct SingleDay {
  long date;
  const char16_t* name;
};

constexpr SingleDay kSingleDays[] = {
    {19590410, u"皇太子明仁親王の結婚の儀"}, {19890224, u"昭和天皇の大喪の礼"},
    {19901112, u"即位礼正殿の儀"},           {19930609, u"皇太子徳仁親王の結婚の儀"},
    {20190501, u"天皇の即位の日"},           {20191022, u"即位礼正殿の儀"},
    {20200723, u"海の日"},                   {20200724, u"スポーツの日"},
    {20200810, u"山の日"},                   {20210722, u"海の日"},
    {20210723, u"スポーツの日"},             {20210808, u"山の日"},
};

long toLong(const QDate& d) { return long(d.year()) * 10000 + d.month() * 100 + d.day(); }

bool matches(const Rule& rule, const QDate& d) {
  if (d.month() != rule.month || d.year() < rule.from || d.year() > rule.to) return false;
  if (rule.nth == 0) return d.day() == rule.day;
  return d.dayOfWeek() == Qt::Monday && (d.day() - 1) / 7 + 1 == rule.nth;
}

// The day of March or September on which the sun reaches 0° or 180°: the
// customary approximation for 1900-2099, the sun's computed longitude
// (Japan Standard Time) for other years.
int equinoxDay(int year, bool autumn) {
  if (year >= 1900 && year <= 2099) {
    const double base = autumn ? (year < 1980 ? 23.2588 : 23.2488) : (year < 1980 ? 20.8357 : 20.8431);
    const int leapShift = year < 1980 ? (year - 1983) / 4 : (year - 1980) / 4;
    return int(base + 0.242194 * (year - 1980)) - leapShift;
  }
  const double guess = double(QDate(year, autumn ? 9 : 3, 21).toJulianDay());
  const long day = hv6::astronomy::jstDay(hv6::astronomy::solarTerm(autumn ? 180.0 : 0.0, guess));
  return QDate::fromJulianDay(day).day();
}

QString equinoxHoliday(const QDate& d) {
  if (d.month() == 3 && d.year() >= 1949 && d.day() == equinoxDay(d.year(), false))
    return QStringLiteral("春分の日");
  if (d.month() == 9 && d.year() >= 1948 && d.day() == equinoxDay(d.year(), true))
    return QStringLiteral("秋分の日");
  return {};
}

// The name of a holiday of the law or of a special law; empty for other days
// (substitute and in-between days included).
QString namedHoliday(const QDate& d) {
  const long date = toLong(d);
  if (date < kLawStart) return {};
  for (const SingleDay& s : kSingleDays)
    if (s.date == date) return QString::fromUtf16(s.name);
  for (const Rule& rule : kRules)
    if (matches(rule, d)) return QString::fromUtf16(rule.name);
  return equinoxHoliday(d);
}

bool isNamedHoliday(const QDate& d) { return !namedHoliday(d).isEmpty(); }

bool isSubstituteHoliday(const QDate& d) {
  if (toLong(d) < kSubstituteStart || isNamedHoliday(d)) return false;
  QDate before = d.addDays(-1);
  if (d.year() < kCurrentSubstituteRule)
    return toLong(before) >= kSubstituteStart && before.dayOfWeek() == Qt::Sunday && isNamedHoliday(before);
  for (; isNamedHoliday(before); before = before.addDays(-1))
    if (before.dayOfWeek() == Qt::Sunday) return true;
  return false;
}

bool isDayBetweenHolidays(const QDate& d) {
  if (toLong(d) < kBetweenStart || isNamedHoliday(d)) return false;
  if (!isNamedHoliday(d.addDays(-1)) || !isNamedHoliday(d.addDays(1))) return false;
  if (d.year() >= kCurrentSubstituteRule) return true;
  return d.dayOfWeek() != Qt::Sunday && !isSubstituteHoliday(d);
}

}  // namespace

QString holidayName(long yyyymmdd) {
  if (yyyymmdd < 10101 || yyyymmdd > 99991231) return {};
  const QDate d(int(yyyymmdd / 10000), int(yyyymmdd / 100 % 100), int(yyyymmdd % 100));
  if (!d.isValid()) return {};
  const QString name = namedHoliday(d);
  if (!name.isEmpty()) return name;
  if (isSubstituteHoliday(d)) return QStringLiteral("振替休日");
  if (isDayBetweenHolidays(d)) return QStringLiteral("国民の休日");
  return {};
}
