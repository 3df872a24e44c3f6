#include "outside/dialnt6/networkmanager.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QMap>
#include <QVariantMap>

#include "platform/remoteaccess.h"

namespace hv6::dialnt6 {
namespace {

// How long one call waits for NetworkManager's answer.
constexpr int kCallTimeoutMs = 10000;

const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kSettingsInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString kConnectionInterface =
    QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kActiveInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QDBusMessage methodCall(const QString& path, const QString& interface, const QString& method,
                        const QVariantList& arguments = {}) {
  QDBusMessage message =
      QDBusMessage::createMethodCall(kNetworkManagerService, path, interface, method);
  message.setArguments(arguments);
  return message;
}

template <typename T>
T demarshalled(const QVariant& value) {
  if (value.canConvert<QDBusArgument>()) return qdbus_cast<T>(value.value<QDBusArgument>());
  return value.value<T>();
}

QVariant firstArgument(const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  QVariant value = reply.arguments().constFirst();
  if (value.canConvert<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
  return value;
}

QStringList pathsOf(const QVariant& value) {
  QStringList paths;
  for (const QDBusObjectPath& path : demarshalled<QList<QDBusObjectPath>>(value))
    paths << path.path();
  return paths;
}

// Errors that say the object or the service is not there.
bool isGone(const QDBusError& error) {
  switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownProperty:
    case QDBusError::InvalidArgs:
      return true;
    default:
      return false;
  }
}

}  // namespace

NetworkManager::NetworkManager() : bus_(networkManagerBus()) {}

std::optional<QList<Profile>> NetworkManager::profiles() const {
  const QDBusMessage reply =
      bus_.call(methodCall(kSettingsPath, kSettingsInterface, QStringLiteral("ListConnections")),
                QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
  QList<Profile> profiles;
  for (const QString& path : pathsOf(firstArgument(reply))) {
    const QDBusMessage settings =
        bus_.call(methodCall(path, kConnectionInterface, QStringLiteral("GetSettings")),
                  QDBus::Block, kCallTimeoutMs);
    if (settings.type() != QDBusMessage::ReplyMessage) continue;  // removed meanwhile
    const auto groups = demarshalled<QMap<QString, QVariantMap>>(firstArgument(settings));
    const QString id =
        groups.value(QStringLiteral("connection")).value(QStringLiteral("id")).toString();
    if (!id.isEmpty()) profiles.append({id, path});
  }
  return profiles;
}

std::optional<QList<ActiveConnection>> NetworkManager::activeConnections() const {
  const QDBusMessage reply = bus_.call(
      methodCall(
          kNetworkManagerPath, kPropertiesInterface, QStringLiteral("Get"),
          {QStringLiteral("org.freedesktop.NetworkManager"), QStringLiteral("ActiveConnections")}),
      QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
  QList<ActiveConnection> active;
  for (const QString& path : pathsOf(firstArgument(reply))) {
    const QDBusMessage properties = bus_.call(
        methodCall(path, kPropertiesInterface, QStringLiteral("GetAll"), {kActiveInterface}),
        QDBus::Block, kCallTimeoutMs);
    if (properties.type() != QDBusMessage::ReplyMessage) continue;
    const auto values = demarshalled<QVariantMap>(firstArgument(properties));
    active.append({path, values.value(QStringLiteral("Id")).toString(),
                   values.value(QStringLiteral("Type")).toString(),
                   values.value(QStringLiteral("State")).toUInt()});
  }
  return active;
}

ActiveStatus NetworkManager::status(const QString& activePath) const {
  const QDBusMessage reply = bus_.call(
      methodCall(activePath, kPropertiesInterface, QStringLiteral("GetAll"), {kActiveInterface}),
      QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) {
    const QDBusError error(reply);
    return {isGone(error) ? ActiveStatus::Gone : ActiveStatus::Unanswered, kActiveUnknown, {}};
  }
  const auto values = demarshalled<QVariantMap>(firstArgument(reply));
  const std::uint32_t state = values.value(QStringLiteral("State")).toUInt();
  if (state == kDeactivated) return {ActiveStatus::Gone, state, {}};
  return {ActiveStatus::Known, state, values.value(QStringLiteral("Type")).toString()};
}

QDBusPendingCall NetworkManager::activate(const QString& profilePath) const {
  const QDBusObjectPath none(QStringLiteral("/"));
  return bus_.asyncCall(
      methodCall(kNetworkManagerPath, QStringLiteral("org.freedesktop.NetworkManager"),
                 QStringLiteral("ActivateConnection"),
                 {QVariant::fromValue(QDBusObjectPath(profilePath)), QVariant::fromValue(none),
                  QVariant::fromValue(none)}),
      kCallTimeoutMs);
}

std::optional<QString> NetworkManager::deactivate(const QString& activePath) const {
  const QDBusMessage reply =
      bus_.call(methodCall(kNetworkManagerPath, QStringLiteral("org.freedesktop.NetworkManager"),
                           QStringLiteral("DeactivateConnection"),
                           {QVariant::fromValue(QDBusObjectPath(activePath))}),
                QDBus::Block, kCallTimeoutMs);
  if (reply.type() == QDBusMessage::ReplyMessage) return std::nullopt;
  const QDBusError error(reply);
  if (error.name() == QStringLiteral("org.freedesktop.NetworkManager.ConnectionNotActive") ||
      error.type() == QDBusError::UnknownObject)
    return std::nullopt;
  return error.message().isEmpty() ? error.name() : error.message();
}

}  // namespace hv6::dialnt6
