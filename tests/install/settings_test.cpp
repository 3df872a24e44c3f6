#include "install/settings.h"

#include "platform/dao/dao.h"
#include "shell/appregistry.h"
#include "store/schema.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using hv6::AppRegistry;
using hv6::RegistryStore;
using hv6::install::InstallPaths;

const QString kBaseInfo = QStringLiteral("Environment\\BaseInfo");

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DefaultSettingsTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  RegistryStore store{env.registryFile()};
  AppRegistry registry{store};
  InstallPaths paths{env.path(QStringLiteral("prefix")),
                     env.path(QStringLiteral("prefix/lib/hv6"))};

  void install() {
    QString error;
    ASSERT_TRUE(hv6::install::writeDefaultSettings(store, paths, &error)) << qPrintable(error);
  }

  std::uint32_t dword(const QString& key, const char* name) {
    std::uint32_t value = 0xdeadbeef;
    EXPECT_TRUE(registry.readDword(key, QString::fromLatin1(name), value))
        << qPrintable(key) << name;
    return value;
  }

  QString text(const QString& key, const char* name) {
    QString value = QStringLiteral("(unreadable)");
    EXPECT_TRUE(registry.readString(key, QString::fromLatin1(name), value))
        << qPrintable(key) << name;
    return value;
  }
};

TEST_F(DefaultSettingsTest, EveryValueTheStartReadsIsPresent) {
  install();
  QString current;
  ASSERT_EQ(store.readString(AppRegistry::kBaseKey, AppRegistry::kCurrentKeyValue, current),
            hv6::RegStatus::Ok);
  EXPECT_EQ(current, QString());
  EXPECT_EQ(registry.root(), QStringLiteral("Software\\Velqor\\HV6\\HV6\\"));

  EXPECT_EQ(text(kBaseInfo, "DataPath"), QString());  // readable, and no data yet
  EXPECT_EQ(text(kBaseInfo, "WeatherDataPath"), QString());
  EXPECT_EQ(dword(kBaseInfo, "DaySort"), 0u);
  for (const char* module : {"WorkDry", "SealDry", "HvPay", "BusDry"}) {
    const QByteArray name = QByteArray(module) + "PWord";
    EXPECT_EQ(dword(kBaseInfo, ("IS" + name).constData()), 0u);
    EXPECT_EQ(text(kBaseInfo, name.constData()), QString());
  }
  EXPECT_EQ(dword(kBaseInfo, "ConnectMethod"), 0u);
  EXPECT_EQ(dword(kBaseInfo, "DisconnectMethod"), 2u);
  EXPECT_EQ(text(kBaseInfo, "PhoneEntry"), QString());
  for (const char* name : {"Terra8Setup", "IWDrySetup", "NetworkSetup", "Access"})
    EXPECT_EQ(dword(kBaseInfo, name), 0u);

  EXPECT_EQ(text(QStringLiteral("Environment"), "InstallPath"), paths.programFolder);
  EXPECT_EQ(dword(QStringLiteral("Environment"), "OverWriteEnv"), 0u);
  EXPECT_EQ(dword(QStringLiteral("Environment"), "OverWriteDemo"), 0u);
  const QDate today = QDate::currentDate();
  const auto todayNumber = std::uint32_t(today.year() * 10000 + today.month() * 100 + today.day());
  EXPECT_EQ(dword(QStringLiteral("Environment\\Backup"), "BackUpDate"), todayNumber);

  const QString calendar = QStringLiteral("Calendar");
  EXPECT_EQ(dword(calendar, "Date"), todayNumber);
  EXPECT_EQ(dword(calendar, "View"), 1u);
  EXPECT_EQ(dword(calendar, "Wdry"), 1u);
  for (const char* name : {"YearBook", "Sdry", "Type", "Area"})
    EXPECT_EQ(dword(calendar, name), 0u);
  EXPECT_EQ(dword(calendar, "Tenki"), 1u);
  EXPECT_EQ(dword(calendar, "Kisetu"), 1u);

  EXPECT_EQ(text(QStringLiteral("Map"), "FmpFile"), QStringLiteral("\\ﾃﾝﾌﾟﾚｰﾄ.fmp"));
  EXPECT_EQ(text(QStringLiteral("Map"), "BmpFile"), QString());
  EXPECT_EQ(text(QStringLiteral("HRV6"), "Version"), QStringLiteral("6.05.01"));
}

