#include "install/demo/season.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "install/demo/random.h"
#include "install/demo/rows.h"
#include "install/demo/weather.h"
#include "platform/dao/database.h"
#include "store/schema.h"

namespace hv6::demo {
namespace {

constexpr unsigned bit(int index) { return 1u << index; }
constexpr unsigned kRiceFields = bit(kMaeda1) | bit(kMaeda2) | bit(kKawarada);
constexpr unsigned kHouses = bit(kHouse1) | bit(kHouse2);
constexpr unsigned kCucumberField = bit(kUrabatake);
constexpr unsigned kSoyFields = bit(kKita1) | bit(kKita2);
constexpr unsigned kTaroBit = bit(kTaro), kHanakoBit = bit(kHanako), kIchiroBit = bit(kIchiro),
                   kJiroBit = bit(kJiro);

enum TaskFlag : unsigned {
  kOutdoor = 0x1,    // waits for a dry day
  kUnplanned = 0x2,  // done when needed, not in the plan
  kHarvest = 0x4,    // the quantity is the day's boxes, following the season's curve
};

// One job of the farm's year. Dates are month and day; a task with every
// days between occurrences runs from the first date to the last.
struct Task {
  int job;
  int fromMonth, fromDay, toMonth, toDay;
  int every;
  unsigned fields;  // bit per field; 0 for work without a field
  int machine;
  int kind, material, altMaterial;  // altMaterial on every second occurrence
  double perAre;                    // quantity per a (the whole quantity without a field)
  int minMinutes, maxMinutes;       // per field
  int startTime;                    // hhmm
  unsigned farmers;                 // who may do it
  int crew;                         // workers per field; the first runs the machine
  unsigned flags;
  const char* scatter;
};

constexpr int kNone = -1;

// clang-format off
constexpr Task kTasks[] = {
  {kRiceSeedTreatment, 4, 8, 0, 0, 0, 0, kNoMachine, kPesticide, kSeedDisinfectant, kNone, 250, 90, 150, 900, kTaroBit | kHanakoBit, 1, 0, ""},
  {kRiceSowing, 4, 12, 0, 0, 0, 0, kNoMachine, kSeed, kRiceSeed, kNone, 24, 180, 300, 800, kTaroBit | kHanakoBit | kIchiroBit, 3, 0, ""},
  {kRiceNursery, 4, 13, 5, 14, 3, 0, kNoMachine, kNone, kNone, kNone, 0, 20, 50, 700, kHanakoBit, 1, 0, ""},
  {kRicePlowing, 4, 22, 0, 0, 0, kRiceFields, kTractor, kFertilizer, kLime, kNone, 10, 60, 120, 830, kTaroBit | kIchiroBit, 1, kOutdoor, "100kg/10a"},
  {kRicePuddling, 5, 8, 0, 0, 0, kRiceFields, kTractor, kFertilizer, kRiceBasal, kNone, 4, 60, 110, 800, kTaroBit | kIchiroBit, 1, kOutdoor, "40kg/10a"},
  {kRicePlanting, 5, 16, 0, 0, 0, kRiceFields, kTransplanter, kSupply, kNurseryBox, kNone, 1.8, 60, 120, 800, kTaroBit | kIchiroBit | kHanakoBit, 2, kOutdoor, "18箱/10a"},
  {kRiceWeeding, 5, 26, 0, 0, 0, kRiceFields, kNoMachine, kPesticide, kHerbicide, kNone, 0.1, 30, 60, 900, kIchiroBit | kTaroBit, 1, kOutdoor, "1kg/10a"},
  {kRiceWater, 5, 18, 8, 31, 5, kRiceFields, kNoMachine, kNone, kNone, kNone, 0, 15, 40, 600, kTaroBit | kIchiroBit, 1, 0, ""},
  {kRiceTopDressing, 7, 18, 0, 0, 0, kRiceFields, kNoMachine, kFertilizer, kRicePanicle, kNone, 2.0, 40, 80, 830, kTaroBit | kIchiroBit, 1, kOutdoor, "20kg/10a"},
  {kRicePestControl, 7, 28, 8, 10, 13, kRiceFields, kSprayer, kPesticide, kBlastFungicide, kNone, 0.4, 40, 90, 600, kTaroBit | kIchiroBit, 1, kOutdoor, "4kg/10a"},
  {kRiceHarvestStart, 9, 24, 0, 0, 0, bit(kMaeda1), kCombine, kNone, kNone, kNone, 0, 150, 240, 900, kTaroBit | kIchiroBit, 2, kOutdoor, ""},
  {kRiceHarvest, 9, 26, 0, 0, 0, bit(kMaeda2), kCombine, kNone, kNone, kNone, 0, 130, 200, 900, kTaroBit | kIchiroBit, 2, kOutdoor, ""},
  {kRiceHarvest, 9, 28, 0, 0, 0, bit(kKawarada), kCombine, kNone, kNone, kNone, 0, 180, 260, 900, kTaroBit | kIchiroBit, 2, kOutdoor, ""},
  {kRiceDrying, 9, 25, 10, 7, 3, 0, kDryer, kFuel, kKerosene, kNone, 40, 60, 120, 1700, kTaroBit, 1, 0, ""},
  {kRiceShipping, 1, 12, 12, 22, 14, 0, kNoMachine, kSupply, kRiceBag, kNone, 8, 60, 120, 900, kTaroBit | kHanakoBit, 1, 0, ""},
  {kTomatoSowing, 3, 5, 0, 0, 0, 0, kNoMachine, kSeed, kTomatoSeed, kNone, 2, 90, 150, 900, kHanakoBit | kTaroBit, 2, 0, ""},
  {kTomatoNursery, 3, 7, 4, 26, 4, 0, kNoMachine, kNone, kNone, kNone, 0, 20, 45, 730, kHanakoBit, 1, 0, ""},
  {kTomatoBeds, 4, 15, 0, 0, 0, kHouses, kCultivator, kFertilizer, kOrganic, kNone, 15, 90, 150, 830, kTaroBit | kIchiroBit, 1, 0, "150kg/10a"},
  {kTomatoPlanting, 4, 28, 0, 0, 0, kHouses, kNoMachine, kSupply, kMulch, kNone, 0.34, 120, 200, 830, kHanakoBit | kTaroBit | kJiroBit, 2, 0, ""},
  {kTomatoTraining, 5, 12, 9, 22, 7, kHouses, kNoMachine, kNone, kNone, kNone, 0, 60, 120, 800, kHanakoBit | kJiroBit, 1, 0, ""},
  {kTomatoPestControl, 5, 20, 9, 9, 14, kHouses, kSprayer, kPesticide, kTomatoFungicide, kInsecticide, 10, 30, 60, 600, kTaroBit | kIchiroBit, 1, 0, "100L/10a"},
  {kTomatoTopDressing, 6, 10, 8, 19, 14, kHouses, kNoMachine, kFertilizer, kLiquid, kNone, 2.0, 30, 50, 900, kHanakoBit, 1, 0, "200L/10a"},
  {kTomatoHarvestStart, 7, 8, 0, 0, 0, kHouses, kNoMachine, kSupply, kTomatoBox, kNone, 1.0, 60, 90, 700, kHanakoBit | kJiroBit, 1, kHarvest, ""},
  {kTomatoHarvest, 7, 10, 10, 10, 2, kHouses, kNoMachine, kSupply, kTomatoBox, kNone, 6.0, 60, 150, 630, kHanakoBit | kJiroBit | kTaroBit, 1, kHarvest, ""},
  {kTomatoClearing, 10, 20, 0, 0, 0, kHouses, kNoMachine, kNone, kNone, kNone, 0, 150, 240, 830, kTaroBit | kHanakoBit | kIchiroBit | kJiroBit, 2, 0, ""},
  {kCucumberSowing, 4, 20, 0, 0, 0, 0, kNoMachine, kSeed, kCucumberSeed, kNone, 1, 60, 90, 900, kHanakoBit, 1, 0, ""},
  {kCucumberPlanting, 5, 20, 0, 0, 0, kCucumberField, kNoMachine, kSupply, kMulch, kNone, 0.4, 120, 180, 830, kHanakoBit | kJiroBit, 2, kOutdoor, ""},
  {kCucumberTraining, 6, 3, 8, 26, 7, kCucumberField, kNoMachine, kSupply, kTwine, kNone, 0.2, 60, 100, 830, kHanakoBit | kJiroBit, 1, 0, ""},
  {kCucumberPestControl, 6, 12, 8, 21, 10, kCucumberField, kSprayer, kPesticide, kDownyMildew, kPowderyMildew, 10, 30, 50, 600, kTaroBit | kIchiroBit, 1, kOutdoor, "100L/10a"},
  {kCucumberTopDressing, 6, 26, 8, 14, 14, kCucumberField, kNoMachine, kFertilizer, kCompound, kNone, 3, 30, 45, 1600, kHanakoBit, 1, kOutdoor, "30kg/10a"},
  {kCucumberHarvestStart, 6, 22, 0, 0, 0, kCucumberField, kNoMachine, kSupply, kCucumberBox, kNone, 0.6, 40, 60, 530, kHanakoBit, 1, kHarvest, ""},
  {kCucumberHarvest, 6, 23, 9, 10, 1, kCucumberField, kNoMachine, kSupply, kCucumberBox, kNone, 4.0, 40, 90, 530, kHanakoBit | kJiroBit, 1, kHarvest, ""},
  {kCucumberClearing, 9, 18, 0, 0, 0, kCucumberField, kNoMachine, kNone, kNone, kNone, 0, 120, 180, 900, kTaroBit | kHanakoBit, 2, kOutdoor, ""},
  {kSoyPlowing, 6, 1, 0, 0, 0, kSoyFields, kTractor, kFertilizer, kSoyFertilizer, kNone, 3, 60, 120, 830, kTaroBit | kIchiroBit, 1, kOutdoor, "30kg/10a"},
  {kSoySowing, 6, 8, 0, 0, 0, kSoyFields, kTractor, kSeed, kSoySeed, kNone, 0.5, 60, 100, 830, kIchiroBit | kTaroBit, 1, kOutdoor, "5kg/10a"},
  {kSoyRidging, 7, 12, 0, 0, 0, kSoyFields, kCultivator, kNone, kNone, kNone, 0, 90, 150, 830, kIchiroBit, 1, kOutdoor, ""},
  {kSoyPestControl, 8, 16, 0, 0, 0, kSoyFields, kSprayer, kPesticide, kSoyInsecticide, kNone, 10, 60, 90, 600, kTaroBit | kIchiroBit, 1, kOutdoor, "100L/10a"},
  {kSoyHarvestStart, 10, 15, 0, 0, 0, bit(kKita1), kCombine, kNone, kNone, kNone, 0, 120, 200, 1000, kTaroBit, 1, kOutdoor, ""},
  {kSoyHarvest, 10, 18, 0, 0, 0, bit(kKita2), kCombine, kNone, kNone, kNone, 0, 100, 180, 1000, kTaroBit, 1, kOutdoor, ""},
  {kSoySorting, 11, 5, 12, 5, 10, 0, kNoMachine, kNone, kNone, kNone, 0, 120, 240, 900, kHanakoBit | kTaroBit, 1, 0, ""},
  {kMachineCare, 1, 20, 12, 15, 30, 0, kNoMachine, kNone, kNone, kNone, 0, 60, 180, 900, kTaroBit | kIchiroBit, 1, 0, ""},
  {kMowing, 6, 15, 9, 5, 20, kRiceFields, kBrushCutter, kFuel, kMixedOil, kNone, 0.05, 60, 120, 700, kIchiroBit | kJiroBit, 1, kOutdoor | kUnplanned, ""},
  {kMowing, 7, 5, 8, 25, 25, kSoyFields, kBrushCutter, kFuel, kMixedOil, kNone, 0.05, 60, 120, 700, kIchiroBit | kJiroBit, 1, kOutdoor | kUnplanned, ""},
  {kCompostSpreading, 11, 15, 0, 0, 0, kRiceFields | kSoyFields, kTractor, kFertilizer, kCompost, kNone, 100, 40, 90, 830, kTaroBit | kIchiroBit, 1, kOutdoor, "1t/10a"},
  {kSnowClearing, 12, 12, 12, 30, 9, kHouses, kNoMachine, kNone, kNone, kNone, 0, 40, 90, 730, kTaroBit | kIchiroBit, 1, 0, ""},
  {kSnowClearing, 1, 8, 2, 26, 9, kHouses, kNoMachine, kNone, kNone, kNone, 0, 40, 90, 730, kTaroBit | kIchiroBit, 1, 0, ""},
  {kSupplyPreparation, 2, 10, 3, 24, 14, 0, kNoMachine, kOther, kGloves, kNone, 10, 60, 150, 900, kHanakoBit | kTaroBit, 1, 0, ""},
};
// clang-format on

constexpr int kLatestEnd = 21 * 60;   // no work goes on after nine in the evening
constexpr int kMaxDelay = 4;          // days a task waits for dry weather
constexpr double kSkipChance = 0.04;  // a routine occurrence that is dropped

// Units counted in whole pieces (boxes, bags, sheets, rolls, ...).
bool countedUnit(int unit) { return unit >= 6; }

double roundedQuantity(double value, int unit) {
  if (countedUnit(unit)) return std::max(1.0, std::round(value));
  return std::max(0.1, std::round(value * 10.0) / 10.0);
}

// A job's own crop, else the crop of the field it was done on.
int cropOf(const JobDef& job, int field) {
  if (job.crop != kNoCrop || field < 0) return job.crop;
  return fields()[static_cast<std::size_t>(field)].crop;
}

// The day's boxes along the harvest: few at first, most in the middle.
double harvestShare(const Task& task, const QDate& date, int year) {
  if (task.every == 0) return 1.0;
  const QDate from(year, task.fromMonth, task.fromDay);
  const QDate to(year, task.toMonth, task.toDay);
  const double t = static_cast<double>(from.daysTo(date)) / static_cast<double>(from.daysTo(to));
  return 0.25 + 0.75 * std::sin(std::numbers::pi * std::clamp(t, 0.0, 1.0));
}

class SeasonBuilder {
 public:
  SeasonBuilder(int year, quint32 seed) : random_(seed, 2) {
    season_.year = year;
    season_.weather = makeWeather(year, seed);
  }

