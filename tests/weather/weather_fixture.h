#pragma once
// A temporary registry with the communication settings, a per-user
// environment folder for "wxfetch.ini" and a weather database.

#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "shell/envcopy.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"
#include "weather/commsettings.h"

#include <QDir>

namespace hv6test {

class CommSettingsTest : public InstalledRegistryTest {
 protected:
  TempDataFolder data;
  QString iniPath;

  void SetUp() override {
    install();
    ASSERT_TRUE(QDir().mkpath(hv6::userEnvironmentFolder()));
    iniPath = hv6::wxfetchIniPath();
  }

  // Every value the page reads, in the registry.
  void storeSettings(const hv6::CommSettings& s) {
    const QString& key = hv6::StartKeys::kBaseInfo;
    ASSERT_TRUE(registry.writeDword(key, hv6::StartKeys::kNetworkSetup, s.networkSetup));
    ASSERT_TRUE(registry.writeDword(key, hv6::CommKeys::kConnectMethod, s.connectMethod));
    ASSERT_TRUE(registry.writeDword(key, hv6::CommKeys::kDisconnectMethod, s.disconnectMethod));
    ASSERT_TRUE(registry.writeString(key, hv6::CommKeys::kPhoneEntry, s.phoneEntry));
    ASSERT_TRUE(registry.writeDword(key, hv6::CommKeys::kTerra8Setup, s.terra8Setup));
    ASSERT_TRUE(registry.writeDword(key, hv6::CommKeys::kIWDrySetup, s.iwDrySetup));
  }

  void storeIni(const QString& userId, const QString& password) {
    ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("NETWORK"),
                                               QStringLiteral("USER_ID"), userId, iniPath));
    ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("NETWORK"),
                                               QStringLiteral("AGRI_PW"), password, iniPath));
  }

  QString iniValue(const QString& key) {
    QString value;
    hv6::GetPrivateProfileString(QStringLiteral("NETWORK"), key, QStringLiteral("<none>"), value,
                                 260, iniPath);
    return value;
  }

  std::uint32_t baseDword(const QString& name) { return dword(hv6::StartKeys::kBaseInfo, name); }

  QString phoneEntry() {
    QString value;
    EXPECT_TRUE(registry.readString(hv6::StartKeys::kBaseInfo, hv6::CommKeys::kPhoneEntry, value));
    return value;
  }

  void addItem(const QDateTime& lastUpdate) {
    TempDataFolder::insertRow(data.weather(), QStringLiteral("Item"),
                              {{QStringLiteral("LastUpdate"), COleVariant(lastUpdate)},
                               {QStringLiteral("DataSpecies"), COleVariant(0)},
                               {QStringLiteral("Type"), COleVariant(1)}});
  }

  // LastUpdate of every Item row as stored, in key order.
  QStringList lastUpdates() {
    CDaoRecordset items(&data.weather());
    items.Open(dbOpenSnapshot, QStringLiteral("SELECT LastUpdate FROM Item ORDER BY Code"));
    QStringList texts;
    for (; !items.IsEOF(); items.MoveNext())
      texts << storedDateText(items.GetFieldValue(0).toDateTime());
    return texts;
  }
};

}  // namespace hv6test
