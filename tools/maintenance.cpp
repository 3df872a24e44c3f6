#include "tools/maintenance.h"

#include "platform/dao/database.h"
#include "platform/dao/exception.h"
#include "platform/dao/recordset.h"
#include "store/refrepair.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>

namespace hv6 {
namespace {

constexpr long kDiary = 0;
constexpr long kWeather = 1;

// The codes a maintenance checks: table, column, database, master table
// (always in the diary database, by its Code).
struct Link {
  const char* table;
  const char* column;
  long database;
  const char* master;
};
constexpr Link kLinks[] = {
    {"WDiary", "CropCode", kDiary, "CropMst"},
    {"WDiary", "JobCode", kDiary, "JobMst"},
    {"WDiary", "FieldCode", kDiary, "FieldMst"},
    {"WDiary", "FarmerCode", kDiary, "FarmerMst"},
    {"WDiary", "MachineCode", kDiary, "MachineMst"},
    {"TargetField", "Field", kWeather, "FieldMst"},
};

QHash<QString, RefRepairTarget> repairLinks() {
  QHash<QString, RefRepairTarget> links;
  for (const Link& link : kLinks)
    links.insert(CRefRepair::linkKey(QString::fromLatin1(link.table), QString::fromLatin1(link.column)),
                 {kDiary, QString::fromLatin1(link.master), QStringLiteral("Code")});
  return links;
}

QString integrityOf(CDaoDatabase& db) {
  QSqlQuery query = db.runSql(QStringLiteral("PRAGMA integrity_check"));
  QStringList lines;
  while (query.next()) lines << query.value(0).toString();
  return lines == QStringList{QStringLiteral("ok")} ? QString() : lines.join(u'\n');
}

QSet<long> codesOf(CDaoDatabase& db, const QString& table) {
  QSet<long> codes;
  QSqlQuery query = db.runSql(QStringLiteral("SELECT Code FROM \"%1\"").arg(table));
  while (query.next()) codes.insert(long(query.value(0).toLongLong()));
  return codes;
}

void findDangling(CDaoDatabase& diary, CDaoDatabase& weather, QList<DanglingReference>& found) {
  QHash<QString, QSet<long>> masters;
  for (const Link& link : kLinks) {
    CDaoDatabase& db = link.database == kDiary ? diary : weather;
    const QString table = QString::fromLatin1(link.table);
    const QString master = QString::fromLatin1(link.master);
    if (!db.tableExists(table) || !diary.tableExists(master)) continue;
    if (!masters.contains(master)) masters.insert(master, codesOf(diary, master));
    const QSet<long>& codes = masters[master];
    QSqlQuery rows = db.runSql(QStringLiteral("SELECT Code, \"%1\" FROM \"%2\" WHERE \"%1\" IS NOT NULL AND \"%1\" <> 0 ORDER BY Code")
                                   .arg(QString::fromLatin1(link.column), table));
    while (rows.next()) {
      const long value = long(rows.value(1).toLongLong());
      if (codes.contains(value)) continue;
      found.append({link.database, long(rows.value(0).toLongLong()), table,
                    QString::fromLatin1(link.column), value, master});
    }
  }
}

void findMissingPictures(CDaoDatabase& diary, const QString& folder, QStringList& missing) {
  if (!diary.tableExists(QStringLiteral("PictureLink"))) return;
  QSqlQuery rows = diary.runSql(QStringLiteral("SELECT Path FROM PictureLink ORDER BY Code"));
  while (rows.next()) {
    const QString path = rows.value(0).toString();
    if (path.isEmpty()) continue;
    const QString full = QDir(folder).absoluteFilePath(path);
    if (!QFileInfo(full).isFile()) missing << path;
  }
}

void findUnreadableFarmDiaries(const QString& folder, QStringList& unreadable) {
  static const QRegularExpression kFarmDiary(QStringLiteral("^\\d{8}\\.rtf$"),
                                             QRegularExpression::CaseInsensitiveOption);
  const QDir dir(folder);
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
    if (!kFarmDiary.match(name).hasMatch()) continue;
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("{\\rtf")) unreadable << name;
  }
}

}  // namespace

// The names a user knows for a table and a code column.
static QString userName(const QString& name) {
  static const QHash<QString, QString> kNames{
      {QStringLiteral("WDiary"), QStringLiteral("作業日誌")},
      {QStringLiteral("TargetField"), QStringLiteral("観測地点のほ場")},
      {QStringLiteral("CropCode"), QStringLiteral("作物")},
      {QStringLiteral("JobCode"), QStringLiteral("作業")},
      {QStringLiteral("FieldCode"), QStringLiteral("ほ場")},
      {QStringLiteral("Field"), QStringLiteral("ほ場")},
      {QStringLiteral("FarmerCode"), QStringLiteral("作業者")},
      {QStringLiteral("MachineCode"), QStringLiteral("機械")},
  };
  return kNames.value(name, name);
}

