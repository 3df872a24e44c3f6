// savedata6: the backup library. DataBackup shows the backup window, or
// with a file named writes that file without a window.
#include "outside/errtext6/errmsg.h"
#include "outside/savedata6/modulesupport.h"
#include "platform/registry.h"
#include "shell/appregistry.h"
#include "shell/backupsettings.h"
#include "tools/backup/jobs.h"
#include "tools/backup/ui/backupdialogs.h"
#include "tools/datatools_abi.h"

namespace {

constexpr long kSettingsUnreadable = 2504;

}  // namespace

extern "C" HV6_TOOL_EXPORT int32_t DataBackup(const char* backupFile, const char* /*reserved2*/,
                                              const char* /*reserved3*/, const char* /*reserved4*/) {
  using namespace hv6::backup;
  const QString file = argumentText(backupFile);
  hv6::RegistryStore store;
  hv6::AppRegistry registry(store);
  const auto recordDate = [&registry](long date) { return hv6::writeBackupDate(registry, date); };
  DataPaths paths;
  if (file.isEmpty()) {
    WindowedMessages windowed;
    if (!hv6::readDataPaths(registry, paths.diary, paths.weather)) {
      CErrMsg().Disp(kSettingsUnreadable, 1);
      return int32_t(kSettingsUnreadable);
    }
    BackupDialog dialog(paths, defaultBackupPath(today()), recordDate);
    dialog.exec();
    return int32_t(dialog.result());
  }
  if (!hv6::readDataPaths(registry, paths.diary, paths.weather)) {
    CErrMsg().Disp(kSettingsUnreadable, 1);
    return int32_t(kSettingsUnreadable);
  }
  return int32_t(runBackupJob(paths, commandLineFile(file), today(), {}, recordDate));
}
