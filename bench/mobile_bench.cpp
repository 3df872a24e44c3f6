// The mobile import of 10,000 record lines into a diary of 100,000 WDiary
// rows with 1,000 rows in each master, against a plain bulk insert of the
// same rows (one prepared INSERT in one transaction) into the same diary.
// Each iteration starts from a copy of the same file.
#include "mobile/import.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "store/schema.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kDiaryRows = 100000;
constexpr int kMasterRows = 1000;
constexpr int kRecords = 10000;
const QDate kFirstDay(2015, 1, 1);
constexpr int kDays = 3650;

const QStringList kMasters{QStringLiteral("CropMst"),      QStringLiteral("JobMst"),
                           QStringLiteral("FieldMst"),     QStringLiteral("FarmerMst"),
                           QStringLiteral("MachineMst"),   QStringLiteral("FertilizerMst"),
                           QStringLiteral("MaterialMst1"), QStringLiteral("MaterialMst2"),
                           QStringLiteral("MaterialMst3"), QStringLiteral("MaterialMst4"),
                           QStringLiteral("MaterialMst5")};

// Master row k (1..1000) has Code k and the user number 5000 + 7k.
long userNumber(long code) { return 5000 + 7 * code; }

QVariant dayValue(const QDate& day) { return COleVariant(QDateTime(day, QTime(0, 0))).toQVariant(); }

void exec(QSqlQuery& query) {
  if (!query.exec()) std::fprintf(stderr, "statement failed\n");
}

// One imported record: its line and the row it becomes.
struct Record {
  QByteArray line;
  QList<QVariant> row;  // the columns of kRowColumns
};

const QString kRowColumns = QStringLiteral(
    "Date, CropCode, JobCode, FieldCode, FarmerCode, MachineCode, WorkFactTime, RestFactTime, "
    "WorkStartTime, WorkEndTime, RestStartTime, RestEndTime, McnFactTime, MRestFactTime, "
    "McnStartTime, McnEndTime, TotalArea, LightOil, Kind, FrzCode, Mte1Code, Mte2Code, Mte3Code, "
    "Mte4Code, Mte5Code, Quantity, Dilute, Vermin, Scatter");
constexpr int kRowColumnCount = 29;

// Records whose masters (codes 501..1000) no existing row uses, so every
// line is stored.
Record record(int i) {
  const QDate day = kFirstDay.addDays(static_cast<qint64>(i) * kDays / kRecords);
  const long crop = 501 + i % 500;
  const long job = 501 + (i * 7) % 500;
  const long field = 501 + (i * 11) % 500;
  const long farmer = 501 + (i * 13) % 500;
  const long machine = 501 + (i * 17) % 500;
  const int kind = i % 6;
  const long material = 501 + (i * 19) % 500;
  const QString line =
      QStringLiteral("%1,%2,%3,%4,%5,%6,2:30,0:45,8:00,17:15,12:00,12:45,1.25,0,8:30,11:30,,,"
                     "12.5,3.2,%7,%8,2.5,\"1000倍\",\"アブラムシ\",\"100L/10a\",\"\",\"\",\"\",")
          .arg(day.toString(QStringLiteral("yyyy/MM/dd")))
          .arg(userNumber(crop))
          .arg(userNumber(job))
          .arg(userNumber(field))
          .arg(userNumber(farmer))
          .arg(userNumber(machine))
          .arg(kind + 6)
          .arg(userNumber(material));
  QList<QVariant> row{dayValue(day), qlonglong(crop), qlonglong(job), qlonglong(field),
                      qlonglong(farmer), qlonglong(machine), 230, 45, 800, 1715,
                      1200, 1245, 115, QVariant(), 830, 1130, 125, 32, kind};
  for (int c = 0; c <= 5; ++c) row.append(c == kind ? QVariant(qlonglong(material)) : QVariant());
  row << 2.5 << QStringLiteral("1000倍") << QStringLiteral("アブラムシ") << QStringLiteral("100L/10a");
  return {hv6::cp932::encode(line), row};
}

struct Fixture {
  QTemporaryDir dir;
  QString templatePath = dir.filePath(QStringLiteral("template.HV6"));
  QString downloadPath = dir.filePath(QStringLiteral("IWD0001.tmp"));
  QList<Record> records;

