#include "platform/file_io.h"

#include "platform/syserror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hv6::fileio {
namespace {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

QString errnoText(const QString& what, const QString& path, int code = errno) {
  return what + QStringLiteral(" ") + path + QStringLiteral(": ") + qt_error_string(code);
}

FileStamp stampOf(const struct stat& st) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.size = st.st_size;
  stamp.mtimeNs = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  stamp.inode = st.st_ino;
  stamp.device = st.st_dev;
  return stamp;
}

bool readAll(int fd, QByteArray& out) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    out.append(buffer, qsizetype(n));
  }
}

bool writeAll(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, size_t(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    left -= n;
  }
  return true;
}

// More links in a row than this is a loop, as for the kernel.
constexpr int kMaxLinks = 40;

void syncFolder(const QString& folder) {
  const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

WriteResult failure(const QString& text, int code = errno) {
  return WriteResult{false, text, fileCauseOf(code)};
}

// An existing file keeps its permissions.
mode_t modeFor(const QString& target, int newFileMode) {
  struct stat st {};
  if (::stat(nativePath(target).constData(), &st) == 0) return st.st_mode & 07777;
  return mode_t(newFileMode);
}

// False with errno set when the temporary file could not be filled.
bool fillTemporary(int fd, const QByteArray& bytes, mode_t mode) {
  return ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
}

int flockRetrying(int fd, int operation) {
  int rc;
  do rc = ::flock(fd, operation);
  while (rc != 0 && errno == EINTR);
  return rc;
}

int openForLock(const QByteArray& path, int fileMode) {
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, mode_t(fileMode));
  if (fd >= 0 || errno != EACCES) return fd;
  // Another user's lock file may be read-only for us; flock works anyway.
  return ::open(path.constData(), O_RDONLY | O_CLOEXEC);
}

}  // namespace

QString resolvedPath(const QString& path) {
  QByteArray current = nativePath(path);
  if (current.isEmpty()) return path;
  if (!current.startsWith('/')) current = nativePath(QDir::currentPath()) + '/' + current;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(current.constData(), target.data(), size_t(target.size()));
    if (length < 0 || length >= target.size()) break;  // not a link (or a missing file)
    target.truncate(length);
    // A relative target starts from the folder that holds the link.
    if (!target.startsWith('/')) target.prepend(current.left(current.lastIndexOf('/') + 1));
    current = target;
  }
  // Links among the folders: the folder as the kernel resolves it.
  const qsizetype slash = current.lastIndexOf('/');
  const QByteArray folder = slash == 0 ? QByteArray("/") : current.left(slash);
  char* real = ::realpath(folder.constData(), nullptr);
  if (!real) return QFile::decodeName(current);
  QByteArray resolved(real);
  ::free(real);
  if (!resolved.endsWith('/')) resolved += '/';
  return QFile::decodeName(resolved + current.mid(slash + 1));
}

ReadResult readFile(const QString& path) {
  ReadResult result;
  const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.ok = errno == ENOENT;
    result.cause = fileCauseOf(errno);
    if (!result.ok) result.error = errnoText(QStringLiteral("cannot open"), path);
    return result;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !readAll(fd, result.bytes)) {
    result.cause = fileCauseOf(errno);
    result.error = errnoText(QStringLiteral("cannot read"), path);
    ::close(fd);
    return result;
  }
  ::close(fd);
  result.stamp = stampOf(st);
  result.ok = true;
  return result;
}

ReadResult statFile(const QString& path) {
  ReadResult result;
  struct stat st {};
  if (::stat(nativePath(path).constData(), &st) != 0) {
    result.ok = errno == ENOENT;
    if (!result.ok) result.error = errnoText(QStringLiteral("cannot examine"), path);
    return result;
  }
  result.stamp = stampOf(st);
  result.ok = true;
  return result;
}

