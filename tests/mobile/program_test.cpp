// "hv6 --import-mobile" as a process against a local server: exit code,
// messages on standard error, the summary on standard output, the rows
// stored, and the refusal beside a running hv6 or a related program.
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "shell/envcopy.h"
#include "shell/instanceguard.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"
#include "tests/support/local_http_server.h"
#include "tests/support/temp_data_folder.h"
#include "weather/commsettings.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <atomic>

namespace {

constexpr int kWaitMs = 120000;  // only a limit for a hung program, never a measure

QString recordLine(const QString& date, const QString& crop) {
  QStringList fields{date, crop, "21", "0", "", "", "2:30"};
  while (fields.size() < 23) fields.append(QString());
  QString line = fields.join(u',') + u',';
  for (int i = 0; i < 6; ++i) line += QStringLiteral("\"\",");
  return line;
}

struct ProgramRun {
  int exitCode = -1;
  QString out;
  QString err;
};

class ImportMobileProgramTest : public hv6test::InstalledRegistryTest {
 protected:
  struct Page {
    int status = 200;
    std::string body;
  };

  void SetUp() override {
    install();
    hv6test::installCalendarSettings(store, registry);
    setPaths(data.diaryPath(), data.weatherPath(), env.path(QStringLiteral("program")));
    data.addMaster(QStringLiteral("CropMst"), 11, QStringLiteral("トマト"));
    data.addMaster(QStringLiteral("JobMst"), 21, QStringLiteral("定植"));
    for (auto [path, page] : {std::pair{"/iHV/LogonHV.asp", &logon},
                              std::pair{"/iHV/DownloadHV2.asp", &download},
                              std::pair{"/iHV/ClearReqHV.asp", &clear}}) {
      server.get(path, [this, page = page](const httplib::Request&, httplib::Response& response) {
        if (page == &clear) rowsAtClear = countRows();
        response.status = page->status;
        response.set_content(page->body, "text/plain");
      });
    }
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(QDir().mkpath(hv6::userEnvironmentFolder()));
    const std::pair<const char*, QString> settings[] = {
        {"HTTP_SERVER", server.host()},
        {"TCPIP_PORT", QString::number(server.port())},
        {"USER_ID", QStringLiteral("farm01")},
        {"AGRI_PW", QStringLiteral("pa ss&1")}};
    for (const auto& [key, value] : settings)
      ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("NETWORK"), QString::fromLatin1(key),
                                                 value, hv6::wxfetchIniPath()));
  }

  ~ImportMobileProgramTest() override {
    for (QProcess* process : sleepers_) {
      process->kill();
      process->waitForFinished();
      delete process;
    }
  }

  ProgramRun import() {
    QProcess hv6;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "ALL_PROXY", "HTTPS_PROXY",
                             "no_proxy", "NO_PROXY", "QT_QPA_PLATFORM", "DISPLAY"})
      environment.remove(QString::fromLatin1(name));
    hv6.setProcessEnvironment(environment);
    hv6.start(hv6test::binaryDir() + QStringLiteral("/shell/hv6"), {QStringLiteral("--import-mobile")});
    if (!hv6.waitForFinished(kWaitMs)) hv6.kill();
    return {hv6.exitStatus() == QProcess::NormalExit ? hv6.exitCode() : -1,
            QString::fromUtf8(hv6.readAllStandardOutput()),
            QString::fromUtf8(hv6.readAllStandardError())};
  }

  QStringList pagesAsked() const {
    QStringList pages;
    for (const hv6test::ReceivedRequest& request : server.requests())
      pages.append(QString::fromStdString(request.path).section(u'/', -1));
    return pages;
  }

  long countRows() {
    std::lock_guard lock(dbMutex_);
    CDaoDatabase db;
    db.Open(data.diaryPath(), false, true);
    CDaoRecordset rows(&db);
    rows.Open(dbOpenSnapshot, QStringLiteral("SELECT COUNT(*) FROM WDiary"));
    return rows.GetFieldValue(0).toLong();
  }

  // A launcher entry whose program runs (a copy of sleep, which cannot be
  // asked to end).
  void runLauncherProgram(int number) {
    const QString copy = env.path(QStringLiteral("prog%1").arg(number));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), copy));
    ASSERT_TRUE(registry.writeString(hv6::launcherSubkey(number), QStringLiteral("Exe"), copy));
    auto* process = new QProcess;
    sleepers_.append(process);
    process->start(copy, {QStringLiteral("600")});
    ASSERT_TRUE(process->waitForStarted());
  }

  hv6test::TempDataFolder data;
  hv6test::LocalHttpServer server;
  Page logon{200, "1\r\n"};
  Page download{200, "0,\r\n"};
  Page clear{200, "1\r\n"};
  std::atomic<long> rowsAtClear{-1};

 private:
  std::mutex dbMutex_;
  QList<QProcess*> sleepers_;
};

