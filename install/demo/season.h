#pragma once
// The farm's year in memory: the weather of every day, the work done (one
// entry per worker, field and job) and the plan with what became of it.
// Built from the seed and the year alone; the writers put it into the
// databases and files.

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <array>
#include <stdexcept>
#include <vector>

#include "install/demo/farm.h"

class CDaoDatabase;

namespace hv6::demo {

// A failure of the generator that is not a database error.
class DemoError : public std::runtime_error {
 public:
  explicit DemoError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
  const QString& text() const { return text_; }

 private:
  QString text_;
};

// Weather item numbers as the demo uses them.
enum WeatherCode : int {
  kNoWeather = -1,  // not observed: stored as Null
  kClear,
  kFine,
  kThinCloud,
  kCloudy,
  kFog,
  kDrizzle,
  kRain,
  kHeavyRain,
  kSnow,
  kThunder
};

struct DayWeather {
  QDate date;
  std::array<int, 3> items{};  // morning, afternoon, night
};

struct WorkEntry {
  QDate date;
  int job = 0;
  int crop = kNoCrop;
  int field = -1;
  int farmer = 0;
  int machine = kNoMachine;
  int start = 0;        // minute of the day the work began
  int workMinutes = 0;  // net working time
  int restMinutes = 0;  // one rest in the middle of the work; 0 for none
  int kind = kNoMaterial;
  int material = -1;
  double quantity = 0;
  long lightOil = 0;  // tenths of a litre
  QString scatter;
  QString memo;
};

// One plan row: the planned job and the job done on that day (-1: none).
struct PlanEntry {
  QDate date;
  int job = -1;
  int doneJob = -1;
};

struct Season {
  int year = 0;
  std::vector<DayWeather> weather;  // every day of the year, in order
  std::vector<WorkEntry> work;      // in date order
  std::vector<PlanEntry> plan;      // in date order
};

Season buildSeason(int year, quint32 seed);

// True when rain or snow falls in the morning or the afternoon.
bool isWet(const DayWeather& day);
// The Japanese name of a weather item ("晴れ", "雨", ...).
QString weatherName(int code);

// hh*100 + mm of a number of minutes (a time of day or a duration).
long hhmm(int minutes);

// WDiary and YearBook1 rows. Throw CDaoException.
void writeWork(CDaoDatabase& db, const Season& season);
void writePlan(CDaoDatabase& db, const Season& season);

}  // namespace hv6::demo
