#include "platform/inet/curl_errors.h"
#include "platform/inet/inet.h"
#include "platform/inet/testing.h"
#include "tests/support/local_http_server.h"

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <optional>
#include <thread>

namespace {

using hv6test::LocalHttpServer;

// Sets or unsets environment variables for the life of the object.
class ScopedEnv {
 public:
  void set(const char* name, const QByteArray& value) {
    remember(name);
    qputenv(name, value);
  }
  void unset(const char* name) {
    remember(name);
    qunsetenv(name);
  }
  ~ScopedEnv() {
    for (const auto& [name, value] : saved_) {
      if (value)
        qputenv(name, *value);
      else
        qunsetenv(name);
    }
  }

 private:
  void remember(const char* name) {
    for (const auto& entry : saved_)
      if (entry.first == name) return;
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name)
                                  ? std::optional<QByteArray>(qgetenv(name))
                                  : std::nullopt);
  }
  std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

template <typename F>
DWORD errorOf(F&& f) {
  try {
    f();
  } catch (const CInternetException& e) {
    return e.m_dwError;
  }
  return 0;
}

void text(httplib::Response& res, const std::string& body) { res.set_content(body, "text/plain"); }

// A response of which only the first bytes arrive before the server drops
// the connection (more bytes were announced).
void dropAfter(httplib::Response& res, std::string sent) {
  res.set_content_provider(sent.size() + 100, "text/plain",
                           [sent](size_t offset, size_t, httplib::DataSink& sink) {
                             if (offset == 0) sink.write(sent.data(), sent.size());
                             return false;
                           });
}

class Inet : public ::testing::Test {
 protected:
  void SetUp() override {
    // No proxy from the machine running the tests.
    for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy",
                             "ALL_PROXY", "no_proxy", "NO_PROXY"})
      env.unset(name);
    hv6::inet::testing::setTimeoutScale(1.0);
  }
  void TearDown() override {
    hv6::inet::testing::setOptionHook({});
    hv6::inet::testing::setTimeoutScale(1.0);
  }

  // A session with the options the exchange sets, but time-outs a test can
  // wait for.
  static std::unique_ptr<CInternetSession> session(DWORD access = INTERNET_OPEN_TYPE_PRECONFIG,
                                                   DWORD receiveMs = 5000) {
    auto s = std::make_unique<CInternetSession>(QStringLiteral("HV6"), 1, access);
    EXPECT_TRUE(s->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 5000));
    EXPECT_TRUE(s->SetOption(INTERNET_OPTION_CONNECT_RETRIES, 2));
    EXPECT_TRUE(s->SetOption(INTERNET_OPTION_CONNECT_BACKOFF, 0));
    EXPECT_TRUE(s->SetOption(INTERNET_OPTION_DATA_SEND_TIMEOUT, 5000));
    EXPECT_TRUE(s->SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, receiveMs));
    return s;
  }

  // GET objectName with the connection form; returns the sent request.
  std::unique_ptr<CHttpFile> get(CInternetSession& s, const QString& objectName) {
    auto connection = s.GetHttpConnection(server.host(), static_cast<INTERNET_PORT>(server.port()));
    auto file = connection->OpenRequest(HTTP_VERB_GET, objectName, QString(), 1, {}, QString(),
                                        INTERNET_FLAG_RELOAD);
    file->SendRequest();
    return file;
  }

  static QList<QByteArray> allLines(CHttpFile& file) {
    QList<QByteArray> lines;
    QByteArray line;
    while (file.ReadString(line)) lines.append(line);
    return lines;
  }

  ScopedEnv env;
  LocalHttpServer server;
};

// --- requests and responses ------------------------------------------------

TEST_F(Inet, GetGivesTheStatusAndTheLinesAsBytes) {
  const std::string sjis = "\x82\xa0\x82\xa2\x93\xfa\x8c\x8e";  // あい日月 in Shift-JIS
  server.get("/iHV/DownloadHV2.asp", [&](const httplib::Request&, httplib::Response& res) {
    text(res, "3,\r\nCRLF line\nLF line\r\n\r\n" + sjis + "\r\n\nlast without end");
  });
  ASSERT_TRUE(server.start());
  auto s = session();

  const QList<QByteArray> expected = {
      "3,", "CRLF line", "LF line", "", QByteArray::fromStdString(sjis), "", "last without end"};
  auto file = get(*s, QStringLiteral("iHV/DownloadHV2.asp?UID=a&PWD=b"));
  DWORD status = 0;
  ASSERT_TRUE(file->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 200u);
  EXPECT_EQ(allLines(*file), expected);
  QByteArray line;
  EXPECT_FALSE(file->ReadString(line));  // stays at the end

  // The same through the full URL.
  auto viaUrl = s->OpenURL(server.baseUrl() + QStringLiteral("/iHV/DownloadHV2.asp?UID=a&PWD=b"), 1,
                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_ASCII);
  ASSERT_TRUE(viaUrl->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 200u);
  EXPECT_EQ(allLines(*viaUrl), expected);
}