TEST_F(ImportMobileProgramTest, ImportsClearsAndPrintsTheSummary) {
  QByteArray body = "2,\r\n";
  body += hv6::cp932::encode(recordLine(QStringLiteral("2024/05/01"), QStringLiteral("11"))) + "\r\n";
  body += hv6::cp932::encode(recordLine(QStringLiteral("2024/05/01"), QStringLiteral("99"))) + "\r\n1\r\n";
  download.body = body.toStdString();
  const ProgramRun run = import();
  const QString log = hv6::userEnvironmentFolder() + u'/' +
                      QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                      QStringLiteral(".log");
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, QStringLiteral("1件のデータを登録しました。\n\n"
                                    "登録時に1件のデータを取り込むことができませんでした。\n\n"
                                    "\nエラーの内容は「%1」に出力されています。\nご確認ください。\n")
                         .arg(log))
      << run.out.toStdString();
  EXPECT_EQ(run.err, QString());
  EXPECT_EQ(pagesAsked(), (QStringList{"LogonHV.asp", "DownloadHV2.asp", "ClearReqHV.asp"}));
  EXPECT_EQ(server.requests().at(0).query(), "UID=farm01&PWD=pa%20ss%261");
  EXPECT_EQ(rowsAtClear, 1);
  EXPECT_EQ(countRows(), 1);
  QFile logFile(log);
  ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
  EXPECT_TRUE(hv6::cp932::decode(logFile.readAll())
                  .endsWith(QStringLiteral("「品目コード：99」は現在のデータベースに存在しません。\n")));
  EXPECT_EQ(QDir(hv6::userEnvironmentFolder()).entryList({QStringLiteral("IWD*")}, QDir::Files),
            QStringList());
}

// Each outcome has its exit code; numbered messages are "[number] text".
TEST_F(ImportMobileProgramTest, FailuresHaveTheirExitCodesAndMessages) {
  logon.body = "0\r\n";
  ProgramRun run = import();
  EXPECT_EQ(run.exitCode, 11);
  EXPECT_EQ(run.out, QStringLiteral("ヴェルコネットサーバーへの接続部分でエラーが発生しました。\n"
                                    "モバイル作業日誌ID、接続用パスワードなどを確認してください。\n"));
  EXPECT_EQ(run.err, QString());

  logon.body = "1\r\n";
  download.status = 500;
  run = import();
  EXPECT_EQ(run.exitCode, 12);
  EXPECT_EQ(run.err, QStringLiteral("[8006] サーバーのURLをオープンできません。\n\n"
                                    "ヴェルコネットサーバー：127.0.0.1\n"));
  EXPECT_EQ(run.out,
            QStringLiteral("ヴェルコネットサーバーからのデータ取得部分でエラーが発生しました。\n"));

  download = {200, "0,\r\n"};
  run = import();
  EXPECT_EQ(run.exitCode, 14);
  EXPECT_EQ(run.err,
            QStringLiteral("サーバーにはモバイル作業日誌データが登録されていませんでした。\n"));
  EXPECT_EQ(run.out, QString());

  download.body = "1,\r\n" +
                  hv6::cp932::encode(recordLine(QStringLiteral("2024/05/01"), QStringLiteral("11")))
                      .toStdString() +
                  "\r\n";
  clear.status = 500;
  run = import();
  EXPECT_EQ(run.exitCode, 13);
  EXPECT_TRUE(run.out.startsWith(
      QStringLiteral("ヴェルコネットサーバー上の日誌データ削除部分でエラーが発生しました。")));
  EXPECT_EQ(countRows(), 1);
}

// Two writers of the diary never run at once: beside a running hv6 (this
// user's, holding the guard) nothing is done.
TEST_F(ImportMobileProgramTest, RefusesBesideARunningHv6OrRelatedProgram) {
  {
    hv6::InstanceGuard running(hv6::kAppTitle);
    ASSERT_EQ(running.acquire(), hv6::InstanceGuard::Outcome::First);
    const ProgramRun run = import();
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_TRUE(run.err.contains(QStringLiteral("hv6 is running"))) << run.err.toStdString();
    EXPECT_EQ(server.requestCount(), 0u);
  }
  runLauncherProgram(2);
  const ProgramRun run = import();
  EXPECT_EQ(run.exitCode, 6);
  EXPECT_TRUE(run.err.contains(QStringLiteral("現在の作業を行うために、Harvo関連のプログラムを終了します。")))
      << run.err.toStdString();
  EXPECT_EQ(server.requestCount(), 0u);
}

}  // namespace
