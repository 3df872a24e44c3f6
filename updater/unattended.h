#pragma once
// The updater without a window, for updating farm computers from a script:
// the same checks and replacement as the dialog, every message on standard
// error, no question asked. The exit status tells the outcome.

#include "updater/servicepack.h"

namespace hv6::updater {

// Exit statuses of hv6patch (the dialog's too).
enum ExitStatus : int {
  kExitApplied = 0,          // the pack was applied
  kExitHv6Running = 1,       // hv6 runs
  kExitNoFileList = 2,       // "FileList.dat" missing, or FileCount below 1
  kExitIncompletePack = 3,   // a listed file is missing or its name leaves the folder
  kExitNoInstallFolder = 4,  // the settings name no program folder
  kExitOutOfRange = 5,       // the installed version is below the pack's range
  kExitNewerInstalled = 6,   // the installed version is above the pack's range
  kExitCopyFailed = 7,       // the replacement failed; the program folder is as before
  kExitNotRestored = 8,      // the replacement failed and old files are left under backup names
  kExitUsage = 9,            // a wrong command line; nothing was done
  kExitNotApplied = 10,      // the dialog was closed without applying the pack
};

int exitStatusOf(Outcome outcome);

// Runs the checks and, when they pass, the replacement. Messages go to the
// message presenter, which without a window writes them to standard error.
int runUnattended(ServicePack& pack);

}  // namespace hv6::updater
