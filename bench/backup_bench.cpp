// Backup and restore of a large data folder (100,000 WDiary rows, 365
// farm-diary pages, 500 pictures of 3 MB) against tar of the same files in
// the same run: tar -cf for the backup, tar -xf into an empty folder for
// the restore. The backup and the restore sync what they write before they
// report it done (a backup is for the day the disk fails); tar does not, so
// a second baseline is tar followed by "sync" of what it wrote. The data
// is made once before the timed runs, in a temporary
// folder (HV6_BENCH_DIR or the system's) that is removed at the end.
//
//   hv6_backup_bench [--benchmark_filter=...]
#include "platform/dao/dao.h"
#include "store/schema.h"
#include "tools/backup/backup.h"
#include "tools/backup/restore.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>

namespace {

constexpr int kDiaryRows = 100000;
constexpr int kFarmDiaryPages = 365;
constexpr int kPictures = 500;
constexpr qint64 kPictureBytes = 3 * 1024 * 1024;
constexpr long kDate = 20250401;

struct BenchData {
  std::unique_ptr<QTemporaryDir> root;
  QString data;      // the data folder
  QString pictures;  // the pictures' folder, outside the data folder
  QString backup;    // a backup of the data, for the restore runs
  qint64 bytes = 0;  // the size of all files
  hv6::backup::DataPaths paths() const {
    return {QDir(data).filePath(hv6::kDiaryFileName), QDir(data).filePath(hv6::kWeatherFileName)};
  }
};

BenchData* gData = nullptr;

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool fill(BenchData& d) {
  const QString base = qEnvironmentVariableIsSet("HV6_BENCH_DIR") ? qEnvironmentVariable("HV6_BENCH_DIR")
                                                                  : QDir::tempPath();
  d.root = std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("hv6-backup-bench-XXXXXX")));
  if (!d.root->isValid()) return false;
  d.data = d.root->filePath(QStringLiteral("data"));
  d.pictures = d.root->filePath(QStringLiteral("pictures"));
  QDir().mkpath(d.data);
  QDir().mkpath(d.pictures);
  const auto paths = d.paths();
  hv6::createDiaryDatabase(paths.diary);
  hv6::createWeatherDatabase(paths.weather);
  CDaoDatabase db;
  db.Open(paths.diary);
  {
    DaoTransaction transaction(db);
    QSqlQuery insert(db.connection());
    insert.prepare(QStringLiteral(
        "INSERT INTO WDiary (Date, CropCode, JobCode, FieldCode, FarmerCode, WorkFactTime, "
        "McnFactTime, TotalArea, Quantity) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QDate first(2016, 1, 1);
    for (int i = 0; i < kDiaryRows; ++i) {
      const QVariant day = COleVariant(QDateTime(first.addDays(i / 30), QTime(0, 0))).toQVariant();
      const QList<QVariant> values{day, i % 7 + 1, i % 50 + 1, i % 30 + 1, i % 5 + 1,
                                   i % 800, i % 400, i % 1000, 1.25 * (i % 17)};
      for (int v = 0; v < values.size(); ++v) insert.bindValue(v, values.at(v));
      if (!insert.exec()) return false;
    }
    std::mt19937_64 random(16);
    QByteArray picture(kPictureBytes, Qt::Uninitialized);
    QSqlQuery link(db.connection());
    link.prepare(QStringLiteral("INSERT INTO PictureLink (PhotoDate, Path, Title) VALUES (?, ?, ?)"));
    for (int p = 0; p < kPictures; ++p) {
      // Random bytes: as little compressible as a JPEG.
      auto* words = reinterpret_cast<quint64*>(picture.data());
      for (qint64 w = 0; w < kPictureBytes / 8; ++w) words[w] = random();
      const QString path = QDir(d.pictures).filePath(QStringLiteral("IMG_%1.jpg").arg(p, 4, 10, QLatin1Char('0')));
      if (!writeFile(path, picture)) return false;
      for (const QVariant& v : QList<QVariant>{20250101 + p % 28, path, QStringLiteral("写真")})
        link.addBindValue(v);
      if (!link.exec()) return false;
    }
    transaction.commit();
  }
  db.Close();
  const QDate day(2024, 1, 1);
  for (int i = 0; i < kFarmDiaryPages; ++i) {
    QByteArray page = "{\\rtf1\\ansi\\ansicpg932 ";
    while (page.size() < 3000) page += "\\'8d\\'a1\\'93\\'fa\\'82\\'cd\\'90\\'b0\\'82\\'ea. ";
    page += "}";
    if (!writeFile(QDir(d.data).filePath(day.addDays(i).toString(QStringLiteral("yyyyMMdd")) + ".rtf"), page))
      return false;
  }
  for (const QString& folder : {d.data, d.pictures})
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files)) d.bytes += f.size();
  d.backup = d.root->filePath(QStringLiteral("restore-source.hv6bak"));
  return hv6::backup::writeBackup(d.paths(), d.backup, kDate).message == hv6::backup::kDone;
}

