#include "outside/salehost/hostsettings.h"

#include "outside/vqbase106/settingsroot.h"
#include "platform/registry.h"

#include <QDate>

namespace salehost {
namespace {

bool isDate(long yyyymmdd) {
  return yyyymmdd >= 18680101 && yyyymmdd <= 29991231 &&
         QDate(int(yyyymmdd / 10000), int(yyyymmdd / 100 % 100), int(yyyymmdd % 100)).isValid();
}

QString under(const QString& root, const char* subkey) {
  return root + QString::fromLatin1(subkey);
}

}  // namespace

int readHostSettings(const hv6::RegistryStore& store, HostSettings& out) {
  HostSettings read;
  read.root = hv6::settingsRoot(store);
  if (read.root.isEmpty()) return kSettingMissing;
  if (store.readString(under(read.root, "Environment\\BaseInfo"), QStringLiteral("DataPath"),
                       read.diaryPath) != hv6::RegStatus::Ok ||
      read.diaryPath.isEmpty())
    return kSettingMissing;
  std::uint32_t date = 0;
  if (store.readDword(under(read.root, "Calendar"), QStringLiteral("Date"), date) ==
          hv6::RegStatus::Ok &&
      isDate(long(date)))
    read.handedDate = long(date);
  out = read;
  return 0;
}

long firstSlipDate(const HostSettings& settings, long today) {
  return settings.handedDate != 0 ? settings.handedDate : today;
}

}  // namespace salehost
