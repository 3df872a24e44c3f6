#pragma once
// The communication settings of the base-information sheet: the values of
// Environment\BaseInfo, the mobile diary id and password of "wxfetch.ini"
// (section NETWORK) and the start date of the next weather retrieval
// (LastUpdate of the weather database's Item rows).
//
// Every load and save step shows its own numbered message when it fails
// and goes on, as the sheet expects.

#include "shell/appregistry.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

class CDaoDatabase;

namespace hv6 {

struct CommKeys {
  static inline const QString kConnectMethod = QStringLiteral("ConnectMethod");
  static inline const QString kDisconnectMethod = QStringLiteral("DisconnectMethod");
  static inline const QString kPhoneEntry = QStringLiteral("PhoneEntry");
  static inline const QString kTerra8Setup = QStringLiteral("Terra8Setup");
  static inline const QString kIWDrySetup = QStringLiteral("IWDrySetup");
  static inline const QString kIniSection = QStringLiteral("NETWORK");
  static inline const QString kUserId = QStringLiteral("USER_ID");
  static inline const QString kAgriPw = QStringLiteral("AGRI_PW");
};

enum ConnectMethod { kConnectLan = 0, kConnectDialUp = 1 };
enum DisconnectMethod { kHangUp = 0, kKeepLine = 1, kAskHangUp = 2 };

struct CommSettings {
  std::uint32_t networkSetup = 0;
  std::uint32_t connectMethod = kConnectLan;
  std::uint32_t disconnectMethod = kAskHangUp;
  QString phoneEntry;
  std::uint32_t terra8Setup = 0;
  std::uint32_t iwDrySetup = 0;
  QString userId;
  QString agriPw;
  QString startDate;  // "YYYY/MM/DD"
  // The service flags that the registry load could not read: they are not
  // written back, so a value never seen is not replaced by a default.
  bool terra8Unread = false;
  bool iwDryUnread = false;

  // Nothing loaded yet: the start date is the given day.
  static CommSettings startingOn(const QDate& today);
};

// The per-user "wxfetch.ini"; empty when the documents folder is unknown.
QString wxfetchIniPath();

// Id and password of the INI file; both stay when the id there is empty or
// there is no file path.
void loadIniSettings(const QString& iniPath, CommSettings& settings);
// The six registry values in order; at the first that cannot be read 2504
// is shown and the rest keep what they had (the service flags among them
// are marked unread).
bool loadRegistrySettings(const AppRegistry& registry, CommSettings& settings);
// The earliest LastUpdate of Item. A closed or missing database is skipped;
// no row or a database error shows 2639 and keeps the text.
bool loadStartDate(CDaoDatabase* weatherDatabase, CommSettings& settings);
// All three in this order.
void loadCommSettings(const QString& iniPath, const AppRegistry& registry,
                      CDaoDatabase* weatherDatabase, CommSettings& settings);

// Id and password into the INI file; 2637 when either cannot be written or
// there is no file path.
bool saveIniSettings(const QString& iniPath, const CommSettings& settings);
// NetworkSetup, ConnectMethod, DisconnectMethod and, when an entry is
// selected, PhoneEntry; 2504 at the first that cannot be written.
bool saveRegistrySettings(AppRegistry& registry, const CommSettings& settings,
                          const std::optional<QString>& selectedEntry);
// Sets LastUpdate of every Item row to the start date at 00:00. An invalid
// date or a closed database writes nothing; a database error shows 1006
// (2160 when the disk is full).
bool saveStartDate(CDaoDatabase* weatherDatabase, const QString& startDate);
// Terra8Setup and IWDrySetup, each unless it is marked unread; the second is
// written even when the first fails. 2504, once, when either cannot be
// written.
bool saveServiceFlags(AppRegistry& registry, const CommSettings& settings);

// The values the dial-up steps around a weather retrieval read.
struct DialUpSettings {
  std::uint32_t connectMethod = kConnectLan;
  std::uint32_t disconnectMethod = kAskHangUp;
  QString phoneEntry;
};
// ConnectMethod, DisconnectMethod and PhoneEntry; 2504 when one cannot be
// read, 1006 for any other failure.
bool loadDialUpSettings(const AppRegistry& registry, DialUpSettings& settings);

// Which controls of the communication page are enabled.
struct CommEnables {
  bool common = false;     // weather check, connection radios, mobile diary
  bool dialUp = false;     // entry list and the hang-up choice
  bool startDate = false;  // the start date with its labels
};
// switchedOn: the online service is checked; weather: weather communication
// is checked; lan: the LAN connection is chosen.
CommEnables commEnables(bool switchedOn, bool weather, bool lan);

}  // namespace hv6
