#pragma once
// Data maintenance: checks both databases of a data folder (SQLite's
// integrity check, codes that point at master rows that are gone, picture
// files that PictureLink names but that are missing, farm-diary files that
// cannot be read), repairs what can be repaired without losing anything the
// user entered (a dangling code is cleared through CRefRepair, all in one
// transaction), and compacts both databases.

#include <QList>
#include <QString>
#include <QStringList>

namespace hv6 {

struct DanglingReference {
  long database = 0;  // 0 the diary database, 1 the weather database
  long code = 0;      // the row's Code
  QString table;
  QString column;
  long value = 0;     // the code that points nowhere
  QString master;     // the master table it should be in
};

struct MaintenanceCheck {
  QStringList damaged;               // per database: what the integrity check said
  QList<DanglingReference> dangling;
  QStringList missingPictures;       // paths
  QStringList unreadableFarmDiaries; // file names
  QString error;                     // the check could not run (a database would not open)

  bool clean() const {
    return error.isEmpty() && damaged.isEmpty() && dangling.isEmpty() &&
           missingPictures.isEmpty() && unreadableFarmDiaries.isEmpty();
  }
  // A repair is offered only for databases that are sound.
  bool repairable() const { return error.isEmpty() && damaged.isEmpty() && !dangling.isEmpty(); }
};

// What the check found, as lines for the user.
QStringList describe(const MaintenanceCheck& check);

MaintenanceCheck checkDataFolder(const QString& diaryPath, const QString& weatherPath);

struct MaintenanceResult {
  int cleared = 0;     // dangling codes cleared
  bool compacted = false;
  QString error;       // why the repair or the compaction stopped; nothing was changed by it
};

// Clears the dangling codes found by the check (a code that became valid
// again in between is left), then compacts both databases. Refuses damaged
// databases. Each step is all or nothing.
MaintenanceResult repairDataFolder(const QString& diaryPath, const QString& weatherPath,
                                   const MaintenanceCheck& check, bool clearDangling);

}  // namespace hv6
