#pragma once
// Taking a backup: one archive file (tools/backupformat.h) holding a
// consistent copy of both databases, taken through SQLite while other
// programs may be writing them, every farm-diary page of the data folder,
// every picture file PictureLink names, and the manifest.
//
// Nothing here shows a window: the result carries the number of the
// message (errtext6) the caller shows.

#include "tools/backup/backupformat.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace hv6::backup {

// The two database files of the data to back up or restore.
struct DataPaths {
  QString diary;    // DataPath: "…/作業日誌データ.HV6"; its folder is the data folder
  QString weather;  // WeatherDataPath
};

// Called as the work goes on with the bytes done and the bytes in all;
// false cancels.
using ProgressFunction = std::function<bool(qint64 done, qint64 total)>;

// Results common to backup and restore.
constexpr long kDone = 0;
constexpr long kCancelled = -1;

// Message numbers (errtext6) of the backup and the restore.
enum Message : long {
  kMsgDiskFull = 2160,
  kMsgCannotWrite = 2960,
  kMsgCannotReadData = 2961,
  kMsgNotABackup = 2962,
  kMsgDamaged = 2963,
  kMsgNewerFormat = 2964,
  kMsgBadDatabase = 2965,
  kMsgFolderReadOnly = 2966,
  kMsgSwapFailed = 2967,
  kMsgNoDataFolder = 2968,
  kMsgCannotReadBackup = 2969,
  kMsgBackupDone = 2970,
  kMsgRestoreDone = 2971,
  kMsgDateNotRecorded = 2972,
  kMsgProgramRunning = 2973,
};

struct BackupResult {
  long message = kDone;  // kDone, kCancelled or the message number of the failure
  QString detail;        // the cause, for the message's detail lines
  Manifest manifest;     // what was written (with kDone)
  bool dateRecorded = false;  // Information.LastBackup holds the backup's date
  QStringList missingPictures;  // paths PictureLink names that were not found
};

// Writes the backup of the data at paths into target (a temporary file in
// the target's folder until it is complete: a failure or a cancel leaves
// nothing behind). date (yyyymmdd) goes into the manifest and into
// Information.LastBackup, set before the copy is taken so the backup holds
// it, and set back when the backup fails.
BackupResult writeBackup(const DataPaths& paths, const QString& target, long date,
                         const ProgressFunction& progress = {});

// The farm-diary pages of a data folder, sorted by name.
QStringList farmDiaryFiles(const QString& folder);

// yyyymmdd of today.
long today();

}  // namespace hv6::backup
