#pragma once
// "hv6 --backup FILE" and "hv6 --restore FILE": the backup or restore
// library run without a window, for scheduled backups. Like the menu
// command: Access = 1 while the library runs, the library loaded from
// InstallPath, its export called with the file, Access = 0 afterwards.
// Messages go to standard error as "[number] text"; the exit status is 0
// when the backup or restore was done.
//
// A restore also needs the data free: it refuses while hv6 runs for this
// user, while other programs of the system run (there is nobody to ask to
// close them) or while Access is 1 (another tool has the data). A backup
// beside another tool leaves Access as it found it.

#include <QString>
#include <QStringList>

namespace hv6 {

struct DataToolCommand {
  enum class Kind { None, Backup, Restore };
  Kind kind = Kind::None;
  QString file;
  QString error;  // why the arguments are unusable
  bool wanted() const { return kind != Kind::None || !error.isEmpty(); }
};

// Takes "--backup FILE" or "--restore FILE" out of the arguments.
DataToolCommand takeDataToolCommand(QStringList& arguments);

// Exit statuses of the command.
constexpr int kToolExitDone = 0;
constexpr int kToolExitBadArguments = 2;
constexpr int kToolExitFailed = 5;     // a message says why
constexpr int kToolExitCancelled = 6;  // nothing was changed

// Runs the command; commandLine is the rest of the program's arguments
// (for "-REG name"). Returns the exit status.
int runDataToolCommand(const DataToolCommand& command, const QString& commandLine);

}  // namespace hv6
