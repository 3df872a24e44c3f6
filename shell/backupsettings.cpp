#include "shell/backupsettings.h"

#include "shell/startup.h"

namespace hv6 {

bool readDataPaths(const AppRegistry& registry, QString& diary, QString& weather) {
  if (!registry.readString(StartKeys::kBaseInfo, StartKeys::kDataPath, diary) || diary.isEmpty())
    return false;
  if (!registry.readString(StartKeys::kBaseInfo, StartKeys::kWeatherDataPath, weather)) weather.clear();
  return true;
}

bool writeBackupDate(AppRegistry& registry, long date) {
  return registry.writeDword(BackupKeys::kBackup, BackupKeys::kBackUpDate, std::uint32_t(date));
}

bool writeWeatherPath(AppRegistry& registry, const QString& path) {
  return registry.writeString(StartKeys::kBaseInfo, StartKeys::kWeatherDataPath, path);
}

}  // namespace hv6
