#include "shell/baseinfo.h"

#include "shell/startup.h"
#include "store/schema.h"


namespace hv6 {
namespace {

constexpr const char* kModuleNames[kPasswordModules] = {"WorkDry", "SealDry", "HvPay", "BusDry"};
const QString kDaySort = QStringLiteral("DaySort");

// The folder of a database path with its trailing separator.
QString folderOf(const QString& path) {
  const qsizetype cut = path.lastIndexOf(u'/');
  return cut < 0 ? QString() : path.left(cut + 1);
}

}  // namespace

QString passwordValueName(int module) {
  return QString::fromLatin1(kModuleNames[module]) + QStringLiteral("PWord");
}

QString passwordFlagName(int module) { return QStringLiteral("IS") + passwordValueName(module); }

bool readBaseInfo(const AppRegistry& registry, BaseInfoValues& values) {
  const QString& key = StartKeys::kBaseInfo;
  BaseInfoValues read;
  if (!registry.readString(key, StartKeys::kDataPath, read.dataPath) ||
      !registry.readString(key, StartKeys::kWeatherDataPath, read.weatherDataPath) ||
      !registry.readDword(key, kDaySort, read.daySort))
    return false;
  for (int module = 0; module < kPasswordModules; ++module) {
    std::uint32_t flag = 0;
    ModulePassword& row = read.passwords[std::size_t(module)];
    if (!registry.readDword(key, passwordFlagName(module), flag) ||
        !registry.readString(key, passwordValueName(module), row.password))
      return false;
    row.set = flag != 0;
  }
  values = read;
  return true;
}

bool writeBaseInfo(AppRegistry& registry, BaseInfoValues& values) {
  if (values.weatherDataPath.isEmpty())
    values.weatherDataPath = folderOf(values.dataPath) + kWeatherFileName;
  const QString& key = StartKeys::kBaseInfo;
  QList<RegWrite> group{RegWrite::string(key, StartKeys::kDataPath, values.dataPath),
                        RegWrite::string(key, StartKeys::kWeatherDataPath, values.weatherDataPath),
                        RegWrite::number(key, kDaySort, values.daySort)};
  for (int module = 0; module < kPasswordModules; ++module) {
    const ModulePassword& row = values.passwords[std::size_t(module)];
    group << RegWrite::number(key, passwordFlagName(module), row.set ? 1 : 0)
          << RegWrite::string(key, passwordValueName(module), row.password);
  }
  return registry.writeGroup(group);
}

QString fieldMapFileFor(const QString& diaryPath) {
  const QString folder = folderOf(diaryPath);
  const QString last = folder.left(folder.size() - 1).section(u'/', -1);
  return last.toUpper() == QStringLiteral("DEMODATA") ? QStringLiteral("\\ほ場図.fmp")
                                                      : QStringLiteral("\\ﾃﾝﾌﾟﾚｰﾄ.fmp");
}

bool writeFieldMapSettings(AppRegistry& registry, const QString& diaryPath) {
  bool written = registry.writeString(StartKeys::kMap, StartKeys::kFmpFile, fieldMapFileFor(diaryPath));
  written = registry.writeString(StartKeys::kMap, QStringLiteral("BmpFile"), QString()) && written;
  return written;
}

}  // namespace hv6
