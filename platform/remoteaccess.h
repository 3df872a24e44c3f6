#pragma once
// The system's remote access service: NetworkManager on the D-Bus system
// bus. The variable HV6_NM_BUS_ADDRESS, when set, names the address of
// another bus to ask instead (tests run a stand-in there).

#include <QDBusConnection>
#include <QString>

namespace hv6 {

inline constexpr char kNetworkManagerBusVariable[] = "HV6_NM_BUS_ADDRESS";
inline const QString kNetworkManagerService = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString kNetworkManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");

// The bus NetworkManager is asked on; a connection that is not connected
// when the bus cannot be reached.
QDBusConnection networkManagerBus();

// Remote access is present: NetworkManager answers on that bus.
bool remoteAccessPresent();

}  // namespace hv6