TEST_F(Inet, EmptyBodiesAndLineEndsAtTheEnd) {
  server.get("/empty", [](const httplib::Request&, httplib::Response& res) { text(res, ""); });
  server.get("/one", [](const httplib::Request&, httplib::Response& res) { text(res, "1\r\n"); });
  server.get("/blank", [](const httplib::Request&, httplib::Response& res) { text(res, "\r\n"); });
  ASSERT_TRUE(server.start());
  auto s = session();
  EXPECT_EQ(allLines(*get(*s, QStringLiteral("empty"))), QList<QByteArray>());
  EXPECT_EQ(allLines(*get(*s, QStringLiteral("one"))), QList<QByteArray>({"1"}));
  EXPECT_EQ(allLines(*get(*s, QStringLiteral("blank"))), QList<QByteArray>({""}));
}

TEST_F(Inet, StatusOtherThan200IsNoException) {
  server.get("/fail", [](const httplib::Request&, httplib::Response& res) {
    res.status = 500;
    text(res, "Internal error\r\n");
  });
  ASSERT_TRUE(server.start());
  auto s = session();
  auto file = get(*s, QStringLiteral("fail"));
  DWORD status = 0;
  ASSERT_TRUE(file->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 500u);
  EXPECT_EQ(allLines(*file), QList<QByteArray>({"Internal error"}));

  auto missing = get(*s, QStringLiteral("nothing-here"));
  ASSERT_TRUE(missing->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 404u);
}

TEST_F(Inet, QueryAgentAndPortArriveAsSent) {
  server.get("/iHV/LogonHV.asp",
             [](const httplib::Request&, httplib::Response& res) { text(res, "1\r\n"); });
  ASSERT_TRUE(server.start());
  auto s = session();
  const QString query = QStringLiteral("UID=farm%2001&PWD=a%26b%23c%25d+e");
  get(*s, QStringLiteral("iHV/LogonHV.asp?") + query);
  s->OpenURL(server.baseUrl() + QStringLiteral("/iHV/LogonHV.asp?") + query);

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  for (const auto& r : requests) {
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.target, "/iHV/LogonHV.asp?" + query.toStdString());
    EXPECT_EQ(r.header("User-Agent"), "HV6");
    EXPECT_EQ(r.header("Host"), "127.0.0.1:" + std::to_string(server.port()));
    EXPECT_FALSE(r.hasHeader("Content-Type"));
  }
}

TEST_F(Inet, ConnectionBuildsTheUrlFromServerPortAndObject) {
  CInternetSession s(QStringLiteral("HV6"));
  auto plain = s.GetHttpConnection(QStringLiteral("mobile.example"));
  EXPECT_EQ(
      plain->OpenRequest(HTTP_VERB_GET, QStringLiteral("iHV/LogonHV.asp?UID=1"))->GetFileURL(),
      QStringLiteral("http://mobile.example/iHV/LogonHV.asp?UID=1"));
  auto port = s.GetHttpConnection(QStringLiteral("mobile.example"), INTERNET_PORT{8080});
  EXPECT_EQ(port->OpenRequest(HTTP_VERB_POST, QStringLiteral("/iHV/UploadHV2.asp"))->GetFileURL(),
            QStringLiteral("http://mobile.example:8080/iHV/UploadHV2.asp"));
  auto secure = s.GetHttpConnection(QStringLiteral("::1"), INTERNET_FLAG_SECURE, INTERNET_PORT{0});
  EXPECT_EQ(secure->OpenRequest(HTTP_VERB_GET, QStringLiteral("x"))->GetFileURL(),
            QStringLiteral("https://[::1]/x"));
  EXPECT_EQ(plain
                ->OpenRequest(HTTP_VERB_GET, QStringLiteral("x"), QString(), 1, {}, QString(),
                              INTERNET_FLAG_SECURE)
                ->GetFileURL(),
            QStringLiteral("https://mobile.example/x"));
}

