#include "tests/support/nm_standin.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QMap>
#include <QThread>
#include <QVariantMap>

#include "platform/remoteaccess.h"

namespace hv6test {
namespace {

// How long starting a process of the stand-in may take.
constexpr int kStartTimeoutMs = 20000;
constexpr int kStopTimeoutMs = 5000;
constexpr int kCallTimeoutMs = 10000;

const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManagerInterface = QStringLiteral("org.freedesktop.NetworkManager");
const QString kMockInterface = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kActiveInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");

void stop(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(kStopTimeoutMs)) {
    process.kill();
    process.waitForFinished(kStopTimeoutMs);
  }
}

QVariant plain(QVariant value) {
  if (value.canConvert<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
  if (value.canConvert<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
  return value;
}

}  // namespace

NetworkManagerStandIn::NetworkManagerStandIn() {
  qDBusRegisterMetaType<QMap<QString, QVariantMap>>();  // connection settings
  hadVariable_ = qEnvironmentVariableIsSet(hv6::kNetworkManagerBusVariable);
  previousVariable_ = qgetenv(hv6::kNetworkManagerBusVariable);

  bus_.start(
      QStringLiteral("dbus-daemon"),
      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
  QByteArray output;
  const QDeadlineTimer deadline(kStartTimeoutMs);
  while (!output.contains('\n') &&
         bus_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
    output += bus_.readAllStandardOutput();
  address_ = QString::fromUtf8(output).trimmed();
  if (address_.isEmpty()) {
    error_ = QStringLiteral("dbus-daemon did not start (package dbus-daemon): ") +
             QString::fromLocal8Bit(bus_.readAllStandardError()) + bus_.errorString();
    return;
  }
  qputenv(hv6::kNetworkManagerBusVariable, address_.toUtf8());
  connectionName_ = QStringLiteral("hv6-test-standin ") + address_;
  QDBusConnection::connectToBus(address_, connectionName_);
}

NetworkManagerStandIn::~NetworkManagerStandIn() {
  stopManager();
  QDBusConnection::disconnectFromBus(connectionName_);
  stop(bus_);
  if (hadVariable_)
    qputenv(hv6::kNetworkManagerBusVariable, previousVariable_);
  else
    qunsetenv(hv6::kNetworkManagerBusVariable);
}

bool NetworkManagerStandIn::startManager() {
  if (address_.isEmpty()) return false;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
  manager_.setProcessEnvironment(environment);
  manager_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  manager_.setStandardOutputFile(QProcess::nullDevice());
  manager_.start(QStringLiteral(HV6_DBUSMOCK_PYTHON),
                 {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--session"),
                  QStringLiteral("--template"), QStringLiteral("networkmanager")});
  const QDeadlineTimer deadline(kStartTimeoutMs);
  while (!managerAnswers()) {
    if (manager_.state() == QProcess::NotRunning || deadline.hasExpired()) {
      error_ = QStringLiteral(
          "the NetworkManager stand-in did not start (package "
          "python3-dbusmock for " HV6_DBUSMOCK_PYTHON ")");
      stopManager();
      return false;
    }
    QThread::msleep(20);
  }
  return true;
}

void NetworkManagerStandIn::stopManager() { stop(manager_); }

bool NetworkManagerStandIn::managerAnswers() {
  const QDBusConnection bus(connectionName_);
  return bus.isConnected() && bus.interface()->isServiceRegistered(hv6::kNetworkManagerService);
}

QDBusMessage NetworkManagerStandIn::call(const QString& path, const QString& interface,
                                         const QString& method, const QVariantList& arguments) {
  QDBusMessage message =
      QDBusMessage::createMethodCall(hv6::kNetworkManagerService, path, interface, method);
  message.setArguments(arguments);
  const QDBusMessage reply =
      QDBusConnection(connectionName_).call(message, QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage)
    qWarning("stand-in call %s failed: %s", qPrintable(method), qPrintable(reply.errorMessage()));
  return reply;
}

QString NetworkManagerStandIn::addProfile(const QString& id, const QString& type) {
  QMap<QString, QVariantMap> settings;
  settings.insert(QStringLiteral("connection"),
                  {{QStringLiteral("id"), id}, {QStringLiteral("type"), type}});
  const QDBusMessage reply = call(QStringLiteral("/org/freedesktop/NetworkManager/Settings"),
                                  QStringLiteral("org.freedesktop.NetworkManager.Settings"),
                                  QStringLiteral("AddConnection"), {QVariant::fromValue(settings)});
  return reply.arguments().isEmpty() ? QString() : plain(reply.arguments().constFirst()).toString();
}

void NetworkManagerStandIn::addDevice() {
  call(QStringLiteral("/org/freedesktop"), kMockInterface, QStringLiteral("AddEthernetDevice"),
       {QStringLiteral("eth0"), QStringLiteral("eth0"), 30});
}

QString NetworkManagerStandIn::activate(const QString& profilePath) {
  const QDBusObjectPath none(QStringLiteral("/"));
  const QDBusMessage reply =
      call(kManagerPath, kManagerInterface, QStringLiteral("ActivateConnection"),
           {QVariant::fromValue(QDBusObjectPath(profilePath)), QVariant::fromValue(none),
            QVariant::fromValue(none)});
  return reply.arguments().isEmpty() ? QString() : plain(reply.arguments().constFirst()).toString();
}

QStringList NetworkManagerStandIn::activeConnections() {
  const QDBusMessage reply =
      call(kManagerPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
           {kManagerInterface, QStringLiteral("ActiveConnections")});
  QStringList paths;
  if (reply.arguments().isEmpty()) return paths;
  const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
  for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(value))
    paths << path.path();
  return paths;
}

void NetworkManagerStandIn::setActiveState(const QString& activePath, std::uint32_t state) {
  call(activePath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
       {kActiveInterface, QStringLiteral("State"),
        QVariant::fromValue(QDBusVariant(QVariant::fromValue(state)))});
}

void NetworkManagerStandIn::replaceManagerMethod(const QString& name, const QString& inSignature,
                                                 const QString& outSignature, const QString& code) {
  call(kManagerPath, kMockInterface, QStringLiteral("AddMethod"),
       {kManagerInterface, name, inSignature, outSignature, code});
}

QList<QVariantList> NetworkManagerStandIn::calls(const QString& method) {
  const QDBusMessage reply =
      call(kManagerPath, kMockInterface, QStringLiteral("GetMethodCalls"), {method});
  QList<QVariantList> out;
  if (reply.arguments().isEmpty()) return out;
  const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
  list.beginArray();
  while (!list.atEnd()) {
    quint64 time = 0;
    QVariantList arguments;
    list.beginStructure();
    list >> time >> arguments;
    list.endStructure();
    for (QVariant& argument : arguments) argument = plain(argument);
    out << arguments;
  }
  list.endArray();
  return out;
}

}  // namespace hv6test
