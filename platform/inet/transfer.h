#pragma once
// One attempt of one HTTP request through libcurl's multi interface, driven
// step by step on the calling thread (internal): the caller runs it until
// the response headers are in, then until more body bytes are in.

#include "platform/inet/exception.h"
#include "platform/inet/settings.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>

namespace hv6::inet {

struct RequestPlan {
  QByteArray url;
  QByteArray verb;            // "GET", "POST", ...
  QList<QByteArray> headers;  // "Name: value" lines
  QByteArray body;
  bool http10 = false;
};

class Transfer {
 public:
  Transfer(const RequestPlan& plan, const SessionSettings& settings);
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  // Runs until the final response headers arrived or the transfer ended.
  void runUntilHeaders();
  // Runs until body bytes are waiting or the transfer ended; false when it
  // ended and nothing more is waiting.
  bool runUntilData();

  bool headersDone() const { return headersDone_; }
  bool finished() const { return finished_; }
  // 0 when the transfer went well (so far).
  DWORD error() const { return error_; }
  const QString& errorDetail() const { return detail_; }
  // Whether the failure came before a connection stood, with a cause that a
  // new attempt may cure (refused, unreachable, connect time-out).
  bool connectFailed() const { return connectFailed_; }

  long status() const { return status_; }
  const QList<QByteArray>& responseHeaders() const { return responseHeaders_; }
  // Hands over the body bytes received so far.
  QByteArray takeBody();

 private:
  static size_t onHeader(char* data, size_t size, size_t count, void* self);
  static size_t onBody(char* data, size_t size, size_t count, void* self);
  static int onProgress(void* self, long long dlTotal, long long dlNow, long long ulTotal,
                        long long ulNow);
  static int onConnected(void* self, char* primaryIp, char* localIp, int primaryPort,
                         int localPort);

  void configure(const RequestPlan& plan);
  bool step();
  void fail(DWORD error, const QString& detail);
  void finish(int curlCode);
  long idleLimitMs() const;

  const SessionSettings& settings_;
  void* easy_ = nullptr;
  void* multi_ = nullptr;
  void* headerList_ = nullptr;
  QByteArray url_;
  QByteArray body_;
  QByteArray agent_;
  QByteArray proxy_;
  QByteArray noProxy_;
  QByteArray caFile_;
  char errorBuffer_[256] = {};

  bool connected_ = false;
  bool headersDone_ = false;
  bool finished_ = false;
  bool connectFailed_ = false;
  DWORD error_ = 0;
  QString detail_;
  long status_ = 0;
  QList<QByteArray> responseHeaders_;
  QByteArray received_;
  long long uploaded_ = 0;
  long sendTimeoutMs_ = 0;
  long receiveTimeoutMs_ = 0;
  std::chrono::steady_clock::time_point lastActivity_;
  std::chrono::steady_clock::time_point lastCheck_;
};

// A time-out in milliseconds with the test factor applied (0 stays 0).
long scaledMs(DWORD ms);

}  // namespace hv6::inet
