#include "weather/commsettings.h"

#include <QDateTime>
#include <new>

#include "outside/errtext6/errmsg.h"
#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "shell/envcopy.h"
#include "shell/startup.h"
#include "weather/startdate.h"

namespace hv6 {

namespace {

constexpr int kIniValueSize = 260;
constexpr long kMsgOutOfMemory = 1001;
constexpr long kMsgSettingsFailed = 1006;
constexpr long kMsgDiskFull = 2160;
constexpr long kMsgSettingMissing = 2504;
constexpr long kMsgIniWriteFailed = 2637;
constexpr long kMsgStartDateUnreadable = 2639;

void showNumbered(long number) { CErrMsg().Disp(number, 1, 0, kAppTitle); }

bool isOpen(const CDaoDatabase* database) { return database != nullptr && database->IsOpen(); }

QString readIniValue(const QString& iniPath, const QString& key) {
  QString value;
  GetPrivateProfileString(CommKeys::kIniSection, key, QString(), value, kIniValueSize, iniPath);
  return value;
}

// The earliest LastUpdate as a date; throws CDaoException when there is
// none.
QDate earliestLastUpdate(CDaoDatabase& database) {
  CDaoRecordset items(&database);
  items.Open(dbOpenSnapshot,
             QString::asprintf("SELECT %s FROM %s ORDER BY %s", "LastUpdate", "Item", "LastUpdate"),
             dbReadOnly);
  if (items.IsEOF()) throw CDaoException(kJetNoCurrentRecord, QStringLiteral("No current record."));
  const QDate date = items.GetFieldValue(QStringLiteral("LastUpdate")).toDateTime().date();
  if (!date.isValid()) throw CDaoException(kJetConversion, QStringLiteral("No start date."));
  return date;
}

}  // namespace

CommSettings CommSettings::startingOn(const QDate& today) {
  CommSettings settings;
  settings.startDate = startDateText(today);
  return settings;
}

QString wxfetchIniPath() {
  const QString folder = userEnvironmentFolder();
  return folder.isEmpty() ? folder : folder + QStringLiteral("/wxfetch.ini");
}

void loadIniSettings(const QString& iniPath, CommSettings& settings) {
  if (iniPath.isEmpty()) return;
  const QString userId = readIniValue(iniPath, CommKeys::kUserId);
  if (userId.isEmpty()) return;
  settings.userId = userId;
  const QString password = readIniValue(iniPath, CommKeys::kAgriPw);
  if (!password.isEmpty()) settings.agriPw = password;
}

bool loadRegistrySettings(const AppRegistry& registry, CommSettings& settings) {
  const QString& key = StartKeys::kBaseInfo;
  const bool before =
      registry.readDword(key, StartKeys::kNetworkSetup, settings.networkSetup) &&
      registry.readDword(key, CommKeys::kConnectMethod, settings.connectMethod) &&
      registry.readDword(key, CommKeys::kDisconnectMethod, settings.disconnectMethod) &&
      registry.readString(key, CommKeys::kPhoneEntry, settings.phoneEntry);
  const bool terra8 =
      before && registry.readDword(key, CommKeys::kTerra8Setup, settings.terra8Setup);
  const bool iwDry = terra8 && registry.readDword(key, CommKeys::kIWDrySetup, settings.iwDrySetup);
  settings.terra8Unread = !terra8;
  settings.iwDryUnread = !iwDry;
  if (!iwDry) showNumbered(kMsgSettingMissing);
  return iwDry;
}

bool loadStartDate(CDaoDatabase* weatherDatabase, CommSettings& settings) {
  if (!isOpen(weatherDatabase)) return false;
  try {
    settings.startDate = startDateText(earliestLastUpdate(*weatherDatabase));
    return true;
  } catch (const CDaoException&) {
    showNumbered(kMsgStartDateUnreadable);
  } catch (const std::bad_alloc&) {
    showNumbered(kMsgOutOfMemory);
  } catch (const std::exception&) {
    showNumbered(kMsgSettingsFailed);
  }
  return false;
}

void loadCommSettings(const QString& iniPath, const AppRegistry& registry,
                      CDaoDatabase* weatherDatabase, CommSettings& settings) {
  loadIniSettings(iniPath, settings);
  loadRegistrySettings(registry, settings);
  loadStartDate(weatherDatabase, settings);
}

bool saveIniSettings(const QString& iniPath, const CommSettings& settings) {
  const bool idWritten =
      !iniPath.isEmpty() &&
      WritePrivateProfileString(CommKeys::kIniSection, CommKeys::kUserId, settings.userId, iniPath);
  const bool passwordWritten =
      !iniPath.isEmpty() &&
      WritePrivateProfileString(CommKeys::kIniSection, CommKeys::kAgriPw, settings.agriPw, iniPath);
  if (idWritten && passwordWritten) return true;
  showNumbered(kMsgIniWriteFailed);
  return false;
}

bool saveRegistrySettings(AppRegistry& registry, const CommSettings& settings,
                          const std::optional<QString>& selectedEntry) {
  const QString& key = StartKeys::kBaseInfo;
  const bool written =
      registry.writeDword(key, StartKeys::kNetworkSetup, settings.networkSetup) &&
      registry.writeDword(key, CommKeys::kConnectMethod, settings.connectMethod) &&
      registry.writeDword(key, CommKeys::kDisconnectMethod, settings.disconnectMethod) &&
      (!selectedEntry || registry.writeString(key, CommKeys::kPhoneEntry, *selectedEntry));
  if (!written) showNumbered(kMsgSettingMissing);
  return written;
}

bool saveStartDate(CDaoDatabase* weatherDatabase, const QString& startDate) {
  const std::optional<QDate> date = parseStartDate(startDate);
  if (!date || !isOpen(weatherDatabase)) return false;
  try {
    const COleVariant midnight(QDateTime(*date, QTime(0, 0)));
    weatherDatabase->Execute(QStringLiteral("UPDATE Item SET LastUpdate = ?"), {midnight});
    return true;
  } catch (const CDaoException& e) {
    showNumbered(e.errorCode() == kJetDiskFull ? kMsgDiskFull : kMsgSettingsFailed);
  } catch (const std::exception&) {
    showNumbered(kMsgSettingsFailed);
  }
  return false;
}

bool saveServiceFlags(AppRegistry& registry, const CommSettings& settings) {
  const QString& key = StartKeys::kBaseInfo;
  const bool terra8 = settings.terra8Unread ||
                      registry.writeDword(key, CommKeys::kTerra8Setup, settings.terra8Setup);
  const bool iwDry =
      settings.iwDryUnread || registry.writeDword(key, CommKeys::kIWDrySetup, settings.iwDrySetup);
  if (!terra8 || !iwDry) showNumbered(kMsgSettingMissing);
  return terra8 && iwDry;
}

bool loadDialUpSettings(const AppRegistry& registry, DialUpSettings& settings) {
  try {
    const QString& key = StartKeys::kBaseInfo;
    if (registry.readDword(key, CommKeys::kConnectMethod, settings.connectMethod) &&
        registry.readDword(key, CommKeys::kDisconnectMethod, settings.disconnectMethod) &&
        registry.readString(key, CommKeys::kPhoneEntry, settings.phoneEntry))
      return true;
    showNumbered(kMsgSettingMissing);
  } catch (const std::exception&) {
    showNumbered(kMsgSettingsFailed);
  }
  return false;
}

CommEnables commEnables(bool switchedOn, bool weather, bool lan) {
  return {switchedOn, switchedOn && !lan, switchedOn && weather};
}

}  // namespace hv6
