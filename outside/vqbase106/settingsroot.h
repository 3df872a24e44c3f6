#pragma once
// The registry root of every setting of the system's programs (hv6, the
// service-pack updater): "Software\Velqor\HV6\" followed by the string
// value CurrentKEY of that key ("HV6" when it is empty) and "\". Without
// a readable CurrentKEY string there is no root.

#include "platform/registry.h"

#include <QString>

namespace hv6 {

inline const QString kSettingsBaseKey = QStringLiteral("Software\\Velqor\\HV6");
inline const QString kCurrentKeyValue = QStringLiteral("CurrentKEY");

// The root for a settings key name: "Software\Velqor\HV6\<name>\", the
// empty name standing for "HV6".
QString settingsRootOf(const QString& keyName);

// The root CurrentKEY names; empty when it is missing or not a string.
QString settingsRoot(const RegistryStore& store);

}  // namespace hv6
