#include "tools/backup/restore.h"

#include "platform/dao/dao.h"
#include "platform/file_io.h"
#include "store/datafolder.h"
#include "store/schema.h"
#include "tools/backup/archive.h"
#include "tools/backup/sha256.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

namespace hv6::backup {
namespace {

constexpr qint64 kHeaderLimit = 1 << 20;
constexpr qint64 kManifestLimit = 64 << 20;
const QString kSafetyMark = QStringLiteral("_復元前_");

struct Extracted {
  QString path;  // where it was written
  QByteArray sha256;
  qint64 size = 0;
};

class Failure {
 public:
  Failure(long number, QString text) : message(number), detail(std::move(text)) {}
  long message;
  QString detail;
};

[[noreturn]] void fail(long message, const QString& detail = {}) { throw Failure(message, detail); }

// Opens the backup and reads its header entry.
void readHeader(ArchiveReader& reader, const QString& file, BackupHeader& header) {
  QFile probe(file);
  if (!QFileInfo(file).isFile() || !probe.open(QIODevice::ReadOnly))
    fail(kMsgCannotReadBackup, file + QStringLiteral(": ") + probe.errorString());
  probe.close();
  if (!reader.open(file)) fail(kMsgNotABackup, reader.error());
  QString entry;
  qint64 size = 0;
  bool regular = false;
  if (!reader.next(&entry, &size, &regular) || entry != kHeaderEntry || !regular)
    fail(kMsgNotABackup, reader.error());
  QByteArray json;
  if (!reader.readAll(&json, kHeaderLimit)) fail(kMsgNotABackup, reader.error());
  QString error;
  if (!parseHeader(json, header, &error)) fail(kMsgNotABackup, error);
  if (header.formatVersion > kFormatVersion)
    fail(kMsgNewerFormat, QStringLiteral("format %1").arg(header.formatVersion));
}

// A backup ends with tar's end marker, two zero blocks, right after its
// last entry: a file cut anywhere, even within the marker, lacks it.
bool hasCompleteEnd(const QString& path) {
  constexpr qint64 kBlock = 512;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() < 3 * kBlock || file.size() % kBlock != 0)
    return false;
  if (!file.seek(file.size() - 2 * kBlock)) return false;
  const QByteArray tail = file.read(2 * kBlock);
  return tail.size() == 2 * kBlock && tail.count('\0') == tail.size();
}

QByteArray fileSha256(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  Sha256 hash;
  QByteArray buffer(1 << 20, Qt::Uninitialized);
  for (qint64 n; (n = file.read(buffer.data(), buffer.size())) > 0;) hash.add(QByteArrayView(buffer.constData(), n));
  return hash.hexResult();
}

// Writes the current entry into path, in the staging area: a failure
// discards the whole area, so no temporary name is needed; the area is
// synced once before it is swapped in.
Extracted extract(ArchiveReader& reader, const QString& path, const ProgressFunction& progress,
                  qint64& done, qint64 total) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) fail(kMsgFolderReadOnly, path);
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
    fail(out.error() == QFileDevice::ResourceError ? kMsgDiskFull : kMsgFolderReadOnly,
         out.errorString());
  Sha256 hash;
  Extracted result;
  result.path = path;
  bool writeFailed = false;
  bool cancelled = false;
  const bool read = reader.readData([&](const char* data, qint64 n) {
    hash.add(QByteArrayView(data, n));
    result.size += n;
    if (out.write(data, n) != n) {
      writeFailed = true;
      return false;
    }
    done += n;
    if (progress && !progress(done, total)) {
      cancelled = true;
      return false;
    }
    return true;
  });
  if (writeFailed || !out.flush())
    fail(out.error() == QFileDevice::ResourceError ? kMsgDiskFull : kMsgFolderReadOnly,
         out.errorString());
  if (cancelled) fail(kCancelled);
  if (!read) fail(kMsgDamaged, reader.error());
  out.close();
  result.sha256 = hash.hexResult();
  return result;
}

