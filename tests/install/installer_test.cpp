#include "install/installer.h"

#include "install/settings.h"
#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "shell/appregistry.h"
#include "shell/envcopy.h"
#include "store/schema.h"
#include "tests/support/test_env.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

using hv6::AppRegistry;
using hv6::RegistryStore;

const QString kBaseInfo = QStringLiteral("Environment\\BaseInfo");

QString joined(const QString& folder, const QString& name) {
  return folder + QLatin1Char('/') + name;
}

QString profileText(const char* section, const char* key, const QString& file) {
  QString value;
  hv6::GetPrivateProfileString(QString::fromLatin1(section), QString::fromLatin1(key),
                               QStringLiteral("(missing)"), value, 261, file);
  return value;
}

void makeDatabases(const QString& folder) {
  QDir().mkpath(folder);
  hv6::createDiaryDatabase(joined(folder, hv6::kDiaryFileName));
  hv6::createWeatherDatabase(joined(folder, hv6::kWeatherFileName));
}

class InstallerTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  RegistryStore store{env.registryFile()};
  AppRegistry registry{store};
  QString prefix = env.path(QStringLiteral("prefix"));
  QString program = hv6::install::programFolderOf(prefix);

  // Demo data already in the program folder, so no run generates it.
  void provideProgramDemoData() { makeDatabases(joined(program, QStringLiteral("demodata"))); }

  bool run(const QString& dataFolder, bool demo, QString* error = nullptr,
           bool readOnlyProgramFolder = false, QStringList* notes = nullptr) {
    hv6::install::InstallReport report;
    const bool done = hv6::install::runInstallation(
        store, {prefix, dataFolder, demo, readOnlyProgramFolder}, report);
    if (error) *error = report.error;
    if (notes) *notes = report.notes;
    EXPECT_TRUE(done || !report.error.isEmpty());
    return done;
  }

  QString text(const QString& key, const char* name) {
    QString value = QStringLiteral("(unreadable)");
    registry.readString(key, QString::fromLatin1(name), value);
    return value;
  }
};

TEST_F(InstallerTest, PlacesTheEnvironmentFilesWithVersionsAndTheNetworkTemplate) {
  QString error;
  ASSERT_TRUE(hv6::install::placeEnvironmentFiles(program, &error)) << qPrintable(error);
  for (const QString& name : hv6::environmentFileNames()) {
    SCOPED_TRACE(qPrintable(name));
    const QString file = joined(program, name);
    EXPECT_TRUE(hv6::privateProfileSections(file).contains(QStringLiteral("FILE_INFORMATION")));
  }
  for (const char* name : {"Chohyo.ini", "Pri_Mode.ini", "wxfetch.ini"})
    EXPECT_EQ(profileText("FILE_INFORMATION", "VER", joined(program, QString::fromLatin1(name))),
              QStringLiteral("6.05.01"));

  const QString network = joined(program, QStringLiteral("wxfetch.ini"));
  EXPECT_EQ(hv6::privateProfileKeys(QStringLiteral("NETWORK"), network),
            (QStringList{QStringLiteral("HTTP_SERVER"), QStringLiteral("TCPIP_PORT"),
                         QStringLiteral("USER_ID"), QStringLiteral("AGRI_PW")}));
  EXPECT_FALSE(profileText("NETWORK", "HTTP_SERVER", network).isEmpty());
  EXPECT_EQ(profileText("NETWORK", "USER_ID", network), QString());
  EXPECT_EQ(profileText("NETWORK", "AGRI_PW", network), QString());
  // The weather service: Open-Meteo's own endpoints, no key.
  EXPECT_EQ(hv6::privateProfileKeys(QStringLiteral("WEATHER"), network),
            (QStringList{QStringLiteral("FORECAST_URL"), QStringLiteral("ARCHIVE_URL"),
                         QStringLiteral("API_KEY")}));
  EXPECT_EQ(profileText("WEATHER", "FORECAST_URL", network),
            QStringLiteral("https://api.open-meteo.com/v1/forecast"));
  EXPECT_EQ(profileText("WEATHER", "API_KEY", network), QString());

  ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("NETWORK"),
                                             QStringLiteral("HTTP_SERVER"),
                                             QStringLiteral("changed"), network));
  ASSERT_TRUE(hv6::install::placeEnvironmentFiles(program, &error));
  EXPECT_NE(profileText("NETWORK", "HTTP_SERVER", network), QStringLiteral("changed"));
}

