#include "calendar/launcher.h"

#include "shell/appregistry.h"

#include <cstdint>

namespace hv6 {
namespace {

constexpr int kCommandBase = 10000;
constexpr int kHelpBase = 1223;

bool readEntry(const AppRegistry& registry, int number, LauncherEntry& entry) {
  const QString key = launcherSubkey(number);
  entry.commandId = kCommandBase + number;
  entry.helpId = kHelpBase + number;
  std::uint32_t incorporate = 0;
  std::uint32_t toolMenu = 0;
  const bool read = registry.readString(key, QStringLiteral("Name"), entry.name) &&
                    registry.readString(key, QStringLiteral("Icon"), entry.icon) &&
                    registry.readString(key, QStringLiteral("Exe"), entry.exe) &&
                    registry.readDword(key, QStringLiteral("Incorporate"), incorporate) &&
                    registry.readDword(key, QStringLiteral("ToolMenu"), toolMenu);
  entry.incorporate = int(incorporate != 0);
  entry.toolMenu = int(toolMenu == 1);
  return read;
}

}  // namespace

QString launcherSubkey(int number) { return QStringLiteral("MenuBar\\Item%1").arg(number); }

bool loadLauncherEntries(const AppRegistry& registry, QList<LauncherEntry>& entries) {
  QList<LauncherEntry> loaded;
  for (int number = 1; number <= kLauncherCount; ++number) {
    LauncherEntry entry;
    if (!readEntry(registry, number, entry)) return false;
    loaded.append(entry);
  }
  entries = loaded;
  return true;
}

}  // namespace hv6
