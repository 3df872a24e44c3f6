// The weather library's work for one point and one year: the service's
// answer (365 days of daily values, 8,760 hourly codes) parsed and stored
// with the diary's pictures and LastUpdate in one transaction, against
// inserting the same rows with plain prepared statements.
#include "outside/wxfetch6/response.h"
#include "outside/wxfetch6/storage.h"
#include "outside/wxfetch6/weathercodes.h"
#include "platform/dao/dao.h"
#include "store/schema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

const QDate kFirstDay(2023, 1, 1);
constexpr int kDays = 365;
const QDate kToday = kFirstDay.addDays(kDays);
constexpr long kPoint = 1;

// An archive answer of the service for the year, values varying by day.
QByteArray yearAnswer() {
  static const int codes[] = {0, 1, 2, 3, 45, 51, 61, 63, 65, 71, 80, 95};
  QJsonArray days, weather, tmax, tmin, tmean, rain, sun, hours, hourly;
  for (int d = 0; d < kDays; ++d) {
    const QDate day = kFirstDay.addDays(d);
    days.append(day.toString(Qt::ISODate));
    weather.append(codes[d % 12]);
    tmax.append(10.0 + d % 25 * 0.7);
    tmin.append(d % 9 == 0 ? QJsonValue() : QJsonValue(-2.0 + d % 17 * 0.5));
    tmean.append(5.0 + d % 21 * 0.4);
    rain.append(d % 5 * 1.3);
    sun.append(d % 13 * 1800.0);
    for (int h = 0; h < 24; ++h) {
      hours.append(QStringLiteral("%1T%2:00").arg(day.toString(Qt::ISODate)).arg(h, 2, 10, QLatin1Char('0')));
      hourly.append(codes[(d + h / 4) % 12]);
    }
  }
  QJsonObject daily{{QStringLiteral("time"), days},
                    {QStringLiteral("weather_code"), weather},
                    {QStringLiteral("temperature_2m_max"), tmax},
                    {QStringLiteral("temperature_2m_min"), tmin},
                    {QStringLiteral("temperature_2m_mean"), tmean},
                    {QStringLiteral("precipitation_sum"), rain},
                    {QStringLiteral("sunshine_duration"), sun}};
  QJsonObject root{{QStringLiteral("latitude"), 39.28},
                   {QStringLiteral("longitude"), 141.12},
                   {QStringLiteral("timezone"), QStringLiteral("Asia/Tokyo")},
                   {QStringLiteral("daily"), daily},
                   {QStringLiteral("hourly"), QJsonObject{{QStringLiteral("time"), hours},
                                                          {QStringLiteral("weather_code"), hourly}}}};
  return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// Both databases of a data folder with an Item row and the point.
struct Farm {
  QTemporaryDir folder;
  CDaoDatabase weather;
  CDaoDatabase diary;
  QByteArray answer = yearAnswer();
  hv6::wxfetch::DayMap days;  // the answer parsed, for the baseline's rows

  Farm() {
    hv6::createWeatherDatabase(weatherPath());
    hv6::createDiaryDatabase(diaryPath());
    weather.Open(weatherPath());
    diary.Open(diaryPath());
    weather.Execute(QStringLiteral("INSERT INTO Item (LastUpdate, DataSpecies, Type) VALUES (?, 0, 1)"),
                    {COleVariant(QDateTime(kFirstDay, QTime(0, 0)))});
    weather.Execute(QStringLiteral("INSERT INTO Location (Code, SDate) VALUES (1, 20230101)"));
    hv6::wxfetch::parseServiceResponse(answer, days);
  }
  QString weatherPath() const { return folder.filePath(hv6::kWeatherFileName); }
  QString diaryPath() const { return folder.filePath(hv6::kDiaryFileName); }
};

Farm& farm() {
  static std::unique_ptr<Farm> shared = std::make_unique<Farm>();
  return *shared;
}

QVariant orNull(const std::optional<double>& value) { return value ? QVariant(*value) : QVariant(); }
QVariant orNull(const std::optional<int>& value) { return value ? QVariant(*value) : QVariant(); }
long dayNumber(const QDate& day) { return day.year() * 10000L + day.month() * 100L + day.day(); }

void BM_ParseAndStoreYear(benchmark::State& state) {
  Farm& f = farm();
  for (auto _ : state) {
    hv6::wxfetch::DayMap days;
    if (hv6::wxfetch::parseServiceResponse(f.answer, days).status != hv6::wxfetch::ParseStatus::Ok)
      std::fprintf(stderr, "the answer did not parse\n");
    const int stored =
        hv6::wxfetch::storePointDays(f.weather, {kPoint, f.diaryPath()}, days, kToday);
    benchmark::DoNotOptimize(stored);
  }
  state.SetItemsProcessed(state.iterations() * kDays);
}
BENCHMARK(BM_ParseAndStoreYear)->Unit(benchmark::kMillisecond);

void BM_ParseYear(benchmark::State& state) {
  Farm& f = farm();
  for (auto _ : state) {
    hv6::wxfetch::DayMap days;
    hv6::wxfetch::parseServiceResponse(f.answer, days);
    benchmark::DoNotOptimize(days.size());
  }
}
BENCHMARK(BM_ParseYear)->Unit(benchmark::kMillisecond);

// The baseline: the same rows already in hand, inserted with one prepared
// statement per table in one transaction per file (the tables emptied first
// so every round writes the same).
void BM_PlainInsertYear(benchmark::State& state) {
  Farm& f = farm();
  for (auto _ : state) {
    {
      DaoTransaction transaction(f.weather);
      QSqlQuery clear(f.weather.connection());
      clear.exec(QStringLiteral("DELETE FROM MeshWeather"));
      QSqlQuery insert(f.weather.connection());
      insert.prepare(QStringLiteral(
          "INSERT INTO MeshWeather (Location, Date, TempMax, TempMin, TempMean, Precipitation, "
          "Sunshine, WeatherCode, Morning, Afternoon, Night) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
      for (const auto& [day, v] : f.days) {
        const QVariant values[] = {QVariant(qlonglong(kPoint)), QVariant(qlonglong(dayNumber(day))),
                                   orNull(v.tempMax), orNull(v.tempMin), orNull(v.tempMean),
                                   orNull(v.precipitation), orNull(v.sunshineHours),
                                   orNull(v.weatherCode), orNull(v.periods[0]),
                                   orNull(v.periods[1]), orNull(v.periods[2])};
        for (int i = 0; i < 11; ++i) insert.bindValue(i, values[i]);
        if (!insert.exec()) std::fprintf(stderr, "insert failed\n");
      }
      transaction.commit();
    }
    DaoTransaction transaction(f.diary);
    QSqlQuery clear(f.diary.connection());
    clear.exec(QStringLiteral("DELETE FROM Weather"));
    QSqlQuery insert(f.diary.connection());
    insert.prepare(QStringLiteral("INSERT INTO Weather (Date, Item1, Item2, Item3) VALUES (?, ?, ?, ?)"));
    for (const auto& [day, v] : f.days) {
      insert.bindValue(0, QVariant(qlonglong(dayNumber(day))));
      for (int part = 0; part < 3; ++part) {
        const auto& code = v.periods[static_cast<std::size_t>(part)];
        insert.bindValue(part + 1, code ? orNull(hv6::wxfetch::pictureOfWmo(*code)) : QVariant());
      }
      if (!insert.exec()) std::fprintf(stderr, "insert failed\n");
    }
    transaction.commit();
  }
  state.SetItemsProcessed(state.iterations() * kDays);
}
BENCHMARK(BM_PlainInsertYear)->Unit(benchmark::kMillisecond);

}  // namespace
