#pragma once
// How the calendar program runs a data tool: the data is flagged busy, the
// other programs of the system are closed, both databases are closed, the
// tool's library is loaded from the program folder, its export called once,
// the library unloaded, and the databases re-opened and the flag cleared in
// the order each tool needs. Also the enquiry program's start.
//
// The program's side (settings, databases, closing other programs, the
// launcher array, the view) comes in through DataToolHost, which the shell
// implements.

#include "tools/datatools_abi.h"

#include <QString>

#include <array>
#include <cstdint>

namespace hv6 {

using LauncherArray = std::array<Hv6LauncherEntry, HV6_LAUNCHER_COUNT>;

class DataToolHost {
 public:
  virtual ~DataToolHost() = default;

  // Environment\BaseInfo Access; false when it cannot be written.
  virtual bool writeAccess(std::uint32_t value) = 0;
  // False when the tool must not run (the user said no, a program refused).
  virtual bool closeRelatedPrograms() = 0;
  // Each closes its database when it is open; true when it was open.
  virtual bool closeDiaryDatabase() = 0;
  virtual bool closeWeatherDatabase() = 0;
  // Environment InstallPath; false when it cannot be read.
  virtual bool readInstallPath(QString& path) = 0;
  virtual void reopenDiaryDatabase() = 0;
  virtual void reopenWeatherDatabase() = 0;
  // The view reloaded with the data now set (wait cursor, diary database,
  // document, calendar).
  virtual void reloadView() = 0;

  // The folder the system searches first for a module named without a
  // folder: the program's own.
  virtual QString programFolder() = 0;
  // The calendar view, the parent of the maintenance tool's windows.
  virtual void* viewWindow() = 0;

  // The launcher array as the new-data library receives it.
  virtual LauncherArray launchers() = 0;
  // Copies the entries over the view's array.
  virtual void takeLaunchers(const LauncherArray& entries) = 0;
  // Writes the view's array to the launcher settings; false when that fails.
  virtual bool saveLaunchers() = 0;
  // The tool bar's buttons offered again from the array (2911 when none).
  virtual void refreshLauncherButtons() = 0;

  // Starts a program through the program launcher; false when it could not.
  virtual bool startProgram(const QString& commandText) = 0;
};

enum class DataTool { NewData, Backup, Restore, Maintenance };

// The library path: folder and file name with one "/" or "\" between them
// (none added when the folder ends with one).
QString toolLibraryPath(const QString& installPath, const QString& fileName);

// The command text that starts the enquiry program of the program folder
// (quoted; the Windows name "helpdesk.EXE" stands for "helpdesk").
QString enquiryCommand(const QString& installPath);

// How a run ended, for the caller and its tests.
enum class ToolRun {
  Called,          // the export was called
  AccessFailed,    // Access = 1 could not be written
  NotClosed,       // the other programs were not closed
  NoInstallPath,   // 2504
  LibraryMissing,  // no library file
  LoadFailed,      // the library would not load
  ExportMissing,   // the library has no such export
};

// The whole frame of one tool. For new data, `created` tells whether the
// library returned launcher entries.
ToolRun runDataTool(DataTool tool, DataToolHost& host, bool* created = nullptr);

// The enquiry tool: "helpdesk.EXE" from the program folder, started through
// the program launcher (2504 without InstallPath, 2904 when it cannot start).
bool runEnquiryTool(DataToolHost& host);

// The new-data library called from the first-start dialog (mode 1 or 2):
// no Access, no closing of programs, databases untouched. True when the
// dialog is to close with 6.
bool runFirstStartNewData(int mode, DataToolHost& host);

}  // namespace hv6
