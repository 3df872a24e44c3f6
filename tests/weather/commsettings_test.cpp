#include "tests/weather/weather_fixture.h"

#include "weather/startdate.h"

namespace {

using hv6test::CommSettingsTest;

hv6::CommSettings storedExample() {
  hv6::CommSettings s;
  s.networkSetup = 1;
  s.connectMethod = hv6::kConnectDialUp;
  s.disconnectMethod = hv6::kKeepLine;
  s.phoneEntry = QStringLiteral("農協回線");
  s.terra8Setup = 1;
  s.iwDrySetup = 1;
  return s;
}

hv6::CommSettings freshSettings() { return hv6::CommSettings::startingOn(QDate(2024, 5, 6)); }

TEST_F(CommSettingsTest, LoadTakesIniRegistryAndEarliestItem) {
  storeSettings(storedExample());
  storeIni(QStringLiteral("farm01"), QStringLiteral("secret"));
  addItem(QDateTime(QDate(2003, 7, 2), QTime(12, 30)));
  addItem(QDateTime(QDate(2003, 6, 30), QTime(0, 0)));

  hv6::CommSettings s = freshSettings();
  hv6::loadCommSettings(iniPath, registry, &data.weather(), s);

  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(s.userId, QStringLiteral("farm01"));
  EXPECT_EQ(s.agriPw, QStringLiteral("secret"));
  EXPECT_EQ(s.networkSetup, 1u);
  EXPECT_EQ(s.connectMethod, 1u);
  EXPECT_EQ(s.disconnectMethod, 1u);
  EXPECT_EQ(s.phoneEntry, QStringLiteral("農協回線"));
  EXPECT_EQ(s.terra8Setup, 1u);
  EXPECT_EQ(s.iwDrySetup, 1u);
  EXPECT_EQ(s.startDate, QStringLiteral("2003/06/30"));
}

TEST_F(CommSettingsTest, IniPasswordIsTakenOnlyWithAnId) {
  hv6::CommSettings s = freshSettings();
  s.userId = QStringLiteral("before");
  s.agriPw = QStringLiteral("before-pw");

  storeIni(QString(), QStringLiteral("orphan"));
  hv6::loadIniSettings(iniPath, s);
  EXPECT_EQ(s.userId, QStringLiteral("before"));
  EXPECT_EQ(s.agriPw, QStringLiteral("before-pw"));

  storeIni(QStringLiteral("farm02"), QString());
  hv6::loadIniSettings(iniPath, s);
  EXPECT_EQ(s.userId, QStringLiteral("farm02"));
  EXPECT_EQ(s.agriPw, QStringLiteral("before-pw"));
}

TEST_F(CommSettingsTest, RegistryLoadStopsAtTheFirstMissingValue) {
  hv6::CommSettings stored = storedExample();
  storeSettings(stored);
  store.deleteValue(registry.keyPath(hv6::StartKeys::kBaseInfo), hv6::CommKeys::kTerra8Setup);

  hv6::CommSettings s = freshSettings();
  EXPECT_FALSE(hv6::loadRegistrySettings(registry, s));
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
  EXPECT_EQ(s.phoneEntry, stored.phoneEntry);  // read before the gap
  EXPECT_EQ(s.iwDrySetup, 0u);                 // after it
}

TEST_F(CommSettingsTest, StartDateKeepsTodayWithoutItems) {
  hv6::CommSettings s = freshSettings();
  EXPECT_FALSE(hv6::loadStartDate(&data.weather(), s));
  EXPECT_EQ(messages.numbers(), QList<long>{2639});
  EXPECT_EQ(s.startDate, QStringLiteral("2024/05/06"));

  messages.clear();
  addItem(QDateTime(QDate(2003, 6, 30), QTime(0, 0)));
  data.weather().Close();
  EXPECT_FALSE(hv6::loadStartDate(&data.weather(), s));
  EXPECT_FALSE(hv6::loadStartDate(nullptr, s));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(s.startDate, QStringLiteral("2024/05/06"));
}

TEST_F(CommSettingsTest, SaveWritesIniRegistryAndEveryItem) {
  storeSettings(hv6::CommSettings{});
  addItem(QDateTime(QDate(2003, 7, 2), QTime(12, 30)));
  addItem(QDateTime());
  hv6::CommSettings s = storedExample();
  s.userId = QStringLiteral("farm03");
  s.agriPw = QStringLiteral("pw");

  EXPECT_TRUE(hv6::saveIniSettings(iniPath, s));
  EXPECT_TRUE(hv6::saveRegistrySettings(registry, s, QStringLiteral("ISP")));
  EXPECT_TRUE(hv6::saveStartDate(&data.weather(), QStringLiteral("2004/02/29")));
  EXPECT_TRUE(hv6::saveServiceFlags(registry, s));

  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(iniValue(QStringLiteral("USER_ID")), QStringLiteral("farm03"));
  EXPECT_EQ(iniValue(QStringLiteral("AGRI_PW")), QStringLiteral("pw"));
  EXPECT_EQ(baseDword(QStringLiteral("NetworkSetup")), 1u);
  EXPECT_EQ(baseDword(QStringLiteral("ConnectMethod")), 1u);
  EXPECT_EQ(baseDword(QStringLiteral("DisconnectMethod")), 1u);
  EXPECT_EQ(baseDword(QStringLiteral("Terra8Setup")), 1u);
  EXPECT_EQ(baseDword(QStringLiteral("IWDrySetup")), 1u);
  EXPECT_EQ(phoneEntry(), QStringLiteral("ISP"));
  EXPECT_EQ(lastUpdates(), (QStringList{QStringLiteral("2004-02-29 00:00:00"),
                                        QStringLiteral("2004-02-29 00:00:00")}));
}

TEST_F(CommSettingsTest, SaveLeavesWhatItMayNotWrite) {
  storeSettings(storedExample());
  addItem(QDateTime(QDate(2003, 7, 2), QTime(12, 30)));

  EXPECT_TRUE(hv6::saveRegistrySettings(registry, hv6::CommSettings{}, std::nullopt));
  EXPECT_EQ(phoneEntry(), QStringLiteral("農協回線"));
  EXPECT_FALSE(hv6::saveStartDate(&data.weather(), QStringLiteral("2003/02/29")));
  EXPECT_EQ(lastUpdates(), QStringList{QStringLiteral("2003-07-02 12:30:00")});
  EXPECT_TRUE(messages.empty());
}

TEST_F(CommSettingsTest, SaveFailuresShowTheirMessages) {
  ASSERT_TRUE(QDir(hv6::userEnvironmentFolder()).removeRecursively());
  EXPECT_FALSE(hv6::saveIniSettings(iniPath, storedExample()));
  EXPECT_EQ(messages.numbers(), QList<long>{2637});

  messages.clear();
  data.weather().Execute(QStringLiteral("DROP TABLE Item"));
  EXPECT_FALSE(hv6::saveStartDate(&data.weather(), QStringLiteral("2004/02/29")));
  EXPECT_EQ(messages.numbers(), QList<long>{1006});

  messages.clear();
  ASSERT_EQ(store.writeString(hv6::AppRegistry::kBaseKey, hv6::AppRegistry::kCurrentKeyValue,
                              QStringLiteral("missing")),
            hv6::RegStatus::Ok);
  EXPECT_FALSE(hv6::saveServiceFlags(registry, storedExample()));
  EXPECT_FALSE(hv6::saveRegistrySettings(registry, storedExample(), std::nullopt));
  EXPECT_EQ(messages.numbers(), (QList<long>{2504, 2504}));
}

// Counts the settings store's warnings: one for each write it could not do.
class StoreWarnings {
 public:
  StoreWarnings() { previous_ = qInstallMessageHandler(&StoreWarnings::handle); }
  ~StoreWarnings() { qInstallMessageHandler(previous_); }
  StoreWarnings(const StoreWarnings&) = delete;
  StoreWarnings& operator=(const StoreWarnings&) = delete;
  static int count() { return count_; }

