// Whole runs of the mobile import against a local server: outcomes and
// their summaries, the order of the requests, the temporary file, the log,
// and what the server receives.
#include "mobile/exchange.h"

#include "mobile/exchangetexts.h"
#include "mobile/serverexchange.h"
#include "platform/inet/inet.h"
#include "platform/inet/testing.h"
#include "tests/mobile/exchange_fixture.h"
#include "tests/support/test_certificates.h"

#include <QFile>
#include <QTemporaryDir>

#include <chrono>

namespace {

using hv6test::recordLine;
using Test = hv6test::MobileExchangeTest;

const QString kLogonFailed = QStringLiteral(
    "ヴェルコネットサーバーへの接続部分でエラーが発生しました。\n"
    "モバイル作業日誌ID、接続用パスワードなどを確認してください。");
const QString kDownloadFailed =
    QStringLiteral("ヴェルコネットサーバーからのデータ取得部分でエラーが発生しました。");
const QString kClearFailed =
    QStringLiteral("ヴェルコネットサーバー上の日誌データ削除部分でエラーが発生しました。");
const QString kServerNotOpened = QStringLiteral(
    "サーバーのURLをオープンできません。\n\nヴェルコネットサーバー：127.0.0.1");

TEST_F(Test, StoredRecordsAreClearedOnTheServerOnlyAfterTheImport) {
  writeSettings();
  download.body = body(QStringLiteral("2,"), {recordLine("2024/05/01", "11"),
                                              recordLine("2024/05/02", "11"), QStringLiteral("1")});
  const hv6::MobileImportReport report = run();

  EXPECT_TRUE(report.ran);
  EXPECT_EQ(report.outcome, 0);
  EXPECT_TRUE(report.cleared);
  EXPECT_EQ(report.counts.stored, 2);
  EXPECT_EQ(feedback.summaries, QStringList{QStringLiteral("2件のデータを登録しました。\n\n")});
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(pagesAsked(),
            (QStringList{"LogonHV.asp", "DownloadHV2.asp", "ClearReqHV.asp"}));
  EXPECT_EQ(rowsAtClear, 2) << "the rows are in the diary before the server deletes them";
  EXPECT_EQ(rowCount(), 2);
  // The bar, the wait cursor around download and import, the summary while
  // the progress is still shown.
  EXPECT_EQ(feedback.events,
            (QStringList{"open", "pos 0", "pos 5", "wait on", "pos 10", "pos 10", "pos 50",
                         "pos 90", "wait off", "pos 100", "summary 0", "close"}));
  for (const hv6test::ReceivedRequest& request : server.requests()) {
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.query(), "UID=farm01&PWD=secret");
    EXPECT_EQ(request.header("User-Agent"), "HV6");
  }
  EXPECT_FALSE(QFile::exists(logPath())) << "nothing to log";
}