TEST_F(Inet, PostSendsTheBodyWithTheCallersHeadersOnly) {
  server.post("/iHV/UploadHV2.asp",
              [](const httplib::Request&, httplib::Response& res) { text(res, "1\r\n"); });
  ASSERT_TRUE(server.start());
  auto s = session(INTERNET_OPEN_TYPE_DIRECT);
  auto connection = s->GetHttpConnection(server.host(), static_cast<INTERNET_PORT>(server.port()));
  const QByteArray body =
      "Kind=1&Name=\x93\xfa\x8c\x8e&Long=" +
      QByteArray(1100 * 1024, 'x');  // large enough for libcurl to ask for "100-continue"

  auto whole = connection->OpenRequest(HTTP_VERB_POST, QStringLiteral("iHV/UploadHV2.asp"),
                                       QString(), 1, {}, QString(), INTERNET_FLAG_EXISTING_CONNECT);
  whole->SendRequest(QStringLiteral("Content-Type: application/x-www-form-urlencoded\r\n"), body);
  DWORD status = 0;
  ASSERT_TRUE(whole->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 200u);
  EXPECT_EQ(allLines(*whole), QList<QByteArray>({"1"}));

  // In pieces, the header added only when not there yet.
  auto pieces = connection->OpenRequest(HTTP_VERB_POST, QStringLiteral("iHV/UploadHV2.asp"));
  EXPECT_TRUE(pieces->AddRequestHeaders(
      QStringLiteral("Content-Type: application/x-www-form-urlencoded\r\n"),
      HTTP_ADDREQ_FLAG_ADD_IF_NEW));
  EXPECT_TRUE(pieces->AddRequestHeaders(QStringLiteral("Content-Type: text/plain\r\n"),
                                        HTTP_ADDREQ_FLAG_ADD_IF_NEW));
  EXPECT_TRUE(pieces->SendRequestEx(static_cast<DWORD>(body.size())));
  for (qsizetype at = 0; at < body.size(); at += 100000) pieces->Write(body.mid(at, 100000));
  EXPECT_TRUE(pieces->EndRequest());
  ASSERT_TRUE(pieces->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 200u);

  // No body type the caller did not give.
  auto bare = connection->OpenRequest(HTTP_VERB_POST, QStringLiteral("iHV/UploadHV2.asp"));
  bare->SendRequest(QString(), "a=1");

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 3u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(requests[i].method, "POST");
    EXPECT_EQ(requests[i].body, body.toStdString());
    EXPECT_EQ(requests[i].header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(requests[i].header("Content-Length"), std::to_string(body.size()));
    EXPECT_FALSE(requests[i].hasHeader("Expect"));
    EXPECT_EQ(requests[i].header("User-Agent"), "HV6");
  }
  EXPECT_EQ(requests[2].body, "a=1");
  EXPECT_FALSE(requests[2].hasHeader("Content-Type"));
}

TEST_F(Inet, OtherVerbsGoOutAsAsked) {
  server.fallback([](const httplib::Request& req, httplib::Response& res) {
    text(res, req.method + " " + req.body + "\r\n");
  });
  ASSERT_TRUE(server.start());
  auto s = session();
  auto connection = s->GetHttpConnection(server.host(), static_cast<INTERNET_PORT>(server.port()));
  auto head = connection->OpenRequest(HTTP_VERB_HEAD, QStringLiteral("x"));
  head->SendRequest();
  DWORD status = 0;
  ASSERT_TRUE(head->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 200u);
  EXPECT_EQ(allLines(*head), QList<QByteArray>());
  auto put = connection->OpenRequest(HTTP_VERB_PUT, QStringLiteral("x"));
  put->SendRequest(QString(), "data");
  EXPECT_EQ(allLines(*put), QList<QByteArray>({"PUT data"}));
  auto getWithBody = connection->OpenRequest(QStringLiteral("GET"), QStringLiteral("x"));
  getWithBody->SendRequest(QString(), "q");
  auto remove = connection->OpenRequest(HTTP_VERB_DELETE, QStringLiteral("x"));
  remove->SendRequest();
  EXPECT_EQ(allLines(*remove), QList<QByteArray>({"DELETE "}));

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0].method, "HEAD");
  EXPECT_EQ(requests[2].method, "GET");
  EXPECT_EQ(requests[2].header("Content-Length"), "1");
}

