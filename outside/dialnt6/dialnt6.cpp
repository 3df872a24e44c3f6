// The dial library's exports: the remote-access functions forwarded to
// NetworkManager. Phone-book entries are its connection profiles, a
// connection is one of its active connections.
#include <QApplication>
#include <QEventLoop>
#include <QHash>
#include <algorithm>
#include <cstring>
#include <optional>

#include "outside/dialnt6/dialattempt.h"
#include "outside/dialnt6/dialdialog.h"
#include "outside/dialnt6/networkmanager.h"
#include "outside/dialnt6/rasapi.h"

using namespace hv6::ras;
using hv6::dialnt6::ActiveConnection;
using hv6::dialnt6::ActiveStatus;
using hv6::dialnt6::DialAttempt;
using hv6::dialnt6::DialDialog;
using hv6::dialnt6::NetworkManager;
using hv6::dialnt6::Profile;

// The exports carry the underscore names through assembler labels.
#define HV6_EXPORT extern "C" __attribute__((visibility("default")))
HV6_EXPORT int RasDialDlgExport(const char*, const char*, const char*,
                                RasDialDlg*) asm("_RasDialDlg");
HV6_EXPORT std::uint32_t RasEnumConnectionsExport(RasConn*, std::uint32_t*,
                                                  std::uint32_t*) asm("_RasEnumConnections");
HV6_EXPORT std::uint32_t RasEnumEntriesExport(const char*, const char*, RasEntryName*,
                                              std::uint32_t*,
                                              std::uint32_t*) asm("_RasEnumEntries");
HV6_EXPORT std::uint32_t RasHangUpExport(std::uint32_t) asm("_RasHangUp");
HV6_EXPORT std::uint32_t RasGetConnectStatusExport(std::uint32_t,
                                                   RasConnStatus*) asm("_RasGetConnectStatus");

namespace {

// Connection handles: one number per active connection, kept while the
// library is loaded.
class Handles {
 public:
  std::uint32_t of(const QString& path) {
    if (const auto found = byPath_.constFind(path); found != byPath_.cend()) return *found;
    const std::uint32_t handle = next_++;
    byPath_.insert(path, handle);
    byHandle_.insert(handle, path);
    return handle;
  }
  std::optional<QString> path(std::uint32_t handle) const {
    if (const auto found = byHandle_.constFind(handle); found != byHandle_.cend()) return *found;
    return std::nullopt;
  }