  Season build() {
    for (const Task& task : kTasks) addTask(task);
    const auto byDate = [](const auto& a, const auto& b) { return a.date < b.date; };
    std::stable_sort(season_.work.begin(), season_.work.end(), byDate);
    std::stable_sort(season_.plan.begin(), season_.plan.end(), byDate);
    return std::move(season_);
  }

 private:
  const DayWeather& weatherOf(const QDate& date) const {
    return season_.weather[static_cast<std::size_t>(date.dayOfYear() - 1)];
  }

  std::vector<QDate> plannedDates(const Task& task) const {
    const QDate first(season_.year, task.fromMonth, task.fromDay);
    if (task.every == 0) return {first};
    std::vector<QDate> dates;
    const QDate last(season_.year, task.toMonth, task.toDay);
    for (QDate date = first; date <= last; date = date.addDays(task.every)) dates.push_back(date);
    return dates;
  }

  // The day the work was done: outdoor work waits a few days for dry weather.
  QDate actualDate(const Task& task, const QDate& planned) const {
    if ((task.flags & kOutdoor) == 0) return planned;
    QDate date = planned;
    for (int delay = 0; delay < kMaxDelay && isWet(weatherOf(date)); ++delay) {
      const QDate next = date.addDays(1);
      if (next.year() != season_.year) break;
      date = next;
    }
    return date;
  }