TEST_F(Inet, PiecesMustMatchTheAnnouncedLength) {
  CInternetSession s(QStringLiteral("HV6"));
  auto connection = s.GetHttpConnection(QStringLiteral("127.0.0.1"), INTERNET_PORT{1});
  auto file = connection->OpenRequest(HTTP_VERB_POST, QStringLiteral("x"));
  file->SendRequestEx(3);
  EXPECT_EQ(errorOf([&] { file->Write(QByteArray("abcd")); }),
            ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  file->Write(QByteArray("ab"));
  EXPECT_EQ(errorOf([&] { file->EndRequest(); }), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  QByteArray line;
  auto unsent = connection->OpenRequest(HTTP_VERB_GET, QStringLiteral("x"));
  EXPECT_EQ(errorOf([&] { unsent->ReadString(line); }), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  DWORD status = 0;
  EXPECT_FALSE(unsent->QueryInfoStatusCode(status));
}

TEST_F(Inet, RedirectIsNotFollowed) {
  server.get("/iHV/LogonHV.asp", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("http://elsewhere.invalid/steal");
  });
  server.get("/moved", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/iHV/LogonHV.asp");
  });
  ASSERT_TRUE(server.start());
  auto s = session();
  auto file = get(*s, QStringLiteral("iHV/LogonHV.asp?UID=a&PWD=secret"));
  DWORD status = 0;
  ASSERT_TRUE(file->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 302u);
  EXPECT_EQ(file->responseHeader("location"), "http://elsewhere.invalid/steal");
  auto same = s->OpenURL(server.baseUrl() + QStringLiteral("/moved"));
  ASSERT_TRUE(same->QueryInfoStatusCode(status));
  EXPECT_EQ(status, 302u);
  EXPECT_EQ(server.requestCount(), 2u);
}

TEST_F(Inet, LongLineIsCutAndTheNextLineStillArrives) {
  const std::string longLine(10 * 1024 * 1024, 'x');
  server.get("/long", [&](const httplib::Request&, httplib::Response& res) {
    text(res, "first\r\n" + longLine + "\r\nafter\r\n" +
                  std::string(CHttpFile::kMaxLineBytes, 'y') + "\r\nend" + longLine);
  });
  ASSERT_TRUE(server.start());
  auto s = session();
  auto file = get(*s, QStringLiteral("long"));
  QByteArray line;
  ASSERT_TRUE(file->ReadString(line));
  EXPECT_EQ(line, "first");
  EXPECT_FALSE(file->LastLineTruncated());
  ASSERT_TRUE(file->ReadString(line));
  EXPECT_EQ(line, QByteArray(CHttpFile::kMaxLineBytes, 'x'));
  EXPECT_TRUE(file->LastLineTruncated());
  ASSERT_TRUE(file->ReadString(line));
  EXPECT_EQ(line, "after");
  EXPECT_FALSE(file->LastLineTruncated());
  ASSERT_TRUE(file->ReadString(line));  // exactly the limit is whole
  EXPECT_EQ(line, QByteArray(CHttpFile::kMaxLineBytes, 'y'));
  EXPECT_FALSE(file->LastLineTruncated());
  ASSERT_TRUE(file->ReadString(line));  // a long last line without an end
  EXPECT_EQ(line.size(), CHttpFile::kMaxLineBytes);
  EXPECT_TRUE(line.startsWith("endxxx"));
  EXPECT_TRUE(file->LastLineTruncated());
  EXPECT_FALSE(file->ReadString(line));
}

TEST_F(Inet, ReadGivesTheBodyBytes) {
  std::string body;
  for (int i = 0; i < 100000; ++i) body += static_cast<char>(i % 251);
  server.get("/bytes", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(body, "application/octet-stream");
  });
  ASSERT_TRUE(server.start());
  auto s = session();
  auto file = get(*s, QStringLiteral("bytes"));
  std::string got;
  char buffer[777];
  while (UINT n = file->Read(buffer, sizeof buffer)) got.append(buffer, n);
  EXPECT_EQ(got, body);
}

// --- failures --------------------------------------------------------------

TEST_F(Inet, UnresolvedNameBeforeAndAfterTheRequestExists) {
  auto s = session();
  auto connection = s->GetHttpConnection(QStringLiteral("mobile.invalid"));
  auto file = connection->OpenRequest(HTTP_VERB_GET, QStringLiteral("iHV/LogonHV.asp"));
  EXPECT_EQ(errorOf([&] { file->SendRequest(); }), ERROR_INTERNET_NAME_NOT_RESOLVED);
  EXPECT_EQ(file->connectAttempts(), 1);  // a name is not retried

  std::unique_ptr<CHttpFile> viaUrl;
  EXPECT_EQ(errorOf([&] { viaUrl = s->OpenURL(QStringLiteral("http://MOBILE.Invalid./x")); }),
            ERROR_INTERNET_NAME_NOT_RESOLVED);
  EXPECT_EQ(viaUrl, nullptr);
}