 private:
  QHash<QString, std::uint32_t> byPath_;
  QHash<std::uint32_t, QString> byHandle_;
  std::uint32_t next_ = 1;
};

Handles& handles() {
  static Handles table;
  return table;
}

// The text as UTF-8 in a field of `room` bytes with its zero byte; a longer
// text is cut before the character that does not fit.
void copyText(char* field, std::size_t room, const QString& text) {
  QByteArray bytes = text.toUtf8();
  qsizetype length = std::min<qsizetype>(bytes.size(), static_cast<qsizetype>(room) - 1);
  if (length < bytes.size())
    while (length > 0 && (static_cast<unsigned char>(bytes.at(length)) & 0xC0) == 0x80) --length;
  std::memset(field, 0, room);
  std::memcpy(field, bytes.constData(), static_cast<std::size_t>(length));
}

// The name as the entry records carry it.
QByteArray entryField(const QString& id) {
  char field[kMaxEntryName + 1];
  copyText(field, sizeof field, id);
  return QByteArray(field);
}

// Lines that are up or coming up.
bool isLine(const ActiveConnection& connection) {
  return connection.state == hv6::dialnt6::kActivating ||
         connection.state == hv6::dialnt6::kActivated;
}

bool hasWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

int RasDialDlgExport(const char* /*phoneBook*/, const char* entryName, const char* /*phoneNumber*/,
                     RasDialDlg* info) {
  if (info == nullptr || info->dwSize != sizeof(RasDialDlg)) return 0;
  if (entryName == nullptr) {
    info->dwError = kErrorInvalidParameter;
    return 0;
  }
  const NetworkManager manager;
  const std::optional<QList<Profile>> profiles = manager.profiles();
  if (!profiles) {
    info->dwError = kErrorServiceUnavailable;
    return 0;
  }
  const auto profile = std::find_if(profiles->cbegin(), profiles->cend(), [&](const Profile& p) {
    return entryField(p.id) == QByteArray(entryName);
  });
  if (profile == profiles->cend()) {
    info->dwError = kErrorCannotFindEntry;
    return 0;
  }

  DialAttempt attempt(manager, *profile);
  if (hasWidgets()) {
    DialDialog dialog(attempt, static_cast<QWidget*>(info->hwndOwner));
    dialog.exec();
  } else {
    QEventLoop loop;
    QObject::connect(&attempt, &DialAttempt::finished, &loop, &QEventLoop::quit);
    attempt.start();
    if (!attempt.isFinished()) loop.exec();
  }
  if (!attempt.isFinished()) attempt.cancel();
  info->dwError = attempt.result();
  return attempt.result() == kSuccess ? 1 : 0;
}

std::uint32_t RasEnumConnectionsExport(RasConn* connections, std::uint32_t* byteSize,
                                       std::uint32_t* count) {
  if (byteSize == nullptr || count == nullptr) return kErrorInvalidParameter;
  if (connections == nullptr || connections->dwSize != sizeof(RasConn)) return kErrorInvalidSize;
  const std::optional<QList<ActiveConnection>> active = NetworkManager().activeConnections();
  if (!active) return kErrorServiceUnavailable;
  QList<ActiveConnection> lines;
  std::copy_if(active->cbegin(), active->cend(), std::back_inserter(lines), isLine);

  const std::uint32_t needed = static_cast<std::uint32_t>(lines.size()) * sizeof(RasConn);
  const std::uint32_t room = *byteSize / sizeof(RasConn);
  const std::uint32_t filled = std::min(room, static_cast<std::uint32_t>(lines.size()));
  for (std::uint32_t i = 0; i < filled; ++i) {
    RasConn& record = connections[i];
    const ActiveConnection& line = lines.at(i);
    record.dwSize = sizeof(RasConn);
    record.hrasconn = handles().of(line.path);
    copyText(record.szEntryName, sizeof record.szEntryName, line.id);
    copyText(record.szDeviceType, sizeof record.szDeviceType, line.type);
    copyText(record.szDeviceName, sizeof record.szDeviceName, QString());
  }
  *count = filled;
  if (filled < static_cast<std::uint32_t>(lines.size())) {
    *byteSize = needed;
    return kErrorBufferTooSmall;
  }
  *byteSize = needed;
  return kSuccess;
}

std::uint32_t RasEnumEntriesExport(const char* reserved, const char* /*phoneBook*/,
                                   RasEntryName* entries, std::uint32_t* byteSize,
                                   std::uint32_t* count) {
  if (reserved != nullptr || byteSize == nullptr || count == nullptr) return kErrorInvalidParameter;
  if (entries == nullptr || entries->dwSize != sizeof(RasEntryName)) return kErrorInvalidSize;
  const std::optional<QList<Profile>> profiles = NetworkManager().profiles();
  if (!profiles) return kErrorServiceUnavailable;

  const std::uint32_t needed = static_cast<std::uint32_t>(profiles->size()) * sizeof(RasEntryName);
  *count = static_cast<std::uint32_t>(profiles->size());
  if (*byteSize < needed) {
    *byteSize = needed;
    return kErrorBufferTooSmall;
  }
  for (qsizetype i = 0; i < profiles->size(); ++i) {
    RasEntryName& record = entries[i];
    record.dwSize = sizeof(RasEntryName);
    copyText(record.szEntryName, sizeof record.szEntryName, profiles->at(i).id);
  }
  *byteSize = needed;
  return kSuccess;
}

std::uint32_t RasHangUpExport(std::uint32_t connection) {
  const std::optional<QString> path = handles().path(connection);
  if (!path) return kErrorInvalidHandle;
  return NetworkManager().deactivate(*path) ? kErrorDisconnection : kSuccess;
}

std::uint32_t RasGetConnectStatusExport(std::uint32_t connection, RasConnStatus* status) {
  if (status == nullptr || status->dwSize != sizeof(RasConnStatus)) return kErrorInvalidSize;
  const std::optional<QString> path = handles().path(connection);
  if (!path) return kErrorInvalidHandle;
  const ActiveStatus answer = NetworkManager().status(*path);
  switch (answer.kind) {
    case ActiveStatus::Gone:
      return kErrorInvalidHandle;
    case ActiveStatus::Unanswered:
      return kErrorServiceUnavailable;
    case ActiveStatus::Known:
      break;
  }
  switch (answer.state) {
    case hv6::dialnt6::kActivated:
      status->rasconnstate = kStateConnected;
      break;
    case hv6::dialnt6::kDeactivating:
      status->rasconnstate = kStateDisconnected;
      break;
    default:
      status->rasconnstate = kStateConnecting;
      break;
  }
  status->dwError = 0;
  copyText(status->szDeviceType, sizeof status->szDeviceType, answer.type);
  copyText(status->szDeviceName, sizeof status->szDeviceName, QString());
  return kSuccess;
}
