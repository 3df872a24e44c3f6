#include "updater/replacement.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace hv6::updater {
namespace {

constexpr int kDefaultMode = 0644;
constexpr int kPermissionBits = 0777;

// Where one file stands in the replacement.
struct Step {
  FileCopy copy;
  QString staging;
  QString backup;
  bool existed = false;   // the target was there before
  bool staged = false;    // the staging file exists
  bool backedUp = false;  // the old file is under the backup name
  bool replaced = false;  // the new file is under the target name
};

QByteArray sha256(const QByteArray& bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The target keeps its permissions; a new file takes the source's.
int modeFor(const FileCopy& copy, bool existed) {
  const int mode = fileio::permissionBits(existed ? copy.target : copy.source);
  return mode < 0 ? kDefaultMode : (mode & kPermissionBits);
}

// Writes the new file under its staging name and reads it back. An empty
// text when it is there intact, else why not.
QString stage(Step& step, FileOps& ops) {
  const QFileInfo target(step.copy.target);
  step.existed = target.exists() || target.isSymLink();
  if (target.isDir()) return QStringLiteral("a folder has the file's name: ") + step.copy.target;
  if (step.existed && !target.isSymLink() && !target.isWritable())
    return QStringLiteral("the file is read-only: ") + step.copy.target;

  const fileio::ReadResult source = ops.read(step.copy.source);
  if (!source.ok) return source.error;
  if (!source.stamp.exists) return QStringLiteral("no such file: ") + step.copy.source;

  const fileio::WriteResult written =
      ops.writeNew(step.staging, source.bytes, modeFor(step.copy, step.existed));
  if (!written.ok) return written.error;
  step.staged = true;

  const fileio::ReadResult copy = ops.read(step.staging);
  if (!copy.ok) return copy.error;
  if (copy.bytes.size() != source.bytes.size() || sha256(copy.bytes) != sha256(source.bytes))
    return QStringLiteral("the copy differs from the source: ") + step.staging;
  return {};
}

QString putInPlace(Step& step, FileOps& ops) {
  if (step.existed) {
    const fileio::WriteResult moved = ops.rename(step.copy.target, step.backup);
    if (!moved.ok) return moved.error;
    step.backedUp = true;
  }
  const fileio::WriteResult renamed = ops.rename(step.staging, step.copy.target);
  if (!renamed.ok) return renamed.error;
  step.staged = false;
  step.replaced = true;
  return {};
}

// Puts the old file of a step back; false when it stays under its backup
// name.
bool restore(Step& step, FileOps& ops) {
  if (step.backedUp) return ops.rename(step.backup, step.copy.target).ok;
  if (step.replaced) return ops.remove(step.copy.target);  // there was no old file
  return true;
}

ReplaceResult failure(QList<Step>& steps, qsizetype failed, const QString& error, FileOps& ops) {
  ReplaceResult result;
  result.status = ReplaceResult::Status::Failed;
  result.failedName = steps.at(failed).copy.name;
  result.error = error;
  for (qsizetype i = steps.size() - 1; i >= 0; --i) {
    Step& step = steps[i];
    if (!restore(step, ops)) result.notRestored << step.copy.name;
    if (step.staged) ops.remove(step.staging);
  }
  if (!result.notRestored.isEmpty()) result.status = ReplaceResult::Status::NotRestored;
  return result;
}

}  // namespace

fileio::ReadResult FileOps::read(const QString& path) { return fileio::readFile(path); }

fileio::WriteResult FileOps::writeNew(const QString& path, const QByteArray& bytes, int mode) {
  return fileio::writeNewFile(path, bytes, mode);
}

fileio::WriteResult FileOps::rename(const QString& from, const QString& to) {
  return fileio::renameOver(from, to);
}

bool FileOps::remove(const QString& path) { return QFile::remove(path); }

ReplaceResult replaceFiles(const QList<FileCopy>& files, FileOps& ops) {
  QList<Step> steps;
  for (const FileCopy& copy : files)
    steps << Step{copy, copy.target + kStagingSuffix, copy.target + kBackupSuffix};

  for (qsizetype i = 0; i < steps.size(); ++i)
    if (const QString error = stage(steps[i], ops); !error.isEmpty())
      return failure(steps, i, error, ops);
  for (qsizetype i = 0; i < steps.size(); ++i)
    if (const QString error = putInPlace(steps[i], ops); !error.isEmpty())
      return failure(steps, i, error, ops);

  // Every new file is in place: the old ones are no longer needed.
  for (const Step& step : steps)
    if (step.backedUp) ops.remove(step.backup);
  ReplaceResult result;
  result.status = ReplaceResult::Status::Replaced;
  return result;
}

}  // namespace hv6::updater