  Fixture() {
    hv6::createDiaryDatabase(templatePath);
    CDaoDatabase db;
    db.Open(templatePath);
    DaoTransaction transaction(db);
    for (const QString& table : kMasters) {
      QSqlQuery insert(db.connection());
      insert.prepare(QStringLiteral("INSERT INTO %1 (Code, Scode, Name, Use) VALUES (?, ?, ?, 0)")
                         .arg(table));
      for (long code = 1; code <= kMasterRows; ++code) {
        insert.bindValue(0, qlonglong(code));
        insert.bindValue(1, qlonglong(userNumber(code)));
        insert.bindValue(2, QStringLiteral("%1 %2").arg(table).arg(code));
        exec(insert);
      }
    }
    // Existing rows use the masters 1..500 over ten years.
    QSqlQuery insert(db.connection());
    insert.prepare(QStringLiteral(
        "INSERT INTO WDiary (Date, CropCode, JobCode, FieldCode, FarmerCode, MachineCode, "
        "WorkFactTime, TotalArea, Kind, FrzCode, Quantity, Dilute) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0, ?, 1.5, '1000倍')"));
    for (int i = 0; i < kDiaryRows; ++i) {
      const QList<QVariant> values{dayValue(kFirstDay.addDays(static_cast<qint64>(i) * kDays / kDiaryRows)),
                                   i % 500 + 1, (i * 3) % 500 + 1, (i * 7) % 500 + 1,
                                   i % 20 + 1, i % 10 + 1, 200 + i % 600, i % 1000,
                                   (i * 11) % 500 + 1};
      for (int v = 0; v < values.size(); ++v) insert.bindValue(v, values.at(v));
      exec(insert);
    }
    transaction.commit();
    db.Close();

    QByteArray download = QByteArray::number(kRecords) + ",\n";
    for (int i = 0; i < kRecords; ++i) {
      records.append(record(i));
      download += records.last().line + '\n';
    }
    QFile file(downloadPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(download) != download.size())
      std::fprintf(stderr, "cannot write the download file\n");
  }

  // A fresh copy of the diary for one iteration.
  QString freshDiary() {
    const QString path = dir.filePath(QStringLiteral("diary.HV6"));
    QFile::remove(path);
    if (!QFile::copy(templatePath, path)) std::fprintf(stderr, "cannot copy the diary\n");
    return path;
  }
};

Fixture& fixture() {
  static Fixture instance;
  return instance;
}

void BM_MobileImport(benchmark::State& state) {
  Fixture& data = fixture();
  const QString log = data.dir.filePath(QStringLiteral("import.log"));
  long stored = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CDaoDatabase diary;
    diary.Open(data.freshDiary());
    state.ResumeTiming();
    const hv6::MobileImportResult result =
        hv6::importMobileRecords(diary, data.downloadPath, log, QStringList(5, QString()));
    stored = result.stored;
    state.PauseTiming();
    diary.Close();
    state.ResumeTiming();
  }
  if (stored != kRecords) state.SkipWithError("not every record was stored");
  state.counters["records"] = static_cast<double>(stored);
}
BENCHMARK(BM_MobileImport)->Unit(benchmark::kMillisecond)->Iterations(5);

// The baseline: the same rows, already converted, in one prepared INSERT.
void BM_BulkInsertSameRows(benchmark::State& state) {
  Fixture& data = fixture();
  for (auto _ : state) {
    state.PauseTiming();
    CDaoDatabase diary;
    diary.Open(data.freshDiary());
    state.ResumeTiming();
    {
      DaoTransaction transaction(diary);
      QSqlQuery insert(diary.connection());
      QStringList marks;
      for (int i = 0; i < kRowColumnCount; ++i) marks.append(QStringLiteral("?"));
      insert.prepare(QStringLiteral("INSERT INTO WDiary (%1) VALUES (%2)")
                         .arg(kRowColumns, marks.join(QLatin1Char(','))));
      for (const Record& r : data.records) {
        for (int v = 0; v < r.row.size(); ++v) insert.bindValue(v, r.row.at(v));
        exec(insert);
      }
      transaction.commit();
    }
    state.PauseTiming();
    diary.Close();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BulkInsertSameRows)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
