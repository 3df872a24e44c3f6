// OK of the mobile input settings against a local server: the order of
// the steps, what the server receives, and every failure of the transfer
// telling that the settings are saved.
#include "mobile/settingsupload.h"

#include "mobile/serverexchange.h"
#include "platform/profile.h"
#include "shell/envcopy.h"
#include "tests/mobile/inputsettings_fixture.h"
#include "tests/support/local_http_server.h"
#include "weather/commsettings.h"

#include <QDir>

#include <map>
#include <mutex>

namespace {

using namespace hv6::mobile;


const QString kConfirm = QStringLiteral(
    "サーバにモバイル作業日誌入力の設定を転送します。\n転送を開始してもよろしいですか？");

class UploadTest : public hv6test::InputSettingsTest {
 protected:
  struct Page {
    int status = 200;
    std::string body = "1\r\n";
  };

  void SetUp() override {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY", "no_proxy"})
      qunsetenv(name);
    ASSERT_TRUE(QDir().mkpath(hv6::userEnvironmentFolder()));
    buildSmallFarm();
    server.get("/iHV/LogonHV.asp", answer(logon));
    server.post("/iHV/UploadHV2.asp", answer(upload));
    ASSERT_TRUE(server.start());
    writeSettings();
  }

  void writeSettings(const std::map<QString, QString>& values = {}) {
    std::map<QString, QString> all{{QStringLiteral("HTTP_SERVER"), server.host()},
                                   {QStringLiteral("TCPIP_PORT"), QString::number(server.port())},
                                   {QStringLiteral("USER_ID"), QStringLiteral("farm01")},
                                   {QStringLiteral("AGRI_PW"), QStringLiteral("pw")}};
    for (const auto& [key, value] : values) all[key] = value;
    for (const auto& [key, value] : all)
      ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("NETWORK"), key, value,
                                                 hv6::wxfetchIniPath()));
  }

  bool confirm(InputSettings& s) {
    return confirmInputSettings(data.diary(), s, [this](bool on) {
      waits.append(on ? QStringLiteral("on") : QStringLiteral("off"));
    });
  }

  QStringList pagesAsked() const {
    QStringList pages;
    for (const hv6test::ReceivedRequest& request : server.requests())
      pages.append(QString::fromStdString(request.method + " " + request.path));
    return pages;
  }

  QString storedCropName() {
    CDaoRecordset rs(&data.diary());
    rs.Open(dbOpenSnapshot, QStringLiteral("SELECT IName FROM CropMst WHERE Scode = 1"));
    return rs.GetFieldValue(0).toString();
  }

  QStringList texts() const {
    QStringList list;
    for (const hv6::MessageRequest& m : messages.messages()) list.append(m.text);
    return list;
  }

  hv6test::LocalHttpServer server;
  Page logon;
  Page upload;
  QStringList waits;

 private:
  hv6test::LocalHttpServer::Handler answer(const Page& page) {
    return [&page](const httplib::Request&, httplib::Response& response) {
      response.status = page.status;
      response.set_content(page.body, "text/plain; charset=Shift_JIS");
    };
  }
};