// One line stored, one with a crop the masters lack, one the diary already
// holds: the summary counts both with the log, which has their exact lines.
TEST_F(Test, RejectedAndDuplicateLinesAreCountedAndLogged) {
  writeSettings();
  data.addDiary(QDate(2024, 4, 30),
                {{QStringLiteral("CropCode"), COleVariant(crop)},
                 {QStringLiteral("JobCode"), COleVariant(2L)},
                 {QStringLiteral("FieldCode"), COleVariant(2L)},
                 {QStringLiteral("FarmerCode"), COleVariant(2L)},
                 {QStringLiteral("MachineCode"), COleVariant(2L)}});
  download.body = body(QStringLiteral("3,"), {recordLine("2024/05/01", "11"),
                                              recordLine("2024/05/01", "99"),
                                              recordLine("2024/04/30", "11", "1:00")});
  const hv6::MobileImportReport report = run();

  EXPECT_EQ(report.outcome, 0);
  EXPECT_EQ(report.counts.stored, 1);
  EXPECT_EQ(report.counts.rejected, 1);
  EXPECT_EQ(report.counts.duplicates, 1);
  EXPECT_EQ(feedback.summaries,
            QStringList{QStringLiteral("1件のデータを登録しました。\n\n"
                                       "登録時に2件のデータを取り込むことができませんでした。\n\n"
                                       "\nエラーの内容は「%1」に出力されています。\nご確認ください。")
                            .arg(logPath())});
  const QString pieces = QStringLiteral(
      "作業=21, ほ場=31, 作業者=41, 機械=51, 労働実時間=%1, 休憩実時間=, 労働開始時刻=8:30, "
      "労働終了時刻=17:00, 休憩開始時刻=, 休憩終了時刻=, 機械稼働時間=, 機械休止時間=, "
      "機械稼動開始時刻=, 機械稼動終了時刻=, 機械休止開始時刻=, 機械休止終了時刻=, 延作業面積=, "
      "免税軽油消費量=, 資材区分=, 資材=, 資材投下量=, 希釈倍率=\"\", 対象病害虫=\"\", "
      "単位当り散布量=\"\", 予備項目１=\"\", 予備項目２=\"\", 予備項目３=\"\", \n");
  EXPECT_EQ(logText(),
            QStringLiteral("\n日付=2024/05/01, 品目=99, ") + pieces.arg(QStringLiteral("2:30")) +
                QStringLiteral("「品目コード：99」は現在のデータベースに存在しません。\n") +
                QStringLiteral("\n日付=2024/04/30, 品目=11, ") + pieces.arg(QStringLiteral("1:00")) +
                QStringLiteral("既にHarvo V6 Plusの作業日誌入力に日付、品目、作業、ほ場、作業者、"
                               "機械、資材区分、資材が同じデータが登録されています。\n"));
  EXPECT_EQ(rowsAtClear, 2);
}

TEST_F(Test, NoIdOrPasswordOrARefusedLogonIsOutcomeOne) {
  for (const auto& [key, value] : {std::pair{"USER_ID", ""}, std::pair{"AGRI_PW", ""}}) {
    writeSettings({{QString::fromLatin1(key), QString::fromLatin1(value)}});
    feedback.summaries.clear();
    const hv6::MobileImportReport report = run();
    EXPECT_EQ(report.outcome, 1) << key;
    EXPECT_EQ(feedback.summaries, QStringList{kLogonFailed}) << key;
    EXPECT_EQ(server.requestCount(), 0u) << "nothing is sent without " << key;
  }
  writeSettings();
  logon.body = "0\r\n";
  feedback.summaries.clear();
  EXPECT_EQ(run().outcome, 1);
  EXPECT_EQ(feedback.summaries, QStringList{kLogonFailed});
  EXPECT_EQ(pagesAsked(), QStringList{"LogonHV.asp"});
  EXPECT_TRUE(messages.empty()) << "a refusal has no message of its own";

  // Any first line other than "0" is an acceptance.
  for (const char* accepted : {"00\r\n", "1\r\n"}) {
    logon.body = accepted;
    server.clearRequests();
    EXPECT_EQ(run().outcome, 2) << accepted;  // the server holds nothing
    EXPECT_EQ(pagesAsked(), (QStringList{"LogonHV.asp", "DownloadHV2.asp"})) << accepted;
  }
}

// Count 3, two lines, an empty line, one more line and the end mark: the
// first line and three records reach the temporary file.
TEST_F(Test, TheDownloadSkipsEmptyLinesAndStopsAtTheEndMark) {
  writeSettings();
  const QStringList records{recordLine("2024/05/01", "11"), recordLine("2024/05/02", "11"),
                            recordLine("2024/05/03", "11")};
  download.body = body(QStringLiteral("3,abc"),
                       {records[0], records[1], QString(), records[2], QStringLiteral("1"),
                        recordLine("2024/05/04", "11")});
  QByteArray received;
  importer = [&](CDaoDatabase& diary, const QString& temp, const QString& log,
                 const QStringList& names, std::function<void(int)> progress) {
    QFile file(temp);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    received = file.readAll();
    return hv6::importMobileRecords(diary, temp, log, names, std::move(progress));
  };
  const hv6::MobileImportReport report = run();
  EXPECT_EQ(received, "3,abc\n" + hv6::cp932::encode(records.join(u'\n')) + '\n');
  EXPECT_EQ(report.outcome, 0);
  EXPECT_EQ(report.counts.stored, 3);
  EXPECT_EQ(rowCount(), 3);

  // A count above the lines sent: what came is stored and the server cleared.
  download.body = body(QStringLiteral("5,"), {recordLine("2024/05/06", "11"), QStringLiteral("1")});
  importer = nullptr;
  const hv6::MobileImportReport early = run();
  EXPECT_EQ(early.outcome, 0);
  EXPECT_EQ(early.counts.stored, 1);
  EXPECT_TRUE(early.cleared);
}

