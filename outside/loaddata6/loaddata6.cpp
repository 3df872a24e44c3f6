// loaddata6: the restore library. DataRestore shows the restore window, or
// with a file named restores it without a window.
#include "outside/errtext6/errmsg.h"
#include "outside/savedata6/modulesupport.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "shell/appregistry.h"
#include "shell/backupsettings.h"
#include "tools/backup/jobs.h"
#include "tools/backup/ui/backupdialogs.h"
#include "tools/datatools_abi.h"

#include <QDir>

namespace {

constexpr long kSettingsUnreadable = 2504;

}  // namespace

extern "C" HV6_TOOL_EXPORT int32_t DataRestore(const char* backupFile, const char* /*reserved2*/,
                                               const char* /*reserved3*/) {
  using namespace hv6::backup;
  const QString file = argumentText(backupFile);
  hv6::RegistryStore store;
  hv6::AppRegistry registry(store);
  const auto recordWeather = [&registry](const QString& path) {
    return hv6::writeWeatherPath(registry, path);
  };
  DataPaths paths;
  if (file.isEmpty()) {
    WindowedMessages windowed;
    if (!hv6::readDataPaths(registry, paths.diary, paths.weather)) {
      CErrMsg().Disp(kSettingsUnreadable, 1);
      return int32_t(kSettingsUnreadable);
    }
    QString folder = hv6::specialFolder(hv6::kFolderDocuments);
    if (folder.isEmpty()) folder = QDir::homePath();
    RestoreDialog dialog(paths, folder, recordWeather);
    dialog.exec();
    return int32_t(dialog.result());
  }
  if (!hv6::readDataPaths(registry, paths.diary, paths.weather)) {
    CErrMsg().Disp(kSettingsUnreadable, 1);
    return int32_t(kSettingsUnreadable);
  }
  return int32_t(runRestoreJob(commandLineFile(file), paths, {}, recordWeather));
}
