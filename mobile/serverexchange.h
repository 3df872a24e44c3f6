#pragma once
// The requests to the mobile diary service: its settings in "wxfetch.ini",
// how a request is opened (session options, connection, one of two URL
// forms), and the logon, download and clear requests with their messages.

#include <QString>

#include <functional>
#include <memory>

class CHttpFile;
class CInternetSession;

namespace hv6::mobile {

// Section NETWORK of "wxfetch.ini".
struct ServerSettings {
  QString server;    // HTTP_SERVER: host name without scheme or path
  QString userId;    // USER_ID
  QString password;  // AGRI_PW
  QString port;      // TCPIP_PORT: decimal; empty for the scheme's default
  // SCHEME=https (letter case ignored): HTTPS with the server's
  // certificate checked, because the password travels in the query. Any
  // other value or none: plain HTTP.
  bool secure = false;
};

// Reads the settings (values of up to 259 characters, empty when missing);
// never fails. An empty path reads nothing.
ServerSettings readServerSettings(const QString& iniPath);

enum class Page { Logon, Download, Clear };

// "UID=...&PWD=..." with id and password percent-encoded as code page 932
// bytes (every byte but letters, digits and "-._~"), so a server that
// decodes the query gets them as they are.
QString credentialsQuery(const ServerSettings& settings);
// The object name relative to the server: "iHV/LogonHV.asp?UID=...&PWD=...".
QString objectName(Page page, const ServerSettings& settings);
// The full URL: "http://server/iHV/LogonHV.asp?UID=...&PWD=..." ("https"
// for a secure server); the port is not part of it.
QString fullUrl(Page page, const ServerSettings& settings);

// One exchange's requests. Each request has a session of its own with the
// agent "HV6" and the network options; a failure shows its message through
// the message presenter (none when an option cannot be set).
class ServerExchange {
 public:
  // idle is called about ten times a second while a request waits (a
  // window may repaint there); it may be empty.
  explicit ServerExchange(ServerSettings settings, std::function<void()> idle = {});

  const ServerSettings& settings() const { return settings_; }

  // True when the server accepted id and password (first line other than
  // "0"). An empty id or password fails without a request.
  bool logon();
  // True when the server took the request to delete the fetched records.
  bool clear();
  // Fetches the records into tempFile (a new empty file; what is written is
  // appended): the first line, then each record line, each ended by "\n".
  // The record count (> 0), 0 when the server holds none (the message says
  // so), or -1 after a failure.
  long download(const QString& tempFile);

 private:
  bool getAccepted(Page page);
  // Opens and sends the request of the page and checks the status, then
  // runs read on it. False after the failure's message (or none when an
  // option could not be set, or read said false).
  bool request(Page page, const std::function<bool(CHttpFile&)>& read);
  std::unique_ptr<CHttpFile> open(CInternetSession& session, Page page, bool& sent);

  ServerSettings settings_;
  std::function<void()> idle_;
};

}  // namespace hv6::mobile
