#pragma once
// HTTP the way the program's WinInet classes do it, over libcurl: a session
// with its agent, access type and options; a connection to one server; a
// request ("file") that is sent, answers with a status code and is read
// line by line. Every transfer is synchronous on the calling thread.
//
// Where errors surface, as in WinInet:
//  - GetHttpConnection and OpenRequest never touch the network; they throw
//    only for a bad server name (12005) or verb (12016).
//  - OpenURL sends the request and waits for the response headers; every
//    failure (bad URL 12005, other scheme 12006, the network errors below)
//    is thrown from OpenURL, before a request object exists.
//  - With OpenRequest, the network errors are thrown by SendRequest /
//    EndRequest and by ReadString / Read, after the request object exists.
// So a caller that holds the request in a std::unique_ptr tells the two
// cases apart by whether the pointer is set when the exception arrives.
//
// Network errors (CInternetException::m_dwError):
//   name not resolved 12007 (names under ".invalid" never resolve and no
//   resolver is asked, RFC 6761), connection refused or unreachable 12029,
//   connect, send or receive time-out 12002, connection reset 12031,
//   connection closed before the announced end of the response or before
//   any response 12030, unparsable response 12152, TLS handshake 12157,
//   certificate expired or not yet valid 12037, certificate for another
//   name 12038, certificate of an unknown authority 12045, cancelled by
//   the interrupt check 12017, proxy refused 12020, anything else 12004.
//   Out of memory throws std::bad_alloc. A response that simply ends (no
//   length announced, connection closed) is complete: its last line is
//   returned even without a line end.
//
// Access types: INTERNET_OPEN_TYPE_PRECONFIG takes the desktop's proxy from
// the environment as libcurl reads it (http_proxy, https_proxy/HTTPS_PROXY,
// all_proxy/ALL_PROXY, no_proxy/NO_PROXY; the upper-case HTTP_PROXY is
// ignored, as everywhere for CGI safety); INTERNET_OPEN_TYPE_DIRECT uses no
// proxy whatever the environment says; INTERNET_OPEN_TYPE_PROXY uses the
// given proxy and bypass list.
//
// Redirects are never followed: a 30x answer is the status the caller sees
// (a query with a password never goes on to another host).
//
// Options (SetOption, values in milliseconds where they are times):
//   connect time-out: limit for resolving and connecting (TLS included) per
//     attempt (0: libcurl's own limit of 300 s); connect retries: further attempts after a refused
//     or timed-out connect (so 2 means up to 3 attempts; a name that does not resolve is not
//     retried); connect back-off: pause before each further attempt;
//   send time-out: longest pause while the request body goes out;
//   receive time-out: longest wait for the next bytes of the response.
//   0 for send or receive means no limit. Defaults: connect 60 s, 5
//   retries, no back-off, send and receive 30 s. Values are taken when a
//   connection or URL request is created from the session, as WinInet's
//   handles inherit them. Tests may shorten every time-out by a factor
//   (platform/inet/testing.h).
//
// Nothing is cached; INTERNET_FLAG_RELOAD, INTERNET_FLAG_TRANSFER_ASCII,
// INTERNET_FLAG_EXISTING_CONNECT and other caching or connection flags are
// accepted and change nothing. INTERNET_FLAG_SECURE (on the connection or
// the request) and an "https" URL use TLS with the certificate checked
// against the system's CA store.

#include "platform/inet/exception.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

using INTERNET_PORT = std::uint16_t;
using UINT = unsigned int;

// Access types of a session.
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
constexpr DWORD PRE_CONFIG_INTERNET_ACCESS = INTERNET_OPEN_TYPE_PRECONFIG;
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;

// Session options.
constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;
constexpr DWORD INTERNET_OPTION_CONNECT_RETRIES = 3;
constexpr DWORD INTERNET_OPTION_CONNECT_BACKOFF = 4;
constexpr DWORD INTERNET_OPTION_SEND_TIMEOUT = 5;
constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
constexpr DWORD INTERNET_OPTION_DATA_SEND_TIMEOUT = 7;
constexpr DWORD INTERNET_OPTION_DATA_RECEIVE_TIMEOUT = 8;

// Request and connection flags.
constexpr DWORD INTERNET_FLAG_TRANSFER_ASCII = 0x00000001;
constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
constexpr DWORD INTERNET_FLAG_KEEP_CONNECTION = 0x00400000;
constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
constexpr DWORD INTERNET_FLAG_DONT_CACHE = 0x04000000;
constexpr DWORD INTERNET_FLAG_EXISTING_CONNECT = 0x20000000;
constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;

