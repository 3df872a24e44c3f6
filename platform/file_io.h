#pragma once
// File primitives of the platform layer: whole-file reads that report which
// file version was read, atomic replacement, advisory locks and private
// folders. The rest of the program uses the stores built on them.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace hv6::fileio {

// Identifies one version of a file: a replaced file has another inode, a
// rewritten one another size or modification time.
struct FileStamp {
  bool exists = false;
  std::int64_t size = 0;
  std::int64_t mtimeNs = 0;
  std::uint64_t inode = 0;
  std::uint64_t device = 0;

  bool operator==(const FileStamp&) const = default;
};

// Why a file operation failed, as the framework's file exceptions tell it
// (their causes, in their order).
enum class FileCause {
  None,
  Generic,
  FileNotFound,
  BadPath,
  TooManyOpenFiles,
  AccessDenied,
  InvalidFile,
  RemoveCurrentDir,
  DirectoryFull,
  BadSeek,
  HardIo,
  SharingViolation,
  LockViolation,
  DiskFull,
  EndOfFile,
};

// The cause of a system error number (errno) of a failed file call: the
// cause the framework gives the Windows code the error stands for.
FileCause fileCauseOf(int systemError);
// The framework's cause of a Windows system error code (0 gives None, codes
// without a cause of their own Generic).
FileCause fileCauseOfWindowsError(unsigned long code);

struct ReadResult {
  bool ok = false;  // false only for a file that exists but cannot be read
  QByteArray bytes;
  FileStamp stamp;  // stamp.exists is false for a missing file
  QString error;
  FileCause cause = FileCause::None;  // FileNotFound for a missing file
};

struct WriteResult {
  bool ok = false;
  QString error;
  FileCause cause = FileCause::None;
};

// Reads the whole file; the stamp belongs to exactly the bytes returned.
ReadResult readFile(const QString& path);

// The stamp of the file without reading it (bytes stay empty).
ReadResult statFile(const QString& path);

// The file a path names once every symbolic link on the way is followed,
// also when that file does not exist yet (a link may point to a file still
// to be made). When the folder does not exist, the links followed as far
// as they lead.
QString resolvedPath(const QString& path);

// Writes a temporary file in the same folder, syncs it and renames it over
// the target, so readers see either the old or the new content. A symbolic
// link stays a link: the file it resolves to is replaced. A new file gets
// newFileMode; an existing one keeps its permissions.
WriteResult replaceFile(const QString& path, const QByteArray& bytes, int newFileMode);

// Appends the bytes at the end of the file, creating it (with newFileMode)
// when missing; an existing file is kept as it is.
WriteResult appendFile(const QString& path, const QByteArray& bytes, int newFileMode);

// Writes a new file of the bytes with mode (a file of that name is removed
// first) and syncs it to the disk; a failed write leaves no file. Not
// atomic by itself: for a copy that is checked and then renamed into place.
WriteResult writeNewFile(const QString& path, const QByteArray& bytes, int mode);

// Renames a file onto another name in the same file system, replacing what
// is there in one step, and syncs the folder.
WriteResult renameOver(const QString& from, const QString& to);

// The permission bits of a file (a link is followed); -1 when it cannot be
// examined.
int permissionBits(const QString& path);

// Removes temporary files that replaceFile() left for the path when a
// writer died. Only safe while holding the lock every writer of it takes.
void removeLeftoverTemporaries(const QString& path);

// Creates the folder and its missing parents; the last one gets mode.
bool makeFolder(const QString& path, int mode);

// Swaps two existing paths (files or folders) of one file system in one
// step: each name then holds what the other held, and no moment exists in
// which either name is missing. Where the file system cannot, false with
// the reason in error and nothing changed.
bool exchangePaths(const QString& first, const QString& second, QString* error = nullptr);

// Writes everything written to the file system that holds path out to
// the disk (syncfs), so many new files need one wait instead of one each.
bool syncFileSystemOf(const QString& path);

// Milliseconds since the epoch, the clock file modification times use.
std::int64_t wallClockMs();

// An advisory lock (flock) on a file, held until release or destruction and
// released by the kernel when the process dies. Each object opens the file
// itself, so two objects of one process exclude each other as well.
class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;

  // Creates the file when missing (with fileMode). Without wait, a lock
  // held elsewhere fails at once.
  bool lock(const QString& path, bool wait, int fileMode);
  // The same as a shared holder, without waiting: any number of shared
  // holders at once, none while someone holds the lock exclusively.
  bool lockShared(const QString& path, int fileMode);
  void release();
  bool held() const { return fd_ >= 0; }
  // Set when lock() failed because someone else holds the lock.
  bool busy() const { return busy_; }
  const QString& error() const { return error_; }
  // Replaces the file's content with a short note (e.g. the holder's pid).
  void writeNote(const QByteArray& note);

 private:
  bool take(const QString& path, int operation, int fileMode);

  int fd_ = -1;
  bool busy_ = false;
  QString error_;
};

// True when someone holds a lock on the file; a missing file is not held.
bool isLocked(const QString& path);
// True when someone holds the lock on the file, shared or exclusive.
bool isLockedByAnyone(const QString& path);

// Takes, waiting for it, the lock every writer of a file takes before it
// reads, changes and replaces the file: "<file>.lock" beside the file the
// path resolves to, so that a writer through a symbolic link and one through
// the file itself exclude each other. Then clears what writers that died
// left. The lock file gets the permissions of the file, or newFileMode.
bool lockForWriting(FileLock& lock, const QString& path, int newFileMode);

}  // namespace hv6::fileio
