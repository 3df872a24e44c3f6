#pragma once
// The base settings of the base-information sheet: the eleven values of
// Environment\BaseInfo that the sheet reads when it opens and writes back
// as one group when it is confirmed.

#include "shell/appregistry.h"

#include <QString>

#include <array>
#include <cstdint>

namespace hv6 {

// One module's password: whether one is set, and its text (stored as typed).
struct ModulePassword {
  bool set = false;
  QString password;
};

// Rows of the password page, in this order.
enum PasswordModule { kWorkDiary = 0, kShippingSlips = 1, kPayroll = 2, kFarmDiary = 3 };
constexpr int kPasswordModules = 4;

struct BaseInfoValues {
  QString dataPath;
  QString weatherDataPath;
  std::uint32_t daySort = 0;
  std::array<ModulePassword, kPasswordModules> passwords;
};

// The registry names of a module's flag and password ("ISWorkDryPWord",
// "WorkDryPWord", ...).
QString passwordFlagName(int module);
QString passwordValueName(int module);

// Reads the eleven values; false when one cannot be read (the caller shows
// 2504 and the sheet does not open).
bool readBaseInfo(const AppRegistry& registry, BaseInfoValues& values);

// Writes the eleven values in one replace of the settings file: either all
// are written or none is. An empty weather path is first set to the data
// path's folder followed by the weather database's file name. The key is
// never created. False when nothing was written (the caller shows 2503).
bool writeBaseInfo(AppRegistry& registry, BaseInfoValues& values);

// After the sheet's OK: the field map of the data in the folder of
// diaryPath ("\ほ場図.fmp" for a folder named DEMODATA in any case, else
// "\ﾃﾝﾌﾟﾚｰﾄ.fmp") and an empty background picture. False when a value
// cannot be written (the caller shows 2503).
QString fieldMapFileFor(const QString& diaryPath);
bool writeFieldMapSettings(AppRegistry& registry, const QString& diaryPath);

}  // namespace hv6
