#include "tools/backup/backup.h"

#include "platform/dao/dao.h"
#include "store/datafolder.h"
#include "store/schema.h"
#include "tools/backup/archive.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

namespace hv6::backup {
namespace {

struct Source {
  QString path;
  QString entry;
  FileKind kind;
  QString originalPath;
  qint64 size = 0;
};

long messageForDao(const CDaoException& e) {
  return e.errorCode() == kJetDiskFull ? kMsgDiskFull : kMsgCannotReadData;
}

long messageForArchive(ArchiveFault fault) {
  switch (fault) {
    case ArchiveFault::DiskFull: return kMsgDiskFull;
    case ArchiveFault::Cancelled: return kCancelled;
    case ArchiveFault::Read: return kMsgCannotReadData;
    default: return kMsgCannotWrite;
  }
}

QVariant single(CDaoDatabase& db, const QString& sql) {
  QSqlQuery query = db.runSql(sql);
  return query.next() ? query.value(0) : QVariant();
}

// Sets Information.LastBackup, remembering the value it had.
class LastBackupMark {
 public:
  explicit LastBackupMark(CDaoDatabase& db) : db_(db) {}
  bool set(long date) {
    try {
      previous_ = single(db_, QStringLiteral("SELECT LastBackup FROM Information LIMIT 1"));
      db_.Execute(QStringLiteral("UPDATE Information SET LastBackup = ?"), {COleVariant(qint32(date))});
      set_ = db_.GetRecordsAffected() > 0;
    } catch (const CDaoException&) {
      set_ = false;
    }
    return set_;
  }
  void undo() {
    if (!set_) return;
    try {
      const COleVariant old = previous_.isNull() ? COleVariant() : COleVariant(qint32(previous_.toInt()));
      db_.Execute(QStringLiteral("UPDATE Information SET LastBackup = ?"), {old});
    } catch (const CDaoException&) {
    }
    set_ = false;
  }
  void keep() { set_ = false; }

 private:
  CDaoDatabase& db_;
  QVariant previous_;
  bool set_ = false;
};

}  // namespace

long today() {
  const QDate d = QDate::currentDate();
  return long(d.year()) * 10000 + d.month() * 100 + d.day();
}

QStringList farmDiaryFiles(const QString& folder) {
  QStringList names;
  const QStringList all = QDir(folder).entryList(QDir::Files, QDir::Name);
  for (const QString& name : all)
    if (isFarmDiaryFileName(name)) names.append(name);
  return names;
}

BackupResult writeBackup(const DataPaths& paths, const QString& target, long date,
                         const ProgressFunction& progress) {
  BackupResult result;
  const auto failed = [&result](long message, const QString& detail) {
    result.message = message;
    result.detail = detail;
    return result;
  };
  const QString dataFolder = dataFolderOf(paths.diary);
  if (paths.diary.isEmpty() || !QFileInfo(paths.diary).isFile())
    return failed(kMsgNoDataFolder, paths.diary);
  const QFileInfo targetInfo(target);
  if (target.isEmpty() || !targetInfo.absoluteDir().exists() || targetInfo.isDir())
    return failed(kMsgCannotWrite, target);

  // The copies of the databases wait beside the target, on its disk.
  QTemporaryDir work(targetInfo.absoluteDir().filePath(QStringLiteral(".hv6bak-XXXXXX")));
  if (!work.isValid()) return failed(kMsgCannotWrite, work.errorString());
  const QString diaryCopy = work.filePath(kDiaryFileName);
  const QString weatherCopy = work.filePath(kWeatherFileName);

  CDaoDatabase diary;
  LastBackupMark mark(diary);
  Manifest manifest;
  BackupHeader& header = manifest.header;
  header.programVersion = programVersion();
  header.created = QDateTime::currentDateTime().toString(Qt::ISODate);
  header.date = date;
  try {
    diary.Open(paths.diary);
    result.dateRecorded = mark.set(date);
    // VACUUM INTO reads the database in one transaction: a consistent copy
    // whatever other programs write meanwhile.
    diary.Execute(QStringLiteral("VACUUM INTO ?"), {COleVariant(diaryCopy)});
    if (!paths.weather.isEmpty() && QFileInfo(paths.weather).isFile()) {
      CDaoDatabase weather;
      weather.Open(paths.weather, false, true);
      weather.Execute(QStringLiteral("VACUUM INTO ?"), {COleVariant(weatherCopy)});
    }
    // What the copy holds, read from the copy itself.
    CDaoDatabase copy;
    copy.Open(diaryCopy, false, true);
    QSqlQuery info = copy.runSql(QStringLiteral("SELECT Company, President FROM Information LIMIT 1"));
    if (info.next())
      header.farmName = info.value(0).toString().trimmed().isEmpty() ? info.value(1).toString()
                                                                      : info.value(0).toString();
    header.diaryRows = long(single(copy, QStringLiteral("SELECT count(*) FROM WDiary")).toLongLong());
    header.pictureRows = long(single(copy, QStringLiteral("SELECT count(*) FROM PictureLink")).toLongLong());
    QSqlQuery pictures = copy.runSql(QStringLiteral(
        "SELECT DISTINCT Path FROM PictureLink WHERE Path IS NOT NULL AND Path <> '' ORDER BY Path"));
    QList<Source> sources;
    sources.append({diaryCopy, kDataPrefix + kDiaryFileName, FileKind::DiaryDatabase, {}, 0});
    if (QFileInfo(weatherCopy).isFile())
      sources.append({weatherCopy, kDataPrefix + kWeatherFileName, FileKind::WeatherDatabase, {}, 0});
    for (const QString& name : farmDiaryFiles(dataFolder)) {
      sources.append({QDir(dataFolder).filePath(name), kDataPrefix + name, FileKind::FarmDiary, {}, 0});
      ++header.farmDiaryCount;
    }
    int number = 0;
    while (pictures.next()) {
      const QString path = pictures.value(0).toString();
      const QFileInfo file(path);
      if (!file.isFile()) {
        result.missingPictures.append(path);
        continue;
      }
      const QString entry =
          kPicturePrefix + QStringLiteral("%1/").arg(++number, 5, 10, QLatin1Char('0')) + file.fileName();
      sources.append({path, entry, FileKind::Picture, path, 0});
      ++header.pictureCount;
    }
    copy.Close();

    qint64 total = 0;
    for (Source& s : sources) total += (s.size = QFileInfo(s.path).size());
    qint64 done = 0;
    const auto step = [&](qint64 n) {
      done += n;
      return !progress || progress(done, total);
    };
    if (progress && !progress(0, total)) {
      mark.undo();
      return failed(kCancelled, {});
    }

    ArchiveWriter writer;
    bool ok = writer.open(target) && writer.addBytes(kHeaderEntry, headerJson(header));
    for (qsizetype i = 0; ok && i < sources.size(); ++i) {
      const Source& s = sources.at(i);
      ManifestFile file;
      file.entry = s.entry;
      file.kind = s.kind;
      file.originalPath = s.originalPath;
      ok = writer.addFile(s.entry, s.path, &file.sha256, &file.size, step);
      if (ok) manifest.files.append(file);
    }
    ok = ok && writer.addBytes(kManifestEntry, manifestJson(manifest)) && writer.commit();
    if (!ok) {
      writer.discard();
      mark.undo();
      result.dateRecorded = false;
      return failed(messageForArchive(writer.fault()), writer.error());
    }
  } catch (const CDaoException& e) {
    mark.undo();
    result.dateRecorded = false;
    return failed(messageForDao(e), e.description());
  }
  mark.keep();
  result.manifest = manifest;
  return result;
}

}  // namespace hv6::backup
