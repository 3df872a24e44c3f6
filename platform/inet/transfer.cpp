#include "platform/inet/transfer.h"

#include "platform/inet/curl_errors.h"
#include "platform/inet/session.h"
#include "platform/inet/testing.h"

#include <curl/curl.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <new>

namespace hv6::inet {
namespace {

// How often a waiting transfer looks at its time-outs and the interrupt
// check.
constexpr int kPollMs = 100;

CURL* easyOf(void* handle) { return static_cast<CURL*>(handle); }
CURLM* multiOf(void* handle) { return static_cast<CURLM*>(handle); }

void initCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

long elapsedMs(std::chrono::steady_clock::time_point since) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - since)
                               .count());
}

// A bypass list as WinInet takes it (blanks or semicolons between names)
// in libcurl's form (commas).
QByteArray curlBypassList(const QString& bypass) {
  QString list = bypass;
  list.replace(QLatin1Char(';'), QLatin1Char(','));
  list.replace(QLatin1Char(' '), QLatin1Char(','));
  return list.toUtf8();
}

bool hasHeader(const QList<QByteArray>& headers, const char* name) {
  const QByteArray prefix = QByteArray(name) + ':';
  return std::any_of(headers.begin(), headers.end(), [&](const QByteArray& line) {
    return line.trimmed().toLower().startsWith(prefix.toLower());
  });
}

}  // namespace

long scaledMs(DWORD ms) {
  if (ms == 0) return 0;
  const double scaled = std::round(static_cast<double>(ms) * testing::timeoutScale());
  return std::max(1L, static_cast<long>(std::min(scaled, 2147483647.0)));
}

Transfer::Transfer(const RequestPlan& plan, const SessionSettings& settings) : settings_(settings) {
  initCurl();
  easy_ = curl_easy_init();
  multi_ = curl_multi_init();
  if (!easy_ || !multi_) throw std::bad_alloc();
  configure(plan);
}

Transfer::~Transfer() {
  if (multi_ && easy_) curl_multi_remove_handle(multiOf(multi_), easyOf(easy_));
  if (easy_) curl_easy_cleanup(easyOf(easy_));
  if (multi_) curl_multi_cleanup(multiOf(multi_));
  curl_slist_free_all(static_cast<curl_slist*>(headerList_));
}

void Transfer::configure(const RequestPlan& plan) {
  CURL* easy = easyOf(easy_);
  url_ = plan.url;
  body_ = plan.body;
  agent_ = settings_.agent.toUtf8();

  curl_easy_setopt(easy, CURLOPT_URL, url_.constData());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer_);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION,
                   plan.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  if (!agent_.isEmpty()) curl_easy_setopt(easy, CURLOPT_USERAGENT, agent_.constData());

  switch (settings_.accessType) {
    case INTERNET_OPEN_TYPE_DIRECT:
      curl_easy_setopt(easy, CURLOPT_PROXY, "");  // no proxy, whatever the environment says
      break;
    case INTERNET_OPEN_TYPE_PROXY:
      proxy_ = settings_.proxyName.toUtf8();
      noProxy_ = curlBypassList(settings_.proxyBypass);
      curl_easy_setopt(easy, CURLOPT_PROXY, proxy_.constData());
      if (!noProxy_.isEmpty()) curl_easy_setopt(easy, CURLOPT_NOPROXY, noProxy_.constData());
      break;
    default:
      break;  // libcurl reads the desktop's proxy from the environment
  }
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

  caFile_ = testing::caFile().toUtf8();
  if (!caFile_.isEmpty()) curl_easy_setopt(easy, CURLOPT_CAINFO, caFile_.constData());

  const long connectMs = scaledMs(settings_.connectTimeoutMs);
  if (connectMs > 0) curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
  sendTimeoutMs_ = scaledMs(settings_.sendTimeoutMs);
  receiveTimeoutMs_ = scaledMs(settings_.receiveTimeoutMs);

  // Verb and body. libcurl's own body headers are dropped unless the caller
  // gave them.
  const bool post = plan.verb == "POST";
  if (plan.verb == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (post || !body_.isEmpty()) {
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body_.constData());
  }
  const bool plain = post || plan.verb == "HEAD" || (plan.verb == "GET" && body_.isEmpty());
  if (!plain) curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, plan.verb.constData());

  curl_slist* list = nullptr;
  for (const QByteArray& line : plan.headers) list = curl_slist_append(list, line.constData());
  if (!hasHeader(plan.headers, "Content-Type")) list = curl_slist_append(list, "Content-Type:");
  list = curl_slist_append(list, "Expect:");
  if (!list) throw std::bad_alloc();
  headerList_ = list;
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);

  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Transfer::onProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Transfer::onConnected);
  curl_easy_setopt(easy, CURLOPT_PREREQDATA, this);

  lastActivity_ = std::chrono::steady_clock::now();
  if (curl_multi_add_handle(multiOf(multi_), easy) != CURLM_OK) throw std::bad_alloc();
}

