#pragma once
// Replaces files of the program folder all together or not at all.
//
// Every new file is first written under a staging name next to its target
// and read back: its size and SHA-256 must be the source's. Only then are
// the targets replaced by renaming, each old file kept under a backup name
// until the last new file is in place. When any step fails, every old
// file is put back and the staged files are removed, so the folder holds
// either all old files or all new ones.

#include "platform/file_io.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace hv6::updater {

inline const QString kStagingSuffix = QStringLiteral(".hv6patch-new");
inline const QString kBackupSuffix = QStringLiteral(".hv6patch-old");

// One file: its listed name (for messages), where it comes from and the
// file it replaces or creates.
struct FileCopy {
  QString name;
  QString source;
  QString target;
};

// The file operations of a replacement. Tests derive from it to make one
// step fail.
class FileOps {
 public:
  virtual ~FileOps() = default;
  virtual fileio::ReadResult read(const QString& path);
  virtual fileio::WriteResult writeNew(const QString& path, const QByteArray& bytes, int mode);
  virtual fileio::WriteResult rename(const QString& from, const QString& to);
  virtual bool remove(const QString& path);
};

struct ReplaceResult {
  enum class Status {
    Replaced,     // every target holds its new file
    Failed,       // nothing changed: every target holds its old file
    NotRestored,  // a failure, and some old files could not be put back
  };
  Status status = Status::Failed;
  QString failedName;  // the file whose step failed
  QString error;       // why, for the person reading the message
  // Files whose old content stays under its backup name.
  QStringList notRestored;
};

ReplaceResult replaceFiles(const QList<FileCopy>& files, FileOps& ops);

}  // namespace hv6::updater
