#include "sales/slsale/farmmasters.h"

#include "platform/dao/dao.h"
#include "platform/registry.h"

#include <new>

namespace hv6::sales {
namespace {

constexpr long kSettingsMissing = 221;
constexpr long kOutOfMemory = 400;

const QString kBaseKey = QStringLiteral("Software\\Velqor\\HV6");

const char* tableOf(FarmMaster master) {
  switch (master) {
    case FarmMaster::Grade: return "GradeMst";
    case FarmMaster::Standard: return "StandardMst";
    case FarmMaster::Crop: return "CropMst";
    case FarmMaster::Field: return "FieldMst";
  }
  return "";
}

void readList(CDaoDatabase& db, FarmMaster master, QList<FarmEntry>& out) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM %1 WHERE Use=0 ORDER BY Scode ASC")
                              .arg(QLatin1String(tableOf(master))));
  QList<FarmEntry> list;
  for (; !rs.IsEOF(); rs.MoveNext())
    list.append({static_cast<std::int32_t>(rs.GetFieldValue(QStringLiteral("Code")).toLong()),
                 rs.GetFieldValue(QStringLiteral("Name")).toString()});
  rs.Close();
  out = list;
}

}  // namespace

const QList<FarmEntry>& FarmMasters::of(FarmMaster master) const {
  switch (master) {
    case FarmMaster::Grade: return grades;
    case FarmMaster::Standard: return standards;
    case FarmMaster::Crop: return crops;
    case FarmMaster::Field: return fields;
  }
  return grades;
}

QString FarmMasters::nameOf(FarmMaster master, std::int32_t code) const {
  for (const FarmEntry& entry : of(master))
    if (entry.code == code) return entry.name;
  return QString();
}

QString farmDatabasePath(const RegistryStore& registry) {
  QString key;
  if (registry.readString(kBaseKey, QStringLiteral("CurrentKEY"), key) != RegStatus::Ok)
    return QString();
  if (key.isEmpty()) key = QStringLiteral("HV6");
  QString path;
  if (registry.readString(kBaseKey + u'\\' + key + QStringLiteral("\\Environment\\BaseInfo"),
                          QStringLiteral("DataPath"), path) != RegStatus::Ok)
    return QString();
  return path;
}

FarmLoadResult loadFarmMasters(const RegistryStore& registry, FarmMasters& out) {
  const QString path = farmDatabasePath(registry);
  if (path.isEmpty()) return FarmLoadResult{kSettingsMissing, 0};
  return loadFarmMastersFrom(path, out);
}

FarmLoadResult loadFarmMastersFrom(const QString& databasePath, FarmMasters& out) {
  try {
    CDaoDatabase db;
    db.Open(databasePath, false, false);
    FarmMasters read;
    readList(db, FarmMaster::Grade, read.grades);
    readList(db, FarmMaster::Standard, read.standards);
    readList(db, FarmMaster::Crop, read.crops);
    readList(db, FarmMaster::Field, read.fields);
    db.Close();
    out = read;
    return FarmLoadResult{};
  } catch (const std::bad_alloc&) {
    return FarmLoadResult{kOutOfMemory, 0};
  } catch (const CDaoException& e) {
    return FarmLoadResult{-1, static_cast<int>(e.errorCode())};
  }
}

QString fetchFarmName(const QString& databasePath, FarmMaster master, std::int32_t code) {
  try {
    CDaoDatabase db;
    db.Open(databasePath, false, true);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot,
            QStringLiteral("SELECT * FROM %1 WHERE Use=0 AND Code=?").arg(QLatin1String(tableOf(master))),
            {COleVariant(static_cast<long>(code))});
    const QString name = rs.IsEOF() ? QString() : rs.GetFieldValue(QStringLiteral("Name")).toString();
    rs.Close();
    db.Close();
    return name;
  } catch (const CDaoException&) {
    return QString();
  }
}

}  // namespace hv6::sales