size_t Transfer::onHeader(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<Transfer*>(self);
  const QByteArray line(data, static_cast<qsizetype>(size * count));
  t->lastActivity_ = std::chrono::steady_clock::now();
  if (line.startsWith("HTTP/")) {
    t->responseHeaders_.clear();  // a new block (after an interim 1xx answer)
  } else if (line == "\r\n" || line == "\n") {
    long code = 0;
    curl_easy_getinfo(easyOf(t->easy_), CURLINFO_RESPONSE_CODE, &code);
    if (code >= 200) {
      t->status_ = code;
      t->headersDone_ = true;
    }
  } else {
    t->responseHeaders_.append(line.trimmed());
  }
  return size * count;
}

size_t Transfer::onBody(char* data, size_t size, size_t count, void* self) {
  auto* t = static_cast<Transfer*>(self);
  t->received_.append(data, static_cast<qsizetype>(size * count));
  t->lastActivity_ = std::chrono::steady_clock::now();
  return size * count;
}

int Transfer::onProgress(void* self, long long, long long, long long, long long ulNow) {
  auto* t = static_cast<Transfer*>(self);
  if (ulNow != t->uploaded_) {
    t->uploaded_ = ulNow;
    t->lastActivity_ = std::chrono::steady_clock::now();
  }
  return 0;
}

int Transfer::onConnected(void* self, char*, char*, int, int) {
  auto* t = static_cast<Transfer*>(self);
  t->connected_ = true;
  t->lastActivity_ = std::chrono::steady_clock::now();
  return CURL_PREREQFUNC_OK;
}

long Transfer::idleLimitMs() const {
  return uploaded_ < body_.size() ? sendTimeoutMs_ : receiveTimeoutMs_;
}

void Transfer::fail(DWORD error, const QString& detail) {
  finished_ = true;
  error_ = error;
  detail_ = detail;
  curl_multi_remove_handle(multiOf(multi_), easyOf(easy_));
}

void Transfer::finish(int curlCode) {
  finished_ = true;
  if (curlCode == CURLE_OK) {
    if (!headersDone_) {  // an answer of headers only, without the final blank line
      curl_easy_getinfo(easyOf(easy_), CURLINFO_RESPONSE_CODE, &status_);
      headersDone_ = true;
    }
    return;
  }
  if (curlCode == CURLE_OUT_OF_MEMORY) throw std::bad_alloc();
  long verifyResult = 0;
  curl_easy_getinfo(easyOf(easy_), CURLINFO_SSL_VERIFYRESULT, &verifyResult);
  error_ = winInetErrorFromCurl(curlCode, verifyResult);
  detail_ = QString::fromUtf8(
      errorBuffer_[0] ? errorBuffer_ : curl_easy_strerror(static_cast<CURLcode>(curlCode)));
  connectFailed_ =
      !connected_ && (curlCode == CURLE_COULDNT_CONNECT || curlCode == CURLE_OPERATION_TIMEDOUT);
}

// One round: let libcurl work, then wait for the sockets at most kPollMs.
// False once the transfer has ended.
bool Transfer::step() {
  if (finished_) return false;
  const bool hadHeaders = headersDone_;
  int running = 0;
  if (curl_multi_perform(multiOf(multi_), &running) != CURLM_OK) {
    fail(ERROR_INTERNET_INTERNAL_ERROR, QStringLiteral("curl_multi_perform failed"));
    return false;
  }
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(multiOf(multi_), &queued)) {
    if (message->msg == CURLMSG_DONE) finish(message->data.result);
  }
  if (finished_) return false;

  const long limit = idleLimitMs();
  long waitMs = kPollMs;
  if (connected_ && limit > 0) {
    const long idle = elapsedMs(lastActivity_);
    if (idle >= limit) {
      fail(ERROR_INTERNET_TIMEOUT, QStringLiteral("no data for %1 ms").arg(idle));
      return false;
    }
    waitMs = std::min(waitMs, limit - idle);
  }
  if (settings_.interruptCheck && elapsedMs(lastCheck_) >= kPollMs) {
    lastCheck_ = std::chrono::steady_clock::now();
    if (settings_.interruptCheck()) {
      fail(ERROR_INTERNET_OPERATION_CANCELLED, QStringLiteral("cancelled"));
      return false;
    }
  }
  if (!received_.isEmpty() || headersDone_ != hadHeaders) return true;
  curl_multi_poll(multiOf(multi_), nullptr, 0, static_cast<int>(std::max(1L, waitMs)), nullptr);
  return true;
}

// The idle clock runs only while the caller waits: bytes that arrived while
// it was busy elsewhere are not late.
void Transfer::runUntilHeaders() {
  lastActivity_ = std::chrono::steady_clock::now();
  while (!headersDone_ && step()) {
  }
}

bool Transfer::runUntilData() {
  lastActivity_ = std::chrono::steady_clock::now();
  while (received_.isEmpty() && step()) {
  }
  return !received_.isEmpty();
}

QByteArray Transfer::takeBody() {
  QByteArray bytes;
  bytes.swap(received_);
  return bytes;
}

}  // namespace hv6::inet