// A broken download keeps the records on the server: no delete request.
TEST_F(Test, ABrokenDownloadIsOutcomeTwoWithoutDeleteRequest) {
  writeSettings();
  struct Case {
    const char* what;
    std::string body;
    long message;  // numbered message, 0 for the reception error's text
  };
  const std::string line = hv6::cp932::encode(recordLine("2024/05/01", "11")).toStdString();
  const std::vector<Case> cases{
      {"ERR mid-way", "2,\r\n" + line + "\r\nERR\r\n" + line + "\r\n", 0},
      {"a line of 10 MB", "1,\r\n" + std::string(10 << 20, 'x') + ",\r\n1\r\n", 0},
      {"no count", "<html>\r\n", 8006},
      {"a negative count", "-1,\r\n", 8006},
  };
  for (const Case& c : cases) {
    download.body = c.body;
    messages.clear();
    feedback.summaries.clear();
    server.clearRequests();
    const hv6::MobileImportReport report = run();
    EXPECT_EQ(report.outcome, 2) << c.what;
    EXPECT_TRUE(report.failed) << c.what;
    EXPECT_EQ(feedback.summaries, QStringList{kDownloadFailed}) << c.what;
    ASSERT_EQ(messages.messages().size(), 1) << c.what;
    EXPECT_EQ(messages.messages()[0].number, c.message) << c.what;
    EXPECT_EQ(messages.messages()[0].text,
              c.message ? kServerNotOpened : QStringLiteral("データ受信中にエラーが発生しました。"))
        << c.what;
    EXPECT_EQ(pagesAsked(), (QStringList{"LogonHV.asp", "DownloadHV2.asp"})) << c.what;
  }
  EXPECT_EQ(rowCount(), 0);
  EXPECT_EQ(rowsAtClear, -1);
}

TEST_F(Test, AnEmptyServerSaysSoAndHasNoSummary) {
  writeSettings();
  download.body = "0,\r\n";
  const hv6::MobileImportReport report = run();
  EXPECT_EQ(report.outcome, 2);
  EXPECT_FALSE(report.failed);
  EXPECT_TRUE(feedback.summaries.isEmpty());
  EXPECT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().value(0).text,
            QStringLiteral("サーバーにはモバイル作業日誌データが登録されていませんでした。"));
  EXPECT_EQ(pagesAsked(), (QStringList{"LogonHV.asp", "DownloadHV2.asp"}));
}

// Status 500 or a redirect (never followed) on each page shows 8006 with
// the server; the outcome names the step.
TEST_F(Test, AnAnswerOtherThan200FailsItsStepWith8006) {
  writeSettings();
  download.body = body(QStringLiteral("1,"), {recordLine("2024/05/01", "11"), QStringLiteral("1")});
  struct Case {
    Page* page;
    int outcome;
    QStringList asked;
  };
  const QStringList all{"LogonHV.asp", "DownloadHV2.asp", "ClearReqHV.asp"};
  for (const Case& c : {Case{&logon, 1, all.mid(0, 1)}, Case{&download, 2, all.mid(0, 2)},
                        Case{&clear, 3, all}}) {
    for (const int status : {500, 302}) {
      const Page saved = *c.page;
      c.page->status = status;
      if (status == 302) c.page->body = "moved";
      messages.clear();
      feedback.summaries.clear();
      server.clearRequests();
      const hv6::MobileImportReport report = run();
      *c.page = saved;
      EXPECT_EQ(report.outcome, c.outcome) << status;
      EXPECT_EQ(messages.numbers(), QList<long>{8006}) << status << " " << c.outcome;
      EXPECT_EQ(messages.messages().value(0).text, kServerNotOpened);
      EXPECT_EQ(feedback.summaries,
                QStringList{c.outcome == 1 ? kLogonFailed
                                           : c.outcome == 2 ? kDownloadFailed : kClearFailed});
      EXPECT_EQ(pagesAsked(), c.asked) << status << " " << c.outcome;
    }
  }
}

