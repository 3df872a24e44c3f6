#include "shell/accessflag.h"

#include "shell/startup.h"

namespace hv6 {

bool AccessFlag::setBusy() {
  // A second tool of this process keeps the record it already holds.
  if (!holder_.isHeld()) holder_.acquire(kHolderLock, LockScope::User);
  if (registry_.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 1)) return true;
  holder_.release();
  return false;
}

bool AccessFlag::setFree() {
  const bool written = registry_.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 0);
  holder_.release();
  return written;
}

bool AccessFlag::heldByLiveProcess() { return NamedLock::isTaken(kHolderLock, LockScope::User); }

bool AccessFlag::resetUnlessHeld(AppRegistry& registry) {
  std::uint32_t access = 0;
  if (registry.readDword(StartKeys::kBaseInfo, StartKeys::kAccess, access) && access != 0 &&
      heldByLiveProcess())
    return true;
  return registry.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 0);
}

bool AccessFlag::dataBusy(AppRegistry& registry) {
  std::uint32_t access = 0;
  if (!registry.readDword(StartKeys::kBaseInfo, StartKeys::kAccess, access) || access == 0)
    return false;
  if (heldByLiveProcess()) return true;
  registry.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 0);
  return false;
}

}  // namespace hv6
