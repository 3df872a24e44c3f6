#include "platform/remoteaccess.h"

#include <QDBusMessage>

namespace hv6 {
namespace {

// How long the presence check waits for an answer.
constexpr int kPingTimeoutMs = 5000;

}  // namespace

QDBusConnection networkManagerBus() {
  const QString address = qEnvironmentVariable(kNetworkManagerBusVariable);
  if (address.isEmpty()) return QDBusConnection::systemBus();
  // One named connection per address; a dropped one is opened again.
  const QString name = QStringLiteral("hv6-networkmanager ") + address;
  const QDBusConnection existing(name);
  if (existing.isConnected()) return existing;
  QDBusConnection::disconnectFromBus(name);
  return QDBusConnection::connectToBus(address, name);
}

bool remoteAccessPresent() {
  const QDBusConnection bus = networkManagerBus();
  if (!bus.isConnected()) return false;
  const QDBusMessage ping = QDBusMessage::createMethodCall(
      kNetworkManagerService, kNetworkManagerPath, QStringLiteral("org.freedesktop.DBus.Peer"),
      QStringLiteral("Ping"));
  return bus.call(ping, QDBus::Block, kPingTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

}  // namespace hv6