TEST_F(DefaultSettingsTest, LauncherEntriesAreOfferedOnlyWhenTheirProgramIsInstalled) {
  const QString diaryProgram = hv6::install::launcherProgram(paths.prefix, 2);
  EXPECT_EQ(diaryProgram, paths.prefix + QStringLiteral("/bin/hv6-workdiary"));
  QDir().mkpath(QFileInfo(diaryProgram).absolutePath());
  QFile(diaryProgram).open(QIODevice::WriteOnly);
  install();

  const QStringList names{QStringLiteral("農程管理"),       QStringLiteral("作業日誌入力"),
                          QStringLiteral("販売管理"),       QStringLiteral("営農日記"),
                          QStringLiteral("作業日誌集計"),   QStringLiteral("出荷伝票集計"),
                          QStringLiteral("気象・栽培"),     QStringLiteral("ほ場図"),
                          QStringLiteral("台帳登録"),       QStringLiteral("給与計算"),
                          QStringLiteral("農作業気象分析"), QStringLiteral("栽培リスク予察"),
                          QStringLiteral("栽培履歴書")};
  for (int entry = 1; entry <= 20; ++entry) {
    SCOPED_TRACE(entry);
    const QString key = QStringLiteral("MenuBar\\Item%1").arg(entry);
    const QString program = hv6::install::launcherProgram(paths.prefix, entry);
    EXPECT_EQ(text(key, "Name"), entry <= 13 ? names[entry - 1] : QString());
    EXPECT_EQ(text(key, "Exe"), program);
    EXPECT_EQ(text(key, "Icon"), program);
    EXPECT_EQ(dword(key, "Incorporate"), entry == 2 ? 1u : 0u);
    EXPECT_EQ(dword(key, "ToolMenu"), entry == 6 || entry == 10 || entry == 12 ? 1u : 0u);
    EXPECT_EQ(program.isEmpty(), entry > 13);
  }
}

TEST_F(DefaultSettingsTest, ARunAgainKeepsWhatTheUserChanged) {
  install();
  const QByteArray once = fileBytes(env.registryFile());
  install();
  EXPECT_EQ(fileBytes(env.registryFile()), once);  // a second run changes nothing

  ASSERT_TRUE(registry.writeDword(QStringLiteral("Calendar"), QStringLiteral("View"), 3));
  ASSERT_TRUE(registry.writeString(QStringLiteral("Calendar"), QStringLiteral("Wdry"),
                                   QStringLiteral("x")));
  ASSERT_TRUE(registry.writeString(kBaseInfo, QStringLiteral("DataPath"),
                                   QStringLiteral("/farm/作業日誌データ.HV6")));
  ASSERT_EQ(
      store.deleteValue(registry.root() + QStringLiteral("Calendar"), QStringLiteral("Kisetu")),
      hv6::RegStatus::Ok);
  paths.programFolder = env.path(QStringLiteral("elsewhere/lib/hv6"));
  install();

  EXPECT_EQ(dword(QStringLiteral("Calendar"), "View"), 3u);
  EXPECT_EQ(text(QStringLiteral("Calendar"), "Wdry"), QStringLiteral("x"));  // wrong type kept
  EXPECT_EQ(text(kBaseInfo, "DataPath"), QStringLiteral("/farm/作業日誌データ.HV6"));
  EXPECT_EQ(dword(QStringLiteral("Calendar"), "Kisetu"), 1u);  // a missing one comes back
  EXPECT_EQ(text(QStringLiteral("Environment"), "InstallPath"), paths.programFolder);
}

TEST_F(DefaultSettingsTest, CurrentKeyChoosesTheRootOrStopsTheRun) {
  ASSERT_EQ(store.createKey(AppRegistry::kBaseKey), hv6::RegStatus::Ok);
  ASSERT_EQ(store.writeDword(AppRegistry::kBaseKey, AppRegistry::kCurrentKeyValue, 1),
            hv6::RegStatus::Ok);
  QString error;
  EXPECT_FALSE(hv6::install::writeDefaultSettings(store, paths, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("CurrentKEY")));
  EXPECT_TRUE(store.subKeys(AppRegistry::kBaseKey).isEmpty());

  ASSERT_TRUE(registry.selectSettingsKey(QStringLiteral("farm2")));
  install();
  EXPECT_TRUE(store.keyExists(QStringLiteral("Software\\Velqor\\HV6\\farm2\\Calendar")));
  EXPECT_FALSE(store.keyExists(QStringLiteral("Software\\Velqor\\HV6\\HV6")));
}

