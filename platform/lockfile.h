#pragma once
// Lock files that stand in for named mutexes. A lock is held with flock on
// a file named after the lock: refused while anyone else holds it (another
// process or another NamedLock of this one), released on destruction and by
// the kernel when the holder dies.

#include "platform/file_io.h"

#include <QString>

namespace hv6 {

// The machine-wide guard of the system's programs (the mutex
// "Global\HV6Global"): held by a running hv6, whichever user runs it.
inline const QString kMachineGuardName = QStringLiteral("Global\\HV6Global");

enum class LockScope {
  User,     // this user's programs: in the runtime folder (HV6_RUNTIME)
  Machine,  // every user of the machine: in the machine-wide folder (HV6_COMMON)
};

class NamedLock {
 public:
  NamedLock() = default;

  // Takes the lock without waiting. False when it is held elsewhere
  // (heldElsewhere() tells) or the lock file cannot be made (errorText()).
  bool acquire(const QString& name, LockScope scope);
  // Takes the lock as one of any number of shared holders (a marker that
  // several windows or programs hold at once). False while someone holds
  // it exclusively.
  bool acquireShared(const QString& name, LockScope scope);
  void release();
  bool isHeld() const { return lock_.held(); }
  bool heldElsewhere() const { return heldElsewhere_; }
  const QString& errorText() const { return error_; }

  // Whether someone holds the lock, without taking it or making its folder.
  // (An exclusive holder; see isInUse for shared ones.)
  static bool isTaken(const QString& name, LockScope scope);
  // Whether anyone holds the lock, shared or exclusive.
  static bool isInUse(const QString& name, LockScope scope);
  // The lock file of a name: any name gives a safe file name of its own.
  static QString lockFilePath(const QString& name, LockScope scope);

 private:
  bool take(const QString& name, LockScope scope, bool shared);

  fileio::FileLock lock_;
  bool heldElsewhere_ = false;
  QString error_;
};

}  // namespace hv6