TEST_F(Inet, RefusedPortIsRetriedThenFails) {
  const int port = hv6test::refusedPort();
  ASSERT_GT(port, 0);
  auto s = session();
  auto connection =
      s->GetHttpConnection(QStringLiteral("127.0.0.1"), static_cast<INTERNET_PORT>(port));
  auto file = connection->OpenRequest(HTTP_VERB_GET, QStringLiteral("x"));
  EXPECT_EQ(errorOf([&] { file->SendRequest(); }), ERROR_INTERNET_CANNOT_CONNECT);
  EXPECT_EQ(file->connectAttempts(), 3);

  ASSERT_TRUE(s->SetOption(INTERNET_OPTION_CONNECT_RETRIES, 0));
  std::unique_ptr<CHttpFile> viaUrl;
  EXPECT_EQ(
      errorOf([&] { viaUrl = s->OpenURL(QStringLiteral("http://127.0.0.1:%1/x").arg(port)); }),
      ERROR_INTERNET_CANNOT_CONNECT);
  EXPECT_EQ(viaUrl, nullptr);
  auto once = s->GetHttpConnection(QStringLiteral("127.0.0.1"), static_cast<INTERNET_PORT>(port))
                  ->OpenRequest(HTTP_VERB_GET, QStringLiteral("x"));
  EXPECT_EQ(errorOf([&] { once->SendRequest(); }), ERROR_INTERNET_CANNOT_CONNECT);
  EXPECT_EQ(once->connectAttempts(), 1);
}

// A listening socket whose queue is full drops new connection requests, so
// a connect waits until its time-out.
TEST_F(Inet, ConnectTimeOutIsRetried) {
  QTcpServer silent;  // listening; without an event loop it never accepts
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
  const quint16 port = silent.serverPort();
  std::vector<std::unique_ptr<QTcpSocket>> queue;
  for (int i = 0; i < 1000; ++i) {
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, port);
    const bool connected = socket->waitForConnected(50);
    queue.push_back(std::move(socket));
    if (!connected) break;  // the queue is full
  }
  ASSERT_FALSE(queue.back()->state() == QAbstractSocket::ConnectedState);

  auto s = session();
  ASSERT_TRUE(s->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 200));
  auto connection = s->GetHttpConnection(server.host(), port);
  auto file = connection->OpenRequest(HTTP_VERB_GET, QStringLiteral("x"));
  EXPECT_EQ(errorOf([&] { file->SendRequest(); }), ERROR_INTERNET_TIMEOUT);
  EXPECT_EQ(file->connectAttempts(), 3);
}