  void addTask(const Task& task) {
    const bool milestone = jobs()[static_cast<std::size_t>(task.job)].milestone;
    const std::vector<QDate> dates = plannedDates(task);
    for (std::size_t i = 0; i < dates.size(); ++i) {
      const bool skipped = !milestone && task.every > 0 && random_.chance(kSkipChance);
      const QDate done = skipped ? QDate() : actualDate(task, dates[i]);
      addPlan(task, dates[i], done);
      if (!skipped) addOccurrence(task, done, i % 2 == 1, done != dates[i]);
    }
  }

  void addPlan(const Task& task, const QDate& planned, const QDate& done) {
    if ((task.flags & kUnplanned) != 0) {
      if (done.isValid()) season_.plan.push_back({done, kNone, task.job});
      return;
    }
    if (done == planned) {
      season_.plan.push_back({planned, task.job, task.job});
      return;
    }
    season_.plan.push_back({planned, task.job, kNone});
    if (done.isValid()) season_.plan.push_back({done, kNone, task.job});
  }

  std::vector<int> chooseCrew(const Task& task) {
    std::vector<int> candidates;
    for (int farmer = 0; farmer < static_cast<int>(farmers().size()); ++farmer)
      if ((task.farmers & bit(farmer)) != 0) candidates.push_back(farmer);
    std::vector<int> crew;
    while (static_cast<int>(crew.size()) < task.crew && !candidates.empty()) {
      const int pick = random_.between(0, static_cast<int>(candidates.size()) - 1);
      crew.push_back(candidates[static_cast<std::size_t>(pick)]);
      candidates.erase(candidates.begin() + pick);
    }
    return crew;
  }

