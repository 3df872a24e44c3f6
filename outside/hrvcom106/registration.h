#pragma once
// How a running program of the product is registered (internal to this
// library): in the per-user runtime folder, a description file, a local
// socket and a held lock, all named after the registration's id. The lock
// proves the program still runs: the kernel frees it when the program dies,
// and a registration whose lock is free is stale.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace hrvcom106 {

// Requests on a program's socket and the answers to a query-end, a line each.
inline const QByteArray kQueryEndRequest = QByteArrayLiteral("query-end\n");
inline const QByteArray kCloseRequest = QByteArrayLiteral("close\n");
inline const QByteArray kYesAnswer = QByteArrayLiteral("yes\n");
inline const QByteArray kNoAnswer = QByteArrayLiteral("no\n");

struct Registration {
  QString id;
  QString name;   // the program's name for the user
  QString title;  // the start of its window title
  qint64 pid = 0;
  qint64 startedMs = 0;
};

// A new id, unique among this user's registrations.
QString newRegistrationId();

QString lockName(const QString& id);
QString socketPath(const QString& id);

// Writes the description file; the caller holds the lock already.
bool writeRegistration(const Registration& registration);
// Removes the description file, the socket file and the lock file.
void removeRegistration(const QString& id);
// Whether the program of the registration still runs.
bool isAlive(const QString& id);

// The registrations of running programs, oldest first; stale ones are
// removed on the way. nullopt when the runtime folder cannot be read.
std::optional<QList<Registration>> liveRegistrations();

}  // namespace hrvcom106
