// One month of the work-diary category through each diary mode's filler,
// against a plain QSqlQuery that reads the same month's rows from the same
// file: 20,000 WDiary rows in the month, 1,000 rows in every master.
#include "calendar/diaryfill.h"
#include "platform/dao/dao.h"
#include "store/schema.h"

#include <QDate>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kDiaryRows = 20000;
constexpr int kMasterRows = 1000;
constexpr int kYear = 2020;
constexpr int kMonth = 6;
constexpr long kBase = kYear * 10000L + kMonth * 100L;

const char* const kMasters[] = {"CropMst",      "JobMst",       "FarmerMst",    "MachineMst",
                                "FieldMst",     "FertilizerMst", "MaterialMst1", "MaterialMst2",
                                "MaterialMst3", "MaterialMst4", "MaterialMst5"};

void exec(QSqlQuery& query) {
  if (!query.exec()) std::fprintf(stderr, "insert failed\n");
}

void fillMasters(CDaoDatabase& db) {
  for (const char* table : kMasters) {
    QSqlQuery insert(db.connection());
    insert.prepare(QStringLiteral("INSERT INTO %1 (Code, Scode, Name, Use) VALUES (?, ?, ?, 0)")
                       .arg(QString::fromLatin1(table)));
    for (int code = 1; code <= kMasterRows; ++code) {
      insert.bindValue(0, code);
      insert.bindValue(1, code * 10);
      insert.bindValue(2, QStringLiteral("名前%1").arg(code));
      exec(insert);
    }
  }
  db.Execute(QStringLiteral("UPDATE JobMst SET MileStone = 1 WHERE Code % 10 = 0"));
}

// Every row has every code; the material column is the one of its Kind.
void fillMonth(CDaoDatabase& db) {
  QSqlQuery insert(db.connection());
  insert.prepare(QStringLiteral(
      "INSERT INTO WDiary (Date, CropCode, JobCode, FieldCode, FarmerCode, MachineCode, "
      "WorkFactTime, McnFactTime, TotalArea, Kind, FrzCode, Mte1Code, Mte2Code, Mte3Code, "
      "Mte4Code, Mte5Code, Quantity) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
  const QDate first(kYear, kMonth, 1);
  for (int i = 0; i < kDiaryRows; ++i) {
    const QDate day = first.addDays(i % first.daysInMonth());
    const int code = i % kMasterRows + 1;
    const int kind = i % 6;
    insert.bindValue(0, COleVariant(QDateTime(day, QTime(0, 0))).toQVariant());
    for (int column = 1; column <= 5; ++column) insert.bindValue(column, code);
    insert.bindValue(6, 100 + i % 830);
    insert.bindValue(7, i % 400);
    insert.bindValue(8, i % 1000);
    insert.bindValue(9, kind);
    for (int material = 0; material < 6; ++material)
      insert.bindValue(10 + material, material == kind ? QVariant(code) : QVariant());
    insert.bindValue(16, 1.25 * (i % 7));
    exec(insert);
  }
}

// The database, made on first use and kept for the whole run.
struct MonthDatabase {
  QTemporaryDir folder;
  CDaoDatabase db;

  MonthDatabase() {
    const QString path = folder.filePath(hv6::kDiaryFileName);
    hv6::createDiaryDatabase(path);
    db.Open(path);
    DaoTransaction transaction(db);
    fillMasters(db);
    fillMonth(db);
    transaction.commit();
  }
};

CDaoDatabase& monthDatabase() {
  static MonthDatabase month;
  return month.db;
}

class CountingSink final : public hv6::CalendarSink {
 public:
  long lines = 0;
  void addMemo(long, long, const QString&, unsigned long) override { ++lines; }
  void delMemo(long, const QString&) override {}
  void setWeatherItems(long, long, long, long, long) override {}
  void delWeatherItems(long) override {}
  void setMark(long, long) override {}
  void delMark(long) override {}
  void compulsoryRedraw() override {}
};

class SilentMeter final : public hv6::CalendarMeter {
 public:
  void start(const QString&) override {}
  void set(int) override {}
  void end() override {}
};

void BM_DiaryModeMonth(benchmark::State& state) {
  CDaoDatabase& db = monthDatabase();
  const int mode = static_cast<int>(state.range(0));
  long lines = 0;
  for (auto _ : state) {
    CountingSink sink;
    SilentMeter meter;
    hv6::MemoList memos;
    hv6::fillDiary(db, mode, kBase, sink, memos, meter);
    lines = sink.lines;
    benchmark::DoNotOptimize(memos.size());
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_DiaryModeMonth)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

// The month's rows with a code and a value column, as a mode reads them.
void BM_PlainQueryDiaryMonth(benchmark::State& state) {
  CDaoDatabase& db = monthDatabase();
  const QDate first(kYear, kMonth, 1);
  QSqlQuery query(db.connection());
  query.setForwardOnly(true);
  query.prepare(QStringLiteral(
      "SELECT Date, CropCode, WorkFactTime FROM WDiary WHERE Date BETWEEN ? AND ?"));
  query.bindValue(0, COleVariant(QDateTime(first, QTime(0, 0))).toQVariant());
  query.bindValue(1, COleVariant(QDateTime(first.addDays(first.daysInMonth() - 1), QTime(23, 59)))
                         .toQVariant());
  long rows = 0;
  for (auto _ : state) {
    query.exec();
    rows = 0;
    long sum = 0;
    while (query.next()) {
      sum += query.value(1).toInt() + query.value(2).toInt() + query.value(0).toString().size();
      ++rows;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_PlainQueryDiaryMonth)->Unit(benchmark::kMillisecond);

}  // namespace