TEST_F(DefaultSettingsTest, PointingAtDataOverwritesPathsAndFieldMap) {
  QString error;
  EXPECT_FALSE(hv6::install::pointSettingsAtData(store, QStringLiteral("/a"), QStringLiteral("/b"),
                                                 true, &error));
  EXPECT_FALSE(error.isEmpty());

  install();
  ASSERT_TRUE(registry.writeString(QStringLiteral("Map"), QStringLiteral("BmpFile"),
                                   QStringLiteral("\\farm.bmp")));
  ASSERT_TRUE(hv6::install::pointSettingsAtData(store, QStringLiteral("/demo/作業日誌データ.HV6"),
                                                QStringLiteral("/demo/気象データ.HV6"), true,
                                                &error));
  EXPECT_EQ(text(kBaseInfo, "DataPath"), QStringLiteral("/demo/作業日誌データ.HV6"));
  EXPECT_EQ(text(kBaseInfo, "WeatherDataPath"), QStringLiteral("/demo/気象データ.HV6"));
  EXPECT_EQ(text(QStringLiteral("Map"), "FmpFile"), QStringLiteral("\\ほ場図.fmp"));
  EXPECT_EQ(text(QStringLiteral("Map"), "BmpFile"), QString());

  ASSERT_TRUE(hv6::install::pointSettingsAtData(store, QStringLiteral("/farm/作業日誌データ.HV6"),
                                                QStringLiteral("/farm/気象データ.HV6"), false,
                                                &error));
  EXPECT_EQ(text(kBaseInfo, "DataPath"), QStringLiteral("/farm/作業日誌データ.HV6"));
  EXPECT_EQ(text(QStringLiteral("Map"), "FmpFile"), QStringLiteral("\\ﾃﾝﾌﾟﾚｰﾄ.fmp"));
}

class NewDataFolderTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  QString folder = env.path(QStringLiteral("farm/data"));
  QString diary = folder + QLatin1Char('/') + hv6::kDiaryFileName;
  QString weather = folder + QLatin1Char('/') + hv6::kWeatherFileName;
};

TEST_F(NewDataFolderTest, CreatesBothDatabasesOfTheCurrentEdition) {
  QString error;
  ASSERT_TRUE(hv6::install::createNewDataFolder(folder, &error)) << qPrintable(error);
  EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::ReadGroup),
            QFile::Permissions());

  CDaoDatabase db;
  db.Open(diary);
  CDaoRecordset information(&db);
  information.Open(dbOpenSnapshot, QStringLiteral("SELECT Dataversion FROM Information"));
  ASSERT_FALSE(information.IsEOF());
  EXPECT_EQ(information.GetFieldValue(0).toString(), QStringLiteral("6.05.01"));
  CDaoRecordset option(&db);
  option.Open(dbOpenSnapshot, QStringLiteral("SELECT Code FROM IWDryOption"));
  ASSERT_FALSE(option.IsEOF());
  EXPECT_EQ(option.GetFieldValue(0).toLong(), 1);

  CDaoDatabase weatherDb;
  weatherDb.Open(weather);
  CDaoRecordset points(&weatherDb);
  EXPECT_NO_THROW(points.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Location")));
  // The weather items hold the retrieval's start date: the year's first day.
  CDaoRecordset items(&weatherDb);
  items.Open(dbOpenSnapshot,
             QStringLiteral("SELECT LastUpdate, Type FROM Item WHERE DataSpecies = 0 ORDER BY Type"));
  for (int type = 1; type <= 3; ++type) {
    ASSERT_FALSE(items.IsEOF()) << type;
    EXPECT_EQ(items.GetFieldValue(0).toDateTime(),
              QDateTime(QDate(QDate::currentDate().year(), 1, 1), QTime(0, 0)));
    EXPECT_EQ(items.GetFieldValue(1).toLong(), type);
    items.MoveNext();
  }
  EXPECT_TRUE(items.IsEOF());
}

TEST_F(NewDataFolderTest, RefusesAFolderWithDataAFileOrNoPath) {
  for (const QString& existing : {diary, weather}) {
    SCOPED_TRACE(qPrintable(existing));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a farm's data");
    file.close();

    QString error;
    EXPECT_FALSE(hv6::install::createNewDataFolder(folder, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(fileBytes(existing), "a farm's data");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1);
  }
  EXPECT_FALSE(hv6::install::createNewDataFolder(QString()));
  const QString file = folder + QStringLiteral("/plain");
  QFile(file).open(QIODevice::WriteOnly);
  EXPECT_FALSE(hv6::install::createNewDataFolder(file));
  EXPECT_TRUE(QFileInfo(file).isFile());
}

}  // namespace
