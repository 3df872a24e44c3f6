#pragma once
// The settings the installation provides, and new data folders.

#include <QString>

#include "platform/registry.h"
#include "store/schema.h"

namespace hv6::install {

// The installation's two folders: the prefix (executables in prefix/bin)
// and the program folder (prefix/lib/hv6).
struct InstallPaths {
  QString prefix;
  QString programFolder;
};

// The program folder of a prefix: prefix + "/lib/hv6".
QString programFolderOf(const QString& prefix);

// The launcher program of entry 1..20 below the prefix; empty for entries
// without a program (14..20).
QString launcherProgram(const QString& prefix, int entry);

// Writes every registry value the program reads at start under the root
// CurrentKEY names ("HV6" when it is empty), creating the keys. A value
// that exists already is kept, whatever its type, since a user may have
// changed it; only InstallPath and HRV6\Version, which describe the program
// just installed, are always written. Running it twice changes nothing.
bool writeDefaultSettings(RegistryStore& store, const InstallPaths& paths,
                          QString* error = nullptr);

// Points the settings at a data folder's two databases and at its field
// map ("\ほ場図.fmp" for the demo data, else "\ﾃﾝﾌﾟﾚｰﾄ.fmp", and no
// background picture). Overwrites: this is the user's choice.
bool pointSettingsAtData(RegistryStore& store, const QString& diaryPath, const QString& weatherPath,
                         bool demo, QString* error = nullptr);

// Creates the folder (private to the user when new) with both databases
// of the current edition. Refuses a folder that holds either database; a
// failure leaves no database behind.
// The farm's identity goes into the Information row.
bool createNewDataFolder(const QString& folder, QString* error = nullptr,
                         const InformationTexts& texts = {});

}  // namespace hv6::install
