#pragma once
// The few NetworkManager calls the dial library forwards to: its connection
// profiles (the phone-book entries), its active connections and their
// states, activating a profile and deactivating an active connection.

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace hv6::dialnt6 {

// NetworkManager's states of an active connection.
enum ActiveState : std::uint32_t {
  kActiveUnknown = 0,
  kActivating = 1,
  kActivated = 2,
  kDeactivating = 3,
  kDeactivated = 4,
};

struct Profile {
  QString id;    // the name users see
  QString path;  // its settings object
};

struct ActiveConnection {
  QString path;
  QString id;
  QString type;
  std::uint32_t state = kActiveUnknown;
};

// What NetworkManager said about an active connection.
struct ActiveStatus {
  enum Kind { Known, Gone, Unanswered } kind = Unanswered;
  std::uint32_t state = kActiveUnknown;
  QString type;
};

class NetworkManager {
 public:
  // On the bus of the remote access service.
  NetworkManager();

  // The profiles in NetworkManager's order; nothing when it does not answer.
  std::optional<QList<Profile>> profiles() const;
  // The active connections in NetworkManager's order; nothing when it does
  // not answer. One that vanishes while it is read is left out.
  std::optional<QList<ActiveConnection>> activeConnections() const;
  ActiveStatus status(const QString& activePath) const;

  // Starts activating a profile; the reply holds the active connection.
  QDBusPendingCall activate(const QString& profilePath) const;
  // Takes an active connection down; an error text when NetworkManager
  // refuses. One that is already down counts as taken down.
  std::optional<QString> deactivate(const QString& activePath) const;

 private:
  QDBusConnection bus_;
};

}  // namespace hv6::dialnt6