// The import that cannot write its log keeps the records on the server.
TEST_F(Test, AnImportThatDidNotFinishSendsNoDeleteRequest) {
  writeSettings();
  ASSERT_TRUE(QDir().mkpath(logPath()));  // a folder where the log would be
  download.body = body(QStringLiteral("1,"), {recordLine("2024/05/01", "99"), QStringLiteral("1")});
  const hv6::MobileImportReport report = run();
  EXPECT_EQ(report.outcome, 2);
  EXPECT_TRUE(report.failed);
  EXPECT_FALSE(report.counts.success);
  EXPECT_EQ(messages.numbers(), QList<long>{8012});
  EXPECT_EQ(feedback.summaries, QStringList{kDownloadFailed});
  EXPECT_EQ(pagesAsked(), (QStringList{"LogonHV.asp", "DownloadHV2.asp"}));
}

TEST_F(Test, IdAndPasswordArriveAsTheyAreAtAServerThatDecodesTheQuery) {
  const QString id = QStringLiteral("畑 01+a");
  const QString password = QStringLiteral("p&w#d%20 x=y?");
  writeSettings({{QStringLiteral("USER_ID"), id}, {QStringLiteral("AGRI_PW"), password}});
  logon.body = "0\r\n";
  run();
  ASSERT_EQ(server.requestCount(), 1u);
  EXPECT_EQ(server.requests()[0].query(), "UID=%94%A8%2001%2Ba&PWD=p%26w%23d%2520%20x%3Dy%3F");
  std::lock_guard lock(mutex);
  ASSERT_EQ(logonParams.count("UID"), 1u);
  ASSERT_EQ(logonParams.count("PWD"), 1u);
  EXPECT_EQ(hv6::cp932::decode(QByteArray::fromStdString(logonParams.find("UID")->second)), id);
  EXPECT_EQ(QString::fromStdString(logonParams.find("PWD")->second), password);
}

// Time-outs are shortened for this test program (HV6_INET_TIMEOUT_SCALE).
TEST_F(Test, AServerThatNeverAnswersTimesOutWith8011) {
  writeSettings();
  ASSERT_LT(hv6::inet::testing::timeoutScale(), 0.1) << "HV6_INET_TIMEOUT_SCALE is not set";
  hv6test::LocalHttpServer silent;
  silent.get("/iHV/LogonHV.asp", [&silent](const httplib::Request&, httplib::Response&) {
    silent.holdUntilStopped(std::chrono::seconds(30));
  });
  ASSERT_TRUE(silent.start());
  writeSettings({{QStringLiteral("TCPIP_PORT"), QString::number(silent.port())}});
  const hv6::MobileImportReport report = run();
  EXPECT_EQ(report.outcome, 1);
  EXPECT_EQ(messages.numbers(), QList<long>{8011});
  EXPECT_EQ(messages.messages().value(0).text,
            QStringLiteral("通信中にエラーが発生しました。\n\n詳細：サーバーから応答がありませんでした。\n"
                           "　　　 回線が繋がれているか確認してください。\n"
                           "　　　 または、サーバー管理元へお問い合わせください。"));
  EXPECT_GT(feedback.idleCalls, 0) << "the window may repaint while the request waits";
}

