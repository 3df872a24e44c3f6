#pragma once
// The requests to the mobile diary service: its settings in "wxfetch.ini",
// how a request is opened (session options, connection, one of two URL
// forms), and the logon, download and clear requests with their messages.

#include <QByteArray>
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

enum class Page { Logon, Download, Clear, Upload };

// How the server answered a request whose first line may be "0".
enum class Answer {
  Accepted,  // status 200 and a first line other than "0"
  Refused,   // the first line "0" (or no id or password: nothing sent)
  Failed,    // the request failed; its message was shown (or, when an
             // option could not be set, none)
};

// "UID=...&PWD=..." with id and password percent-encoded as code page 932
// bytes (every byte but letters, digits and "-._~"), so a server that
// decodes the query gets them as they are.
QString credentialsQuery(const ServerSettings& settings);
// The object name relative to the server: "iHV/LogonHV.asp?UID=...&PWD=...";
// the upload page has no query ("iHV/UploadHV2.asp").
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

  // The logon before the settings upload: as logon(), but the refusal is
  // told apart from a failure (neither shows a message of its own here).
  Answer uploadLogon();
  // Posts the settings body to the upload page in a session with direct
  // access, with the form's content type, the length announced and the
  // body written in pieces. Refused when the first line is "0".
  Answer upload(const QByteArray& body);

  // A text appended to every failure message the requests show (the
  // settings upload says there that the settings are saved).
  void setFailureNote(const QString& note) { failureNote_ = note; }
  // Whether a request of this exchange showed a failure message.
  bool failureShown() const { return failureShown_; }

 private:
  Answer getAnswer(Page page, bool upload);
  // Opens and sends the request of the page (the body when it is the
  // upload) and checks the status, then runs read on it. False after the
  // failure's message (or none when an option could not be set, or read
  // said false).
  bool request(Page page, const std::function<bool(CHttpFile&)>& read, bool upload = false,
               const QByteArray& body = QByteArray());
  std::unique_ptr<CHttpFile> open(CInternetSession& session, Page page, bool upload, bool& sent);
  void showFailure(long number, const QString& text);

  ServerSettings settings_;
  std::function<void()> idle_;
  QString failureNote_;
  bool failureShown_ = false;
};

}  // namespace hv6::mobile