void checkIntegrity(const QString& path, bool diary) {
  try {
    CDaoDatabase db;
    db.Open(path, false, true);
    QSqlQuery query = db.runSql(QStringLiteral("PRAGMA integrity_check"));
    while (query.next())
      if (query.value(0).toString() != QLatin1String("ok"))
        fail(kMsgBadDatabase, QFileInfo(path).fileName() + QStringLiteral(": ") + query.value(0).toString());
    if (diary) {
      QSqlQuery info = db.runSql(QStringLiteral("SELECT count(*) FROM Information"));
      if (!info.next() || info.value(0).toInt() < 1)
        fail(kMsgBadDatabase, QFileInfo(path).fileName() + QStringLiteral(": no Information row"));
    }
  } catch (const CDaoException& e) {
    fail(kMsgBadDatabase, QFileInfo(path).fileName() + QStringLiteral(": ") + e.description());
  }
}

bool isInside(const QString& path, const QString& folder) {
  return path.startsWith(folder + u'/');
}

bool isJournalName(const QString& name) {
  return name.endsWith(QLatin1String("-journal")) || name.endsWith(QLatin1String("-wal")) ||
         name.endsWith(QLatin1String("-shm"));
}

// A free name for fileName in folder: the name itself, else "base_2.ext", …
QString freeName(const QString& folder, const QString& fileName) {
  const QFileInfo info(fileName);
  QString candidate = fileName;
  for (int n = 2; QFileInfo::exists(QDir(folder).filePath(candidate)); ++n)
    candidate = info.completeSuffix().isEmpty()
                    ? QStringLiteral("%1_%2").arg(info.baseName()).arg(n)
                    : QStringLiteral("%1_%2.%3").arg(info.baseName()).arg(n).arg(info.completeSuffix());
  return candidate;
}

// A backup may name any path for a picture: only picture files (the kinds
// the import takes) are made outside the data folder.
bool isPictureName(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ||
         suffix == QLatin1String("bmp");
}

// True when a file could be made at path: its nearest existing folder is
// writable.
bool canCreate(const QString& path) {
  QFileInfo folder(QFileInfo(path).absolutePath());
  while (!folder.exists()) {
    const QString up = folder.absolutePath();
    if (up == folder.absoluteFilePath()) return false;
    folder = QFileInfo(up);
  }
  return folder.isDir() && folder.isWritable();
}

// Copies the files below from into to that to does not hold yet.
bool carryOver(const QString& from, const QString& to) {
  const QDir source(from);
  for (const QFileInfo& item :
       source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    const QString target = QDir(to).filePath(item.fileName());
    if (item.isDir() && !item.isSymLink()) {
      if (!QDir().mkpath(target) || !carryOver(item.absoluteFilePath(), target)) return false;
    } else if (!QFileInfo::exists(target) && !QFileInfo(target).isSymLink()) {
      if (item.isSymLink()) {
        if (!QFile::link(item.symLinkTarget(), target)) return false;
      } else if (!QFile::copy(item.absoluteFilePath(), target)) {
        return false;
      }
    }
  }
  return true;
}

struct OutsidePicture {
  QString from;  // in the picture area
  QString to;    // the path PictureLink names
};

}  // namespace

QString safetyCopyPath(const QString& dataFolder, const QDateTime& when) {
  const QString base = dataFolder + kSafetyMark + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString candidate = base;
  for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
    candidate = base + QStringLiteral("-%1").arg(n);
  return candidate;
}

InspectResult inspectBackup(const QString& file) {
  InspectResult result;
  try {
    ArchiveReader reader;
    readHeader(reader, file, result.header);
  } catch (const Failure& f) {
    result.message = f.message;
    result.detail = f.detail;
  }
  return result;
}

