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
};

struct InstallReport {
  QStringList notes;  // what was done, for the user
  QString error;      // why the run stopped
};

// Writes the environment files the program carries into the program
// folder where they are missing or differ. False when one cannot be written.
bool placeEnvironmentFiles(const QString& programFolder, QString* error = nullptr);

// Generates the demo data into programFolder + "/demodata" unless both of
// its databases are there.
bool provideDemoData(const QString& programFolder, QStringList& notes, QString* error = nullptr);

// The whole run; stops at the first failure, which the report names.
bool runInstallation(RegistryStore& store, const InstallOptions& options, InstallReport& report);

}  // namespace hv6::install
