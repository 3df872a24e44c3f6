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
// layer (see platform/inet/testing.h), so tests run with the time-outs the
// test build asks for.

#include <httplib.h>

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
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
  ~LocalHttpServer();  // stops the server
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // Handlers by path pattern (a regular expression over the decoded path,
  // as cpp-httplib matches it). Register before start().
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
  // "http://127.0.0.1:PORT"
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
  void record(const httplib::Request& request);

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  Handler fallback_;
  mutable std::mutex mutex_;
  std::condition_variable stopping_;
  bool stopRequested_ = false;
  std::vector<ReceivedRequest> requests_;
};

// A port of 127.0.0.1 where nothing listens: bound, then closed again.
int refusedPort();

}  // namespace hv6test