TEST_F(InstallerTest, RunningTwiceKeepsTheUsersValues) {
  const QString machine = env.path(QStringLiteral("machine/common"));
  qputenv("HV6_COMMON", machine.toUtf8());
  provideProgramDemoData();
  QString error;
  ASSERT_TRUE(run(QString(), true, &error)) << qPrintable(error);
  const QFile::Permissions everyone = QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
  EXPECT_EQ(QFileInfo(machine).permissions() & everyone, everyone);  // every user's locks
  const QString demoDiary = joined(hv6::demoDataFolder(), hv6::kDiaryFileName);
  EXPECT_EQ(text(kBaseInfo, "DataPath"), demoDiary);
  EXPECT_EQ(text(kBaseInfo, "WeatherDataPath"),
            joined(hv6::demoDataFolder(), hv6::kWeatherFileName));
  EXPECT_EQ(text(QStringLiteral("Map"), "FmpFile"), QStringLiteral("\\ほ場図.fmp"));
  EXPECT_EQ(text(QStringLiteral("Environment"), "InstallPath"), program);
  EXPECT_TRUE(QFileInfo::exists(demoDiary));

  ASSERT_TRUE(registry.writeDword(QStringLiteral("Calendar"), QStringLiteral("Area"), 1));
  ASSERT_TRUE(registry.writeDword(kBaseInfo, QStringLiteral("PhoneEntry"), 7));
  ASSERT_TRUE(run(QString(), false, &error)) << qPrintable(error);
  std::uint32_t area = 0;
  EXPECT_TRUE(registry.readDword(QStringLiteral("Calendar"), QStringLiteral("Area"), area));
  EXPECT_EQ(area, 1u);
  std::uint32_t phone = 0;
  EXPECT_TRUE(
      registry.readDword(kBaseInfo, QStringLiteral("PhoneEntry"), phone));  // wrong type kept
  EXPECT_EQ(text(kBaseInfo, "DataPath"), demoDiary);  // no data option: the data stays chosen
}

// A system package's program folder (/usr/lib/hv6) is not the user's to
// write: the demo is generated in the machine-wide folder, where every user
// may open it writable, and its photos are linked where they are.
TEST_F(InstallerTest, ReadOnlyProgramFolderGetsTheDemoGeneratedInTheMachineWideFolder) {
  QString error;
  ASSERT_TRUE(hv6::install::placeEnvironmentFiles(program, &error)) << qPrintable(error);
  QStringList notes;
  ASSERT_TRUE(run(QString(), true, &error, true, &notes)) << qPrintable(error);
  EXPECT_FALSE(QFileInfo::exists(joined(program, QStringLiteral("demodata"))));
  const QString shared = hv6::demoDataFolder();
  const QString diary = joined(shared, hv6::kDiaryFileName);
  EXPECT_EQ(text(kBaseInfo, "DataPath"), diary);
  EXPECT_EQ(text(kBaseInfo, "WeatherDataPath"), joined(shared, hv6::kWeatherFileName));
  EXPECT_TRUE(notes.contains(QStringLiteral("デモデータを作成しました (demo data generated): ") +
                             shared))
      << qPrintable(notes.join(u'\n'));

  const QFile::Permissions everyone = QFile::ReadOther | QFile::WriteOther;
  const QStringList files = QDir(shared).entryList(QDir::Files);
  EXPECT_TRUE(files.contains(hv6::kWeatherFileName));
  EXPECT_TRUE(files.contains(QStringLiteral("ほ場図.fmp")));
  for (const QString& name : files)
    EXPECT_EQ(QFileInfo(joined(shared, name)).permissions() & everyone, everyone)
        << qPrintable(name);

  CDaoDatabase db;
  ASSERT_NO_THROW(db.Open(diary));
  CDaoRecordset photos(&db);
  photos.Open(dbOpenSnapshot, QStringLiteral("SELECT Path FROM PictureLink"));
  ASSERT_FALSE(photos.IsEOF());
  for (; !photos.IsEOF(); photos.MoveNext()) {
    const QString path = photos.GetFieldValue(0).toString();
    EXPECT_TRUE(path.startsWith(joined(shared, QStringLiteral("photos/")))) << qPrintable(path);
    EXPECT_TRUE(QFileInfo(path).isFile()) << qPrintable(path);
  }
  db.Close();

  // The next user finds the demo there and generates nothing.
  const QDateTime generated = QFileInfo(diary).lastModified();
  QFile::remove(env.registryFile());
  ASSERT_TRUE(run(QString(), true, &error, true, &notes)) << qPrintable(error);
  EXPECT_FALSE(notes.join(u'\n').contains(QStringLiteral("demo data generated")));
  EXPECT_EQ(text(kBaseInfo, "DataPath"), diary);
  EXPECT_EQ(QFileInfo(diary).lastModified(), generated);
}

TEST_F(InstallerTest, DataOptionCreatesOrReusesAFolderButNeverHalfOfOne) {
  provideProgramDemoData();
  const QString farm = env.path(QStringLiteral("farm"));
  QString error;
  ASSERT_TRUE(run(farm, false, &error)) << qPrintable(error);
  EXPECT_EQ(text(kBaseInfo, "DataPath"), joined(farm, hv6::kDiaryFileName));
  EXPECT_EQ(text(QStringLiteral("Map"), "FmpFile"), QStringLiteral("\\ﾃﾝﾌﾟﾚｰﾄ.fmp"));
  ASSERT_TRUE(run(farm, false, &error)) << qPrintable(error);  // the same command again

  const QString half = env.path(QStringLiteral("half"));
  QDir().mkpath(half);
  hv6::createWeatherDatabase(joined(half, hv6::kWeatherFileName));
  EXPECT_FALSE(run(half, false, &error));
  EXPECT_FALSE(QFileInfo::exists(joined(half, hv6::kDiaryFileName)));
  EXPECT_EQ(text(kBaseInfo, "DataPath"), joined(farm, hv6::kDiaryFileName));
}