// Ports.
constexpr INTERNET_PORT INTERNET_INVALID_PORT_NUMBER = 0;  // the scheme's default
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTPS_PORT = 443;

// Verbs of CHttpConnection::OpenRequest.
constexpr int HTTP_VERB_POST = 0;
constexpr int HTTP_VERB_GET = 1;
constexpr int HTTP_VERB_HEAD = 2;
constexpr int HTTP_VERB_PUT = 3;
constexpr int HTTP_VERB_DELETE = 5;

// AddRequestHeaders modes.
constexpr DWORD HTTP_ADDREQ_FLAG_ADD_IF_NEW = 0x10000000;
constexpr DWORD HTTP_ADDREQ_FLAG_ADD = 0x20000000;
constexpr DWORD HTTP_ADDREQ_FLAG_REPLACE = 0x80000000;

// SendRequestEx flag.
constexpr DWORD HSR_INITIATE = 0x00000008;

// Status codes.
constexpr DWORD HTTP_STATUS_OK = 200;

class CHttpConnection;
class CHttpFile;

namespace hv6::inet {
struct SessionSettings;
class Request;
}  // namespace hv6::inet

class CInternetSession {
 public:
  // agent: the User-Agent header. context: handed to the exceptions.
  // proxyName/proxyBypass are used only with INTERNET_OPEN_TYPE_PROXY
  // ("host:port" or a URL; a list of host names separated by blanks, commas
  // or semicolons).
  explicit CInternetSession(const QString& agent = QString(), DWORD_PTR context = 1,
                            DWORD accessType = INTERNET_OPEN_TYPE_PRECONFIG,
                            const QString& proxyName = QString(),
                            const QString& proxyBypass = QString(), DWORD flags = 0);
  ~CInternetSession();
  CInternetSession(const CInternetSession&) = delete;
  CInternetSession& operator=(const CInternetSession&) = delete;

  // One of the seven options above; false for any other option or when the
  // option cannot be set (the value stays as it was).
  bool SetOption(DWORD option, DWORD value);
  bool QueryOption(DWORD option, DWORD& value) const;

  // A connection to server ("host", "192.0.2.1" or "[2001:db8::1]" / a bare
  // IPv6 address; no scheme, path or user part). port 0 = the scheme's
  // default. flags: INTERNET_FLAG_SECURE makes it an https connection.
  std::unique_ptr<CHttpConnection> GetHttpConnection(
      const QString& server, INTERNET_PORT port = INTERNET_INVALID_PORT_NUMBER);
  std::unique_ptr<CHttpConnection> GetHttpConnection(const QString& server, DWORD flags,
                                                     INTERNET_PORT port);

  // Sends a GET for an http or https URL and returns the request with its
  // response headers received. headers: extra request header lines
  // ("Name: value\r\n..."). The URL's text is sent as it is (no encoding
  // added, "." and ".." kept); "#" starts a fragment, which is not sent.
  std::unique_ptr<CHttpFile> OpenURL(const QString& url, DWORD_PTR context = 1,
                                     DWORD flags = INTERNET_FLAG_TRANSFER_ASCII,
                                     const QString& headers = QString());

  // Called about ten times a second while a transfer waits; returning true
  // cancels the transfer (12017). A caller on the user-interface thread can
  // process events here.
  void SetInterruptCheck(std::function<bool()> check);

  // Connections and requests made from the session stay usable; they keep
  // the session's settings as they were when they were made.
  void Close();

  const QString& agent() const;
  DWORD accessType() const;

 private:
  std::shared_ptr<hv6::inet::SessionSettings> settings_;
};

class CHttpConnection {
 public:
  ~CHttpConnection();
  CHttpConnection(const CHttpConnection&) = delete;
  CHttpConnection& operator=(const CHttpConnection&) = delete;

