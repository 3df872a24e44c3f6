#include "weather/dialuplink.h"

#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "outside/errtext6/errmsg.h"
#include "platform/presenter.h"
#include "platform/remoteaccess.h"
#include "shell/appregistry.h"
#include "shell/startup.h"
#include "weather/commsettings.h"

using namespace hv6::ras;

namespace {

constexpr long kMsgNoRemoteAccess = 2641;
constexpr long kMsgNoPhoneEntry = 2642;
constexpr long kMsgCannotHangUp = 2643;
// The active connections searched for an entry.
constexpr std::size_t kMaxConnections = 10;

void showNumbered(long number) { CErrMsg().Disp(number, 1, 0, hv6::kAppTitle); }

// A message box of the controller's own: OK and the exclamation icon.
void showWarning(const QString& text) {
  hv6::showMessage(text, hv6::kAppTitle, hv6::MsgButtons::Ok, hv6::MsgIcon::Warning);
}

// A record's text field up to its zero byte.
QByteArray fieldBytes(const char* field, std::size_t room) {
  return QByteArray(field, static_cast<qsizetype>(qstrnlen(field, room)));
}

}  // namespace

int CDialUpLink::familyCode(bool ntFamily, int major, int minor) {
  if (!ntFamily) return major == 4 && minor == 0 ? kFamily95 : kFamily95Later;
  if (major <= 4) return kFamilyNt4;
  return major == 5 ? kFamilyNt5 : kFamilyNt6;
}

CDialUpLink::CDialUpLink(hv6::AppRegistry& registry) : CDialUpLink(registry, Options{}) {}

CDialUpLink::CDialUpLink(hv6::AppRegistry& registry, Options options)
    : registry_(registry), hangUpLimit_(options.hangUpLimit), family_(options.family) {
  remoteAccess_ = hv6::remoteAccessPresent();
  if (remoteAccess_) loadDialLibrary();
}

CDialUpLink::~CDialUpLink() = default;

void CDialUpLink::loadDialLibrary() {
  const QString fileName =
      usesNtLibrary() ? QStringLiteral("dialnt6.dll") : QStringLiteral("dial95.dll");
  QString folder;
  registry_.readString(hv6::StartKeys::kEnvironment, hv6::StartKeys::kInstallPath, folder);
  if (!dialLibrary_.load(folder, fileName)) {
    showWarning(QStringLiteral("%1 が見つかりません").arg(hv6::Module::localFileName(fileName)));
    return;
  }
  if (usesNtLibrary())
    dialDlg_ = dialLibrary_.function<RasDialDlgFunction>(kRasDialDlgName);
  else
    dialDlg95_ = dialLibrary_.function<RasDialDlg95Function>(kRasDialDlg95Name);
  getConnectStatus_ = dialLibrary_.function<RasGetConnectStatusFunction>(kRasGetConnectStatusName);
  hangUp_ = dialLibrary_.function<RasHangUpFunction>(kRasHangUpName);
  enumConnections_ = dialLibrary_.function<RasEnumConnectionsFunction>(kRasEnumConnectionsName);
  enumEntries_ = dialLibrary_.function<RasEnumEntriesFunction>(kRasEnumEntriesName);
  const bool dialFound = usesNtLibrary() ? dialDlg_ != nullptr : dialDlg95_ != nullptr;
  if (!dialFound || !getConnectStatus_ || !hangUp_ || !enumConnections_ || !enumEntries_) {
    showWarning(QStringLiteral("リモートアクセス関数のエントリポイントが見つかりません"));
    dialDlg_ = nullptr;
    dialDlg95_ = nullptr;
    getConnectStatus_ = nullptr;
    hangUp_ = nullptr;
    enumConnections_ = nullptr;
    enumEntries_ = nullptr;
    dialLibrary_.unload();
    return;
  }
  ready_ = true;
}

bool CDialUpLink::ListEntries(QStringList& names) {
  names.clear();
  if (!usable()) return false;
  try {
    std::vector<RasEntryName> entries(1);
    entries.front().dwSize = sizeof(RasEntryName);
    std::uint32_t byteSize = 0;
    std::uint32_t count = 0;
    std::uint32_t result = enumEntries_(nullptr, nullptr, entries.data(), &byteSize, &count);
    if (result == kErrorBufferTooSmall) {
      entries.assign(
          std::max<std::size_t>(1, (byteSize + sizeof(RasEntryName) - 1) / sizeof(RasEntryName)),
          RasEntryName{});
      entries.front().dwSize = sizeof(RasEntryName);
      byteSize = static_cast<std::uint32_t>(entries.size() * sizeof(RasEntryName));
      result = enumEntries_(nullptr, nullptr, entries.data(), &byteSize, &count);
    }
    if (result != kSuccess) return false;
    const std::size_t listed = std::min<std::size_t>(count, entries.size());
    for (std::size_t i = 0; i < listed; ++i)
      names << QString::fromUtf8(fieldBytes(entries[i].szEntryName, sizeof entries[i].szEntryName));
    return true;
  } catch (const std::bad_alloc&) {
    names.clear();
    return false;
  }
}

