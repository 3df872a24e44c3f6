#include "weather/retrieval.h"

#include "outside/errtext6/errmsg.h"
#include "outside/wxfetch6/wxfetch6.h"
#include "platform/dao/dao.h"
#include "shell/appregistry.h"
#include "shell/startup.h"
#include "weather/weatherlink.h"

#include <QDateTime>

#include <cstdint>
#include <new>

namespace hv6 {
namespace {

constexpr long kMsgOutOfMemory = 2036;
constexpr long kMsgNothingFetched = 2445;
constexpr long kMsgSettingMissing = 2504;
constexpr int kFirstMeshPoint = 1;
constexpr int kLastMeshPoint = 8;

struct StartDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

CDaoDatabase& opened(const WeatherDatabaseOpener& openWeather) {
  CDaoDatabase* database = openWeather();
  if (database == nullptr || !database->IsOpen())
    throw CDaoException(kJetNotOpen, QStringLiteral("The weather database is not open"));
  return *database;
}

// R1: LastUpdate of the first Item row of DataSpecies 0 by Type.
StartDate readStartDate(CDaoDatabase& weather) {
  CDaoRecordset items(&weather);
  items.Open(dbOpenSnapshot,
             QString::asprintf("SELECT %s FROM %s WHERE %s = %d ORDER BY %s", "LastUpdate", "Item",
                               "DataSpecies", 0, "Type"),
             dbReadOnly);
  if (items.IsEOF()) throw CDaoException(kJetNoCurrentRecord, QStringLiteral("No current record."));
  const QDate date = items.GetFieldValue(QStringLiteral("LastUpdate")).toDateTime().date();
  if (!date.isValid()) throw CDaoException(kJetConversion, QStringLiteral("Data type conversion error."));
  return {date.year(), date.month(), date.day()};
}

const QString& locationQuery() {
  static const QString sql = QString::asprintf("SELECT %s, %s, %s FROM %s", "Code", "SDate",
                                               "EDate", "Location");
  return sql;
}

long longOrZero(const COleVariant& value) { return value.isNull() ? 0 : value.toLong(); }

struct PointRow {
  int code = 0;
  long sdate = 0;
  long edate = 0;
};

// R5: the query run again for row `index`.
PointRow readPoint(CDaoDatabase& weather, long index) {
  CDaoRecordset points(&weather);
  points.Open(dbOpenSnapshot, locationQuery(), dbReadOnly);
  points.SetAbsolutePosition(index);
  PointRow row;
  row.code = static_cast<std::uint8_t>(points.GetFieldValue(QStringLiteral("Code")).toLong());
  row.sdate = longOrZero(points.GetFieldValue(QStringLiteral("SDate")));
  row.edate = longOrZero(points.GetFieldValue(QStringLiteral("EDate")));
  points.Close();
  return row;
}

long countPoints(CDaoDatabase& weather) {
  CDaoRecordset points(&weather);
  points.Open(dbOpenSnapshot, locationQuery(), dbReadOnly);
  if (points.IsEOF()) return 0;
  points.MoveLast();
  const long count = points.GetRecordCount();
  points.MoveFirst();
  return count;
}

bool observedOn(const PointRow& row, long today) {
  return row.sdate <= today && (row.edate == 0 || row.edate >= today);
}

// Runs the point loop; the DAO failures go to the caller.
bool fetchObservedPoints(WeatherLibrary& library, const WeatherDatabaseOpener& openWeather,
                         long today, QWidget* owner) {
  const StartDate start = readStartDate(opened(openWeather));
  CDaoDatabase& weather = opened(openWeather);
  const long count = countPoints(weather);
  if (count == 0 &&
      FetchPointData(library, 0, start.year, start.month, start.day, true) < 0)
    return false;
  bool fetched = false;
  for (long i = 0; i < count; ++i) {
    const PointRow row = readPoint(weather, i);
    if (!observedOn(row, today)) continue;
    if (FetchPointData(library, row.code, start.year, start.month, start.day, true) < 0)
      return false;
    fetched = true;
  }
  if (!fetched) CErrMsg().Disp(kMsgNothingFetched, 0, 0, kAppTitle, owner);
  return true;
}

}  // namespace

int Wxfetch6Library::InitWeatherNetwork(int mode) { return ::InitWeatherNetwork(mode); }
int Wxfetch6Library::CreateTable() { return ::CreateTable(); }
int Wxfetch6Library::GetTerra8Data(int kind) { return ::GetTerra8Data(kind); }
int Wxfetch6Library::Get1KmMeshData(int code, int year, int month, int day) {
  return ::Get1KmMeshData(code, year, month, day);
}

int FetchPointData(WeatherLibrary& library, int code, int year, int month, int day, bool init) {
  if (init) {
    if (library.InitWeatherNetwork(0) == 0) return -1;
    if (const int created = library.CreateTable(); created != 0) return created;
    const int terra8 = library.GetTerra8Data(1);
    if (terra8 < 0) return terra8;
    if (code < kFirstMeshPoint || code > kLastMeshPoint) return terra8;
  }
  return library.Get1KmMeshData(code, year, month, day);
}

bool RetrieveWeatherData(WeatherLibrary& library, const WeatherDatabaseOpener& openWeather,
                         long today, QWidget* owner) {
  try {
    return fetchObservedPoints(library, openWeather, today, owner);
  } catch (const CDaoException& failure) {
    CErrMsg().DispDaoErr(failure.errorCode(), owner);
  } catch (const std::bad_alloc&) {
    CErrMsg().Disp(kMsgOutOfMemory, 1, 0, kAppTitle, owner);
  }
  return false;
}

bool runWeatherCommand(const WeatherCommandParts& parts) {
  std::uint32_t network = 0;
  if (!parts.registry.readDword(StartKeys::kBaseInfo, StartKeys::kNetworkSetup, network)) {
    CErrMsg().Disp(kMsgSettingMissing, 1, 0, kAppTitle, parts.owner);
    network = 0;
  }
  if (network == 0) return false;
  const std::unique_ptr<WeatherLink> link = parts.makeLink();
  bool retrieved = false;
  if (link->BeginWeatherLink(parts.owner)) {
    if (parts.showWaiting) parts.showWaiting();
    retrieved = RetrieveWeatherData(parts.library, parts.openWeather, parts.today, parts.owner);
    if (parts.endWaiting) parts.endWaiting();
  }
  link->EndWeatherLink();
  return retrieved;
}

}  // namespace hv6
