#include "platform/inet/session.h"

#include "platform/inet/hooks.h"
#include "platform/inet/settings.h"
#include "platform/inet/transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace hv6::inet {
namespace {

// More connect attempts than anyone would wait for are not made.
constexpr DWORD kMaxConnectRetries = 100;

QString urlScheme(const QString& url) {
  const qsizetype colon = url.indexOf(QStringLiteral("://"));
  return colon <= 0 ? QString() : url.left(colon).toLower();
}

// The host part of a URL as libcurl reads it; empty when libcurl cannot
// read the URL.
QString urlHost(const QByteArray& url) {
  CURLU* handle = curl_url();
  if (!handle) throw std::bad_alloc();
  QString host;
  char* part = nullptr;
  if (curl_url_set(handle, CURLUPART_URL, url.constData(), 0) == CURLUE_OK &&
      curl_url_get(handle, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
    host = QString::fromUtf8(part);
    curl_free(part);
  }
  curl_url_cleanup(handle);
  return host;
}

// Names under ".invalid" never resolve (RFC 6761); no resolver is asked.
bool isInvalidName(QString host) {
  host = host.toLower();
  if (host.endsWith(QLatin1Char('.'))) host.chop(1);
  return host == QLatin1String("invalid") || host.endsWith(QLatin1String(".invalid"));
}

QString verbText(int verb) {
  switch (verb) {
    case HTTP_VERB_POST:
      return QStringLiteral("POST");
    case HTTP_VERB_GET:
      return QStringLiteral("GET");
    case HTTP_VERB_HEAD:
      return QStringLiteral("HEAD");
    case HTTP_VERB_PUT:
      return QStringLiteral("PUT");
    case HTTP_VERB_DELETE:
      return QStringLiteral("DELETE");
    default:
      return QString();
  }
}

bool validVerb(const QString& verb) {
  return !verb.isEmpty() && std::all_of(verb.begin(), verb.end(),
                                        [](QChar c) { return c.isUpper() && c.unicode() < 0x80; });
}

// The server part of a URL: a bare IPv6 address gets its brackets.
QString urlServer(const QString& server) {
  if (server.count(QLatin1Char(':')) >= 2 && !server.startsWith(QLatin1Char('[')))
    return QLatin1Char('[') + server + QLatin1Char(']');
  return server;
}

bool validServer(const QString& server) {
  if (server.isEmpty()) return false;
  for (QChar c : server) {
    if (c.unicode() <= 0x20 || c == QLatin1Char('/') || c == QLatin1Char('?') ||
        c == QLatin1Char('#') || c == QLatin1Char('@') || c == QLatin1Char('\\'))
      return false;
  }
  const QString bracketed = urlServer(server);
  if (bracketed.startsWith(QLatin1Char('[')))
    return bracketed.endsWith(QLatin1Char(']')) && bracketed.count(QLatin1Char('[')) == 1;
  return !server.contains(QLatin1Char(':'));
}

QByteArray headerName(const QByteArray& line) {
  const qsizetype colon = line.indexOf(':');
  return colon <= 0 ? QByteArray() : line.left(colon).trimmed().toLower();
}

// Header lines of a block of text ("A: 1\r\nB: 2"), empty lines dropped.
QList<QByteArray> headerLines(const QString& text) {
  QList<QByteArray> lines;
  for (QByteArray line : text.toUtf8().split('\n')) {
    line = line.trimmed();
    if (!line.isEmpty()) lines.append(line);
  }
  return lines;
}

void sleepInterruptibly(long ms, const SessionSettings& settings) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(100)));
    if (settings.interruptCheck && settings.interruptCheck())
      throw CInternetException(ERROR_INTERNET_OPERATION_CANCELLED, settings.context,
                               QStringLiteral("cancelled"));
  }
}

}  // namespace

// One request: what to send, the transfer once sent, and the body bytes
// received but not yet handed out.
class Request {
 public:
  Request(std::shared_ptr<const SessionSettings> settings, QString verb, QString url,
          DWORD_PTR context)
      : settings_(std::move(settings)),
        verb_(std::move(verb)),
        url_(std::move(url)),
        context_(context) {}

