#include "install/demo/demodata.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

#include "install/demo/farm.h"
#include "install/demo/farmdiary.h"
#include "install/demo/photos.h"
#include "install/demo/sales.h"
#include "install/demo/season.h"
#include "install/demo/weather.h"
#include "platform/dao/dao.h"
#include "store/schema.h"

namespace hv6::demo {
namespace {

int demoYear(int year) {
  if (year == 0) return QDate::currentDate().year();
  if (year >= kFirstDemoYear && year <= kLastDemoYear) return year;
  throw DemoError(QStringLiteral("The demo year must lie between %1 and %2: %3")
                      .arg(kFirstDemoYear)
                      .arg(kLastDemoYear)
                      .arg(year));
}

void refuseExistingData(const QDir& target) {
  for (const QString& name : {kDiaryFileName, kWeatherFileName}) {
    if (target.exists(name))
      throw DemoError(
          QStringLiteral("The folder already holds data: %1").arg(target.filePath(name)));
  }
}

// The target folder, created when missing; a folder it created and left
// empty is removed again.
class TargetFolder {
 public:
  explicit TargetFolder(const QString& folder)
      : dir_(QDir::cleanPath(QFileInfo(folder).absoluteFilePath())) {
    if (QFileInfo(dir_.path()).isFile())
      throw DemoError(QStringLiteral("Not a folder: %1").arg(dir_.path()));
    refuseExistingData(dir_);
    if (dir_.exists()) return;
    if (!QDir().mkpath(dir_.path()))
      throw DemoError(QStringLiteral("Cannot create the folder %1").arg(dir_.path()));
    created_ = true;
  }
  ~TargetFolder() {
    if (created_ && !kept_) QDir().rmdir(dir_.path());
  }
  TargetFolder(const TargetFolder&) = delete;
  TargetFolder& operator=(const TargetFolder&) = delete;
  const QDir& dir() const { return dir_; }
  void keep() { kept_ = true; }

 private:
  QDir dir_;
  bool created_ = false;
  bool kept_ = false;
};

// A hidden folder inside the target in which the demo is built; removed
// with whatever is left in it.
class StagingFolder {
 public:
  explicit StagingFolder(const QDir& target)
      : dir_(target.filePath(
            QStringLiteral(".demodata-%1.tmp").arg(QUuid::createUuid().toString(QUuid::Id128)))) {
    if (!QDir().mkdir(dir_.path()))
      throw DemoError(QStringLiteral("Cannot create a folder in %1").arg(target.path()));
  }
  ~StagingFolder() { dir_.removeRecursively(); }
  StagingFolder(const StagingFolder&) = delete;
  StagingFolder& operator=(const StagingFolder&) = delete;
  const QDir& dir() const { return dir_; }

 private:
  QDir dir_;
};

long lastBackupOf(int year) { return static_cast<long>(year) * 10000 + 1130; }

void buildDiary(const QDir& staging, const QDir& target, const Season& season, quint32 seed) {
  const QString path = staging.filePath(kDiaryFileName);
  createDiaryDatabase(path, kCurrentEdition, farmInformation());
  CDaoDatabase db;
  db.Open(path);
  DaoTransaction transaction(db);
  writeMasters(db);
  writeFarmSettings(db, lastBackupOf(season.year));
  writeWork(db, season);
  writePlan(db, season);
  writeWeather(db, season.weather);
  writeSales(db, season, seed);
  writePhotos(db, season, seed, staging.path(), target.path());
  transaction.commit();
}

void buildWeather(const QDir& staging, const Season& season) {
  const QString path = staging.filePath(kWeatherFileName);
  createWeatherDatabase(path);
  CDaoDatabase db;
  db.Open(path);
  DaoTransaction transaction(db);
  writeWeather(db, season.weather);
  writeWeatherItems(db, season.year);
  writeObservationPoints(db, season.year);
  transaction.commit();
}

// Moves the built entries into the target in order; when one cannot be
// moved, the ones already moved go back.
void publish(const QDir& staging, const QDir& target, const QStringList& names) {
  for (const QString& name : names) {
    if (target.exists(name))
      throw DemoError(QStringLiteral("The folder already holds %1").arg(target.filePath(name)));
  }
  QStringList moved;
  for (const QString& name : names) {
    if (QDir().rename(staging.filePath(name), target.filePath(name))) {
      moved.append(name);
      continue;
    }
    for (const QString& back : moved) QDir().rename(target.filePath(back), staging.filePath(back));
    throw DemoError(QStringLiteral("Cannot move %1 into %2").arg(name, target.path()));
  }
}

void generate(const QString& folder, const DemoOptions& options) {
  const int year = demoYear(options.year);
  if (folder.isEmpty()) throw DemoError(QStringLiteral("No folder given for the demo data"));
  TargetFolder target(folder);
  StagingFolder staging(target.dir());
  const Season season = buildSeason(year, options.seed);
  buildDiary(staging.dir(), target.dir(), season, options.seed);
  buildWeather(staging.dir(), season);
  QStringList names{kPhotoFolderName};
  names += writeFarmDiary(season, options.seed, staging.dir().path());
  writeFieldMap(staging.dir().path());
  names << kFieldMapFileName << kWeatherFileName << kDiaryFileName;
  publish(staging.dir(), target.dir(), names);
  target.keep();
}

void report(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

}  // namespace

bool generateDemoData(const QString& folder, const DemoOptions& options, QString* error) {
  try {
    generate(folder, options);
    return true;
  } catch (const DemoError& e) {
    report(error, e.text());
  } catch (const CDaoException& e) {
    report(error, QStringLiteral("Database error %1: %2").arg(e.errorCode()).arg(e.description()));
  }
  return false;
}

}  // namespace hv6::demo
