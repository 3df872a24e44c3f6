#pragma once
// Where the sales host finds its data: the settings root of the system
// (CurrentKEY under "Software\Velqor\HV6\"), the diary database of the
// current data set (DataPath under "Environment\BaseInfo") and the day the
// calendar handed over when it started the host (Date under "Calendar").

#include <QString>

namespace hv6 {
class RegistryStore;
}

namespace salehost {

struct HostSettings {
  QString root;       // "Software\Velqor\HV6\<key>\"
  QString diaryPath;  // the diary database file
  long handedDate = 0;  // yyyymmdd, 0 when none was handed over
};

// Error number for a missing setting, as the sales windows report it.
constexpr int kSettingMissing = 221;

// 0 on success, kSettingMissing when the root or DataPath cannot be read.
// A missing or invalid handed-over day leaves handedDate 0.
int readHostSettings(const hv6::RegistryStore& store, HostSettings& out);

// The first slip date: the handed-over day when it is a real date, else
// today (yyyymmdd).
long firstSlipDate(const HostSettings& settings, long today);

}  // namespace salehost
