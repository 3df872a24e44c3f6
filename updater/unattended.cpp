#include "updater/unattended.h"

namespace hv6::updater {

int exitStatusOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::Applied: return kExitApplied;
    case Outcome::Hv6Running: return kExitHv6Running;
    case Outcome::NoFileList: return kExitNoFileList;
    case Outcome::IncompletePack: return kExitIncompletePack;
    case Outcome::NoInstallFolder: return kExitNoInstallFolder;
    case Outcome::OutOfRange: return kExitOutOfRange;
    case Outcome::NewerInstalled: return kExitNewerInstalled;
    case Outcome::CopyFailed: return kExitCopyFailed;
    case Outcome::NotRestored: return kExitNotRestored;
    case Outcome::Ready: return kExitNotApplied;
  }
  return kExitNotApplied;
}

int runUnattended(ServicePack& pack) {
  const Report checked = pack.check();
  if (checked.outcome != Outcome::Ready) {
    tell(checked);
    return exitStatusOf(checked.outcome);
  }
  return exitStatusOf(pack.applyAndTell(false));
}

}  // namespace hv6::updater