// With the relative object name the name is resolved when the request is
// sent, after the request exists: 8011 with the text of 12007.
TEST_F(Test, ServersThatCannotBeReachedShowTheWinInetText) {
  writeSettings({{QStringLiteral("HTTP_SERVER"), QStringLiteral("mobile.example.invalid")}});
  EXPECT_EQ(run().outcome, 1);
  EXPECT_EQ(messages.numbers(), QList<long>{8011});
  EXPECT_EQ(messages.messages().value(0).text,
            QStringLiteral("通信中にエラーが発生しました。\n\n詳細：サーバー名を解決できませんでした。"));

  messages.clear();
  writeSettings({{QStringLiteral("TCPIP_PORT"), QString::number(hv6test::refusedPort())}});
  EXPECT_EQ(run().outcome, 1);
  EXPECT_EQ(messages.numbers(), QList<long>{8011});
  EXPECT_TRUE(messages.messages().value(0).text.endsWith(
      QStringLiteral("サーバーへの接続に失敗しました。\n　　　 回線が繋がれているか確認してください。\n"
                     "　　　 または、サーバー管理元へお問い合わせください。")));

  // A port that is no port number cannot be opened at all.
  messages.clear();
  writeSettings({{QStringLiteral("TCPIP_PORT"), QStringLiteral("http")}});
  EXPECT_EQ(run().outcome, 1);
  EXPECT_EQ(messages.numbers(), QList<long>{8006});
  EXPECT_EQ(server.requestCount(), 0u);
}

// Each request sets the five options in this order; one that cannot be set
// fails the request without a message.
TEST_F(Test, TheNetworkOptionsAreSetInOrderAndAFailureSendsNothing) {
  writeSettings();
  std::vector<std::pair<DWORD, DWORD>> options;
  hv6::inet::testing::setOptionHook([&](DWORD option, DWORD value) {
    options.emplace_back(option, value);
    return option != INTERNET_OPTION_DATA_RECEIVE_TIMEOUT;
  });
  const hv6::MobileImportReport report = run();
  hv6::inet::testing::setOptionHook({});
  EXPECT_EQ(options, (std::vector<std::pair<DWORD, DWORD>>{
                         {INTERNET_OPTION_CONNECT_TIMEOUT, 30000},
                         {INTERNET_OPTION_CONNECT_RETRIES, 2},
                         {INTERNET_OPTION_CONNECT_BACKOFF, 0},
                         {INTERNET_OPTION_DATA_SEND_TIMEOUT, 60000},
                         {INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 60000}}));
  EXPECT_EQ(report.outcome, 1);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(server.requestCount(), 0u);
}

// Without the user's environment folder (the settings page then cannot
// write "wxfetch.ini" either) there is no settings file and no place for
// the temporary file: the run ends with 8001 before anything is sent.
TEST_F(Test, WithoutTheEnvironmentFolderTheRunEndsWith8001) {
  writeSettings();
  ASSERT_TRUE(QDir(hv6::userEnvironmentFolder()).removeRecursively());
  const hv6::MobileImportReport report = run();
  EXPECT_FALSE(report.ran);
  EXPECT_EQ(messages.numbers(), QList<long>{8001});
  EXPECT_EQ(messages.messages().value(0).text,
            QStringLiteral("テンポラリファイル名の作成に失敗しました。\n\n詳細： "
                           "The system cannot find the file specified."));
  EXPECT_TRUE(feedback.events.isEmpty());
  EXPECT_EQ(server.requestCount(), 0u);
  EXPECT_FALSE(QDir(hv6::userEnvironmentFolder()).exists());
}

TEST_F(Test, AProgressWindowThatCannotBeShownEndsTheRun) {
  writeSettings();
  feedback.opens = false;
  EXPECT_FALSE(run().ran);
  EXPECT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().value(0).text, QStringLiteral("メモリが不足しています。"));
  EXPECT_EQ(server.requestCount(), 0u);
}

