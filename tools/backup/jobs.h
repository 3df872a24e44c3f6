#pragma once
// The backup and the restore as the dialogs and the command line run them:
// the work, the settings it changes afterwards, and the numbered messages
// through the message presenter (boxes in the dialogs, standard error on
// the command line).

#include "tools/backup/restore.h"

#include <functional>

namespace hv6::backup {

// Writes the backup and records its date through recordDate (the settings'
// BackUpDate). Returns kDone, kCancelled or the number of the message shown.
long runBackupJob(const DataPaths& paths, const QString& file, long date,
                  const ProgressFunction& progress, const std::function<bool(long)>& recordDate);

// Restores the backup; when the restored weather database lies elsewhere
// than WeatherDataPath named, recordWeatherPath is told its path.
long runRestoreJob(const QString& file, const DataPaths& paths, const RestoreOptions& options,
                   const std::function<bool(const QString&)>& recordWeatherPath);

// "yyyy年m月d日" of a yyyymmdd date; empty for 0.
QString dateText(long date);

// What a backup holds, in lines for the user.
QString describeBackup(const BackupHeader& header);

}  // namespace hv6::backup
