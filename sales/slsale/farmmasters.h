#pragma once
// The farm-work masters the sales slip window names per line (grade,
// standard, crop and field), read from the diary database the settings
// name, not from the sales store.

#include <QList>
#include <QString>

#include <cstdint>

namespace hv6 {
class RegistryStore;
}

namespace hv6::sales {

enum class FarmMaster { Grade, Standard, Crop, Field };

struct FarmEntry {
  std::int32_t code = 0;
  QString name;
  bool operator==(const FarmEntry&) const = default;
};

struct FarmMasters {
  QList<FarmEntry> grades;
  QList<FarmEntry> standards;
  QList<FarmEntry> crops;
  QList<FarmEntry> fields;
  const QList<FarmEntry>& of(FarmMaster master) const;
  // The name of a code in a list; empty when it is not there.
  QString nameOf(FarmMaster master, std::int32_t code) const;
};

// Why the masters could not be read: error 221 settings missing, 400
// memory, -1 a database failure (its error number in status); 0 on
// success.
struct FarmLoadResult {
  long error = 0;
  int status = 0;  // the database's error number, when it failed
};

// The diary database of the current data set: under "Software\Velqor\HV6"
// the value CurrentKEY names the key, whose "Environment\BaseInfo" value
// DataPath is the database. Empty when a key or value is missing.
QString farmDatabasePath(const RegistryStore& registry);

// Opens the database of the current data set, reads the four lists (active
// rows in Scode order) and closes it.
FarmLoadResult loadFarmMasters(const RegistryStore& registry, FarmMasters& out);
// Reads the four lists from a database file.
FarmLoadResult loadFarmMastersFrom(const QString& databasePath, FarmMasters& out);
// One active row's name by its code; empty when it is missing.
QString fetchFarmName(const QString& databasePath, FarmMaster master, std::int32_t code);

}  // namespace hv6::sales
