#pragma once
// The launcher: twenty entries of "MenuBar\Item1..20" naming the system's
// other programs (plan, work-diary entry, sales, farm diary, summaries, ...).
// Which entries are offered, the Tools menu items, the settings dialog's
// list and what its OK writes, and the start of a program with the chosen
// day handed over through Calendar\Date.

#include "platform/process.h"
#include "tools/datatools_abi.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

namespace hv6 {

class AppRegistry;

struct LauncherEntry {
  QString name;
  QString icon;
  QString exe;
  std::uint32_t incorporate = 0;  // nonzero: part of the installation, offered
  std::uint32_t toolMenu = 0;     // 1: listed in the Tools menu
  int commandId = 0;              // 10000 + number
  int helpId = 0;                 // 1223 + number
};

constexpr int kLauncherCount = 20;
constexpr int kLauncherCommandBase = 10000;
constexpr int kLauncherCommandFirst = 10001;
constexpr int kLauncherCommandLast = 10020;

QString launcherSubkey(int number);

// Reads Name, Icon, Exe, Incorporate, ToolMenu of each entry in order; the
// first value that cannot be read ends the loading with false.
bool loadLauncherEntries(const AppRegistry& registry, QList<LauncherEntry>& entries);
// Writes the five values of all twenty entries in one replace of the
// settings file; false (nothing written) when one cannot be written.
bool saveLauncherEntries(AppRegistry& registry, const QList<LauncherEntry>& entries);

// The entries in the layout the new-data library shares: texts as UTF-8,
// cut to fit (never in the middle of a character). `out` holds twenty.
void toToolEntries(const QList<LauncherEntry>& entries, Hv6LauncherEntry* out);
// The entries of that layout.
QList<LauncherEntry> fromToolEntries(const Hv6LauncherEntry* entries, int count);

// Whether a file can stand for a program on the tool bar: an image file, or
// a program file, that exists and can be read.
bool iconExtractable(const QString& iconPath);

// Entry by entry: offered when its icon can be extracted and Incorporate is
// nonzero.
using IconTest = std::function<bool(const QString&)>;
QList<bool> offeredEntries(const QList<LauncherEntry>& entries,
                           const IconTest& hasIcon = iconExtractable);
// False when no entry other than numbers 6 and 14 is offered (message 2911).
bool anyUsableOffered(const QList<bool>& offered);

// The Tools menu's launcher items: entries with ToolMenu 1, in entry order;
// entry 10's name gets "(&K)".
struct ToolMenuItem {
  int commandId;
  QString text;
};
QList<ToolMenuItem> toolMenuItems(const QList<LauncherEntry>& entries);

// The settings dialog (141): the description appended to the names of
// entries 1..13, with its leading blanks; empty for the others.
QString launcherDescription(int number);

class LauncherSettings {
 public:
  struct Item {
    int number;     // entry number 1..20
    QString text;   // name and description
    bool checked;
  };

  // The copy of the entries; the list leaves out entries 6, 12, 14 and
  // entries without a name.
  explicit LauncherSettings(QList<LauncherEntry> entries);
  const QList<Item>& items() const { return items_; }
  void setChecked(int row, bool checked) { items_[row].checked = checked; }

  // OK: 2911 when the list is empty or nothing is checked (the dialog
  // stays); else the checks become Incorporate, the names are read back
  // from the settings (2504 when one cannot be read) and the twenty entries
  // written (2503). True when the dialog closes; entries() then holds them.
  bool accept(AppRegistry& registry);
  const QList<LauncherEntry>& entries() const { return entries_; }

 private:
  QList<LauncherEntry> entries_;
  QList<Item> items_;
};

// Starting the program of an entry with the day handed over.
class ProgramLauncher {
 public:
  using Starter = std::function<StartResult(const QString& commandText)>;
  using Clock = std::function<qint64()>;  // milliseconds
  // A second launch of the same entry within this time after a start is
  // taken as the same request (a double click) and ignored.
  static constexpr qint64 kSettleMs = 2000;

  explicit ProgramLauncher(Starter starter = {}, Clock clock = {});

  enum class Outcome { Started, Ignored, ProgramMissing, StartFailed };
  // Nothing when the diary database is closed or another launch is under
  // way. The day handed over is selectedDate when nonzero (it is then
  // cleared), else today; it is written to Calendar\Date (2503 when that
  // fails; the launch goes on). A missing program shows 2904.
  Outcome launch(const LauncherEntry& entry, bool diaryOpen, long& selectedDate, long today,
                 AppRegistry& registry);

  // The date handed over by the last launch that wrote one.
  long lastHandedDate() const { return handed_; }

 private:
  Starter starter_;
  Clock clock_;
  bool underWay_ = false;
  int lastCommand_ = 0;
  qint64 lastStart_ = 0;
  long handed_ = 0;
};

}  // namespace hv6
