#pragma once
// A run of the mobile import against a local server that speaks the four
// pages' formats: the settings file in the user's environment folder, a
// data folder with masters, the feedback recorded, and the rows WDiary
// held when the delete request arrived.

#include "mobile/exchange.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "shell/envcopy.h"
#include "tests/support/local_http_server.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"
#include "weather/commsettings.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{' << texts.join(QStringLiteral("|")).toStdString() << '}';
}

namespace hv6test {

// Everything the run shows besides its messages, in order: "open", "pos N",
// "wait on", "wait off", "summary N", "close".
class RecordingFeedback final : public hv6::MobileImportFeedback {
 public:
  bool open() override {
    events.append(QStringLiteral("open"));
    return opens;
  }
  void setPos(int pos) override { events.append(QStringLiteral("pos %1").arg(pos)); }
  void setWaiting(bool waiting) override {
    events.append(waiting ? QStringLiteral("wait on") : QStringLiteral("wait off"));
  }
  void idle() override { ++idleCalls; }
  void showSummary(const QString& text, int outcome) override {
    events.append(QStringLiteral("summary %1").arg(outcome));
    summaries.append(text);
  }
  void close() override { events.append(QStringLiteral("close")); }

  // Only the bar positions.
  QList<int> positions() const {
    QList<int> list;
    for (const QString& event : events)
      if (event.startsWith(QStringLiteral("pos "))) list.append(event.mid(4).toInt());
    return list;
  }

  bool opens = true;
  QStringList events;
  QStringList summaries;
  int idleCalls = 0;
};

// A record line: fields 1-23 plain, 24-29 quoted, each ended by ",".
inline QString recordLine(const QString& date, const QString& crop, const QString& work = "2:30") {
  QStringList fields{date, crop, "21", "31", "41", "51", work, "", "8:30", "17:00"};
  while (fields.size() < 23) fields.append(QString());
  QString line = fields.join(u',') + u',';
  for (int i = 0; i < 6; ++i) line += QStringLiteral("\"\",");
  return line;
}

class MobileExchangeTest : public ::testing::Test {
 protected:
  // What the server answers; set before run().
  struct Page {
    int status = 200;
    std::string body;
  };

  void SetUp() override {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"})
      qunsetenv(name);
    ASSERT_TRUE(QDir().mkpath(hv6::userEnvironmentFolder()));
    crop = data.addMaster(QStringLiteral("CropMst"), 11, QStringLiteral("トマト"));
    for (const char* table : {"JobMst", "FieldMst", "FarmerMst", "MachineMst"})
      data.addMaster(QString::fromLatin1(table), 0, QStringLiteral("ほか"));  // Code and Scode differ
    data.addMaster(QStringLiteral("JobMst"), 21, QStringLiteral("定植"));
    data.addMaster(QStringLiteral("FieldMst"), 31, QStringLiteral("第1ほ場"));
    data.addMaster(QStringLiteral("FarmerMst"), 41, QStringLiteral("山田"));
    data.addMaster(QStringLiteral("MachineMst"), 51, QStringLiteral("トラクタ"));
    server.get("/iHV/LogonHV.asp", [this](const httplib::Request& request, httplib::Response& response) {
      {
        std::lock_guard lock(mutex);
        logonParams = request.params;
      }
      answer(logon)(request, response);
    });
    server.get("/iHV/DownloadHV2.asp", answer(download));
    server.get("/iHV/ClearReqHV.asp", [this](const httplib::Request& request, httplib::Response& response) {
      rowsAtClear = countRowsOnThisThread();
      answer(clear)(request, response);
    });
    server.get("/elsewhere", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("1\r\n", "text/plain");
    });
    ASSERT_TRUE(server.start());
  }

  void TearDown() override {
    // The temporary file is gone whatever happened.
    EXPECT_EQ(QDir(hv6::userEnvironmentFolder()).entryList({QStringLiteral("IWD*")}, QDir::Files),
              QStringList());
  }

  // "wxfetch.ini" with the server's address and these values.
  void writeSettings(const std::map<QString, QString>& values = {}) {
    std::map<QString, QString> all{{QStringLiteral("HTTP_SERVER"), server.host()},
                                   {QStringLiteral("TCPIP_PORT"), QString::number(server.port())},
                                   {QStringLiteral("USER_ID"), QStringLiteral("farm01")},
                                   {QStringLiteral("AGRI_PW"), QStringLiteral("secret")}};
    for (const auto& [key, value] : values) all[key] = value;
    for (const auto& [key, value] : all)
      ASSERT_TRUE(hv6::WritePrivateProfileString(QStringLiteral("NETWORK"), key, value,
                                                 hv6::wxfetchIniPath()));
  }

  // A download body: the count line, then the lines, each ended by CR LF.
  static std::string body(const QString& first, const QStringList& lines) {
    QByteArray bytes = hv6::cp932::encode(first) + "\r\n";
    for (const QString& line : lines) bytes += hv6::cp932::encode(line) + "\r\n";
    return bytes.toStdString();
  }

  hv6::MobileImportReport run() {
    hv6::MobileDiaryImport exchange(data.diary(), feedback);
    exchange.setToday(QDate(2024, 5, 2));
    if (importer) exchange.setImporter(importer);
    return exchange.run();
  }

  // The pages asked for, in order ("LogonHV.asp", ...).
  QStringList pagesAsked() const {
    QStringList pages;
    for (const ReceivedRequest& request : server.requests())
      pages.append(QString::fromStdString(request.path).section(u'/', -1));
    return pages;
  }

  long rowCount() {
    CDaoRecordset rows(&data.diary());
    rows.Open(dbOpenSnapshot, QStringLiteral("SELECT COUNT(*) FROM WDiary"));
    return rows.GetFieldValue(0).toLong();
  }

  QString logPath() const {
    return hv6::userEnvironmentFolder() + QStringLiteral("/20240502.log");
  }
  QString logText() const {
    QFile file(logPath());
    return file.open(QIODevice::ReadOnly) ? hv6::cp932::decode(file.readAll()) : QString();
  }

  TestEnvironment env;
  MessageRecorder messages;
  TempDataFolder data;
  LocalHttpServer server;
  RecordingFeedback feedback;
  hv6::MobileRecordImporter importer;
  long crop = 0;
  Page logon{200, "1\r\n"};
  Page download{200, "0,\r\n"};
  Page clear{200, "1\r\n"};
  // WDiary's rows when the delete request arrived (-1: it did not).
  std::atomic<long> rowsAtClear{-1};
  // The query of the last logon as the server decoded it.
  std::mutex mutex;
  httplib::Params logonParams;

 private:
  LocalHttpServer::Handler answer(const Page& page) {
    return [&page](const httplib::Request&, httplib::Response& response) {
      response.status = page.status;
      if (page.status / 100 == 3) response.set_header("Location", "/elsewhere");
      response.set_content(page.body, "text/plain; charset=Shift_JIS");
    };
  }

  // Read on the server's thread through a connection of its own.
  long countRowsOnThisThread() {
    const QString name = QUuid::createUuid().toString();
    long count = -2;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
      db.setDatabaseName(data.diaryPath());
      if (db.open()) {
        QSqlQuery query(QStringLiteral("SELECT COUNT(*) FROM WDiary"), db);
        if (query.next()) count = query.value(0).toInt();
      }
      db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return count;
  }
};

}  // namespace hv6test