WriteResult replaceFile(const QString& path, const QByteArray& bytes, int newFileMode) {
  const QString target = resolvedPath(path);
  const QFileInfo info(target);
  QByteArray temp = nativePath(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                               QStringLiteral(".XXXXXX"));
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return failure(errnoText(QStringLiteral("cannot create a file in"), info.absolutePath()));
  int code = fillTemporary(fd, bytes, modeFor(target, newFileMode)) ? 0 : errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code == 0 && ::rename(temp.constData(), nativePath(target).constData()) != 0) code = errno;
  if (code != 0) {
    ::unlink(temp.constData());
    return failure(errnoText(QStringLiteral("cannot write"), target, code), code);
  }
  syncFolder(info.absolutePath());
  return WriteResult{true, QString(), FileCause::None};
}

WriteResult appendFile(const QString& path, const QByteArray& bytes, int newFileMode) {
  const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                        mode_t(newFileMode));
  if (fd < 0) {
    const int code = errno;
    WriteResult result = failure(errnoText(QStringLiteral("cannot open"), path, code), code);
    // Creating a file fails with ENOENT only when its folder is missing.
    if (code == ENOENT) result.cause = FileCause::BadPath;
    return result;
  }
  struct stat st {};
  int code = ::fstat(fd, &st) == 0 ? 0 : errno;
  errno = 0;
  if (code == 0 && !writeAll(fd, bytes)) {
    code = errno != 0 ? errno : EIO;
    // What was written of this piece goes again, so the file holds no half
    // of it; the failure is reported either way.
    const bool cut = ::ftruncate(fd, st.st_size) == 0;
    Q_UNUSED(cut);
  }
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code != 0) return failure(errnoText(QStringLiteral("cannot write"), path, code), code);
  return WriteResult{true, QString(), FileCause::None};
}

FileCause fileCauseOf(int systemError) {
  return fileCauseOfWindowsError(windowsErrorFromErrno(systemError));
}

