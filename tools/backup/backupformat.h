#pragma once
// The backup file: one tar archive (pax format, uncompressed, written and
// read as a stream). Its first entry is a short header (what the backup
// holds, readable without reading the rest), then the two database copies,
// the farm-diary pages and the pictures, and last the manifest with the
// size and SHA-256 of every file.
//
//   hv6backup/header.json      format, versions, date, farm, counts
//   data/作業日誌データ.HV6     consistent copy of the diary database
//   data/気象データ.HV6         consistent copy of the weather database
//   data/yyyymmdd.rtf          the farm-diary pages
//   pictures/NNNNN/<name>      every picture file PictureLink names
//   hv6backup/manifest.json    the same header plus the list of files

#include <QByteArray>
#include <QList>
#include <QString>

namespace hv6::backup {

inline const QString kFormatName = QStringLiteral("hv6-backup");
// Raised when a change of the layout would mislead an older reader.
constexpr int kFormatVersion = 1;

inline const QString kHeaderEntry = QStringLiteral("hv6backup/header.json");
inline const QString kManifestEntry = QStringLiteral("hv6backup/manifest.json");
inline const QString kDataPrefix = QStringLiteral("data/");
inline const QString kPicturePrefix = QStringLiteral("pictures/");

// The default file name of a backup taken on a day (yyyymmdd).
QString defaultBackupFileName(long date);

// True for a farm-diary page name "yyyymmdd.rtf" (any case of the suffix).
bool isFarmDiaryFileName(const QString& name);

enum class FileKind { DiaryDatabase, WeatherDatabase, FarmDiary, Picture };

struct ManifestFile {
  QString entry;     // name inside the archive
  FileKind kind = FileKind::FarmDiary;
  qint64 size = 0;
  QByteArray sha256;  // lower-case hex
  QString originalPath;  // pictures: the path PictureLink names
};

struct BackupHeader {
  QString format = kFormatName;
  int formatVersion = kFormatVersion;
  QString programVersion;
  QString created;  // ISO date and time, local
  long date = 0;    // yyyymmdd
  QString farmName;
  int farmDiaryCount = 0;
  int pictureCount = 0;
  long diaryRows = 0;    // WDiary rows
  long pictureRows = 0;  // PictureLink rows
};

struct Manifest {
  BackupHeader header;
  QList<ManifestFile> files;
};

QByteArray headerJson(const BackupHeader& header);
QByteArray manifestJson(const Manifest& manifest);

// Reading back. False when the text is not a header or manifest of this
// format at all (error says what is wrong); a newer formatVersion still
// parses, so the caller can tell the user.
bool parseHeader(const QByteArray& json, BackupHeader& header, QString* error);
bool parseManifest(const QByteArray& json, Manifest& manifest, QString* error);

// True for an entry name that may be extracted: relative, no "." or ".."
// part, no empty part, below one of the known prefixes.
bool isSafeEntryName(const QString& entry);

// The program version written into new backups.
QString programVersion();

}  // namespace hv6::backup
