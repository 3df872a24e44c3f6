#include "outside/vqbase106/settingsroot.h"

namespace hv6 {

QString settingsRootOf(const QString& keyName) {
  const QString key = keyName.isEmpty() ? QStringLiteral("HV6") : keyName;
  return kSettingsBaseKey + QLatin1Char('\\') + key + QLatin1Char('\\');
}

QString settingsRoot(const RegistryStore& store) {
  QString current;
  if (store.readString(kSettingsBaseKey, kCurrentKeyValue, current) != RegStatus::Ok) return {};
  return settingsRootOf(current);
}

}  // namespace hv6