FileCause fileCauseOfWindowsError(unsigned long code) {
  // The framework's table from Windows system error codes to causes.
  switch (code) {
    case 0: return FileCause::None;
    case 2:    // ERROR_FILE_NOT_FOUND
    case 6:    // ERROR_INVALID_HANDLE
    case 18:   // ERROR_NO_MORE_FILES
    case 64:   // ERROR_NETNAME_DELETED
    case 107:  // ERROR_DISK_CHANGE
      return FileCause::FileNotFound;
    case 3:    // ERROR_PATH_NOT_FOUND
    case 15:   // ERROR_INVALID_DRIVE
    case 17:   // ERROR_NOT_SAME_DEVICE
    case 34:   // ERROR_WRONG_DISK
    case 52:   // ERROR_DUP_NAME
    case 53:   // ERROR_BAD_NETPATH
    case 55:   // ERROR_DEV_NOT_EXIST
    case 67:   // ERROR_BAD_NET_NAME
    case 70:   // ERROR_SHARING_PAUSED
    case 85:   // ERROR_ALREADY_ASSIGNED
    case 111:  // ERROR_BUFFER_OVERFLOW
    case 123:  // ERROR_INVALID_NAME
    case 124:  // ERROR_INVALID_LEVEL
    case 125:  // ERROR_NO_VOLUME_LABEL
    case 144:  // ERROR_DIR_NOT_ROOT
    case 154:  // ERROR_LABEL_TOO_LONG
    case 161:  // ERROR_BAD_PATHNAME
    case 206:  // ERROR_FILENAME_EXCED_RANGE
    case 208:  // ERROR_META_EXPANSION_TOO_LONG
    case 267:  // ERROR_DIRECTORY
      return FileCause::BadPath;
    case 4:    // ERROR_TOO_MANY_OPEN_FILES
    case 36:   // ERROR_SHARING_BUFFER_EXCEEDED
    case 68:   // ERROR_TOO_MANY_NAMES
    case 113:  // ERROR_NO_MORE_SEARCH_HANDLES
      return FileCause::TooManyOpenFiles;
    case 5:    // ERROR_ACCESS_DENIED
    case 12:   // ERROR_INVALID_ACCESS
    case 19:   // ERROR_WRITE_PROTECT
    case 29:   // ERROR_WRITE_FAULT
    case 54:   // ERROR_NETWORK_BUSY
    case 58:   // ERROR_BAD_NET_RESP
    case 65:   // ERROR_NETWORK_ACCESS_DENIED
    case 71:   // ERROR_REQ_NOT_ACCEP
    case 80:   // ERROR_FILE_EXISTS
    case 82:   // ERROR_CANNOT_MAKE
    case 86:   // ERROR_INVALID_PASSWORD
    case 170:  // ERROR_BUSY
    case 183:  // ERROR_ALREADY_EXISTS
    case 999:  // ERROR_SWAPERROR
      return FileCause::AccessDenied;
    case 11:   // ERROR_BAD_FORMAT
    case 26:   // ERROR_NOT_DOS_DISK
    case 60:   // ERROR_BAD_REM_ADAP
    case 66:   // ERROR_BAD_DEV_TYPE
    case 114:  // ERROR_INVALID_TARGET_HANDLE
    case 182:  // ERROR_INVALID_ORDINAL
    case 191:  // ERROR_INVALID_EXE_SIGNATURE
    case 193:  // ERROR_BAD_EXE_FORMAT
      return FileCause::InvalidFile;
    case 16:   // ERROR_CURRENT_DIRECTORY
    case 145:  // ERROR_DIR_NOT_EMPTY
      return FileCause::RemoveCurrentDir;
    case 62:   // ERROR_NO_SPOOL_SPACE
      return FileCause::DirectoryFull;
    case 24:   // ERROR_BAD_LENGTH
    case 25:   // ERROR_SEEK
    case 27:   // ERROR_SECTOR_NOT_FOUND
    case 30:   // ERROR_READ_FAULT
    case 131:  // ERROR_NEGATIVE_SEEK
    case 132:  // ERROR_SEEK_ON_DEVICE
      return FileCause::BadSeek;
    case 20:   // ERROR_BAD_UNIT
    case 21:   // ERROR_NOT_READY
    case 22:   // ERROR_BAD_COMMAND
    case 23:   // ERROR_CRC
    case 57:   // ERROR_ADAP_HDW_ERR
    case 59:   // ERROR_UNEXP_NET_ERR
    case 88:   // ERROR_NET_WRITE_FAULT
    case 117:  // ERROR_INVALID_CATEGORY
    case 995:  // ERROR_OPERATION_ABORTED
    case 996:  // ERROR_IO_INCOMPLETE
    case 997:  // ERROR_IO_PENDING
      return FileCause::HardIo;
    case 32:   // ERROR_SHARING_VIOLATION
      return FileCause::SharingViolation;
    case 33:   // ERROR_LOCK_VIOLATION
    case 108:  // ERROR_DRIVE_LOCKED
    case 167:  // ERROR_LOCK_FAILED
      return FileCause::LockViolation;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
      return FileCause::DiskFull;
    case 38:   // ERROR_HANDLE_EOF
      return FileCause::EndOfFile;
    default: return FileCause::Generic;
  }
}

WriteResult writeNewFile(const QString& path, const QByteArray& bytes, int mode) {
  const QByteArray native = nativePath(path);
  if (::unlink(native.constData()) != 0 && errno != ENOENT)
    return failure(errnoText(QStringLiteral("cannot remove"), path));
  const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode));
  if (fd < 0) return failure(errnoText(QStringLiteral("cannot create"), path));
  int code = fillTemporary(fd, bytes, mode_t(mode)) ? 0 : errno;
  if (::close(fd) != 0 && code == 0) code = errno;
  if (code != 0) {
    ::unlink(native.constData());
    return failure(errnoText(QStringLiteral("cannot write"), path, code));
  }
  return WriteResult{true, QString()};
}

WriteResult renameOver(const QString& from, const QString& to) {
  if (::rename(nativePath(from).constData(), nativePath(to).constData()) != 0)
    return failure(errnoText(QStringLiteral("cannot rename"), from + QStringLiteral(" -> ") + to));
  syncFolder(QFileInfo(to).absolutePath());
  return WriteResult{true, QString()};
}

