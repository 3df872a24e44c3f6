#pragma once
// What the application object owns and does without a window: the settings
// record, the two databases and the start steps that read and write the
// settings and open the data. CHrvApp (shell/ui) wraps it with the windows.

#include "platform/dao/database.h"
#include "shell/appregistry.h"

#include <QString>

namespace hv6 {

// The base settings record: the registry root, the diary database path
// (DataPath) and the program folder (InstallPath).
struct BaseSettings {
  QString root;
  QString dataPath;
  QString installPath;
};

// How the start steps ended: running, or the message number that ended it.
struct StartOutcome {
  bool running = true;
  long message = 0;  // 2503 or 2504 when the start ended
};

class AppCore {
 public:
  explicit AppCore(RegistryStore& store);
  ~AppCore();
  AppCore(const AppCore&) = delete;
  AppCore& operator=(const AppCore&) = delete;

  AppRegistry& registry() { return registry_; }
  const BaseSettings& settings() const { return settings_; }

  // The start steps from the command line to the data conversion, in order:
  // -REG (2503, goes on), Access = 0 unless a live data tool holds it
  // (2503, ends), root, DataPath and
  // InstallPath (2504, ends), NetworkSetup = 0 (2504, goes on), both
  // databases (errors swallowed), the conversion of older data.
  StartOutcome runStartSteps(const QString& commandLine);
  // The start of a print run, which may go on beside a running program:
  // the settings are only read (-REG chooses the key for this run alone),
  // both databases open read-only and nothing is converted or reset.
  StartOutcome runReadingSteps(const QString& commandLine);

  // Single steps, for the sequence above and its tests.
  void applyCommandLine(const QString& commandLine);
  bool resetAccess();
  bool readBaseSettings();
  void resetNetworkSetup();
  void openDatabases();
  void convertPreviousEdition();

  // Open or re-open a database at the path of its setting; the database
  // when it is open afterwards, nullptr when not. A missing setting shows
  // 2504; a database error is not shown (the database stays closed).
  CDaoDatabase* reopenDiaryDatabase();
  CDaoDatabase* reopenWeatherDatabase();

  CDaoDatabase& diaryDatabase() { return diary_; }
  CDaoDatabase& weatherDatabase() { return weather_; }
  // Paths of the databases as last opened (empty until one opened).
  const QString& diaryPath() const { return diaryPath_; }
  const QString& weatherPath() const { return weatherPath_; }
  // Why the last open of each failed (empty after a successful open).
  const QString& diaryOpenError() const { return diaryError_; }
  const QString& weatherOpenError() const { return weatherError_; }

  // Both data settings readable and both files present (first activation).
  bool dataFilesPresent() const;

  // The exit: closes both databases.
  void closeDatabases();

  // The item id of the calendar's current mode, kept here for the menu's
  // check marks; 0 until the view sets it.
  int modeItemId = 0;

 private:
  CDaoDatabase* reopen(CDaoDatabase& db, const QString& valueName, QString& path, QString& error);

  bool readOnly_ = false;
  AppRegistry registry_;
  BaseSettings settings_;
  CDaoDatabase diary_;
  QString diaryPath_;
  QString weatherPath_;
  CDaoDatabase weather_;
  QString diaryError_;
  QString weatherError_;
};

}  // namespace hv6
