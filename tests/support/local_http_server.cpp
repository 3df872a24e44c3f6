#include "tests/support/local_http_server.h"

#include "platform/inet/testing.h"

#include <QFile>
#include <QTcpServer>

namespace hv6test {

std::string ReceivedRequest::query() const {
  const std::size_t mark = target.find('?');
  return mark == std::string::npos ? std::string() : target.substr(mark + 1);
}

std::string ReceivedRequest::header(const std::string& name) const {
  const auto found = headers.find(name);  // httplib compares header names without case
  return found == headers.end() ? std::string() : found->second;
}

bool ReceivedRequest::hasHeader(const std::string& name) const {
  return headers.find(name) != headers.end();
}

// A request is recorded as soon as its headers are in (so a test sees a
// request whose handler hangs); its body, read later, is filled in when a
// handler starts or the answer has gone out.
LocalHttpServer::LocalHttpServer() : server_(std::make_unique<httplib::Server>()) { setUp(); }

LocalHttpServer::LocalHttpServer(const QString& certFile, const QString& keyFile)
    : server_(std::make_unique<httplib::SSLServer>(QFile::encodeName(certFile).constData(),
                                                   QFile::encodeName(keyFile).constData())),
      secure_(true) {
  setUp();
}

void LocalHttpServer::setUp() {
  hv6::inet::testing::applyTimeoutScaleFromEnvironment();
  server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
    record(request);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server_->set_logger([this](const httplib::Request& request, const httplib::Response&) {
    if (!request.body.empty()) updateBody(request, request.body);
    std::lock_guard lock(mutex_);
    open_.erase(&request);
  });
}

// Bodies are read here rather than by cpp-httplib's own routing, which
// refuses form bodies above 8 KB and would parse them.
LocalHttpServer::BodyHandler LocalHttpServer::recording(Handler handler) {
  return [this, handler = std::move(handler)](const httplib::Request& request,
                                              httplib::Response& response,
                                              const httplib::ContentReader& reader) {
    std::string body;
    reader([&](const char* data, std::size_t length) {
      body.append(data, length);
      return true;
    });
    updateBody(request, body);
    httplib::Request whole = request;
    whole.body = std::move(body);
    handler(whole, response);
  };
}

LocalHttpServer::~LocalHttpServer() { stop(); }

LocalHttpServer& LocalHttpServer::get(const std::string& pattern, Handler handler) {
  server_->Get(pattern, std::move(handler));
  return *this;
}

LocalHttpServer& LocalHttpServer::post(const std::string& pattern, Handler handler) {
  server_->Post(pattern, recording(std::move(handler)));
  return *this;
}

LocalHttpServer& LocalHttpServer::fallback(Handler handler) {
  fallback_ = std::move(handler);
  return *this;
}

bool LocalHttpServer::start() {
  if (fallback_) {
    // Registered last, so the handlers of the test come first.
    const std::string any = ".*";
    server_->Get(any, fallback_);
    server_->Options(any, fallback_);
    server_->Post(any, recording(fallback_));
    server_->Put(any, recording(fallback_));
    server_->Delete(any, recording(fallback_));
    server_->Patch(any, recording(fallback_));
  }
  if (!server_->is_valid()) return false;
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) return false;
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  // stop() works only once the server runs.
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return true;
}

void LocalHttpServer::stop() {
  {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
  }
  stopping_.notify_all();
  if (thread_.joinable()) {
    server_->stop();
    thread_.join();
  }
}

QString LocalHttpServer::baseUrl() const {
  return QStringLiteral("%1://127.0.0.1:%2")
      .arg(secure_ ? QStringLiteral("https") : QStringLiteral("http"))
      .arg(port_);
}

std::vector<ReceivedRequest> LocalHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t LocalHttpServer::requestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

void LocalHttpServer::clearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
  open_.clear();
}

bool LocalHttpServer::holdUntilStopped(std::chrono::milliseconds max) {
  std::unique_lock lock(mutex_);
  return stopping_.wait_for(lock, max, [this] { return stopRequested_; });
}

void LocalHttpServer::record(const httplib::Request& request) {
  ReceivedRequest received;
  received.method = request.method;
  received.target = request.target;
  received.path = request.path;
  received.version = request.version;
  received.headers = request.headers;
  received.body = request.body;
  std::lock_guard lock(mutex_);
  open_[&request] = requests_.size();
  requests_.push_back(std::move(received));
}

void LocalHttpServer::updateBody(const httplib::Request& request, const std::string& body) {
  std::lock_guard lock(mutex_);
  const auto found = open_.find(&request);
  if (found != open_.end() && found->second < requests_.size())
    requests_[found->second].body = body;
}

int refusedPort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  const int port = probe.serverPort();
  probe.close();
  return port;
}

}  // namespace hv6test