TEST_F(UploadTest, OkSavesThenLogsOnAndPostsTheBody) {
  InputSettings s = load();
  s.rows(1)[0].mobileName = QStringLiteral("とまと'");
  ASSERT_TRUE(confirm(s));

  EXPECT_EQ(texts(), QStringList{kConfirm});
  EXPECT_EQ(messages.messages()[0].icon, hv6::MsgIcon::Question);
  EXPECT_EQ(messages.messages()[0].buttons, hv6::MsgButtons::YesNo);
  EXPECT_EQ(waits, (QStringList{"on", "off"}));
  EXPECT_EQ(storedCropName(), QStringLiteral("とまと'"));
  ASSERT_EQ(pagesAsked(), (QStringList{"GET /iHV/LogonHV.asp", "POST /iHV/UploadHV2.asp"}));
  const std::vector<hv6test::ReceivedRequest> requests = server.requests();
  EXPECT_EQ(requests[0].query(), "UID=farm01&PWD=pw");
  const hv6test::ReceivedRequest& post = requests[1];
  EXPECT_EQ(post.header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(post.header("Content-Length"), std::to_string(post.body.size()));
  EXPECT_EQ(post.header("User-Agent"), "HV6");
  const QByteArray expected = uploadBody(s, QStringLiteral("farm01"), QStringLiteral("pw"));
  EXPECT_EQ(QByteArray::fromStdString(post.body), expected);
  EXPECT_TRUE(hv6::cp932::decode(expected).contains(QStringLiteral(",1,とまと',,4,10,")));
}

// A body of several pieces arrives whole.
TEST_F(UploadTest, ALongBodyArrivesWhole) {
  for (int i = 0; i < 300; ++i)
    master(QStringLiteral("FarmerMst"), 100 + i, QStringLiteral("作業者%1").arg(i), {used()});
  InputSettings s = load();
  const QByteArray expected = uploadBody(s, QStringLiteral("farm01"), QStringLiteral("pw"));
  ASSERT_GT(expected.size(), 3 * 4096);
  ASSERT_TRUE(confirm(s));
  ASSERT_EQ(server.requestCount(), 2u);
  EXPECT_EQ(QByteArray::fromStdString(server.requests()[1].body), expected);
}

TEST_F(UploadTest, TheServerAnsweringZeroToThePostSaysTheSettingsAreSaved) {
  upload.body = "0\r\n";
  InputSettings s = load();
  s.rows(1)[0].mobileName = QStringLiteral("赤トマト");
  EXPECT_FALSE(confirm(s));
  EXPECT_EQ(texts(), (QStringList{kConfirm, uploadRefusedText() + settingsSavedNote()}));
  EXPECT_TRUE(texts().last().startsWith(
      QStringLiteral("ヴェルコネットサーバーへ台帳データを転送中にエラーが発生しました。\n")));
  EXPECT_TRUE(texts().last().contains(QStringLiteral("設定はデータベースに保存されました。")));
  EXPECT_EQ(storedCropName(), QStringLiteral("赤トマト")) << "saved before the transfer";
  EXPECT_EQ(waits, (QStringList{"on", "off"}));

  // Trying again sends the same settings once the server takes them.
  messages.clear();
  upload.body = "1\r\n";
  EXPECT_TRUE(confirm(s));
  EXPECT_EQ(texts(), QStringList{kConfirm});
}

TEST_F(UploadTest, ARefusedOrImpossibleLogonSendsNothingMore) {
  const QString logonFailed = QStringLiteral(
      "ヴェルコネットサーバーへの接続部分でエラーが発生しました。\n"
      "モバイル作業日誌ID、接続用パスワードなどを確認してください。");
  logon.body = "0\r\n";
  InputSettings s = load();
  EXPECT_FALSE(confirm(s));
  EXPECT_EQ(texts(), (QStringList{kConfirm, logonFailed + settingsSavedNote()}));
  EXPECT_EQ(pagesAsked(), QStringList{"GET /iHV/LogonHV.asp"});

  messages.clear();
  server.clearRequests();
  writeSettings({{QStringLiteral("AGRI_PW"), QString()}});
  EXPECT_FALSE(confirm(s));
  EXPECT_EQ(texts(), (QStringList{kConfirm, logonFailed + settingsSavedNote()}));
  EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(UploadTest, AnotherStatusShows8006WithTheNote) {
  upload.status = 500;
  InputSettings s = load();
  EXPECT_FALSE(confirm(s));
  ASSERT_EQ(messages.numbers(), (QList<long>{0, 8006}));
  EXPECT_EQ(texts().last(), QStringLiteral("サーバーのURLをオープンできません。\n\nヴェルコネットサーバー：127.0.0.1") +
                                settingsSavedNote());
}

TEST_F(UploadTest, NoOrAFailedCheckLeavesDatabaseAndServerUntouched) {
  InputSettings s = load();
  s.rows(1)[0].mobileName = QStringLiteral("変更");
  messages.answer(hv6::MsgAnswer::No);
  EXPECT_FALSE(confirm(s));
  EXPECT_EQ(texts(), QStringList{kConfirm});
  EXPECT_TRUE(waits.isEmpty());

  messages.clear();
  for (LedgerRow& row : s.rows(1)) row.use = false;
  EXPECT_FALSE(confirm(s));
  EXPECT_EQ(texts(), QStringList{QStringLiteral("品目台帳は必ず１つ以上データを選んでください。")});
  EXPECT_EQ(storedCropName(), QString());
  EXPECT_EQ(server.requestCount(), 0u);
}

}  // namespace
