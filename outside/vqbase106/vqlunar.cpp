#include "outside/vqbase106/vqlunar.h"

#include "outside/vqbase106/astronomy.h"

#include <QDate>

#include <array>

// A lunar month runs from the Japan Standard Time day of one new moon to the
// day before the next. The months from the one holding the winter solstice
// (冬至, always month 11) to the one holding the next winter solstice form
// one solstice year. When that year has 13 months, its first month without a
// principal solar term (中気, a multiple of 30° of the sun's longitude) is a
// leap month and repeats the number of the month before it; every other
// month counts on by one. This rule gives the accepted answer to the 2033
// problem: 2033-11-22 begins month 11, 2033-12-22 leap month 11, 2034-01-20
// month 12, 2034-02-19 month 1.

namespace {

namespace astro = hv6::astronomy;

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2199;
constexpr int kMaxMonths = 13;
constexpr double kDaysPerTerm = 365.2422 / 12;

struct SolsticeYear {
  int year = 0;  // Gregorian year of the first winter solstice
  int months = 0;                            // 12 or 13
  std::array<long, kMaxMonths + 1> first{};  // first days (Julian day numbers)
  int leapIndex = -1;                        // index of the leap month, -1 for none
};

// The number of the last new moon whose Japanese day is on or before `day`.
long newMoonOnOrBefore(long day) {
  long n = astro::newMoonNumberNear(double(day));
  while (astro::jstDay(astro::newMoon(n)) > day) --n;
  while (astro::jstDay(astro::newMoon(n + 1)) <= day) ++n;
  return n;
}

double winterSolstice(int year) { return astro::solarTerm(270.0, double(QDate(year, 12, 21).toJulianDay())); }

// True when no principal term of the solstice year falls in month `index`.
bool lacksPrincipalTerm(const SolsticeYear& y, const std::array<long, 11>& termDays, int index) {
  for (long day : termDays)
    if (day >= y.first[index] && day < y.first[index + 1]) return false;
  return true;
}

int firstMonthWithoutTerm(const SolsticeYear& y, double solstice) {
  std::array<long, 11> termDays{};
  for (int j = 1; j <= 11; ++j)
    termDays[j - 1] = astro::jstDay(astro::solarTerm(270.0 + 30.0 * j, solstice + j * kDaysPerTerm));
  for (int i = 1; i < y.months; ++i)
    if (lacksPrincipalTerm(y, termDays, i)) return i;
  return -1;
}

SolsticeYear computeSolsticeYear(int year) {
  SolsticeYear y;
  y.year = year;
  const double solstice = winterSolstice(year);
  const long firstMoon = newMoonOnOrBefore(astro::jstDay(solstice));
  const long nextMoon = newMoonOnOrBefore(astro::jstDay(winterSolstice(year + 1)));
  y.months = int(nextMoon - firstMoon);
  for (int i = 0; i <= y.months; ++i) y.first[i] = astro::jstDay(astro::newMoon(firstMoon + i));
  if (y.months == kMaxMonths) y.leapIndex = firstMonthWithoutTerm(y, solstice);
  return y;
}

// The two most recent solstice years: a month of days needs at most two.
const SolsticeYear& solsticeYear(int year) {
  thread_local std::array<SolsticeYear, 2> cache;
  thread_local int next = 0;
  for (const SolsticeYear& y : cache)
    if (y.year == year) return y;
  SolsticeYear& slot = cache[next];
  next = 1 - next;
  slot = computeSolsticeYear(year);
  return slot;
}

LunarDate lunarDateIn(const SolsticeYear& y, long day) {
  int number = 11;
  for (int i = 0; i < y.months; ++i) {
    const bool leap = i == y.leapIndex;
    if (i > 0 && !leap) number = number % 12 + 1;
    if (day < y.first[i + 1])
      return {number >= 11 ? y.year : y.year + 1, number, leap, int(day - y.first[i] + 1)};
  }
  return {0, 0, false, 0};  // not reached: the caller chose the year holding the day
}

}  // namespace

LunarDate toLunar(long yyyymmdd) {
  const QDate date(int(yyyymmdd / 10000), int(yyyymmdd / 100 % 100), int(yyyymmdd % 100));
  if (!date.isValid() || date.year() < kFirstYear || date.year() > kLastYear) return {0, 0, false, 0};
  const long day = long(date.toJulianDay());
  const SolsticeYear& thisYear = solsticeYear(date.year());
  if (day >= thisYear.first[0]) return lunarDateIn(thisYear, day);
  return lunarDateIn(solsticeYear(date.year() - 1), day);
}

int rokuyo(long yyyymmdd) {
  const LunarDate lunar = toLunar(yyyymmdd);
  if (lunar.month == 0) return -1;
  return (lunar.month + lunar.day - 2) % 6;
}
