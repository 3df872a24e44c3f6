#pragma once
// A NetworkManager stand-in on a private D-Bus: a dbus-daemon of its own
// (dbus-daemon --session) and python3-dbusmock's NetworkManager template on
// it. While the object lives, HV6_NM_BUS_ADDRESS points the program at that
// bus, so the remote access service is what the test makes of it.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <cstdint>

namespace hv6test {

class NetworkManagerStandIn {
 public:
  // Starts the bus (check error() for why it did not).
  NetworkManagerStandIn();
  ~NetworkManagerStandIn();
  NetworkManagerStandIn(const NetworkManagerStandIn&) = delete;
  NetworkManagerStandIn& operator=(const NetworkManagerStandIn&) = delete;

  // Starts the stand-in on the bus; false with error() when it cannot.
  bool startManager();
  void stopManager();
  const QString& error() const { return error_; }
  const QString& address() const { return address_; }

  // Adds a connection profile (a phone-book entry); its settings path.
  QString addProfile(const QString& id, const QString& type = QStringLiteral("pppoe"));
  // Adds an ethernet device. Without a device the stand-in's
  // DeactivateConnection takes nothing down.
  void addDevice();
  // Activates a profile as NetworkManager does; the active connection.
  QString activate(const QString& profilePath);
  QStringList activeConnections();
  void setActiveState(const QString& activePath, std::uint32_t state);
  // Replaces a method of NetworkManager's main object by Python code
  // (dbusmock's AddMethod: args, ret, self, objects).
  void replaceManagerMethod(const QString& name, const QString& inSignature,
                            const QString& outSignature, const QString& code);
  // The arguments of each call of a method of NetworkManager's main object;
  // object paths as their text.
  QList<QVariantList> calls(const QString& method);

 private:
  QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                    const QVariantList& arguments = {});
  bool managerAnswers();

  QProcess bus_;
  QProcess manager_;
  QString address_;
  QString connectionName_;
  QString error_;
  QByteArray previousVariable_;
  bool hadVariable_ = false;
};

}  // namespace hv6test