  [[noreturn]] void throwError(DWORD error, const QString& detail) const {
    throw CInternetException(error, context_, detail);
  }

  void send(const QByteArray& body, const QList<QByteArray>& extraHeaders);
  bool readLine(QByteArray& line);
  UINT read(char* buffer, UINT count);
  void close() {
    transfer_.reset();
    pending_.clear();
    start_ = 0;
  }

  std::shared_ptr<const SessionSettings> settings_;
  QString verb_;
  QString url_;
  DWORD_PTR context_;
  QList<QByteArray> headers_;
  bool http10_ = false;
  std::unique_ptr<Transfer> transfer_;
  int attempts_ = 0;
  bool lastLineTruncated_ = false;
  bool announced_ = false;
  DWORD announcedLength_ = 0;
  QByteArray written_;

 private:
  void requireSent() const {
    if (!transfer_)
      throwError(ERROR_INTERNET_INCORRECT_HANDLE_STATE, QStringLiteral("request not sent"));
  }
  qsizetype available() const { return pending_.size() - start_; }
  bool fill();
  void compact();
  QByteArray take(qsizetype count);

  QByteArray pending_;
  qsizetype start_ = 0;
  bool discarding_ = false;
};

void Request::send(const QByteArray& body, const QList<QByteArray>& extraHeaders) {
  close();
  discarding_ = false;
  RequestPlan plan;
  plan.url = url_.toUtf8();
  plan.verb = verb_.toLatin1();
  plan.headers = headers_ + extraHeaders;
  plan.body = body;
  plan.http10 = http10_;

  const SessionSettings& settings = *settings_;
  const DWORD retries = std::min(settings.connectRetries, kMaxConnectRetries);
  const bool invalidName = isInvalidName(urlHost(plan.url));
  for (attempts_ = 1;; ++attempts_) {
    if (invalidName) {
      throwError(ERROR_INTERNET_NAME_NOT_RESOLVED,
                 QStringLiteral("Could not resolve host: %1").arg(urlHost(plan.url)));
    }
    transfer_ = std::make_unique<Transfer>(plan, settings);
    transfer_->runUntilHeaders();
    if (transfer_->headersDone()) return;
    const bool again = transfer_->connectFailed() && static_cast<DWORD>(attempts_) <= retries;
    if (!again) {
      const DWORD error = transfer_->error() ? transfer_->error() : ERROR_INTERNET_INTERNAL_ERROR;
      const QString detail = transfer_->errorDetail();
      transfer_.reset();
      throwError(error, detail);
    }
    transfer_.reset();
    if (settings.connectBackoffMs > 0)
      sleepInterruptibly(scaledMs(settings.connectBackoffMs), settings);
  }
}

// Runs the transfer until more body bytes are in; false when it has ended.
bool Request::fill() {
  if (!transfer_->runUntilData()) return false;
  compact();
  pending_.append(transfer_->takeBody());
  return true;
}

void Request::compact() {
  if (start_ > 0 && (start_ == pending_.size() || start_ >= 64 * 1024)) {
    pending_.remove(0, start_);
    start_ = 0;
  }
}

QByteArray Request::take(qsizetype count) {
  QByteArray bytes = pending_.mid(start_, count);
  start_ += count;
  return bytes;
}