bool runTar(const QStringList& arguments) {
  QProcess tar;
  tar.start(QStringLiteral("tar"), arguments);
  return tar.waitForFinished(-1) && tar.exitStatus() == QProcess::NormalExit && tar.exitCode() == 0;
}

void BM_Backup(benchmark::State& state) {
  const QString target = gData->root->filePath(QStringLiteral("timed.hv6bak"));
  for (auto _ : state) {
    if (hv6::backup::writeBackup(gData->paths(), target, kDate).message != hv6::backup::kDone)
      state.SkipWithError("backup failed");
    state.PauseTiming();
    QFile::remove(target);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * gData->bytes);
}

bool runSync(const QStringList& arguments) {
  QProcess sync;
  sync.start(QStringLiteral("sync"), arguments);
  return sync.waitForFinished(-1) && sync.exitCode() == 0;
}

// state.range(0): 1 = sync the archive after tar.
void BM_TarCreate(benchmark::State& state) {
  const QString target = gData->root->filePath(QStringLiteral("timed.tar"));
  for (auto _ : state) {
    if (!runTar({QStringLiteral("-cf"), target, QStringLiteral("-C"), gData->root->path(),
                 QStringLiteral("data"), QStringLiteral("pictures")}))
      state.SkipWithError("tar failed");
    if (state.range(0) == 1 && !runSync({target})) state.SkipWithError("sync failed");
    state.PauseTiming();
    QFile::remove(target);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * gData->bytes);
}

// Every run restores all: the pictures' folder is emptied first, so their
// files are written again as tar writes them.
void BM_Restore(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    QDir(gData->pictures).removeRecursively();
    state.ResumeTiming();
    const auto result = hv6::backup::restoreBackup(gData->backup, gData->paths());
    if (result.message != hv6::backup::kDone) state.SkipWithError("restore failed");
    state.PauseTiming();
    QDir(result.safetyCopy).removeRecursively();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * gData->bytes);
}

// state.range(0): 1 = sync the extracted files' file system after tar.
void BM_TarExtract(benchmark::State& state) {
  const QString archive = gData->root->filePath(QStringLiteral("restore-source.tar"));
  const QString into = gData->root->filePath(QStringLiteral("extracted"));
  if (!runTar({QStringLiteral("-cf"), archive, QStringLiteral("-C"), gData->root->path(),
               QStringLiteral("data"), QStringLiteral("pictures")}))
    state.SkipWithError("tar failed");
  for (auto _ : state) {
    state.PauseTiming();
    QDir(into).removeRecursively();
    QDir().mkpath(into);
    state.ResumeTiming();
    if (!runTar({QStringLiteral("-xf"), archive, QStringLiteral("-C"), into})) state.SkipWithError("tar failed");
    if (state.range(0) == 1 && !runSync({QStringLiteral("-f"), into})) state.SkipWithError("sync failed");
  }
  QDir(into).removeRecursively();
  QFile::remove(archive);
  state.SetBytesProcessed(state.iterations() * gData->bytes);
}

BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_TarCreate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_TarExtract)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  BenchData data;
  std::fputs("making the data folder (not timed)...\n", stderr);
  if (!fill(data)) {
    std::fputs("the benchmark's data could not be made\n", stderr);
    return 1;
  }
  gData = &data;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gData = nullptr;
  return 0;
}
