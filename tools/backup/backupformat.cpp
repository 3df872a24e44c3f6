#include "tools/backup/backupformat.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

namespace hv6::backup {
namespace {

QString kindName(FileKind kind) {
  switch (kind) {
    case FileKind::DiaryDatabase: return QStringLiteral("diary-database");
    case FileKind::WeatherDatabase: return QStringLiteral("weather-database");
    case FileKind::FarmDiary: return QStringLiteral("farm-diary");
    case FileKind::Picture: return QStringLiteral("picture");
  }
  return QString();
}

bool kindOf(const QString& name, FileKind& kind) {
  for (FileKind k : {FileKind::DiaryDatabase, FileKind::WeatherDatabase, FileKind::FarmDiary,
                     FileKind::Picture}) {
    if (kindName(k) == name) {
      kind = k;
      return true;
    }
  }
  return false;
}

QJsonObject headerObject(const BackupHeader& h) {
  QJsonObject o;
  o[QStringLiteral("format")] = h.format;
  o[QStringLiteral("formatVersion")] = h.formatVersion;
  o[QStringLiteral("programVersion")] = h.programVersion;
  o[QStringLiteral("created")] = h.created;
  o[QStringLiteral("date")] = qint64(h.date);
  o[QStringLiteral("farmName")] = h.farmName;
  o[QStringLiteral("farmDiaryFiles")] = h.farmDiaryCount;
  o[QStringLiteral("pictureFiles")] = h.pictureCount;
  o[QStringLiteral("diaryRows")] = qint64(h.diaryRows);
  o[QStringLiteral("pictureRows")] = qint64(h.pictureRows);
  return o;
}

bool readHeaderObject(const QJsonObject& o, BackupHeader& h, QString* error) {
  h.format = o.value(QStringLiteral("format")).toString();
  if (h.format != kFormatName) {
    if (error) *error = QStringLiteral("not a backup of this program");
    return false;
  }
  const QJsonValue version = o.value(QStringLiteral("formatVersion"));
  if (!version.isDouble() || version.toInt() < 1) {
    if (error) *error = QStringLiteral("no format version");
    return false;
  }
  h.formatVersion = version.toInt();
  h.programVersion = o.value(QStringLiteral("programVersion")).toString();
  h.created = o.value(QStringLiteral("created")).toString();
  h.date = long(o.value(QStringLiteral("date")).toInteger());
  h.farmName = o.value(QStringLiteral("farmName")).toString();
  h.farmDiaryCount = o.value(QStringLiteral("farmDiaryFiles")).toInt();
  h.pictureCount = o.value(QStringLiteral("pictureFiles")).toInt();
  h.diaryRows = long(o.value(QStringLiteral("diaryRows")).toInteger());
  h.pictureRows = long(o.value(QStringLiteral("pictureRows")).toInteger());
  return true;
}

bool parseObject(const QByteArray& json, QJsonObject& object, QString* error) {
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
  if (doc.isNull() || !doc.isObject()) {
    if (error) *error = parseError.errorString();
    return false;
  }
  object = doc.object();
  return true;
}

}  // namespace

QString defaultBackupFileName(long date) {
  return QStringLiteral("HV6バックアップ_%1.hv6bak").arg(date);
}

bool isFarmDiaryFileName(const QString& name) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d{8})\\.rtf$"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = pattern.match(name);
  if (!match.hasMatch()) return false;
  return QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd")).isValid();
}

QByteArray headerJson(const BackupHeader& header) {
  return QJsonDocument(headerObject(header)).toJson(QJsonDocument::Indented);
}

QByteArray manifestJson(const Manifest& manifest) {
  QJsonObject o = headerObject(manifest.header);
  QJsonArray files;
  for (const ManifestFile& f : manifest.files) {
    QJsonObject file;
    file[QStringLiteral("entry")] = f.entry;
    file[QStringLiteral("kind")] = kindName(f.kind);
    file[QStringLiteral("size")] = f.size;
    file[QStringLiteral("sha256")] = QString::fromLatin1(f.sha256);
    if (!f.originalPath.isEmpty()) file[QStringLiteral("originalPath")] = f.originalPath;
    files.append(file);
  }
  o[QStringLiteral("files")] = files;
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool parseHeader(const QByteArray& json, BackupHeader& header, QString* error) {
  QJsonObject o;
  return parseObject(json, o, error) && readHeaderObject(o, header, error);
}

bool parseManifest(const QByteArray& json, Manifest& manifest, QString* error) {
  QJsonObject o;
  if (!parseObject(json, o, error) || !readHeaderObject(o, manifest.header, error)) return false;
  static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
  manifest.files.clear();
  for (const QJsonValue& value : o.value(QStringLiteral("files")).toArray()) {
    const QJsonObject f = value.toObject();
    ManifestFile file;
    file.entry = f.value(QStringLiteral("entry")).toString();
    file.size = f.value(QStringLiteral("size")).toInteger(-1);
    const QString sha = f.value(QStringLiteral("sha256")).toString();
    file.originalPath = f.value(QStringLiteral("originalPath")).toString();
    if (!kindOf(f.value(QStringLiteral("kind")).toString(), file.kind) ||
        !isSafeEntryName(file.entry) || file.size < 0 || !hex.match(sha).hasMatch()) {
      if (error) *error = QStringLiteral("a file entry of the manifest is unusable");
      return false;
    }
    file.sha256 = sha.toLatin1();
    manifest.files.append(file);
  }
  return true;
}

bool isSafeEntryName(const QString& entry) {
  if (!entry.startsWith(kDataPrefix) && !entry.startsWith(kPicturePrefix)) return false;
  if (entry.contains(u'\\') || entry.contains(QChar(0))) return false;
  const QStringList parts = entry.split(u'/');
  for (const QString& part : parts)
    if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) return false;
  return true;
}

QString programVersion() { return QStringLiteral(HV6_PROGRAM_VERSION); }

}  // namespace hv6::backup
