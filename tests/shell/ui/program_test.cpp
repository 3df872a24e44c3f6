// The built hv6 started as a real process: the check run and the instance
// guard across two processes, the print and the weather retrieval without
// a window.
#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "shell/instanceguard.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/local_http_server.h"
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

// "hv6 --fetch-weather" as a daily timer runs it: beside nothing, with
// weather communication off, against a server that answers with the
// recorded forecast moved to end today.
class FetchWeatherTest : public ProgramTest {
 protected:
  hv6test::TempDataFolder data;
  hv6test::LocalHttpServer server;
  const QDate today = QDate::currentDate();

  void SetUp() override {
    ProgramTest::SetUp();
    setPaths(data.diaryPath(), data.weatherPath(), env.path(QStringLiteral("program")));
    ASSERT_TRUE(registry.writeDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kNetworkSetup, 0));
    hv6test::TempDataFolder::insertRow(
        data.weather(), QStringLiteral("Item"),
        {{QStringLiteral("LastUpdate"), COleVariant(QDateTime(today.addDays(-7), QTime(0, 0)))},
         {QStringLiteral("DataSpecies"), COleVariant(0)},
         {QStringLiteral("Type"), COleVariant(1)}});
  }

  void addPoint(long code, long edate = 0) {
    hv6test::TempDataFolder::insertRow(
        data.weather(), QStringLiteral("Location"),
        {{QStringLiteral("Code"), COleVariant(code)}, {QStringLiteral("Ido_HH"), COleVariant(39)},
         {QStringLiteral("Ido_MM"), COleVariant(17)}, {QStringLiteral("Ido_SS"), COleVariant(6)},
         {QStringLiteral("Keido_HH"), COleVariant(141)}, {QStringLiteral("Keido_MM"), COleVariant(6)},
         {QStringLiteral("Keido_SS"), COleVariant(48)}, {QStringLiteral("SDate"), COleVariant(20000101L)},
         {QStringLiteral("EDate"), edate ? COleVariant(edate) : COleVariant::null()}});
  }

  // forecast.json ends on 2024-06-20: its eight days become the last week
  // and today.
  std::string movedForecast() {
    QFile file(QStringLiteral(WXFETCH_RESPONSES "/forecast.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(file.readAll());
    for (int day = 13; day <= 20; ++day)
      text.replace(QStringLiteral("2024-06-%1").arg(day), QStringLiteral("@%1@").arg(day));
    for (int day = 13; day <= 20; ++day)
      text.replace(QStringLiteral("@%1@").arg(day), today.addDays(day - 20).toString(Qt::ISODate));
    return text.toStdString();
  }

  void startService(int status) {
    server.get("/v1/forecast", [this, status, body = movedForecast()](const httplib::Request&,
                                                                      httplib::Response& res) {
      res.status = status;
      res.set_content(status == 200 ? body : R"({"error": true, "reason": "overloaded"})",
                      "application/json");
    });
    ASSERT_TRUE(server.start());
    const QString folder = env.path(QStringLiteral("documents/Velqor/HV6P"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString ini = folder + QStringLiteral("/wxfetch.ini");
    ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("WEATHER"), QStringLiteral("FORECAST_URL"),
                                               server.baseUrl() + QStringLiteral("/v1/forecast"), ini));
    ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("WEATHER"), QStringLiteral("ARCHIVE_URL"),
                                               server.baseUrl() + QStringLiteral("/v1/archive"), ini));
  }

  long day(int offset) {
    const QDate date = today.addDays(offset);
    return date.year() * 10000L + date.month() * 100L + date.day();
  }
  QStringList values(CDaoDatabase& db, const QString& sql) {
    CDaoRecordset set(&db);
    set.Open(dbOpenSnapshot, sql);
    QStringList texts;
    for (; !set.IsEOF(); set.MoveNext()) {
      QStringList cells;
      for (int i = 0; i < set.GetFieldCount(); ++i) {
        const COleVariant value = set.GetFieldValue(i);
        cells << (value.isNull() ? QStringLiteral("-") : value.toString());
      }
      texts << cells.join(u' ');
    }
    return texts;
  }
  QString lastUpdate() {
    CDaoRecordset items(&data.weather());
    items.Open(dbOpenSnapshot, QStringLiteral("SELECT LastUpdate FROM Item"));
    return items.GetFieldValue(0).toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
  }
};