bool CDialUpLink::IsConnected(const QString& name) {
  if (!usable()) return false;
  const QString wanted = name.isEmpty() ? entryName_ : name;
  if (wanted.isEmpty()) {
    showWarning(QStringLiteral("ダイアルアップエントリ名が設定されていません"));
    return false;
  }
  std::array<RasConn, kMaxConnections> connections{};
  connections.front().dwSize = sizeof(RasConn);
  std::uint32_t byteSize = sizeof connections;
  std::uint32_t count = 0;
  const std::uint32_t result = enumConnections_(connections.data(), &byteSize, &count);
  if (result != kSuccess && result != kErrorBufferTooSmall) count = 0;

  connection_ = 0;
  const QByteArray wantedBytes = wanted.toUtf8();
  const std::size_t listed = std::min<std::size_t>(count, kMaxConnections);
  for (std::size_t i = 0; i < listed; ++i) {
    const RasConn& line = connections[i];
    if (fieldBytes(line.szEntryName, sizeof line.szEntryName) == wantedBytes) {
      connection_ = line.hrasconn;
      break;
    }
  }
  return connection_ != 0;
}

bool CDialUpLink::Connect(QWidget* owner, const QString& name) {
  if (!usable()) return false;
  if (!name.isEmpty()) entryName_ = name;
  if (entryName_.isEmpty()) return false;
  if (IsConnected(entryName_)) return true;
  const QByteArray entry = entryName_.toUtf8();
  int dialled = 0;
  if (usesNtLibrary()) {
    RasDialDlg info{};
    info.dwSize = sizeof info;
    info.hwndOwner = owner;
    dialled = dialDlg_(nullptr, entry.constData(), nullptr, &info);
  } else {
    dialled = dialDlg95_(entry.constData());
  }
  if (dialled == 0) return false;
  return IsConnected();
}

bool CDialUpLink::HangUp() {
  if (!usable()) return false;
  if (!IsConnected()) return true;
  if (hangUp_(connection_) != kSuccess) return false;
  // The line goes down after the call returns; a line that stays up past
  // the limit counts as not hung up.
  const QDeadlineTimer deadline(hangUpLimit_);
  RasConnStatus status{};
  for (;;) {
    QThread::yieldCurrentThread();
    status.dwSize = sizeof status;
    if (getConnectStatus_(connection_, &status) == kErrorInvalidHandle) break;
    if (deadline.hasExpired()) return false;
  }
  connection_ = 0;
  return true;
}

bool CDialUpLink::BeginWeatherLink(QWidget* owner) {
  owner_ = owner;
  hv6::DialUpSettings settings;
  if (!hv6::loadDialUpSettings(registry_, settings)) return false;
  if (settings.connectMethod == hv6::kConnectLan) return true;
  if (!remoteAccess_) {
    showNumbered(kMsgNoRemoteAccess);
    return false;
  }
  if (settings.phoneEntry.isEmpty()) {
    showNumbered(kMsgNoPhoneEntry);
    return false;
  }
  return Connect(owner, settings.phoneEntry);
}

void CDialUpLink::EndWeatherLink() {
  hv6::DialUpSettings settings;
  if (!hv6::loadDialUpSettings(registry_, settings)) return;
  if (settings.connectMethod == hv6::kConnectLan || settings.disconnectMethod == hv6::kKeepLine)
    return;
  if (!remoteAccess_) {
    showNumbered(kMsgNoRemoteAccess);
    return;
  }
  if (settings.phoneEntry.isEmpty() || !IsConnected(settings.phoneEntry)) return;
  if (settings.disconnectMethod == hv6::kAskHangUp &&
      hv6::showMessage(
          QStringLiteral("気象データの取得が完了しました。\nダイヤルアップ接続を終了しますか？"),
          QStringLiteral("気象情報の取得"), hv6::MsgButtons::YesNo, hv6::MsgIcon::Question,
          owner_) != hv6::MsgAnswer::Yes)
    return;
  if (!HangUp()) showNumbered(kMsgCannotHangUp);
}