bool Request::readLine(QByteArray& line) {
  requireSent();
  lastLineTruncated_ = false;
  for (;;) {
    const qsizetype end = pending_.indexOf('\n', start_);
    if (discarding_) {  // the rest of a line that was too long
      if (end >= 0) {
        start_ = end + 1;
        discarding_ = false;
      } else {
        start_ = pending_.size();
      }
      if (discarding_ && !fill()) break;
      continue;
    }
    if (end >= 0) {
      qsizetype length = end - start_;
      if (length > 0 && pending_.at(end - 1) == '\r') --length;
      if (length <= CHttpFile::kMaxLineBytes) {
        line = take(length);
        start_ = end + 1;
        return true;
      }
    }
    if (available() > CHttpFile::kMaxLineBytes + 1) {  // one more for a "\r" before "\n"
      line = take(CHttpFile::kMaxLineBytes);
      discarding_ = true;
      lastLineTruncated_ = true;
      return true;
    }
    if (end < 0 && !fill()) break;
  }
  // The transfer has ended: a failure is reported before any incomplete
  // line, a clean end gives the last line without its end.
  if (transfer_->error()) throwError(transfer_->error(), transfer_->errorDetail());
  if (discarding_ || available() == 0) return false;
  line = take(available());
  if (line.endsWith('\r')) line.chop(1);
  return true;
}

UINT Request::read(char* buffer, UINT count) {
  requireSent();
  while (available() == 0) {
    if (!fill()) {
      if (transfer_->error()) throwError(transfer_->error(), transfer_->errorDetail());
      return 0;
    }
  }
  const qsizetype n = std::min(available(), static_cast<qsizetype>(count));
  std::copy_n(pending_.constData() + start_, n, buffer);
  start_ += n;
  return static_cast<UINT>(n);
}

}  // namespace hv6::inet

using hv6::inet::Request;
using hv6::inet::SessionSettings;

// --- CInternetSession ------------------------------------------------------

CInternetSession::CInternetSession(const QString& agent, DWORD_PTR context, DWORD accessType,
                                   const QString& proxyName, const QString& proxyBypass,
                                   DWORD /*flags*/)
    : settings_(std::make_shared<SessionSettings>()) {
  settings_->agent = agent;
  settings_->context = context;
  settings_->accessType = accessType;
  settings_->proxyName = proxyName;
  settings_->proxyBypass = proxyBypass;
}

CInternetSession::~CInternetSession() = default;

bool CInternetSession::SetOption(DWORD option, DWORD value) {
  if (!settings_) return false;
  DWORD* target = nullptr;
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
      target = &settings_->connectTimeoutMs;
      break;
    case INTERNET_OPTION_CONNECT_RETRIES:
      target = &settings_->connectRetries;
      break;
    case INTERNET_OPTION_CONNECT_BACKOFF:
      target = &settings_->connectBackoffMs;
      break;
    case INTERNET_OPTION_SEND_TIMEOUT:
    case INTERNET_OPTION_DATA_SEND_TIMEOUT:
      target = &settings_->sendTimeoutMs;
      break;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
    case INTERNET_OPTION_DATA_RECEIVE_TIMEOUT:
      target = &settings_->receiveTimeoutMs;
      break;
    default:
      return false;
  }
  if (!hv6::inet::optionAllowed(option, value)) return false;
  *target = value;
  return true;
}

bool CInternetSession::QueryOption(DWORD option, DWORD& value) const {
  if (!settings_) return false;
  switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
      value = settings_->connectTimeoutMs;
      return true;
    case INTERNET_OPTION_CONNECT_RETRIES:
      value = settings_->connectRetries;
      return true;
    case INTERNET_OPTION_CONNECT_BACKOFF:
      value = settings_->connectBackoffMs;
      return true;
    case INTERNET_OPTION_SEND_TIMEOUT:
    case INTERNET_OPTION_DATA_SEND_TIMEOUT:
      value = settings_->sendTimeoutMs;
      return true;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
    case INTERNET_OPTION_DATA_RECEIVE_TIMEOUT:
      value = settings_->receiveTimeoutMs;
      return true;
    default:
      return false;
  }
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const QString& server,
                                                                     INTERNET_PORT port) {
  return GetHttpConnection(server, DWORD{0}, port);
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const QString& server,
                                                                     DWORD flags,
                                                                     INTERNET_PORT port) {
  if (!settings_)
    throw CInternetException(ERROR_INTERNET_INCORRECT_HANDLE_STATE, 1,
                             QStringLiteral("session closed"));
  if (!hv6::inet::validServer(server))
    throw CInternetException(ERROR_INTERNET_INVALID_URL, settings_->context,
                             QStringLiteral("bad server name: %1").arg(server));
  return std::unique_ptr<CHttpConnection>(
      new CHttpConnection(std::make_shared<const SessionSettings>(*settings_), server, port,
                          (flags & INTERNET_FLAG_SECURE) != 0));
}