TEST_F(FetchWeatherTest, FetchesTheLastWeekIntoBothDatabases) {
  addPoint(1);
  startService(200);
  QProcess hv6;
  run(hv6, {QStringLiteral("--fetch-weather")});
  EXPECT_EQ(hv6.exitCode(), 0) << hv6.readAllStandardError().toStdString();
  ASSERT_EQ(server.requestCount(), 1u);
  EXPECT_NE(server.requests().at(0).query().find("past_days=7&forecast_days=1"), std::string::npos);
  const QStringList mesh = values(
      data.weather(), QStringLiteral("SELECT Date, TempMax, Morning FROM MeshWeather ORDER BY Date"));
  EXPECT_EQ(mesh, (QStringList{QStringLiteral("%1 24.8 1").arg(day(-7)), QStringLiteral("%1 22.1 3").arg(day(-6)),
                               QStringLiteral("%1 19.6 63").arg(day(-5)), QStringLiteral("%1 23.5 80").arg(day(-4)),
                               QStringLiteral("%1 26.3 0").arg(day(-3)), QStringLiteral("%1 27.9 3").arg(day(-2))}));
  EXPECT_EQ(values(data.diary(), QStringLiteral("SELECT Date, Item1, Item2, Item3 FROM Weather ORDER BY Date")),
            (QStringList{QStringLiteral("%1 1 2 0").arg(day(-7)), QStringLiteral("%1 3 5 4").arg(day(-6)),
                         QStringLiteral("%1 6 7 3").arg(day(-5)), QStringLiteral("%1 5 1 -").arg(day(-4)),
                         QStringLiteral("%1 0 0 0").arg(day(-3)), QStringLiteral("%1 3 9 6").arg(day(-2))}));
  // The day without data is asked again next time.
  EXPECT_EQ(lastUpdate(), today.addDays(-1).toString(QStringLiteral("yyyy-MM-dd 00:00")));
  std::uint32_t network = 99;
  EXPECT_TRUE(registry.readDword(hv6::StartKeys::kBaseInfo, hv6::StartKeys::kNetworkSetup, network));
  EXPECT_EQ(network, 0u);  // nothing reset, nothing switched on
}

TEST_F(FetchWeatherTest, FailuresAndEmptyRunsSayWhyOnStandardError) {
  addPoint(1);
  startService(500);
  QProcess failed;
  run(failed, {QStringLiteral("--fetch-weather")});
  EXPECT_EQ(failed.exitCode(), 20);
  EXPECT_TRUE(QString::fromUtf8(failed.readAllStandardError()).contains(QStringLiteral("overloaded")));
  EXPECT_TRUE(values(data.weather(), QStringLiteral("SELECT Date FROM MeshWeather")).isEmpty());
  EXPECT_EQ(lastUpdate(), today.addDays(-7).toString(QStringLiteral("yyyy-MM-dd 00:00")));

  // Points that all ended: nothing fetched, which is no failure.
  data.weather().Execute(QStringLiteral("UPDATE Location SET EDate = 20000102"));
  QProcess empty;
  run(empty, {QStringLiteral("--fetch-weather")});
  EXPECT_EQ(empty.exitCode(), 0);
  EXPECT_TRUE(empty.readAllStandardError().contains("[2445] "));
  EXPECT_EQ(server.requestCount(), 1u);

  QProcess withPrint;
  run(withPrint, {QStringLiteral("--fetch-weather"), QStringLiteral("--check-start")});
  EXPECT_EQ(withPrint.exitCode(), 2);
}

}  // namespace
