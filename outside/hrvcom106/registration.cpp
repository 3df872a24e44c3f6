#include "outside/hrvcom106/registration.h"

#include "platform/file_io.h"
#include "platform/folders.h"
#include "platform/lockfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>

namespace hrvcom106 {
namespace {

constexpr int kFileMode = 0600;
const QString kPrefix = QStringLiteral("hv6-program-");
const QString kFileSuffix = QStringLiteral(".json");

std::atomic<int> g_sequence{0};

QString registrationFile(const QString& id) {
  return hv6::runtimeFolder() + u'/' + kPrefix + id + kFileSuffix;
}

QString idOfFile(const QString& fileName) {
  return fileName.mid(kPrefix.size(), fileName.size() - kPrefix.size() - kFileSuffix.size());
}

QByteArray toJson(const Registration& registration) {
  const QJsonObject object{{QStringLiteral("name"), registration.name},
                           {QStringLiteral("title"), registration.title},
                           {QStringLiteral("pid"), registration.pid},
                           {QStringLiteral("started"), registration.startedMs}};
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Registration> readRegistration(const QString& id) {
  const hv6::fileio::ReadResult file = hv6::fileio::readFile(registrationFile(id));
  const QJsonDocument document = QJsonDocument::fromJson(file.bytes);
  if (!file.ok || !document.isObject()) return std::nullopt;
  const QJsonObject object = document.object();
  Registration registration;
  registration.id = id;
  registration.name = object.value(QStringLiteral("name")).toString();
  registration.title = object.value(QStringLiteral("title")).toString();
  registration.pid = object.value(QStringLiteral("pid")).toInteger();
  registration.startedMs = object.value(QStringLiteral("started")).toInteger();
  return registration;
}

}  // namespace

QString newRegistrationId() {
  return QStringLiteral("%1-%2-%3")
      .arg(QCoreApplication::applicationPid())
      .arg(g_sequence.fetch_add(1))
      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

QString lockName(const QString& id) { return kPrefix + id; }

QString socketPath(const QString& id) {
  return hv6::runtimeFolder() + u'/' + kPrefix + id + QStringLiteral(".sock");
}

bool writeRegistration(const Registration& registration) {
  return hv6::fileio::replaceFile(registrationFile(registration.id), toJson(registration),
                                  kFileMode)
      .ok;
}

void removeRegistration(const QString& id) {
  QFile::remove(registrationFile(id));
  QLocalServer::removeServer(socketPath(id));
  QFile::remove(hv6::NamedLock::lockFilePath(lockName(id), hv6::LockScope::User));
}

bool isAlive(const QString& id) {
  return hv6::NamedLock::isTaken(lockName(id), hv6::LockScope::User);
}

std::optional<QList<Registration>> liveRegistrations() {
  const QDir folder(hv6::runtimeFolder());
  if (!folder.exists() || !folder.isReadable()) return std::nullopt;
  QList<Registration> live;
  for (const QString& fileName : folder.entryList({kPrefix + u'*' + kFileSuffix}, QDir::Files)) {
    const QString id = idOfFile(fileName);
    if (!isAlive(id)) {
      removeRegistration(id);
      continue;
    }
    if (const std::optional<Registration> registration = readRegistration(id))
      live.append(*registration);
  }
  std::stable_sort(live.begin(), live.end(), [](const Registration& a, const Registration& b) {
    return a.startedMs < b.startedMs;
  });
  return live;
}

}  // namespace hrvcom106