  // A request for objectName (path and query relative to the server; a
  // leading "/" is added when missing; sent as it is otherwise). Nothing is
  // sent before SendRequest. version: "HTTP/1.0" or "HTTP/1.1" (default).
  // acceptTypes: the values of an Accept header. Verbs other than the
  // HTTP_VERB_ constants throw 12016.
  std::unique_ptr<CHttpFile> OpenRequest(int verb, const QString& objectName,
                                         const QString& referer = QString(), DWORD_PTR context = 1,
                                         const QStringList& acceptTypes = QStringList(),
                                         const QString& version = QString(),
                                         DWORD flags = INTERNET_FLAG_EXISTING_CONNECT);
  std::unique_ptr<CHttpFile> OpenRequest(const QString& verb, const QString& objectName,
                                         const QString& referer = QString(), DWORD_PTR context = 1,
                                         const QStringList& acceptTypes = QStringList(),
                                         const QString& version = QString(),
                                         DWORD flags = INTERNET_FLAG_EXISTING_CONNECT);

  const QString& GetServerName() const { return server_; }
  // The port asked for (0 = the scheme's default).
  INTERNET_PORT port() const { return port_; }
  bool isSecure() const { return secure_; }
  void Close() {}

 private:
  friend class CInternetSession;
  CHttpConnection(std::shared_ptr<const hv6::inet::SessionSettings> settings, QString server,
                  INTERNET_PORT port, bool secure);

  std::shared_ptr<const hv6::inet::SessionSettings> settings_;
  QString server_;
  INTERNET_PORT port_;
  bool secure_;
};

class CHttpFile {
 public:
  // Longest line ReadString returns, in bytes. A longer line gives its first
  // kMaxLineBytes bytes (LastLineTruncated() is then true) and the rest of
  // it, up to its line end, is read off the connection and dropped, so a
  // server that never ends a line cannot fill the memory.
  static constexpr int kMaxLineBytes = 64 * 1024;

  ~CHttpFile();
  CHttpFile(const CHttpFile&) = delete;
  CHttpFile& operator=(const CHttpFile&) = delete;

  // Adds header lines ("Name: value", several separated by "\r\n") to the
  // request. ADD_IF_NEW (default) skips a header whose name is already
  // there; REPLACE replaces it; ADD adds it anyway. False when a line has
  // no name.
  bool AddRequestHeaders(const QString& headers, DWORD flags = HTTP_ADDREQ_FLAG_ADD_IF_NEW);

  // Sends the request with extra header lines and a body (POST, PUT) and
  // waits for the response headers. Returns true; every failure throws
  // CInternetException. Sending again repeats the request. No header the
  // caller did not give is added for the body (no Content-Type, no
  // "Expect: 100-continue"); Content-Length is always sent with a body.
  bool SendRequest(const QString& headers = QString(), const QByteArray& body = QByteArray());

  // The same in pieces: announce the body's length, Write the body, then
  // EndRequest sends it all and waits for the response headers (network
  // errors are thrown there). Writing more than announced, or ending with
  // less, throws 12019.
  bool SendRequestEx(DWORD totalLength, DWORD flags = HSR_INITIATE, DWORD_PTR context = 1);
  void Write(const void* data, UINT count);
  void Write(const QByteArray& data) { Write(data.constData(), static_cast<UINT>(data.size())); }
  bool EndRequest(DWORD flags = 0, DWORD_PTR context = 1);

  // The response's status code; false before a response arrived.
  bool QueryInfoStatusCode(DWORD& status) const;
  // The value of a response header (case-insensitive name; empty when
  // missing), the bytes as received.
  QByteArray responseHeader(const QByteArray& name) const;

  // The next line of the response body, the bytes as received, without its
  // end ("\n" or "\r\n"; a lone "\r" does not end a line). An empty line is
  // an empty text; the last line needs no end. False at the end of the
  // body. A connection lost mid-body throws after the last complete line
  // (the incomplete one is not returned). Before the request was sent it
  // throws 12019.
  bool ReadString(QByteArray& line);
  // Whether the line ReadString returned last was cut at kMaxLineBytes.
  bool LastLineTruncated() const;

  // Up to count bytes of the body; 0 at its end. Errors as ReadString.
  UINT Read(void* buffer, UINT count);

  // Ends the transfer (a body not read is dropped). Called by the
  // destructor; calling it twice does nothing.
  void Close();

  // The full URL the request goes to.
  const QString& GetFileURL() const;
  const QString& verb() const;
  // How many connects the last send tried (1 + the retries it used).
  int connectAttempts() const;

 private:
  friend class CInternetSession;
  friend class CHttpConnection;
  explicit CHttpFile(std::unique_ptr<hv6::inet::Request> request);

  std::unique_ptr<hv6::inet::Request> d_;
};