TEST_F(Inet, BadUrlsAndServersFailBeforeAnyRequest) {
  CInternetSession s(QStringLiteral("HV6"));
  EXPECT_EQ(errorOf([&] { s.OpenURL(QStringLiteral("ftp://127.0.0.1/x")); }),
            ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  EXPECT_EQ(errorOf([&] { s.OpenURL(QStringLiteral("127.0.0.1/iHV/LogonHV.asp")); }),
            ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  EXPECT_EQ(errorOf([&] { s.OpenURL(QStringLiteral("http://")); }), ERROR_INTERNET_INVALID_URL);
  EXPECT_EQ(errorOf([&] { s.OpenURL(QStringLiteral("http://host/a b")); }),
            ERROR_INTERNET_INVALID_URL);
  for (const char* name : {"", "http://host", "host/iHV", "host:8080", "a b", "user@host"})
    EXPECT_EQ(errorOf([&] { s.GetHttpConnection(QString::fromLatin1(name)); }),
              ERROR_INTERNET_INVALID_URL)
        << name;
  auto connection = s.GetHttpConnection(QStringLiteral("host"));
  EXPECT_EQ(errorOf([&] { connection->OpenRequest(99, QStringLiteral("x")); }),
            ERROR_INTERNET_INVALID_OPERATION);
  EXPECT_EQ(errorOf([&] { connection->OpenRequest(QStringLiteral("get x"), QStringLiteral("x")); }),
            ERROR_INTERNET_INVALID_OPERATION);
}

TEST_F(Inet, ServerThatDoesNotAnswerTimesOut) {
  server.get("/hang", [&](const httplib::Request&, httplib::Response& res) {
    server.holdUntilStopped();
    text(res, "late\r\n");
  });
  server.get("/stall", [&](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [&](size_t offset, httplib::DataSink& sink) {
      if (offset == 0) {
        sink.write("3,\r\nline\r\n", 10);
        return true;
      }
      server.holdUntilStopped();
      return false;
    });
  });
  ASSERT_TRUE(server.start());
  auto s = session(INTERNET_OPEN_TYPE_PRECONFIG, 300);
  auto connection = s->GetHttpConnection(server.host(), static_cast<INTERNET_PORT>(server.port()));
  auto file = connection->OpenRequest(HTTP_VERB_GET, QStringLiteral("hang"));
  EXPECT_EQ(errorOf([&] { file->SendRequest(); }), ERROR_INTERNET_TIMEOUT);
  EXPECT_EQ(file->connectAttempts(), 1);  // a connected request is not retried

  // Lines that came are read; the wait for more times out.
  auto stalled = get(*s, QStringLiteral("stall"));
  QByteArray line;
  ASSERT_TRUE(stalled->ReadString(line));
  EXPECT_EQ(line, "3,");
  ASSERT_TRUE(stalled->ReadString(line));
  EXPECT_EQ(line, "line");
  EXPECT_EQ(errorOf([&] { stalled->ReadString(line); }), ERROR_INTERNET_TIMEOUT);
}

// The receive time-out counts only while the caller waits for bytes.
TEST_F(Inet, TimeSpentBetweenReadsIsNotWaiting) {
  server.get("/later", [&](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/plain", [&](size_t, httplib::DataSink& sink) {
      server.holdUntilStopped(std::chrono::milliseconds(800));  // after the headers
      sink.write("1,\r\n", 4);
      sink.done();
      return true;
    });
  });
  ASSERT_TRUE(server.start());
  auto s = session(INTERNET_OPEN_TYPE_PRECONFIG, 500);
  auto file = get(*s, QStringLiteral("later"));
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  QByteArray line;
  EXPECT_EQ(errorOf([&] { file->ReadString(line); }), 0u);
  EXPECT_EQ(line, "1,");
}

TEST_F(Inet, TimeOutsAreShortenedByTheTestFactor) {
  server.get("/hang", [&](const httplib::Request&, httplib::Response& res) {
    server.holdUntilStopped();
    text(res, "late\r\n");
  });
  ASSERT_TRUE(server.start());
  env.set("HV6_INET_TIMEOUT_SCALE", "0.005");
  hv6::inet::testing::applyTimeoutScaleFromEnvironment();
  EXPECT_DOUBLE_EQ(hv6::inet::testing::timeoutScale(), 0.005);
  // The exchange's own values: 60 s becomes 300 ms.
  CInternetSession s(QStringLiteral("HV6"));
  ASSERT_TRUE(s.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 30000));
  ASSERT_TRUE(s.SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 60000));
  std::unique_ptr<CHttpFile> file;
  EXPECT_EQ(errorOf([&] { file = s.OpenURL(server.baseUrl() + QStringLiteral("/hang")); }),
            ERROR_INTERNET_TIMEOUT);

  env.set("HV6_INET_TIMEOUT_SCALE", "not a number");
  hv6::inet::testing::applyTimeoutScaleFromEnvironment();
  EXPECT_DOUBLE_EQ(hv6::inet::testing::timeoutScale(), 0.005);
}

TEST_F(Inet, ConnectionDroppedMidLine) {
  server.get("/drop", [](const httplib::Request&, httplib::Response& res) {
    dropAfter(res, "2,\r\nfirst record\r\nsecond rec");
  });
  server.get("/dropAtLineEnd",
             [](const httplib::Request&, httplib::Response& res) { dropAfter(res, "2,\r\n"); });
  ASSERT_TRUE(server.start());
  auto s = session();
  auto file = get(*s, QStringLiteral("drop"));
  QByteArray line;
  ASSERT_TRUE(file->ReadString(line));
  EXPECT_EQ(line, "2,");
  ASSERT_TRUE(file->ReadString(line));
  EXPECT_EQ(line, "first record");
  EXPECT_EQ(errorOf([&] { file->ReadString(line); }), ERROR_INTERNET_CONNECTION_ABORTED);

  auto atEnd = get(*s, QStringLiteral("dropAtLineEnd"));
  ASSERT_TRUE(atEnd->ReadString(line));
  EXPECT_EQ(errorOf([&] { atEnd->ReadString(line); }), ERROR_INTERNET_CONNECTION_ABORTED);
  char buffer[10];
  EXPECT_EQ(errorOf([&] { atEnd->Read(buffer, sizeof buffer); }),
            ERROR_INTERNET_CONNECTION_ABORTED);
}