  std::vector<int> fieldsOf(const Task& task) const {
    if (task.fields == 0) return {-1};
    std::vector<int> list;
    for (int field = 0; field < static_cast<int>(fields().size()); ++field)
      if ((task.fields & bit(field)) != 0) list.push_back(field);
    return list;
  }

  void addOccurrence(const Task& task, const QDate& date, bool second, bool delayed) {
    int clock = (task.startTime / 100) * 60 + task.startTime % 100 + random_.steps(0, 40, 10);
    const std::vector<int> crew = chooseCrew(task);
    for (int field : fieldsOf(task)) {
      WorkEntry entry = makeEntry(task, date, field, clock, second, delayed);
      for (std::size_t member = 0; member < crew.size(); ++member) {
        entry.farmer = crew[member];
        season_.work.push_back(entry);
        if (member == 0) withoutMachineAndMaterial(entry);
      }
      clock = entry.start + entry.workMinutes + entry.restMinutes + random_.steps(10, 30, 10);
    }
  }

  WorkEntry makeEntry(const Task& task, const QDate& date, int field, int clock, bool second,
                      bool delayed) {
    const JobDef& job = jobs()[static_cast<std::size_t>(task.job)];
    WorkEntry entry;
    entry.date = date;
    entry.job = task.job;
    entry.field = field;
    entry.crop = cropOf(job, field);
    entry.machine = task.machine;
    setTimes(entry, task, clock);
    setMaterial(entry, task, second);
    entry.lightOil = lightOil(task, field);
    entry.scatter = entry.kind == kNoMaterial ? QString() : QString::fromUtf8(task.scatter);
    if (delayed) entry.memo = QStringLiteral("天候不順のため順延");
    return entry;
  }