QStringList describe(const MaintenanceCheck& check) {
  QStringList lines;
  if (!check.error.isEmpty()) lines << check.error;
  for (const QString& damage : check.damaged) lines << damage;
  for (const DanglingReference& ref : check.dangling)
    lines << QStringLiteral("%1 (番号 %2) の%3 (コード %4) が登録されていません。 [%5.%6 → %7]")
                 .arg(userName(ref.table))
                 .arg(ref.code)
                 .arg(userName(ref.column))
                 .arg(ref.value)
                 .arg(ref.table, ref.column, ref.master);
  for (const QString& path : check.missingPictures)
    lines << QStringLiteral("画像ファイルがありません: %1").arg(path);
  for (const QString& name : check.unreadableFarmDiaries)
    lines << QStringLiteral("営農日記のファイルを読めません: %1").arg(name);
  if (lines.isEmpty()) lines << QStringLiteral("問題は見つかりませんでした。");
  return lines;
}

MaintenanceCheck checkDataFolder(const QString& diaryPath, const QString& weatherPath) {
  MaintenanceCheck check;
  CDaoDatabase diary;
  CDaoDatabase weather;
  try {
    diary.Open(diaryPath, false, true);
    weather.Open(weatherPath, false, true);
  } catch (const CDaoException& failure) {
    check.error = QStringLiteral("データベースを開けません: %1").arg(failure.description());
    return check;
  }
  try {
    for (auto [db, name] : {std::pair{&diary, QStringLiteral("作業日誌データ")},
                            std::pair{&weather, QStringLiteral("気象データ")}}) {
      const QString damage = integrityOf(*db);
      if (!damage.isEmpty()) check.damaged << QStringLiteral("%1が壊れています: %2").arg(name, damage);
    }
    if (check.damaged.isEmpty()) findDangling(diary, weather, check.dangling);
    findMissingPictures(diary, QFileInfo(diaryPath).absolutePath(), check.missingPictures);
  } catch (const CDaoException& failure) {
    check.damaged << QStringLiteral("データベースを読めません: %1").arg(failure.description());
  }
  findUnreadableFarmDiaries(QFileInfo(diaryPath).absolutePath(), check.unreadableFarmDiaries);
  return check;
}

MaintenanceResult repairDataFolder(const QString& diaryPath, const QString& weatherPath,
                                   const MaintenanceCheck& check, bool clearDangling) {
  MaintenanceResult result;
  if (!check.error.isEmpty() || !check.damaged.isEmpty()) {
    result.error = QStringLiteral("壊れたデータベースは修復できません。バックアップから復元してください。");
    return result;
  }
  CDaoDatabase diary;
  CDaoDatabase weather;
  try {
    diary.Open(diaryPath);
    weather.Open(weatherPath);
  } catch (const CDaoException& failure) {
    result.error = QStringLiteral("データベースを開けません: %1").arg(failure.description());
    return result;
  }
  if (clearDangling && !check.dangling.isEmpty()) {
    QList<RefRepairGroup> groups;
    for (const DanglingReference& ref : check.dangling)
      groups.append({{ref.database, ref.code, ref.table, ref.column, kRefResetColumn}});
    try {
      diary.runSql(QStringLiteral("BEGIN IMMEDIATE"));
      weather.runSql(QStringLiteral("BEGIN IMMEDIATE"));
      CRefRepair({&diary, &weather}, repairLinks()).Repair(groups);
      for (const DanglingReference& ref : check.dangling) {
        CDaoDatabase& db = ref.database == kDiary ? diary : weather;
        QSqlQuery left = db.runSql(
            QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE Code = ? AND \"%2\" = ?").arg(ref.table, ref.column),
            {COleVariant(ref.code), COleVariant(ref.value)});
        if (left.next() && left.value(0).toLongLong() == 0) ++result.cleared;
      }
      weather.runSql(QStringLiteral("COMMIT"));
      diary.runSql(QStringLiteral("COMMIT"));
    } catch (const CDaoException& failure) {
      try {
        weather.runSql(QStringLiteral("ROLLBACK"));
      } catch (const CDaoException&) {
      }
      try {
        diary.runSql(QStringLiteral("ROLLBACK"));
      } catch (const CDaoException&) {
      }
      result.cleared = 0;
      result.error = QStringLiteral("修復できませんでした: %1").arg(failure.description());
      return result;
    }
  }
  try {
    diary.runSql(QStringLiteral("VACUUM"));
    weather.runSql(QStringLiteral("VACUUM"));
    result.compacted = true;
  } catch (const CDaoException& failure) {
    result.error = QStringLiteral("最適化できませんでした: %1").arg(failure.description());
  }
  return result;
}

}  // namespace hv6
