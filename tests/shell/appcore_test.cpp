#include "shell/appcore.h"

#include "platform/dao/dao.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"

#include <QFile>

namespace {

using hv6::StartKeys;

class StartStepsTest : public hv6test::InstalledRegistryTest {
 protected:
  hv6::AppCore core{store};

  void SetUp() override {
    install();
    // As a previous run or a data tool left them.
    ASSERT_TRUE(registry.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 1));
    ASSERT_TRUE(registry.writeDword(StartKeys::kBaseInfo, StartKeys::kNetworkSetup, 1));
  }
};

TEST_F(StartStepsTest, OpensBothDatabasesAndResetsTheFlags) {
  hv6test::TempDataFolder data;
  setPaths(data.diaryPath(), data.weatherPath());
  EXPECT_TRUE(core.runStartSteps(QString()).running);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(dword(StartKeys::kBaseInfo, StartKeys::kAccess), 0u);
  EXPECT_EQ(dword(StartKeys::kBaseInfo, StartKeys::kNetworkSetup), 0u);
  EXPECT_EQ(core.settings().root, QStringLiteral("Software\\Velqor\\HV6\\HV6\\"));
  EXPECT_EQ(core.settings().installPath, QStringLiteral("/opt/hv6/lib/hv6"));
  EXPECT_EQ(core.diaryPath(), data.diaryPath());
  EXPECT_EQ(core.weatherPath(), data.weatherPath());
  EXPECT_TRUE(core.diaryDatabase().IsOpen() && core.weatherDatabase().IsOpen());
  EXPECT_TRUE(core.dataFilesPresent());
}

TEST_F(StartStepsTest, UndeterminedRootEndsWith2503) {
  ASSERT_EQ(store.writeDword(hv6::AppRegistry::kBaseKey, hv6::AppRegistry::kCurrentKeyValue, 3),
            hv6::RegStatus::Ok);  // a number
  EXPECT_EQ(core.runStartSteps(QString()).message, 2503);
  ASSERT_EQ(store.deleteValue(hv6::AppRegistry::kBaseKey, hv6::AppRegistry::kCurrentKeyValue),
            hv6::RegStatus::Ok);  // missing
  EXPECT_FALSE(core.runStartSteps(QString()).running);
  EXPECT_EQ(messages.numbers(), (QList<long>{2503, 2503}));
}

TEST_F(StartStepsTest, RegOptionSelectsTheKeyBeforeAnySettingIsRead) {
  hv6test::TempDataFolder farm2;
  install(QStringLiteral("farm2"));
  setPaths(farm2.diaryPath(), farm2.weatherPath());
  ASSERT_TRUE(registry.selectSettingsKey(QString()));  // HV6, which has no paths
  EXPECT_TRUE(core.runStartSteps(QStringLiteral("-reg  farm2")).running);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(core.settings().root, QStringLiteral("Software\\Velqor\\HV6\\farm2\\"));
  EXPECT_EQ(core.diaryPath(), farm2.diaryPath());
}

TEST_F(StartStepsTest, MissingDataPathEndsWith2504AfterAccessWasReset) {
  ASSERT_TRUE(registry.writeString(StartKeys::kEnvironment, StartKeys::kInstallPath, QStringLiteral("/p")));
  const hv6::StartOutcome outcome = core.runStartSteps(QString());
  EXPECT_FALSE(outcome.running);
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
  EXPECT_EQ(dword(StartKeys::kBaseInfo, StartKeys::kAccess), 0u);
  EXPECT_EQ(dword(StartKeys::kBaseInfo, StartKeys::kNetworkSetup), 1u);  // not reached
}

TEST_F(StartStepsTest, DatabasesThatDoNotOpenLeaveTheProgramRunning) {
  const QString notADatabase = env.path(QStringLiteral("weather.txt"));
  QFile file(notADatabase);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("text") == 4);
  file.close();
  setPaths(env.path(QStringLiteral("missing/作業日誌データ.HV6")), notADatabase);

  EXPECT_TRUE(core.runStartSteps(QString()).running);
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(core.diaryDatabase().IsOpen() || core.weatherDatabase().IsOpen());
  EXPECT_FALSE(core.diaryOpenError().isEmpty());
  EXPECT_FALSE(core.dataFilesPresent());
  EXPECT_FALSE(QFile::exists(env.path(QStringLiteral("missing"))));  // nothing created

  // A re-open follows the setting; an empty path leaves it closed, silently.
  hv6test::TempDataFolder data;
  ASSERT_TRUE(registry.writeString(StartKeys::kBaseInfo, StartKeys::kDataPath, data.diaryPath()));
  EXPECT_EQ(core.reopenDiaryDatabase(), &core.diaryDatabase());
  ASSERT_TRUE(registry.writeString(StartKeys::kBaseInfo, StartKeys::kDataPath, QString()));
  EXPECT_EQ(core.reopenDiaryDatabase(), nullptr);
  EXPECT_TRUE(messages.empty());
}

TEST_F(StartStepsTest, DiaryOfThePreviousEditionIsConverted) {
  hv6test::TempDataFolder data(hv6::SchemaEdition::Previous);
  data.diary().Close();
  setPaths(data.diaryPath(), data.weatherPath());
  ASSERT_TRUE(core.runStartSteps(QString()).running);
  CDaoRecordset info(&core.diaryDatabase());
  info.Open(dbOpenSnapshot, QStringLiteral("SELECT Dataversion FROM Information"));
  ASSERT_FALSE(info.IsEOF());
  EXPECT_EQ(info.GetFieldValue(0).toString(), hv6::kDataVersion60501);
}

TEST(StartWithoutInstallationTest, FailedRegOptionIsReportedAndTheStartGoesOn) {
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6::RegistryStore store(env.registryFile());  // no key at all
  hv6::AppCore core(store);
  EXPECT_FALSE(core.runStartSteps(QStringLiteral("-REG farm2")).running);
  // The -REG write fails (2503, the start goes on), then Access = 0 fails too.
  EXPECT_EQ(messages.numbers(), (QList<long>{2503, 2503}));
  EXPECT_FALSE(store.keyExists(hv6::AppRegistry::kBaseKey));
}

}  // namespace