  void setTimes(WorkEntry& entry, const Task& task, int clock) {
    entry.start = clock;
    entry.workMinutes = random_.steps(task.minMinutes, task.maxMinutes, 5);
    entry.restMinutes = entry.workMinutes >= 150 ? random_.steps(15, 30, 5) : 0;
    const int overrun = entry.start + entry.workMinutes + entry.restMinutes - kLatestEnd;
    if (overrun > 0) entry.start = std::max(6 * 60, entry.start - overrun);
  }

  void setMaterial(WorkEntry& entry, const Task& task, bool second) {
    if (task.kind == kNoMaterial) return;
    entry.kind = task.kind;
    entry.material = second && task.altMaterial != kNone ? task.altMaterial : task.material;
    const double area =
        entry.field < 0 ? 1.0 : fields()[static_cast<std::size_t>(entry.field)].area;
    double amount = task.perAre * area;
    if ((task.flags & kHarvest) != 0)
      amount *= harvestShare(task, entry.date, season_.year) * (0.8 + 0.4 * random_.unit());
    const int unit = materials(entry.kind)[static_cast<std::size_t>(entry.material)].unit;
    entry.quantity = roundedQuantity(amount, unit);
  }

  static long lightOil(const Task& task, int field) {
    if (task.machine == kNoMachine || field < 0) return 0;
    const double perAre = machines()[static_cast<std::size_t>(task.machine)].oilPerAre;
    const double litres = perAre * fields()[static_cast<std::size_t>(field)].area;
    return static_cast<long>(std::lround(litres * 10.0));
  }

  // Helpers of the crew share the time, not the machine or the material.
  static void withoutMachineAndMaterial(WorkEntry& entry) {
    entry.machine = kNoMachine;
    entry.kind = kNoMaterial;
    entry.material = -1;
    entry.quantity = 0;
    entry.lightOil = 0;
    entry.scatter.clear();
  }