TEST_F(Inet, InterruptCheckCancelsAWait) {
  server.get("/hang", [&](const httplib::Request&, httplib::Response& res) {
    server.holdUntilStopped();
    text(res, "late\r\n");
  });
  ASSERT_TRUE(server.start());
  auto s = session();
  int calls = 0;
  s->SetInterruptCheck([&] { return ++calls >= 2; });
  auto file = s->GetHttpConnection(server.host(), static_cast<INTERNET_PORT>(server.port()))
                  ->OpenRequest(HTTP_VERB_GET, QStringLiteral("hang"));
  EXPECT_EQ(errorOf([&] { file->SendRequest(); }), ERROR_INTERNET_OPERATION_CANCELLED);
  EXPECT_EQ(calls, 2);
}

// --- access types ----------------------------------------------------------

class InetProxy : public Inet {
 protected:
  void SetUp() override {
    Inet::SetUp();
    server.get("/iHV/LogonHV.asp",
               [](const httplib::Request&, httplib::Response& res) { text(res, "origin\r\n"); });
    proxy.fallback([](const httplib::Request&, httplib::Response& res) { text(res, "proxy\r\n"); });
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(proxy.start());
    env.set("http_proxy", proxy.baseUrl().toUtf8());
  }

  QByteArray firstLine(CInternetSession& s) {
    auto file = get(s, QStringLiteral("iHV/LogonHV.asp?UID=a&PWD=b"));
    QByteArray line;
    EXPECT_TRUE(file->ReadString(line));
    return line;
  }

  LocalHttpServer proxy;
};

TEST_F(InetProxy, PreconfiguredAccessUsesTheDesktopProxy) {
  auto s = session(INTERNET_OPEN_TYPE_PRECONFIG);
  EXPECT_EQ(firstLine(*s), "proxy");
  ASSERT_EQ(proxy.requestCount(), 1u);
  EXPECT_EQ(proxy.requests()[0].target,
            "http://127.0.0.1:" + std::to_string(server.port()) + "/iHV/LogonHV.asp?UID=a&PWD=b");
  EXPECT_EQ(proxy.requests()[0].header("User-Agent"), "HV6");
  EXPECT_EQ(server.requestCount(), 0u);

  env.set("no_proxy", "127.0.0.1");  // the desktop's bypass list
  EXPECT_EQ(firstLine(*s), "origin");
  EXPECT_EQ(proxy.requestCount(), 1u);
}

TEST_F(InetProxy, DirectAccessIgnoresTheEnvironment) {
  env.set("HTTP_PROXY", proxy.baseUrl().toUtf8());
  env.set("ALL_PROXY", proxy.baseUrl().toUtf8());
  auto s = session(INTERNET_OPEN_TYPE_DIRECT);
  EXPECT_EQ(firstLine(*s), "origin");
  EXPECT_EQ(server.requestCount(), 1u);
  EXPECT_EQ(proxy.requestCount(), 0u);
}

TEST_F(InetProxy, NamedProxyAndItsBypassList) {
  env.unset("http_proxy");
  CInternetSession s(QStringLiteral("HV6"), 1, INTERNET_OPEN_TYPE_PROXY, proxy.baseUrl());
  EXPECT_EQ(firstLine(s), "proxy");
  CInternetSession bypassed(QStringLiteral("HV6"), 1, INTERNET_OPEN_TYPE_PROXY, proxy.baseUrl(),
                            QStringLiteral("example.org; 127.0.0.1"));
  EXPECT_EQ(firstLine(bypassed), "origin");
}

// --- options ----------------------------------------------------------------