std::unique_ptr<CHttpFile> CInternetSession::OpenURL(const QString& url, DWORD_PTR context,
                                                     DWORD /*flags*/, const QString& headers) {
  if (!settings_)
    throw CInternetException(ERROR_INTERNET_INCORRECT_HANDLE_STATE, context,
                             QStringLiteral("session closed"));
  const QString scheme = hv6::inet::urlScheme(url);
  if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
    throw CInternetException(ERROR_INTERNET_UNRECOGNIZED_SCHEME, context,
                             QStringLiteral("not an http or https URL: %1").arg(url));
  if (hv6::inet::urlHost(url.toUtf8()).isEmpty())
    throw CInternetException(ERROR_INTERNET_INVALID_URL, context,
                             QStringLiteral("bad URL: %1").arg(url));
  auto request = std::make_unique<Request>(std::make_shared<const SessionSettings>(*settings_),
                                           QStringLiteral("GET"), url, context);
  request->send(QByteArray(), hv6::inet::headerLines(headers));
  return std::unique_ptr<CHttpFile>(new CHttpFile(std::move(request)));
}

void CInternetSession::SetInterruptCheck(std::function<bool()> check) {
  if (settings_) settings_->interruptCheck = std::move(check);
}

void CInternetSession::Close() { settings_.reset(); }

const QString& CInternetSession::agent() const {
  static const QString none;
  return settings_ ? settings_->agent : none;
}

DWORD CInternetSession::accessType() const {
  return settings_ ? settings_->accessType : INTERNET_OPEN_TYPE_PRECONFIG;
}

// --- CHttpConnection -------------------------------------------------------

CHttpConnection::CHttpConnection(std::shared_ptr<const SessionSettings> settings, QString server,
                                 INTERNET_PORT port, bool secure)
    : settings_(std::move(settings)), server_(std::move(server)), port_(port), secure_(secure) {}

CHttpConnection::~CHttpConnection() = default;

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(int verb, const QString& objectName,
                                                        const QString& referer, DWORD_PTR context,
                                                        const QStringList& acceptTypes,
                                                        const QString& version, DWORD flags) {
  const QString text = hv6::inet::verbText(verb);
  if (text.isEmpty())
    throw CInternetException(ERROR_INTERNET_INVALID_OPERATION, context,
                             QStringLiteral("unknown verb %1").arg(verb));
  return OpenRequest(text, objectName, referer, context, acceptTypes, version, flags);
}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const QString& verb,
                                                        const QString& objectName,
                                                        const QString& referer, DWORD_PTR context,
                                                        const QStringList& acceptTypes,
                                                        const QString& version, DWORD flags) {
  if (!hv6::inet::validVerb(verb))
    throw CInternetException(ERROR_INTERNET_INVALID_OPERATION, context,
                             QStringLiteral("bad verb %1").arg(verb));
  const bool secure = secure_ || (flags & INTERNET_FLAG_SECURE) != 0;
  QString url = (secure ? QStringLiteral("https://") : QStringLiteral("http://")) +
                hv6::inet::urlServer(server_);
  if (port_ != INTERNET_INVALID_PORT_NUMBER) url += QLatin1Char(':') + QString::number(port_);
  if (!objectName.startsWith(QLatin1Char('/'))) url += QLatin1Char('/');
  url += objectName;
  if (hv6::inet::urlHost(url.toUtf8()).isEmpty())
    throw CInternetException(ERROR_INTERNET_INVALID_URL, context,
                             QStringLiteral("bad object name: %1").arg(objectName));

  auto request = std::make_unique<Request>(settings_, verb, url, context);
  if (!referer.isEmpty()) request->headers_.append("Referer: " + referer.toUtf8());
  if (!acceptTypes.isEmpty())
    request->headers_.append("Accept: " + acceptTypes.join(QStringLiteral(", ")).toUtf8());
  request->http10_ = version.trimmed().compare(QLatin1String("HTTP/1.0"), Qt::CaseInsensitive) == 0;
  return std::unique_ptr<CHttpFile>(new CHttpFile(std::move(request)));
}

