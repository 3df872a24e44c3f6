#pragma once
// The settings the backup and the restore read and write: the paths of the
// two databases, and the date of the last backup under Environment\Backup.

#include "shell/appregistry.h"

#include <QString>

namespace hv6 {

struct BackupKeys {
  static inline const QString kBackup = QStringLiteral("Environment\\Backup");
  static inline const QString kBackUpDate = QStringLiteral("BackUpDate");
};

// DataPath and WeatherDataPath; false when DataPath cannot be read (an
// unreadable WeatherDataPath leaves weather empty).
bool readDataPaths(const AppRegistry& registry, QString& diary, QString& weather);

// Environment\Backup BackUpDate = date (yyyymmdd).
bool writeBackupDate(AppRegistry& registry, long date);

// WeatherDataPath = path.
bool writeWeatherPath(AppRegistry& registry, const QString& path);

}  // namespace hv6