// SCHEME=https: the password goes over TLS, and the server's certificate is
// checked.
TEST_F(Test, SchemeHttpsUsesTlsWithTheCertificateChecked) {
  QTemporaryDir dir;
  hv6test::TestCertificates certificates(dir.path());
  const hv6test::ServerCertificate certificate = certificates.issue(QStringLiteral("server"));
  hv6test::LocalHttpServer secure(certificate.certFile, certificate.keyFile);
  secure.get("/iHV/LogonHV.asp", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("1\r\n", "text/plain");
  });
  secure.get("/iHV/DownloadHV2.asp", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("0,\r\n", "text/plain");
  });
  ASSERT_TRUE(secure.start());
  writeSettings({{QStringLiteral("TCPIP_PORT"), QString::number(secure.port())},
                 {QStringLiteral("SCHEME"), QStringLiteral("HTTPS")}});

  // An authority the system does not know.
  EXPECT_EQ(run().outcome, 1);
  EXPECT_EQ(messages.numbers(), QList<long>{8011});
  EXPECT_TRUE(messages.messages().value(0).text.endsWith(QStringLiteral(
      "The function is unfamiliar with the Certificate Authority that generated the server's "
      "certificate.")));

  hv6::inet::testing::setCaFile(certificates.caFile());
  messages.clear();
  const hv6::MobileImportReport trusted = run();
  hv6::inet::testing::setCaFile(QString());
  EXPECT_EQ(trusted.outcome, 2);
  EXPECT_FALSE(trusted.failed);
  EXPECT_EQ(secure.requestCount(), 2u);
  EXPECT_EQ(server.requestCount(), 0u);
}

TEST(MobileExchangeTexts, WinInetNumbersHaveTheirTexts) {
  using hv6::mobile::internetErrorText;
  EXPECT_EQ(internetErrorText(12001), QStringLiteral("作成可能なハンドルの数が限界に達しました。"));
  EXPECT_EQ(internetErrorText(12031),
            QStringLiteral("サーバーへの接続がリセットされました。\n　　　 回線が繋がれているか確認して"
                           "ください。\n　　　 または、サーバー管理元へお問い合わせください。"));
  EXPECT_EQ(internetErrorText(12037),
            QStringLiteral("SSL certificate date that was received from the server is bad. \n\tThe "
                           "certificate is expired."));
  EXPECT_TRUE(internetErrorText(12038).startsWith(QStringLiteral("SSL certificate common name")));
  EXPECT_EQ(internetErrorText(12048),
            QStringLiteral("The function could not handle the redirection, because the scheme "
                           "changed (for example, HTTP to FTP). "));
  const QString unexpected = QStringLiteral("予想外の通信エラーが発生しました。");
  int known = 0;
  for (DWORD number = 11990; number <= 12200; ++number)
    if (internetErrorText(number) != unexpected) ++known;
  EXPECT_EQ(known, 47);  // 12001-12048 without 12035
  EXPECT_EQ(internetErrorText(12035), unexpected);
  EXPECT_EQ(internetErrorText(12152), unexpected);
}

TEST(MobileExchangeTexts, UrlsCarryTheFolderAndTheEncodedQuery) {
  hv6::mobile::ServerSettings settings;
  settings.server = QStringLiteral("mobile.example.jp");
  settings.userId = QStringLiteral("a b");
  settings.password = QStringLiteral("c&d");
  settings.port = QStringLiteral("8080");
  using hv6::mobile::Page;
  EXPECT_EQ(hv6::mobile::objectName(Page::Download, settings),
            QStringLiteral("iHV/DownloadHV2.asp?UID=a%20b&PWD=c%26d"));
  // The port belongs to the connection, not to the full URL.
  EXPECT_EQ(hv6::mobile::fullUrl(Page::Logon, settings),
            QStringLiteral("http://mobile.example.jp/iHV/LogonHV.asp?UID=a%20b&PWD=c%26d"));
  settings.secure = true;
  EXPECT_EQ(hv6::mobile::fullUrl(Page::Clear, settings),
            QStringLiteral("https://mobile.example.jp/iHV/ClearReqHV.asp?UID=a%20b&PWD=c%26d"));
}

}  // namespace