 private:
  static void handle(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg && text.contains(QLatin1String("settings store"))) ++count_;
  }
  static inline int count_ = 0;
  QtMessageHandler previous_ = nullptr;
};

TEST_F(CommSettingsTest, BothServiceFlagsAreTriedAndOneMessageShown) {
  storeSettings(storedExample());
  // A folder where the writers' lock file belongs: every write fails.
  const QString lockFile = env.registryFile() + QStringLiteral(".lock");
  QFile::remove(lockFile);
  ASSERT_TRUE(QDir().mkpath(lockFile));
  StoreWarnings warnings;
  EXPECT_FALSE(hv6::saveServiceFlags(registry, storedExample()));
  EXPECT_EQ(StoreWarnings::count(), 2);
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
}

TEST_F(CommSettingsTest, FlagsThatWereNeverReadAreNotWrittenBack) {
  const QString key = registry.keyPath(hv6::StartKeys::kBaseInfo);
  storeSettings(storedExample());
  store.deleteValue(key, hv6::CommKeys::kIWDrySetup);
  hv6::CommSettings s = freshSettings();
  EXPECT_FALSE(hv6::loadRegistrySettings(registry, s));
  messages.clear();
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::CommKeys::kTerra8Setup, 0));

  EXPECT_TRUE(hv6::saveServiceFlags(registry, s));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(baseDword(QStringLiteral("Terra8Setup")), 1u);  // read, so written back
  std::uint32_t unread = 0;
  EXPECT_FALSE(registry.readDword(hv6::StartKeys::kBaseInfo, hv6::CommKeys::kIWDrySetup, unread));

  // Stopping earlier leaves both alone.
  store.deleteValue(key, hv6::CommKeys::kConnectMethod);
  hv6::CommSettings none = freshSettings();
  EXPECT_FALSE(hv6::loadRegistrySettings(registry, none));
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::CommKeys::kTerra8Setup, 7));
  EXPECT_TRUE(hv6::saveServiceFlags(registry, none));
  EXPECT_EQ(baseDword(QStringLiteral("Terra8Setup")), 7u);
}

