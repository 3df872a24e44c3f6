#include "install/demo/weather.h"

#include <QDateTime>

#include "install/demo/random.h"
#include "install/demo/rows.h"
#include "platform/dao/database.h"

namespace hv6::demo {
namespace {

enum Sky : int { kFineSky, kCloudySky, kWetSky };

// Chance of a fine and of a cloudy day per month; the rest is wet.
struct Climate {
  double fine;
  double cloudy;
};
constexpr std::array<Climate, 12> kClimate{{
    {0.25, 0.30},
    {0.30, 0.30},
    {0.40, 0.30},
    {0.50, 0.28},
    {0.55, 0.25},
    {0.30, 0.35},
    {0.30, 0.35},
    {0.45, 0.30},
    {0.40, 0.30},
    {0.55, 0.25},
    {0.40, 0.30},
    {0.25, 0.30},
}};

constexpr double kPersistence = 0.55;  // chance that tomorrow's sky is today's
constexpr double kUnobserved = 0.012;  // chance that an item is missing

int drawSky(DemoRandom& random, int month) {
  const Climate& climate = kClimate[static_cast<std::size_t>(month - 1)];
  const double roll = random.unit();
  if (roll < climate.fine) return kFineSky;
  if (roll < climate.fine + climate.cloudy) return kCloudySky;
  return kWetSky;
}

bool rainySeason(const QDate& date) {
  const int day = date.month() * 100 + date.day();
  return day >= 615 && day <= 725;
}

int wetCode(DemoRandom& random, const QDate& date, int item) {
  const int month = date.month();
  if (month == 12 || month <= 2) return random.chance(0.8) ? kSnow : kDrizzle;
  if (month == 3 || month == 11) return random.chance(0.3) ? kSnow : kRain;
  if (rainySeason(date))
    return random.chance(0.2) ? kHeavyRain : (random.chance(0.5) ? kRain : kDrizzle);
  if ((month == 7 || month == 8) && item == 1 && random.chance(0.4)) return kThunder;
  if (month == 9 && random.chance(0.15)) return kHeavyRain;
  return random.chance(0.6) ? kRain : kDrizzle;
}

int cloudyCode(DemoRandom& random, const QDate& date, int item) {
  const bool autumnMorning = item == 0 && date.month() >= 9 && date.month() <= 11;
  if (autumnMorning && random.chance(0.25)) return kFog;
  return random.chance(0.4) ? kThinCloud : kCloudy;
}

int itemCode(DemoRandom& random, const QDate& date, int item, int sky) {
  if (sky == kFineSky) return random.chance(0.3) ? kClear : kFine;
  if (sky == kCloudySky) return cloudyCode(random, date, item);
  return wetCode(random, date, item);
}

// The sky of one part of the day: mostly the day's own, sometimes the next
// kind up or down.
int partSky(DemoRandom& random, int daySky) {
  if (random.chance(0.7)) return daySky;
  if (daySky == kFineSky) return kCloudySky;
  if (daySky == kWetSky) return kCloudySky;
  return random.chance(0.5) ? kFineSky : kWetSky;
}

DayWeather makeDay(DemoRandom& random, const QDate& date, int daySky) {
  DayWeather day{date, {}};
  for (int item = 0; item < 3; ++item) {
    const int code = itemCode(random, date, item, partSky(random, daySky));
    day.items[static_cast<std::size_t>(item)] = random.chance(kUnobserved) ? kNoWeather : code;
  }
  return day;
}

QDateTime midnight(const QDate& date) { return QDateTime(date, QTime(0, 0)); }

struct Point {
  int num;
  int ido[3];
  int keido[3];
  int startMonth;
  unsigned fields;  // bit per field index
};
constexpr unsigned bit(int index) { return 1u << index; }
constexpr std::array<Point, 2> kPoints{{
    {1,
     {39, 17, 6},
     {141, 6, 48},
     1,
     bit(kMaeda1) | bit(kMaeda2) | bit(kKawarada) | bit(kKita1) | bit(kKita2)},
    {2, {39, 19, 30}, {141, 4, 12}, 4, bit(kHouse1) | bit(kHouse2) | bit(kUrabatake)},
}};

void writePoint(CDaoDatabase& db, const Point& point, long code, int year) {
  insertRow(db, "Location",
            {{"Code", COleVariant(code)},
             {"Num", COleVariant(point.num)},
             {"Ido_HH", COleVariant(point.ido[0])},
             {"Ido_MM", COleVariant(point.ido[1])},
             {"Ido_SS", COleVariant(point.ido[2])},
             {"Keido_HH", COleVariant(point.keido[0])},
             {"Keido_MM", COleVariant(point.keido[1])},
             {"Keido_SS", COleVariant(point.keido[2])},
             {"SDate", COleVariant(dateNumber(QDate(year, point.startMonth, 1)))},
             {"EDate", COleVariant::null()}});
  for (int field = 0; field < static_cast<int>(fields().size()); ++field) {
    if ((point.fields & bit(field)) == 0) continue;
    insertRow(db, "TargetField",
              {{"Location", COleVariant(code)}, {"Field", COleVariant(codeOf(field))}});
  }
}

}  // namespace

std::vector<DayWeather> makeWeather(int year, quint32 seed) {
  DemoRandom random(seed, 1);
  std::vector<DayWeather> days;
  int sky = kFineSky;
  for (QDate date(year, 1, 1); date.year() == year; date = date.addDays(1)) {
    if (!random.chance(kPersistence)) sky = drawSky(random, date.month());
    days.push_back(makeDay(random, date, sky));
  }
  return days;
}

bool isWet(const DayWeather& day) {
  for (std::size_t item = 0; item < 2; ++item) {
    const int code = day.items[item];
    if (code >= kDrizzle && code <= kThunder) return true;
  }
  return false;
}

QString weatherName(int code) {
  static const std::array<const char*, 10> names{"快晴", "晴れ", "薄曇り", "曇り", "霧",
                                                 "小雨", "雨",   "大雨",   "雪",   "雷雨"};
  if (code < 0 || code >= static_cast<int>(names.size())) return {};
  return QString::fromUtf8(names[static_cast<std::size_t>(code)]);
}

void writeWeather(CDaoDatabase& db, const std::vector<DayWeather>& days) {
  for (const DayWeather& day : days) {
    insertRow(db, "Weather",
              {{"Date", COleVariant(dateNumber(day.date))},
               {"Item1", numberOrNull(day.items[0])},
               {"Item2", numberOrNull(day.items[1])},
               {"Item3", numberOrNull(day.items[2])}});
  }
}

void writeWeatherItems(CDaoDatabase& weatherDb, int year) {
  const QDateTime lastDay = midnight(QDate(year, 12, 31));
  for (int type = 1; type <= 3; ++type) {
    insertRow(weatherDb, "Item",
              {{"LastUpdate", COleVariant(lastDay)},
               {"DataSpecies", COleVariant(0)},
               {"Type", COleVariant(type)}});
  }
}

void writeObservationPoints(CDaoDatabase& weatherDb, int year) {
  for (int i = 0; i < static_cast<int>(kPoints.size()); ++i)
    writePoint(weatherDb, kPoints[static_cast<std::size_t>(i)], codeOf(i), year);
}

}  // namespace hv6::demo
