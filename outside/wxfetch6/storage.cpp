#include "outside/wxfetch6/storage.h"

#include "outside/wxfetch6/weathercodes.h"
#include "platform/dao/dao.h"
#include "store/schema.h"

#include <QFileInfo>

namespace hv6::wxfetch {
namespace {

const QString kDiarySchema = QStringLiteral("hv6diary");
constexpr long kFirstMeshPoint = 1;
constexpr long kLastMeshPoint = 8;

long dayNumber(const QDate& day) { return day.year() * 10000L + day.month() * 100L + day.day(); }

COleVariant orNull(const std::optional<double>& value) {
  return value ? COleVariant(*value) : COleVariant::null();
}

COleVariant orNull(const std::optional<int>& value) {
  return value ? COleVariant(short(*value)) : COleVariant::null();
}

// A statement prepared once and run with new values, on the database's own
// connection (so inside its transaction).
class Statement {
 public:
  Statement(CDaoDatabase& db, const QString& sql) : definition_(&db) {
    definition_.Create(QString(), sql);
  }
  void run(const QList<COleVariant>& values) {
    for (int i = 0; i < values.size(); ++i) definition_.SetParamValue(i, values.at(i));
    definition_.Execute();
  }

 private:
  CDaoQueryDef definition_;
};

// The diary database attached to the weather database's connection while
// the object lives, so one transaction covers both files.
class AttachedDiary {
 public:
  AttachedDiary(CDaoDatabase& weather, const QString& path) : weather_(weather) {
    if (path.isEmpty()) return;
    // ATTACH would create a missing file: only an existing diary is taken.
    if (!QFileInfo(path).isFile())
      throw CDaoException(kJetFileNotFound, QStringLiteral("The diary database is missing: ") + path);
    weather_.runSql(QStringLiteral("ATTACH DATABASE ? AS %1").arg(kDiarySchema), {COleVariant(path)});
    attached_ = true;
  }
  ~AttachedDiary() {
    if (!attached_) return;
    try {
      weather_.runSql(QStringLiteral("DETACH DATABASE %1").arg(kDiarySchema));
    } catch (const CDaoException&) {
      // The connection keeps the file until it closes; nothing is lost.
    }
  }
  AttachedDiary(const AttachedDiary&) = delete;
  AttachedDiary& operator=(const AttachedDiary&) = delete;
  bool attached() const { return attached_; }

 private:
  CDaoDatabase& weather_;
  bool attached_ = false;
};

std::array<std::optional<int>, 3> picturesOf(const DayValues& values) {
  std::array<std::optional<int>, 3> pictures;
  for (std::size_t part = 0; part < 3; ++part)
    if (values.periods[part]) pictures[part] = pictureOfWmo(*values.periods[part]);
  return pictures;
}

}  // namespace

void ensureMeshTable(CDaoDatabase& weather) {
  const TableSpec table = meshWeatherTable();
  if (weather.tableExists(table.name)) return;
  DaoTransaction transaction(weather);
  for (const QString& statement : createTableStatements(table)) weather.Execute(statement);
  transaction.commit();
}

long firstObservedPoint(CDaoDatabase& weather, long yyyymmdd) {
  CDaoRecordset points(&weather);
  points.Open(dbOpenSnapshot,
              QStringLiteral("SELECT Code FROM Location WHERE Code BETWEEN ? AND ? AND SDate <= ? "
                             "AND (EDate IS NULL OR EDate = 0 OR EDate >= ?) ORDER BY Code"),
              {COleVariant(kFirstMeshPoint), COleVariant(kLastMeshPoint), COleVariant(yyyymmdd),
               COleVariant(yyyymmdd)},
              dbReadOnly);
  return points.IsEOF() ? 0 : points.GetFieldValue(0).toLong();
}

int storePointDays(CDaoDatabase& weather, const StoreTarget& target, const DayMap& days,
                   const QDate& today) {
  AttachedDiary diary(weather, target.diaryPath);
  DaoTransaction transaction(weather);
  Statement removeDay(weather,
                      QStringLiteral("DELETE FROM MeshWeather WHERE Location = ? AND Date = ?"));
  Statement addDay(weather, QStringLiteral(
      "INSERT INTO MeshWeather (Location, Date, TempMax, TempMin, TempMean, Precipitation, "
      "Sunshine, WeatherCode, Morning, Afternoon, Night) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  std::optional<Statement> removeWeather;
  std::optional<Statement> addWeather;
  if (diary.attached()) {
    removeWeather.emplace(weather, QStringLiteral("DELETE FROM %1.Weather WHERE Date = ?").arg(kDiarySchema));
    addWeather.emplace(weather, QStringLiteral(
        "INSERT INTO %1.Weather (Date, Item1, Item2, Item3) VALUES (?, ?, ?, ?)").arg(kDiarySchema));
  }
  int stored = 0;
  QDate last;
  const COleVariant location(target.location);
  for (const auto& [day, values] : days) {
    if (day >= today || !values.hasData()) continue;
    const COleVariant date(dayNumber(day));
    removeDay.run({location, date});
    addDay.run({location, date, orNull(values.tempMax), orNull(values.tempMin),
                orNull(values.tempMean), orNull(values.precipitation),
                orNull(values.sunshineHours), orNull(values.weatherCode),
                orNull(values.periods[0]), orNull(values.periods[1]), orNull(values.periods[2])});
    const auto pictures = picturesOf(values);
    if (addWeather && (pictures[0] || pictures[1] || pictures[2])) {
      removeWeather->run({date});
      addWeather->run({date, orNull(pictures[0]), orNull(pictures[1]), orNull(pictures[2])});
    }
    ++stored;
    last = day;
  }
  if (last.isValid()) {
    const COleVariant next(QDateTime(last.addDays(1), QTime(0, 0)));
    weather.Execute(QStringLiteral("UPDATE Item SET LastUpdate = ? WHERE LastUpdate IS NULL OR LastUpdate < ?"),
                    {next, next});
  }
  transaction.commit();
  return stored;
}

}  // namespace hv6::wxfetch