RestoreResult restoreBackup(const QString& file, const DataPaths& paths,
                            const RestoreOptions& options) {
  RestoreResult result;
  QStringList createdOutside;
  try {
    const QString dataFolder = QDir::cleanPath(QFileInfo(dataFolderOf(paths.diary)).absoluteFilePath());
    if (dataFolderOf(paths.diary).isEmpty() || !QFileInfo(dataFolder).isDir())
      fail(kMsgNoDataFolder, dataFolder);
    const QFileInfo folderInfo(dataFolder);
    const QString parent = folderInfo.absolutePath();
    if (!QFileInfo(parent).isWritable() || !folderInfo.isWritable())
      fail(kMsgFolderReadOnly, dataFolder);

    ArchiveReader reader;
    readHeader(reader, file, result.header);

    QTemporaryDir staging(QDir(parent).filePath(u'.' + folderInfo.fileName() + QStringLiteral(".restore-XXXXXX")));
    QTemporaryDir pictureArea(QDir(parent).filePath(u'.' + folderInfo.fileName() + QStringLiteral(".pictures-XXXXXX")));
    if (!staging.isValid() || !pictureArea.isValid())
      fail(kMsgFolderReadOnly, staging.errorString());

    // Everything into the staging folder, hashed on the way.
    const qint64 total = QFileInfo(file).size();
    qint64 done = 0;
    QHash<QString, Extracted> extracted;
    Manifest manifest;
    bool manifestRead = false;
    QString entry;
    qint64 size = 0;
    bool regular = false;
    while (reader.next(&entry, &size, &regular)) {
      if (manifestRead || !regular || extracted.contains(entry)) fail(kMsgDamaged, entry);
      if (entry == kManifestEntry) {
        QByteArray json;
        QString error;
        if (!reader.readAll(&json, kManifestLimit) || !parseManifest(json, manifest, &error))
          fail(kMsgDamaged, error.isEmpty() ? reader.error() : error);
        manifestRead = true;
        continue;
      }
      if (!isSafeEntryName(entry)) fail(kMsgDamaged, entry);
      QString target;
      if (entry.startsWith(kDataPrefix)) {
        const QString name = entry.mid(kDataPrefix.size());
        if (name != kDiaryFileName && name != kWeatherFileName && !isFarmDiaryFileName(name))
          fail(kMsgDamaged, entry);
        target = staging.filePath(name);
      } else {
        target = pictureArea.filePath(entry.mid(kPicturePrefix.size()));
      }
      extracted.insert(entry, extract(reader, target, options.progress, done, total));
    }
    if (reader.fault() != ArchiveFault::None) fail(kMsgDamaged, reader.error());
    if (!manifestRead) fail(kMsgDamaged, QStringLiteral("the backup ends before its manifest"));
    if (!hasCompleteEnd(file)) fail(kMsgDamaged, QStringLiteral("the backup is cut short"));
    if (manifest.header.formatVersion > kFormatVersion) fail(kMsgNewerFormat);

    // Every file exactly as the manifest lists it, and nothing else.
    if (manifest.files.size() != extracted.size())
      fail(kMsgDamaged, QStringLiteral("%1 files listed, %2 found").arg(manifest.files.size()).arg(extracted.size()));
    bool hasDiary = false;
    for (const ManifestFile& f : manifest.files) {
      const auto found = extracted.constFind(f.entry);
      if (found == extracted.constEnd()) fail(kMsgDamaged, f.entry + QStringLiteral(": missing"));
      if (found->size != f.size || found->sha256 != f.sha256) fail(kMsgDamaged, f.entry + QStringLiteral(": checksum"));
      hasDiary = hasDiary || f.kind == FileKind::DiaryDatabase;
    }
    if (!hasDiary) fail(kMsgDamaged, QStringLiteral("no diary database"));
    const QString stagedDiary = staging.filePath(kDiaryFileName);
    const QString stagedWeather = staging.filePath(kWeatherFileName);
    checkIntegrity(stagedDiary, true);
    if (QFileInfo(stagedWeather).isFile()) checkIntegrity(stagedWeather, false);

    // Where each picture goes.
    QList<OutsidePicture> outside;
    QList<std::pair<QString, QString>> moved;  // PictureLink.Path old -> new
    for (const ManifestFile& f : manifest.files) {
      if (f.kind != FileKind::Picture) continue;
      const QString from = extracted.value(f.entry).path;
      const QString original = QDir::cleanPath(f.originalPath);
      if (isInside(original, dataFolder)) {
        const QString staged = staging.filePath(original.mid(dataFolder.size() + 1));
        if (!QFileInfo::exists(staged) && QDir().mkpath(QFileInfo(staged).absolutePath()) &&
            QFile::rename(from, staged))
          continue;
      } else if (QFileInfo(original).isFile()) {
        if (fileSha256(original) == f.sha256) continue;
      } else if (!QFileInfo::exists(original) && QFileInfo(original).isAbsolute() &&
                 isPictureName(original) && canCreate(original)) {
        outside.append({from, original});
        continue;
      }
      const QString folder = staging.filePath(kPictureFolderName);
      if (!QDir().mkpath(folder)) fail(kMsgFolderReadOnly, folder);
      const QString name = freeName(folder, QFileInfo(original).fileName());
      if (!QFile::rename(from, QDir(folder).filePath(name))) fail(kMsgFolderReadOnly, folder);
      const QString newPath = QDir(dataFolder).filePath(kPictureFolderName + u'/' + name);
      moved.append({f.originalPath, newPath});
      result.relocatedPictures.append(newPath);
    }
    if (!moved.isEmpty()) {
      try {
        CDaoDatabase db;
        db.Open(stagedDiary);
        for (const auto& [from, to] : moved)
          db.Execute(QStringLiteral("UPDATE PictureLink SET Path = ? WHERE Path = ?"),
                     {COleVariant(to), COleVariant(from)});
      } catch (const CDaoException& e) {
        fail(e.errorCode() == kJetDiskFull ? kMsgDiskFull : kMsgBadDatabase, e.description());
      }
    }

    // The rest of the data folder (field map, other files) stays with it;
    // the databases and the farm diary come from the backup alone.
    for (const QFileInfo& item : QDir(dataFolder).entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
      const QString name = item.fileName();
      if (name == kDiaryFileName || name == kWeatherFileName ||
          isFarmDiaryFileName(name) || isJournalName(name))
        continue;
      const QString target = staging.filePath(name);
      bool ok = true;
      if (item.isDir() && !item.isSymLink())
        ok = QDir().mkpath(target) && carryOver(item.absoluteFilePath(), target);
      else if (!QFileInfo::exists(target))
        ok = item.isSymLink() ? QFile::link(item.symLinkTarget(), target)
                              : QFile::copy(item.absoluteFilePath(), target);
      if (!ok) fail(kMsgDiskFull, item.absoluteFilePath());
    }
    // A backup without a weather database keeps the current one.
    if (!QFileInfo::exists(stagedWeather) && QFileInfo(QDir(dataFolder).filePath(kWeatherFileName)).isFile() &&
        !QFile::copy(QDir(dataFolder).filePath(kWeatherFileName), stagedWeather))
      fail(kMsgDiskFull, stagedWeather);

    // On the disk before it becomes the data folder.
    if (!fileio::syncFileSystemOf(staging.path())) fail(kMsgDiskFull, staging.path());

    if (options.beforeSwap) options.beforeSwap();

    // Pictures back to their own free paths, then the swap.
    for (const OutsidePicture& p : outside) {
      const QString temporary = p.to + QStringLiteral(".hv6restore");
      if (!QDir().mkpath(QFileInfo(p.to).absolutePath())) fail(kMsgDiskFull, p.to);
      // On the same disk the verified file is only renamed; elsewhere it is
      // copied under a temporary name first.
      if (!QFile::rename(p.from, p.to) &&
          (!QFile::copy(p.from, temporary) || !QFile::rename(temporary, p.to))) {
        QFile::remove(temporary);
        fail(kMsgDiskFull, p.to);
      }
      createdOutside.append(p.to);
    }
    const QString safety = safetyCopyPath(dataFolder, options.now);
    QString error;
    if (fileio::exchangePaths(staging.path(), dataFolder, &error)) {
      staging.setAutoRemove(false);
      result.safetyCopy = QFile::rename(staging.path(), safety) ? safety : staging.path();
    } else {
      // Without an exchange: two renames, the second undone when it fails.
      if (!QFile::rename(dataFolder, safety)) fail(kMsgSwapFailed, error);
      if (!QFile::rename(staging.path(), dataFolder)) {
        QFile::rename(safety, dataFolder);
        fail(kMsgSwapFailed, error);
      }
      staging.setAutoRemove(false);
      result.safetyCopy = safety;
    }
    createdOutside.clear();
    result.weatherPath = QDir(dataFolder).filePath(kWeatherFileName);
  } catch (const Failure& f) {
    for (const QString& path : createdOutside) QFile::remove(path);
    result.message = f.message;
    result.detail = f.detail;
  }
  return result;
}

}  // namespace hv6::backup
