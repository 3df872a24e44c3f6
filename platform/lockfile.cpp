#include "platform/lockfile.h"

#include "platform/folders.h"

#include <QCoreApplication>
#include <QCryptographicHash>

namespace hv6 {
namespace {

constexpr int kUserMode = 0600;
constexpr int kMachineMode = 0666;
constexpr int kMachineFolderMode = 01777;  // every user may add, nobody remove others'
constexpr qsizetype kMaxEncodedName = 160;

bool keptAsIs(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.';
}

// Letters, digits, '-', '_' and '.' stay; every other byte becomes %XX, so
// different names give different files. A long name is shortened and
// completed by its hash.
QString encodedName(const QString& name) {
  const QByteArray utf8 = name.toUtf8();
  QByteArray out;
  for (const char c : utf8) {
    if (keptAsIs(c)) out += c;
    else out += '%' + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0').toUpper();
  }
  if (out.size() > kMaxEncodedName)
    out = out.left(kMaxEncodedName / 2) + '-' +
          QCryptographicHash::hash(utf8, QCryptographicHash::Sha1).toHex();
  return QString::fromLatin1(out);
}

// The machine-wide folder is made by a holder only: a probe of a lock
// leaves nothing behind.
QString lockFolder(LockScope scope, bool make) {
  if (scope == LockScope::User) return runtimeFolder();
  const QString folder = specialFolder(kFolderCommonDocuments);
  if (make) fileio::makeFolder(folder, kMachineFolderMode);
  return folder;
}

QString lockFile(const QString& name, LockScope scope, bool make) {
  return lockFolder(scope, make) + u'/' + encodedName(name) + QStringLiteral(".lock");
}

}  // namespace

QString NamedLock::lockFilePath(const QString& name, LockScope scope) {
  return lockFile(name, scope, true);
}

bool NamedLock::acquire(const QString& name, LockScope scope) { return take(name, scope, false); }

bool NamedLock::acquireShared(const QString& name, LockScope scope) {
  return take(name, scope, true);
}

bool NamedLock::take(const QString& name, LockScope scope, bool shared) {
  release();
  heldElsewhere_ = false;
  error_.clear();
  if (name.isEmpty()) {
    error_ = QStringLiteral("a lock needs a name");
    return false;
  }
  const int mode = scope == LockScope::User ? kUserMode : kMachineMode;
  const QString path = lockFilePath(name, scope);
  if (!(shared ? lock_.lockShared(path, mode) : lock_.lock(path, false, mode))) {
    heldElsewhere_ = lock_.busy();
    error_ = lock_.error();
    return false;
  }
  // Shared holders leave the file alone: the note would be the last one's.
  if (!shared) lock_.writeNote(QByteArray::number(QCoreApplication::applicationPid()) + '\n');
  return true;
}

void NamedLock::release() { lock_.release(); }

bool NamedLock::isTaken(const QString& name, LockScope scope) {
  return !name.isEmpty() && fileio::isLocked(lockFile(name, scope, false));
}

bool NamedLock::isInUse(const QString& name, LockScope scope) {
  return !name.isEmpty() && fileio::isLockedByAnyone(lockFile(name, scope, false));
}

}  // namespace hv6
