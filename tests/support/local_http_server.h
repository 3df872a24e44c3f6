#pragma once
// A local HTTP server for tests: listens on 127.0.0.1 at a free port and
// answers on a thread of its own with the handlers a test registers
// (cpp-httplib). Every request it receives is recorded, also the ones no
// handler answers (those get 404).
//
//   hv6test::LocalHttpServer server;
//   server.get("/iHV/LogonHV.asp", [](const httplib::Request&, httplib::Response& res) {
//     res.set_content("1\r\n", "text/plain");
//   });
//   ASSERT_TRUE(server.start());
//   ... connect to server.host() at server.port() ...
//   EXPECT_EQ(server.requests().at(0).query(), "UID=a&PWD=b");
//
// Constructing a server also applies HV6_INET_TIMEOUT_SCALE to the HTTP
// layer (see platform/inet/testing.h), so a test folder that wants short
// time-outs sets it for its executable, e.g.
//   set_property(TEST test_mobile APPEND PROPERTY ENVIRONMENT HV6_INET_TIMEOUT_SCALE=0.01)

#include <QString>

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hv6test {

// One request as it arrived.
struct ReceivedRequest {
  std::string method;
  std::string target;  // the request line's target as sent, query included
  std::string path;    // the target before "?", percent-decoded
  std::string version;
  httplib::Headers headers;
  std::string body;

  // The target after "?", as sent (empty when there is none).
  std::string query() const;
  std::string header(const std::string& name) const;
  bool hasHeader(const std::string& name) const;
};

class LocalHttpServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  LocalHttpServer();
  // An HTTPS server with this certificate and key (PEM files; see
  // TestCertificates).
  LocalHttpServer(const QString& certFile, const QString& keyFile);
  ~LocalHttpServer();  // stops the server
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // Handlers by path pattern (a regular expression over the decoded path,
  // as cpp-httplib matches it). Register before start(). A POST handler
  // gets the whole body in request.body, whatever its type and size (the
  // fixture reads it; cpp-httplib would refuse forms above 8 KB).
  LocalHttpServer& get(const std::string& pattern, Handler handler);
  LocalHttpServer& post(const std::string& pattern, Handler handler);
  // A handler for every request of any verb that no other handler took
  // (e.g. to act as an HTTP proxy, whose targets are full URLs).
  LocalHttpServer& fallback(Handler handler);

  // Binds 127.0.0.1 at a free port and starts answering. False when the
  // port could not be bound.
  bool start();
  // Stops answering and waits for the server thread; handlers waiting in
  // holdUntilStopped return first. Called by the destructor.
  void stop();

  int port() const { return port_; }
  QString host() const { return QStringLiteral("127.0.0.1"); }
  // "http://127.0.0.1:PORT" ("https://..." for the HTTPS form)
  QString baseUrl() const;

  // The requests received so far, in order of arrival.
  std::vector<ReceivedRequest> requests() const;
  std::size_t requestCount() const;
  void clearRequests();

  // For a handler that must not answer (a server that hangs): waits until
  // the server stops or at most max. True when the server is stopping.
  bool holdUntilStopped(std::chrono::milliseconds max = std::chrono::seconds(60));

  // The server itself, for what the helpers above do not cover.
  httplib::Server& server() { return *server_; }

 private:
  using BodyHandler = std::function<void(const httplib::Request&, httplib::Response&,
                                         const httplib::ContentReader&)>;
  BodyHandler recording(Handler handler);
  void setUp();
  void record(const httplib::Request& request);
  void updateBody(const httplib::Request& request, const std::string& body);

  std::unique_ptr<httplib::Server> server_;
  bool secure_ = false;
  std::thread thread_;
  int port_ = 0;
  Handler fallback_;
  mutable std::mutex mutex_;
  std::condition_variable stopping_;
  bool stopRequested_ = false;
  std::vector<ReceivedRequest> requests_;
  std::map<const httplib::Request*, std::size_t> open_;  // requests still being answered
};

// A port of 127.0.0.1 where nothing listens: bound, then closed again.
int refusedPort();

}  // namespace hv6test