  DemoRandom random_;
  Season season_;
};

COleVariant timeOfDay(int minute) { return COleVariant(hhmm(minute)); }

Row workTimes(const WorkEntry& entry) {
  const int end = entry.start + entry.workMinutes + entry.restMinutes;
  const int restStart = entry.start + (entry.workMinutes / 20) * 10;
  const bool rest = entry.restMinutes > 0;
  return {{"WorkFactTime", COleVariant(hhmm(entry.workMinutes))},
          {"RestFactTime", COleVariant(hhmm(entry.restMinutes))},
          {"WorkStartTime", timeOfDay(entry.start)},
          {"WorkEndTime", timeOfDay(end)},
          {"RestStartTime", rest ? timeOfDay(restStart) : COleVariant::null()},
          {"RestEndTime", rest ? timeOfDay(restStart + entry.restMinutes) : COleVariant::null()}};
}

// The machine ran from five minutes after the start to five before the end.
Row machineTimes(const WorkEntry& entry) {
  if (entry.machine == kNoMachine) return {};
  const int end = entry.start + entry.workMinutes + entry.restMinutes;
  const int restStart = entry.start + (entry.workMinutes / 20) * 10;
  const bool rest = entry.restMinutes > 0;
  return {{"McnFactTime", COleVariant(hhmm(entry.workMinutes - 10))},
          {"MRestFactTime", COleVariant(hhmm(entry.restMinutes))},
          {"McnStartTime", timeOfDay(entry.start + 5)},
          {"McnEndTime", timeOfDay(end - 5)},
          {"MRestStartTime", rest ? timeOfDay(restStart) : COleVariant::null()},
          {"MRestEndTime", rest ? timeOfDay(restStart + entry.restMinutes) : COleVariant::null()}};
}

Row materialColumns(const WorkEntry& entry) {
  if (entry.kind == kNoMaterial) return {};
  const MaterialDef& material = materials(entry.kind)[static_cast<std::size_t>(entry.material)];
  return {{"Kind", COleVariant(entry.kind)},
          {materialCodeColumn(entry.kind), COleVariant(codeOf(entry.material))},
          {"Quantity", COleVariant(entry.quantity)},
          {"Dilute", textOrNull(QString::fromUtf8(material.dilute))},
          {"Vermin", textOrNull(QString::fromUtf8(material.vermin))},
          {"Scatter", textOrNull(entry.scatter)}};
}

Row workRow(const WorkEntry& entry) {
  const double area = entry.field < 0 ? 0.0 : fields()[static_cast<std::size_t>(entry.field)].area;
  Row row{
      {"Date", COleVariant(QDateTime(entry.date, QTime(0, 0)))},
      {"CropCode", codeOrNull(codeOf(entry.crop))},
      {"JobCode", COleVariant(codeOf(entry.job))},
      {"FieldCode", codeOrNull(codeOf(entry.field))},
      {"FarmerCode", COleVariant(codeOf(entry.farmer))},
      {"MachineCode", codeOrNull(codeOf(entry.machine))},
      {"TotalArea", entry.field < 0 ? COleVariant::null() : COleVariant(std::lround(area * 10.0))},
      {"LightOil", entry.lightOil > 0 ? COleVariant(entry.lightOil) : COleVariant::null()},
      {"ReserveItem1", textOrNull(entry.memo)}};
  for (Row part : {workTimes(entry), machineTimes(entry), materialColumns(entry)})
    row.insert(row.end(), part.begin(), part.end());
  return row;
}

}  // namespace

Season buildSeason(int year, quint32 seed) { return SeasonBuilder(year, seed).build(); }

long hhmm(int minutes) { return static_cast<long>(minutes / 60) * 100 + minutes % 60; }

void writeWork(CDaoDatabase& db, const Season& season) {
  for (const WorkEntry& entry : season.work) insertRow(db, "WDiary", workRow(entry));
}

void writePlan(CDaoDatabase& db, const Season& season) {
  for (const PlanEntry& entry : season.plan) {
    insertRow(db, "YearBook1",
              {{"Date", COleVariant(dateNumber(entry.date))},
               {"JobCode", codeOrNull(codeOf(entry.job))},
               {"J_JobCode", codeOrNull(codeOf(entry.doneJob))}});
  }
}

}  // namespace hv6::demo
