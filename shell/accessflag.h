#pragma once
// Environment\BaseInfo Access, the flag that says a data tool is working on
// the data, with a record of who set it: while a process holds Access = 1
// it holds the lock "hv6-data-access" in the runtime folder (the lock file
// names its process id). The kernel drops the lock when that process dies,
// so an Access = 1 nobody holds was left by a tool that crashed or was
// killed, and is reset instead of marking the data busy for ever.

#include "platform/lockfile.h"
#include "shell/appregistry.h"

namespace hv6 {

class AccessFlag {
 public:
  static inline const QString kHolderLock = QStringLiteral("hv6-data-access");

  explicit AccessFlag(AppRegistry& registry) : registry_(registry) {}
  // Going away while busy (as a dying process would) leaves Access at 1
  // with no holder: stale.
  ~AccessFlag() = default;
  AccessFlag(const AccessFlag&) = delete;
  AccessFlag& operator=(const AccessFlag&) = delete;

  // Writes Access = 1 and records this process as its holder; false when
  // the value cannot be written.
  bool setBusy();
  // Writes Access = 0 and drops the record; false when it cannot be written.
  bool setFree();

  // Whether a live process holds Access = 1 (this one included).
  static bool heldByLiveProcess();
  // The start's reset: Access = 0 unless a live process holds Access = 1
  // (a tool working beside this program). False when it cannot be written.
  static bool resetUnlessHeld(AppRegistry& registry);
  // True when a data tool is working now: Access reads 1 and its holder
  // lives. A stale 1 is reset to 0 on the way.
  static bool dataBusy(AppRegistry& registry);

 private:
  AppRegistry& registry_;
  NamedLock holder_;
};

}  // namespace hv6
