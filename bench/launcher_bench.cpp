// Writing the twenty launcher entries (100 values) to the settings file:
// as one group in a single replace of the file, against one write per
// value, each its own locked replace.
#include "platform/registry.h"
#include "shell/appregistry.h"
#include "shell/launcher.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Settings {
  QTemporaryDir dir;
  hv6::RegistryStore store{dir.filePath(QStringLiteral("registry.reg"))};
  hv6::AppRegistry registry{store};
  QList<hv6::LauncherEntry> entries;

  Settings() {
    const QString root = hv6::AppRegistry::kBaseKey + QStringLiteral("\\HV6\\");
    store.createKey(hv6::AppRegistry::kBaseKey);
    registry.selectSettingsKey(QString());
    for (int number = 1; number <= hv6::kLauncherCount; ++number) {
      store.createKey(root + hv6::launcherSubkey(number));
      hv6::LauncherEntry entry;
      entry.name = QStringLiteral("プログラム%1").arg(number);
      entry.icon = entry.exe = QStringLiteral("/opt/hv6/bin/program%1").arg(number);
      entry.incorporate = 1;
      entries.append(entry);
    }
  }
};

void BM_LauncherEntriesAsOneGroup(benchmark::State& state) {
  Settings settings;
  for (auto _ : state) benchmark::DoNotOptimize(hv6::saveLauncherEntries(settings.registry, settings.entries));
}
BENCHMARK(BM_LauncherEntriesAsOneGroup)->Unit(benchmark::kMillisecond);

// The baseline: every value written by itself.
void BM_LauncherEntriesValueByValue(benchmark::State& state) {
  Settings settings;
  for (auto _ : state) {
    bool written = true;
    for (int number = 1; number <= settings.entries.size(); ++number) {
      const hv6::LauncherEntry& entry = settings.entries.at(number - 1);
      const QString key = hv6::launcherSubkey(number);
      written = settings.registry.writeString(key, QStringLiteral("Name"), entry.name) &&
                settings.registry.writeString(key, QStringLiteral("Icon"), entry.icon) &&
                settings.registry.writeString(key, QStringLiteral("Exe"), entry.exe) &&
                settings.registry.writeDword(key, QStringLiteral("Incorporate"), entry.incorporate) &&
                settings.registry.writeDword(key, QStringLiteral("ToolMenu"), entry.toolMenu) &&
                written;
    }
    benchmark::DoNotOptimize(written);
  }
}
BENCHMARK(BM_LauncherEntriesValueByValue)->Unit(benchmark::kMillisecond);

}  // namespace
