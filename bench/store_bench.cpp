// Loading one month of the work diary through CDataSet, against a plain
// QSqlQuery that reads the same rows and columns from the same file.
#include "platform/dao/dao.h"
#include "store/dataset.h"
#include "store/schema.h"

#include <QApplication>
#include <QDate>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kYears = 10;
const QDate kFirstDay(2015, 1, 1);
constexpr long kMonth = 6;
constexpr long kYear = 2020;

CDaoDatabase* gDiary = nullptr;

// kRows diary rows spread evenly over kYears years, every column filled.
void fillWorkDiary(CDaoDatabase& db) {
  const qint64 days = kFirstDay.daysTo(kFirstDay.addYears(kYears));
  DaoTransaction transaction(db);
  QSqlQuery insert(db.connection());
  insert.prepare(QStringLiteral(
      "INSERT INTO WDiary (Date, CropCode, JobCode, FieldCode, FarmerCode, MachineCode, "
      "WorkFactTime, McnFactTime, TotalArea, Kind, FrzCode, Quantity, Dilute) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  for (int i = 0; i < kRows; ++i) {
    const QDate day = kFirstDay.addDays(i * days / kRows);
    const QList<QVariant> values{COleVariant(QDateTime(day, QTime(0, 0))).toQVariant(),
                                 i % 7 + 1, i % 50 + 1, i % 30 + 1, i % 5 + 1, i % 4 + 1,
                                 i % 800, i % 400, i % 1000, 0, i % 20 + 1, 1.25,
                                 QStringLiteral("1000倍")};
    for (int v = 0; v < values.size(); ++v) insert.bindValue(v, values.at(v));
    if (!insert.exec()) std::fprintf(stderr, "insert failed\n");
  }
  transaction.commit();
}

QString monthCondition() {
  const long last = QDate(static_cast<int>(kYear), static_cast<int>(kMonth), 1).daysInMonth();
  return QString::asprintf("Date BETWEEN #%ld/1/%ld# AND #%ld/%ld/%ld#", kMonth, kYear, kMonth,
                           last, kYear);
}

void BM_DataSetMonth(benchmark::State& state) {
  const QString condition = monthCondition();
  for (auto _ : state) {
    CDataSet set(gDiary, QStringLiteral("WDiary"),
                 DS1_DATETIME | DS1_JOBCODE | DS1_WORKFACTTIME | DS1_TOTALAREA, 0, condition);
    benchmark::DoNotOptimize(set.GetCount());
  }
}
BENCHMARK(BM_DataSetMonth)->Unit(benchmark::kMicrosecond);

long yyyymmdd(const QString& stored) {
  const QDate day = QDate::fromString(stored.left(10), Qt::ISODate);
  return day.year() * 10000L + day.month() * 100L + day.day();
}

void BM_PlainQueryMonth(benchmark::State& state) {
  const QDate first(static_cast<int>(kYear), static_cast<int>(kMonth), 1);
  QSqlQuery query(gDiary->connection());
  query.setForwardOnly(true);
  query.prepare(QStringLiteral(
      "SELECT Date, JobCode, WorkFactTime, TotalArea FROM WDiary WHERE Date BETWEEN ? AND ?"));
  query.bindValue(0, COleVariant(QDateTime(first, QTime(0, 0))).toQVariant());
  query.bindValue(1, COleVariant(QDateTime(first.addDays(first.daysInMonth() - 1), QTime(0, 0)))
                         .toQVariant());
  for (auto _ : state) {
    std::vector<long> dates, jobs, times, areas;
    query.exec();
    while (query.next()) {
      dates.push_back(yyyymmdd(query.value(0).toString()));
      jobs.push_back(query.value(1).isNull() ? -1 : query.value(1).toInt());
      times.push_back(query.value(2).toInt());
      areas.push_back(query.value(3).toInt());
    }
    benchmark::DoNotOptimize(dates.size());
  }
}
BENCHMARK(BM_PlainQueryMonth)->Unit(benchmark::kMicrosecond);

}  // namespace

// One program for all benchmarks: a widget application (offscreen unless a
// platform is chosen) because the calendar benchmarks paint.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir folder;
  const QString path = folder.filePath(hv6::kDiaryFileName);
  hv6::createDiaryDatabase(path);
  CDaoDatabase diary;
  diary.Open(path);
  fillWorkDiary(diary);
  gDiary = &diary;

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gDiary = nullptr;
  diary.Close();
  return 0;
}