class InstallProgramTest : public InstallerTest {
 protected:
  QString output;

  int runProgram(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(hv6test::binaryDir() + QStringLiteral("/install/hv6-install"), arguments);
    if (!process.waitForFinished(240000)) return -1;
    output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }
};

TEST_F(InstallProgramTest, InstallsWithGeneratedDemoData) {
  ASSERT_EQ(runProgram({QStringLiteral("--prefix"), prefix, QStringLiteral("--demo")}), 0)
      << qPrintable(output);
  EXPECT_TRUE(QFileInfo::exists(joined(program, QStringLiteral("wxfetch.ini"))));
  const QString generated = joined(program, QStringLiteral("demodata"));
  EXPECT_TRUE(QFileInfo::exists(joined(generated, hv6::kDiaryFileName)));
  EXPECT_TRUE(QFileInfo::exists(joined(generated, hv6::kWeatherFileName)));
  // The shared copy carries the farm diary pages and the field map along.
  EXPECT_FALSE(QDir(hv6::demoDataFolder()).entryList({QStringLiteral("*.rtf")}).isEmpty());
  EXPECT_TRUE(QFileInfo::exists(joined(hv6::demoDataFolder(), QStringLiteral("ほ場図.fmp"))));

  const QString diary = text(kBaseInfo, "DataPath");
  EXPECT_EQ(diary, joined(hv6::demoDataFolder(), hv6::kDiaryFileName));
  CDaoDatabase db;
  ASSERT_NO_THROW(db.Open(diary));
  CDaoRecordset information(&db);
  information.Open(dbOpenSnapshot, QStringLiteral("SELECT Dataversion FROM Information"));
  ASSERT_FALSE(information.IsEOF());
  EXPECT_EQ(information.GetFieldValue(0).toString(), QStringLiteral("6.05.01"));
}

// The desktop menu runs the installation before every start; it may set up
// only a user who has no settings yet, never reset the data a user chose.
TEST_F(InstallProgramTest, FirstRunSetsUpANewUserAndLeavesASetUpOneAlone) {
  provideProgramDemoData();
  const QStringList firstRun{QStringLiteral("--prefix"), prefix, QStringLiteral("--demo"),
                             QStringLiteral("--first-run")};
  ASSERT_EQ(runProgram(firstRun), 0) << qPrintable(output);
  const QString demoDiary = joined(hv6::demoDataFolder(), hv6::kDiaryFileName);
  EXPECT_EQ(text(kBaseInfo, "DataPath"), demoDiary);
  EXPECT_EQ(text(QStringLiteral("Environment"), "InstallPath"), program);

  const QString chosen = env.path(QStringLiteral("farm/作業日誌データ.HV6"));
  ASSERT_TRUE(registry.writeString(kBaseInfo, QStringLiteral("DataPath"), chosen));
  ASSERT_EQ(runProgram(firstRun), 0) << qPrintable(output);
  EXPECT_TRUE(output.contains(QStringLiteral("nothing done"))) << qPrintable(output);
  EXPECT_EQ(text(kBaseInfo, "DataPath"), chosen);

  // Without the option the same command points the settings at the demo again.
  ASSERT_EQ(runProgram(firstRun.mid(0, 3)), 0) << qPrintable(output);
  EXPECT_EQ(text(kBaseInfo, "DataPath"), demoDiary);
}

TEST_F(InstallProgramTest, ErrorsEndWithTheirExitCodesAndChangeNothing) {
  EXPECT_EQ(runProgram({QStringLiteral("--help")}), 0);
  EXPECT_TRUE(output.contains(QStringLiteral("--prefix")));
  const QString farm = env.path(QStringLiteral("farm"));
  for (const QStringList& wrong :
       {QStringList{QStringLiteral("--demo")},
        QStringList{QStringLiteral("--prefix"), prefix, QStringLiteral("--demo"),
                    QStringLiteral("--data"), farm},
        QStringList{QStringLiteral("--prefix"), prefix, QStringLiteral("extra")},
        QStringList{QStringLiteral("--prefix"), prefix, QStringLiteral("--bogus")}})
    EXPECT_EQ(runProgram(wrong), 2) << qPrintable(wrong.join(u' '));
  EXPECT_FALSE(QFileInfo::exists(env.registryFile()));
  EXPECT_FALSE(QFileInfo::exists(prefix));

  provideProgramDemoData();
  QDir().mkpath(farm);
  hv6::createDiaryDatabase(joined(farm, hv6::kDiaryFileName));
  EXPECT_EQ(runProgram({QStringLiteral("--prefix"), prefix, QStringLiteral("--data"), farm}), 1);
  EXPECT_TRUE(output.contains(farm)) << qPrintable(output);
  EXPECT_FALSE(QFileInfo::exists(joined(farm, hv6::kWeatherFileName)));
}

}  // namespace