int permissionBits(const QString& path) {
  struct stat st {};
  if (::stat(nativePath(path).constData(), &st) != 0) return -1;
  return int(st.st_mode & 07777);
}

void removeLeftoverTemporaries(const QString& path) {
  const QFileInfo info(resolvedPath(path));
  QDir folder = info.absoluteDir();
  const QString pattern = QStringLiteral(".") + info.fileName() + QStringLiteral(".??????");
  for (const QString& name : folder.entryList({pattern}, QDir::Files | QDir::Hidden))
    folder.remove(name);
}

bool makeFolder(const QString& path, int mode) {
  const QFileInfo info(path);
  if (info.isDir()) return true;
  if (!QDir().mkpath(info.absolutePath())) return false;
  if (::mkdir(nativePath(path).constData(), mode_t(mode)) != 0)
    return errno == EEXIST && QFileInfo(path).isDir();
  ::chmod(nativePath(path).constData(), mode_t(mode));  // mkdir narrowed it by the umask
  return true;
}

bool exchangePaths(const QString& first, const QString& second, QString* error) {
  const int result = ::renameat2(AT_FDCWD, nativePath(first).constData(), AT_FDCWD,
                                 nativePath(second).constData(), RENAME_EXCHANGE);
  if (result == 0) return true;
  if (error) *error = QString::fromLocal8Bit(std::strerror(errno));
  return false;
}

bool syncFileSystemOf(const QString& path) {
  const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::syncfs(fd) == 0;
  ::close(fd);
  return synced;
}

std::int64_t wallClockMs() { return QDateTime::currentMSecsSinceEpoch(); }

FileLock::~FileLock() { release(); }

FileLock::FileLock(FileLock&& other) noexcept
    : fd_(other.fd_), busy_(other.busy_), error_(std::move(other.error_)) {
  other.fd_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this == &other) return *this;
  release();
  fd_ = other.fd_;
  busy_ = other.busy_;
  error_ = std::move(other.error_);
  other.fd_ = -1;
  return *this;
}

bool FileLock::lock(const QString& path, bool wait, int fileMode) {
  return take(path, wait ? LOCK_EX : LOCK_EX | LOCK_NB, fileMode);
}

bool FileLock::lockShared(const QString& path, int fileMode) {
  return take(path, LOCK_SH | LOCK_NB, fileMode);
}

bool FileLock::take(const QString& path, int operation, int fileMode) {
  release();
  busy_ = false;
  error_.clear();
  const int fd = openForLock(nativePath(path), fileMode);
  if (fd < 0) {
    error_ = errnoText(QStringLiteral("cannot open the lock file"), path);
    return false;
  }
  ::fchmod(fd, mode_t(fileMode));  // the creator's umask must not narrow a shared lock
  if (flockRetrying(fd, operation) != 0) {
    const int code = errno;
    busy_ = code == EWOULDBLOCK;
    error_ = busy_ ? QStringLiteral("held by another holder: ") + path
                   : errnoText(QStringLiteral("cannot lock"), path, code);
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void FileLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the only descriptor drops the lock
  fd_ = -1;
}

void FileLock::writeNote(const QByteArray& note) {
  if (fd_ < 0 || ::ftruncate(fd_, 0) != 0) return;
  const ssize_t written = ::pwrite(fd_, note.constData(), size_t(note.size()), 0);
  (void)written;  // the note only helps a person looking at the file
}

bool isLocked(const QString& path) {
  const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // A shared probe conflicts only with an exclusive holder.
  const bool held = flockRetrying(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

bool isLockedByAnyone(const QString& path) {
  const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // An exclusive probe conflicts with every holder.
  const bool held = flockRetrying(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

bool lockForWriting(FileLock& lock, const QString& path, int newFileMode) {
  const QString target = resolvedPath(path);
  struct stat st {};
  const bool exists = ::stat(nativePath(target).constData(), &st) == 0;
  const int mode = exists ? int(st.st_mode & 0666) : newFileMode;
  if (!lock.lock(target + QStringLiteral(".lock"), true, mode)) return false;
  removeLeftoverTemporaries(target);
  return true;
}

}  // namespace hv6::fileio
