#pragma once
// Restoring a backup. The backup is read into a staging folder beside the
// data folder, every file checked against the manifest and both databases
// with PRAGMA integrity_check; only then is the staging folder swapped in
// as the data folder, and the previous data folder stays beside it as a
// dated safety copy. Any failure before the swap leaves the data folder as
// it was.
//
// Pictures go back to the path PictureLink names when that path is free or
// already holds the same bytes; otherwise into the data folder's picture
// folder, with PictureLink.Path changed to match. Outside the data folder
// only files named as pictures (.jpg, .jpeg, .bmp) are made.

#include "tools/backup/backup.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace hv6::backup {

// The subfolder of the data folder for pictures that cannot go back to
// their own path.
inline const QString kPictureFolderName = QStringLiteral("photos");

struct InspectResult {
  long message = kDone;
  QString detail;
  BackupHeader header;
};

// Reads the header of a backup file (what it holds), without the rest.
InspectResult inspectBackup(const QString& file);

struct RestoreOptions {
  ProgressFunction progress;
  // Called when everything is verified and staged, before anything outside
  // the staging folder changes.
  std::function<void()> beforeSwap;
  QDateTime now = QDateTime::currentDateTime();  // names the safety copy
};

struct RestoreResult {
  long message = kDone;
  QString detail;
  BackupHeader header;
  QString safetyCopy;      // where the previous data folder now is
  QString weatherPath;     // the restored weather database
  QStringList relocatedPictures;  // new paths of pictures that could not go back
};

// Restores file over the data folder of paths.diary.
RestoreResult restoreBackup(const QString& file, const DataPaths& paths,
                            const RestoreOptions& options = {});

// The name of the safety copy of a data folder taken at a time (the first
// free one of "<folder>_復元前_yyyymmdd-hhmmss", "…-2", …).
QString safetyCopyPath(const QString& dataFolder, const QDateTime& when);

}  // namespace hv6::backup