TEST_F(CommSettingsTest, WithoutADocumentsFolderThereIsNoIniPath) {
  storeIni(QStringLiteral("farm01"), QStringLiteral("secret"));
  qunsetenv("HV6_DOCUMENTS");
  qunsetenv("HOME");
  ASSERT_TRUE(hv6::wxfetchIniPath().isEmpty());
  hv6::CommSettings s = freshSettings();
  hv6::loadIniSettings(hv6::wxfetchIniPath(), s);
  EXPECT_TRUE(s.userId.isEmpty());
  EXPECT_FALSE(hv6::saveIniSettings(hv6::wxfetchIniPath(), storedExample()));
  EXPECT_EQ(messages.numbers(), QList<long>{2637});
}

TEST(CommEnables, FollowTheChecksAndTheConnection) {
  struct Case {
    bool on, weather, lan;
    bool common, dialUp, startDate;
  };
  const Case cases[] = {
      {false, true, false, false, false, false}, {false, false, true, false, false, false},
      {true, false, true, true, false, false},   {true, false, false, true, true, false},
      {true, true, true, true, false, true},     {true, true, false, true, true, true},
  };
  for (const Case& c : cases) {
    const hv6::CommEnables e = hv6::commEnables(c.on, c.weather, c.lan);
    EXPECT_EQ(e.common, c.common) << c.on << c.weather << c.lan;
    EXPECT_EQ(e.dialUp, c.dialUp) << c.on << c.weather << c.lan;
    EXPECT_EQ(e.startDate, c.startDate) << c.on << c.weather << c.lan;
  }
}

}  // namespace
