// The built hv6 started as a real process: the check run and the instance
// guard across two processes.
#include "shell/instanceguard.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/temp_data_folder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

constexpr int kWaitMs = 60000;  // only a limit for a hung program, never a measure

class ProgramTest : public hv6test::InstalledRegistryTest {
 protected:
  void SetUp() override {
    install();
    hv6test::installCalendarSettings(store, registry);
  }

  // Starts hv6 with the test's environment (the HV6_* folders point here).
  static void start(QProcess& process, const QStringList& arguments, bool waitForRaise = false) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (waitForRaise) environment.insert(QStringLiteral("HV6_CHECK_WAIT_RAISE"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.start(hv6test::binaryDir() + QStringLiteral("/shell/hv6"), arguments);
  }

  // Starts hv6 and waits for its end.
  static void run(QProcess& process, const QStringList& arguments) {
    start(process, arguments);
    if (!process.waitForFinished(kWaitMs)) process.kill();
  }

  // Reads standard output until a line containing the text arrives.
  static bool waitForLine(QProcess& process, const QString& text, QString& seen) {
    while (!seen.contains(text)) {
      if (!process.waitForReadyRead(kWaitMs)) return false;
      seen += QString::fromUtf8(process.readAllStandardOutput());
    }
    return true;
  }
};

TEST_F(ProgramTest, CheckStartReportsWhatWasOpened) {
  hv6test::TempDataFolder data;
  setPaths(data.diaryPath(), data.weatherPath(), env.path(QStringLiteral("program")));
  QProcess hv6;
  run(hv6, {QStringLiteral("--check-start")});
  const QString out = QString::fromUtf8(hv6.readAllStandardOutput());
  EXPECT_EQ(hv6.exitCode(), 0) << hv6.readAllStandardError().toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("DataPath=%1 (open)").arg(data.diaryPath())) &&
              out.contains(QStringLiteral("WeatherDataPath=%1 (open)").arg(data.weatherPath())))
      << out.toStdString();
  EXPECT_TRUE(QFileInfo(env.path(QStringLiteral("documents/Velqor/HV6P/pform"))).isDir());
}

TEST_F(ProgramTest, CheckStartEndsEarlyWithoutSettingsOrData) {
  QProcess noDataPath;
  run(noDataPath, {QStringLiteral("--check-start")});
  EXPECT_EQ(noDataPath.exitCode(), 1);
  EXPECT_TRUE(noDataPath.readAllStandardError().contains("[2504]"));

  setPaths(env.path(QStringLiteral("none/a.HV6")), env.path(QStringLiteral("none/b.HV6")));
  QProcess noData;
  run(noData, {QStringLiteral("--check-start")});
  EXPECT_EQ(noData.exitCode(), 3);
  EXPECT_TRUE(noData.readAllStandardOutput().contains("first-start dialog"));
}

TEST_F(ProgramTest, SecondStartRaisesTheFirstAndEndsQuietly) {
  hv6test::TempDataFolder data;
  setPaths(data.diaryPath(), data.weatherPath());
  QProcess first;
  start(first, {QStringLiteral("--check-start")}, true);
  QString firstOut;
  ASSERT_TRUE(waitForLine(first, QStringLiteral("waiting for a raise request"), firstOut))
      << firstOut.toStdString() << first.readAllStandardError().toStdString();

  QProcess second;
  run(second, {});
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  const QByteArray secondErr = second.readAllStandardError();
  EXPECT_FALSE(secondErr.contains(hv6::kOtherUserMessage.toUtf8())) << secondErr.toStdString();
  EXPECT_FALSE(secondErr.contains("Harvo V6 Plus for Windows")) << secondErr.toStdString();

  EXPECT_TRUE(waitForLine(first, QStringLiteral("raise requested"), firstOut)) << firstOut.toStdString();
  EXPECT_TRUE(first.waitForFinished(kWaitMs));
  EXPECT_EQ(first.exitCode(), 0);
}

TEST_F(ProgramTest, PrintsAMonthToPdfWithoutAWindow) {
  hv6test::TempDataFolder data;
  setPaths(data.diaryPath(), data.weatherPath(), env.path(QStringLiteral("program")));
  const QString pdf = env.path(QStringLiteral("june.pdf"));
  QProcess hv6;
  run(hv6, {QStringLiteral("--print"), QStringLiteral("202606"), QStringLiteral("--pdf"), pdf});
  ASSERT_EQ(hv6.exitCode(), 0) << hv6.readAllStandardError().toStdString();
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(kWaitMs));
  // pdftotext gives gaps instead of the blanks drawn, and Kangxi radicals
  // for some ideographs: compare in NFKC with blanks collapsed.
  QString page = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
  page.replace(QRegularExpression(QStringLiteral("[ \t]+")), QStringLiteral(" "));
  EXPECT_TRUE(page.contains(QStringLiteral("2026年 6月"))) << page.toStdString();
  EXPECT_TRUE(page.contains(QStringLiteral("5月31日"))) << page.toStdString();

  QProcess badMonth;
  run(badMonth, {QStringLiteral("--print"), QStringLiteral("202613"), QStringLiteral("--pdf"), pdf});
  EXPECT_NE(badMonth.exitCode(), 0);
  EXPECT_TRUE(badMonth.readAllStandardError().contains("YYYYMM"));

  ASSERT_EQ(store.deleteValue(registry.keyPath(QStringLiteral("Calendar")), QStringLiteral("View")),
            hv6::RegStatus::Ok);
  QProcess noSetting;
  run(noSetting, {QStringLiteral("--print"), QStringLiteral("202606"), QStringLiteral("--pdf"),
                  env.path(QStringLiteral("none.pdf"))});
  EXPECT_NE(noSetting.exitCode(), 0);
  EXPECT_TRUE(noSetting.readAllStandardError().contains("[2504]"));
  EXPECT_FALSE(QFileInfo::exists(env.path(QStringLiteral("none.pdf"))));
}

// A print may run beside the running program: it must not reset that
// program's flags, store a -REG choice or convert the data file under it.
TEST_F(ProgramTest, PrintBesideTheRunningProgramWritesNothing) {
  hv6test::TempDataFolder data(hv6::SchemaEdition::Previous);  // would be converted at a start
  setPaths(data.diaryPath(), data.weatherPath(), env.path(QStringLiteral("program")));
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kAccess, 1));
  ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kNetworkSetup, 1));
  const auto bytes = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
  };
  const QByteArray settings = bytes(env.registryFile());
  const QByteArray diary = bytes(data.diaryPath());
  const QByteArray weather = bytes(data.weatherPath());
  const QStringList files = QDir(data.folder()).entryList(QDir::Files);

  const QString pdf = env.path(QStringLiteral("beside.pdf"));
  QProcess hv6;
  run(hv6, {QStringLiteral("-REG"), QStringLiteral("HV6"), QStringLiteral("--print"),
            QStringLiteral("202606"), QStringLiteral("--pdf"), pdf});
  ASSERT_EQ(hv6.exitCode(), 0) << hv6.readAllStandardError().toStdString();
  EXPECT_TRUE(QFileInfo(pdf).size() > 0);
  EXPECT_EQ(bytes(env.registryFile()), settings);
  EXPECT_EQ(bytes(data.diaryPath()), diary);
  EXPECT_EQ(bytes(data.weatherPath()), weather);
  EXPECT_EQ(QDir(data.folder()).entryList(QDir::Files), files);  // no copy, no journal left
}

}  // namespace