// --- CHttpFile --------------------------------------------------------------

CHttpFile::CHttpFile(std::unique_ptr<Request> request) : d_(std::move(request)) {}

CHttpFile::~CHttpFile() = default;

bool CHttpFile::AddRequestHeaders(const QString& headers, DWORD flags) {
  const QList<QByteArray> lines = hv6::inet::headerLines(headers);
  for (const QByteArray& line : lines) {
    if (hv6::inet::headerName(line).isEmpty()) return false;
  }
  for (const QByteArray& line : lines) {
    const QByteArray name = hv6::inet::headerName(line);
    auto same = [&](const QByteArray& have) { return hv6::inet::headerName(have) == name; };
    const bool present = std::any_of(d_->headers_.begin(), d_->headers_.end(), same);
    if ((flags & HTTP_ADDREQ_FLAG_REPLACE) != 0) {
      d_->headers_.removeIf(same);
    } else if ((flags & HTTP_ADDREQ_FLAG_ADD) == 0 && present) {
      continue;  // ADD_IF_NEW
    }
    d_->headers_.append(line);
  }
  return true;
}

bool CHttpFile::SendRequest(const QString& headers, const QByteArray& body) {
  d_->announced_ = false;
  d_->send(body, hv6::inet::headerLines(headers));
  return true;
}

bool CHttpFile::SendRequestEx(DWORD totalLength, DWORD /*flags*/, DWORD_PTR /*context*/) {
  d_->close();
  d_->announced_ = true;
  d_->announcedLength_ = totalLength;
  d_->written_.clear();
  return true;
}

void CHttpFile::Write(const void* data, UINT count) {
  if (!d_->announced_ ||
      static_cast<qint64>(d_->written_.size()) + count > static_cast<qint64>(d_->announcedLength_))
    d_->throwError(ERROR_INTERNET_INCORRECT_HANDLE_STATE,
                   QStringLiteral("more written than announced"));
  d_->written_.append(static_cast<const char*>(data), static_cast<qsizetype>(count));
}

bool CHttpFile::EndRequest(DWORD /*flags*/, DWORD_PTR /*context*/) {
  if (!d_->announced_ || static_cast<DWORD>(d_->written_.size()) != d_->announcedLength_)
    d_->throwError(ERROR_INTERNET_INCORRECT_HANDLE_STATE,
                   QStringLiteral("body shorter than announced"));
  d_->announced_ = false;
  const QByteArray body = std::exchange(d_->written_, QByteArray());
  d_->send(body, {});
  return true;
}

bool CHttpFile::QueryInfoStatusCode(DWORD& status) const {
  if (!d_->transfer_ || !d_->transfer_->headersDone()) return false;
  status = static_cast<DWORD>(d_->transfer_->status());
  return true;
}

QByteArray CHttpFile::responseHeader(const QByteArray& name) const {
  if (!d_->transfer_) return QByteArray();
  const QByteArray wanted = name.toLower();
  for (const QByteArray& line : d_->transfer_->responseHeaders()) {
    if (hv6::inet::headerName(line) == wanted) return line.mid(line.indexOf(':') + 1).trimmed();
  }
  return QByteArray();
}

bool CHttpFile::ReadString(QByteArray& line) { return d_->readLine(line); }

bool CHttpFile::LastLineTruncated() const { return d_->lastLineTruncated_; }

UINT CHttpFile::Read(void* buffer, UINT count) {
  return d_->read(static_cast<char*>(buffer), count);
}

void CHttpFile::Close() { d_->close(); }

const QString& CHttpFile::GetFileURL() const { return d_->url_; }

const QString& CHttpFile::verb() const { return d_->verb_; }

int CHttpFile::connectAttempts() const { return d_->attempts_; }
