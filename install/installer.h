#pragma once
// The steps of one installation run: the machine-wide folder, the program
// folder's environment files and demo data, the settings, and optionally a
// new data folder or the demo data as the data in use.

#include <QString>
#include <QStringList>

#include "platform/registry.h"

namespace hv6::install {

struct InstallOptions {
  QString prefix;      // absolute
  QString dataFolder;  // a data folder to create (or use) and point at
  bool demo = false;   // point at the demo data instead
  // The program folder is not the user's to write (a system package's
  // /usr/lib/hv6): the demo data is generated in the machine-wide folder.
  bool readOnlyProgramFolder = false;
};

struct InstallReport {
  QStringList notes;  // what was done, for the user
  QString error;      // why the run stopped
};

// Writes the environment files the program carries into the program
// folder where they are missing or differ. False when one cannot be written.
bool placeEnvironmentFiles(const QString& programFolder, QString* error = nullptr);

// Generates the demo data unless both of its databases are there: into
// programFolder + "/demodata", from which every start copies it into the
// machine-wide demoDataFolder(); with a read-only program folder straight
// into demoDataFolder(), its files open to every user as a copy's are.
bool provideDemoData(const QString& programFolder, bool readOnlyProgramFolder, QStringList& notes,
                     QString* error = nullptr);

// True when the settings name a program folder (InstallPath): the user has
// been set up before.
bool userIsSetUp(RegistryStore& store);

// The whole run; stops at the first failure, which the report names.
bool runInstallation(RegistryStore& store, const InstallOptions& options, InstallReport& report);

}  // namespace hv6::install
