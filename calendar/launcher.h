#pragma once
// The twenty launcher entries of "MenuBar\Item1..20", loaded when the view
// is created. Starting them belongs to the frame.

#include <QList>
#include <QString>

namespace hv6 {

class AppRegistry;

struct LauncherEntry {
  QString name;
  QString icon;
  QString exe;
  int incorporate = 0;  // nonzero: offered
  int toolMenu = 0;     // 1: listed in the Tools menu
  int commandId = 0;    // 10000 + number
  int helpId = 0;       // 1223 + number
};

constexpr int kLauncherCount = 20;

// Reads Name, Icon, Exe, Incorporate, ToolMenu of each entry in order; the
// first value that cannot be read ends the loading with false.
bool loadLauncherEntries(const AppRegistry& registry, QList<LauncherEntry>& entries);

QString launcherSubkey(int number);

}  // namespace hv6