TEST_F(Inet, OptionsAreSetQueriedAndCanBeMadeToFail) {
  CInternetSession s(QStringLiteral("HV6"));
  std::vector<std::pair<DWORD, DWORD>> seen;
  hv6::inet::testing::setOptionHook([&](DWORD option, DWORD value) {
    seen.emplace_back(option, value);
    return option != INTERNET_OPTION_CONNECT_BACKOFF;
  });
  EXPECT_TRUE(s.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 30000));
  EXPECT_TRUE(s.SetOption(INTERNET_OPTION_CONNECT_RETRIES, 2));
  EXPECT_FALSE(s.SetOption(INTERNET_OPTION_CONNECT_BACKOFF, 7));
  EXPECT_TRUE(s.SetOption(INTERNET_OPTION_DATA_SEND_TIMEOUT, 60000));
  EXPECT_TRUE(s.SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 60000));
  EXPECT_FALSE(s.SetOption(99, 1));  // no such option
  const std::vector<std::pair<DWORD, DWORD>> expected = {
      {INTERNET_OPTION_CONNECT_TIMEOUT, 30000},
      {INTERNET_OPTION_CONNECT_RETRIES, 2},
      {INTERNET_OPTION_CONNECT_BACKOFF, 7},
      {INTERNET_OPTION_DATA_SEND_TIMEOUT, 60000},
      {INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 60000}};
  EXPECT_EQ(seen, expected);

  DWORD value = 0;
  ASSERT_TRUE(s.QueryOption(INTERNET_OPTION_CONNECT_TIMEOUT, value));
  EXPECT_EQ(value, 30000u);
  ASSERT_TRUE(s.QueryOption(INTERNET_OPTION_CONNECT_BACKOFF, value));
  EXPECT_EQ(value, 0u);  // the failed set left it
  ASSERT_TRUE(s.QueryOption(INTERNET_OPTION_RECEIVE_TIMEOUT, value));
  EXPECT_EQ(value, 60000u);
  EXPECT_FALSE(s.QueryOption(99, value));
}

TEST_F(Inet, ConnectionsKeepTheOptionsTheyWereMadeWith) {
  server.get("/slow", [&](const httplib::Request&, httplib::Response& res) {
    server.holdUntilStopped(std::chrono::milliseconds(600));
    text(res, "done\r\n");
  });
  ASSERT_TRUE(server.start());
  auto s = session(INTERNET_OPEN_TYPE_PRECONFIG, 5000);
  auto patient = s->GetHttpConnection(server.host(), static_cast<INTERNET_PORT>(server.port()));
  ASSERT_TRUE(s->SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 200));
  auto hasty = s->GetHttpConnection(server.host(), static_cast<INTERNET_PORT>(server.port()));
  auto fine = patient->OpenRequest(HTTP_VERB_GET, QStringLiteral("slow"));
  EXPECT_EQ(errorOf([&] { fine->SendRequest(); }), 0u);
  auto late = hasty->OpenRequest(HTTP_VERB_GET, QStringLiteral("slow"));
  EXPECT_EQ(errorOf([&] { late->SendRequest(); }), ERROR_INTERNET_TIMEOUT);
}

// --- libcurl's results that a local server cannot provoke --------------------

TEST(InetErrors, CurlResultsMapToWinInetNumbers) {
  using hv6::inet::winInetErrorFromCurl;
  EXPECT_EQ(winInetErrorFromCurl(CURLE_OK), 0u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_COULDNT_RESOLVE_HOST), 12007u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_COULDNT_RESOLVE_PROXY), 12007u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_COULDNT_CONNECT), 12029u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_OPERATION_TIMEDOUT), 12002u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_RECV_ERROR), 12031u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_SEND_ERROR), 12031u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_GOT_NOTHING), 12030u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_URL_MALFORMAT), 12005u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_WEIRD_SERVER_REPLY), 12152u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_UNSUPPORTED_PROTOCOL), 12152u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_SSL_CONNECT_ERROR), 12157u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_PEER_FAILED_VERIFICATION, 10), 12037u);  // expired
  EXPECT_EQ(winInetErrorFromCurl(CURLE_PEER_FAILED_VERIFICATION, 9), 12037u);   // not yet valid
  EXPECT_EQ(winInetErrorFromCurl(CURLE_PEER_FAILED_VERIFICATION, 0), 12038u);   // other name
  EXPECT_EQ(winInetErrorFromCurl(CURLE_PEER_FAILED_VERIFICATION, 1), 12038u);   // (chain not read)
  EXPECT_EQ(winInetErrorFromCurl(CURLE_PEER_FAILED_VERIFICATION, 62), 12038u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_PEER_FAILED_VERIFICATION, 20), 12045u);  // unknown issuer
  EXPECT_EQ(winInetErrorFromCurl(CURLE_PEER_FAILED_VERIFICATION, 18), 12045u);  // self-signed
  EXPECT_EQ(winInetErrorFromCurl(CURLE_TOO_MANY_REDIRECTS), 12156u);
  EXPECT_EQ(winInetErrorFromCurl(CURLE_FAILED_INIT), 12004u);
}

}  // namespace
