#include "mobile/serverexchange.h"

#include "mobile/exchangetexts.h"
#include "mobile/fileerror.h"
#include "outside/errtext6/errmsg.h"
#include "platform/codec.h"
#include "platform/file_io.h"
#include "platform/inet/inet.h"
#include "platform/presenter.h"
#include "platform/profile.h"

#include <new>
#include <optional>

namespace hv6::mobile {
namespace {

const QString kSection = QStringLiteral("NETWORK");
const QString kAgent = QStringLiteral("HV6");
const QString kServerFolder = QStringLiteral("iHV/");
constexpr int kValueSize = 260;
constexpr int kFileMode = 0600;
// What is received is written in pieces of about this size.
constexpr qsizetype kWritePiece = 1 << 20;
// The upload's body goes out in pieces of this size.
constexpr qsizetype kSendPiece = 4096;
const QString kFormContentType =
    QStringLiteral("Content-Type: application/x-www-form-urlencoded\r\n");

QString readValue(const QString& iniPath, const QString& key) {
  QString value;
  if (!iniPath.isEmpty())
    GetPrivateProfileString(kSection, key, QString(), value, kValueSize, iniPath);
  return value;
}

QString pageName(Page page) {
  switch (page) {
    case Page::Logon: return QStringLiteral("LogonHV.asp");
    case Page::Download: return QStringLiteral("DownloadHV2.asp");
    case Page::Clear: return QStringLiteral("ClearReqHV.asp");
    case Page::Upload: return QStringLiteral("UploadHV2.asp");
  }
  return QString();
}

QString encoded(const QString& value) {
  return QString::fromLatin1(cp932::encode(value).toPercentEncoding());
}

// The network options of every request, in this order.
struct Option {
  DWORD option;
  DWORD value;
};
constexpr Option kOptions[] = {
    {INTERNET_OPTION_CONNECT_TIMEOUT, 30000},      {INTERNET_OPTION_CONNECT_RETRIES, 2},
    {INTERNET_OPTION_CONNECT_BACKOFF, 0},          {INTERNET_OPTION_DATA_SEND_TIMEOUT, 60000},
    {INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 60000},
};

bool applyOptions(CInternetSession& session) {
  for (const Option& option : kOptions)
    if (!session.SetOption(option.option, option.value)) return false;
  return true;
}

// TCPIP_PORT: empty gives the scheme's default; text that is not a port
// number cannot be connected to.
std::optional<INTERNET_PORT> portOf(const QString& text) {
  if (text.trimmed().isEmpty()) return INTERNET_INVALID_PORT_NUMBER;
  bool ok = false;
  const uint port = text.trimmed().toUInt(&ok, 10);
  if (!ok || port == 0 || port > 65535) return std::nullopt;
  return static_cast<INTERNET_PORT>(port);
}

// The count of the first line: its text up to the first "," as a decimal
// number; nothing when it is no number.
std::optional<long> recordCount(const QByteArray& firstLine) {
  const qsizetype comma = firstLine.indexOf(',');
  bool ok = false;
  const long count = firstLine.left(comma < 0 ? firstLine.size() : comma).trimmed().toLong(&ok, 10);
  if (!ok) return std::nullopt;
  return count;
}

void showNumbered(long number, const QString& text) {
  MessageRequest request;
  request.number = number;
  request.text = text;
  request.caption = kHrvCaption;
  request.icon = MsgIcon::Warning;
  messagePresenter().present(request);
}

void showText(const QString& text, MsgIcon icon) {
  showMessage(text, kHrvCaption, MsgButtons::Ok, icon);
}

// The temporary file, written in pieces; a piece that cannot be written
// shows the file-error message.
class PieceWriter {
 public:
  explicit PieceWriter(QString path) : path_(std::move(path)) {}

  bool open() { return write(QByteArray()); }
  bool add(const QByteArray& line) {
    pending_ += line;
    pending_ += '\n';
    return pending_.size() < kWritePiece || flush();
  }
  bool flush() {
    const QByteArray piece = std::exchange(pending_, QByteArray());
    return write(piece);
  }

 private:
  bool write(const QByteArray& bytes) {
    const fileio::WriteResult written = fileio::appendFile(path_, bytes, kFileMode);
    if (!written.ok) showFileError(path_, written.cause);
    return written.ok;
  }

  QString path_;
  QByteArray pending_;
};

}  // namespace

ServerSettings readServerSettings(const QString& iniPath) {
  ServerSettings settings;
  settings.server = readValue(iniPath, QStringLiteral("HTTP_SERVER"));
  settings.userId = readValue(iniPath, QStringLiteral("USER_ID"));
  settings.password = readValue(iniPath, QStringLiteral("AGRI_PW"));
  settings.port = readValue(iniPath, QStringLiteral("TCPIP_PORT"));
  settings.secure =
      readValue(iniPath, QStringLiteral("SCHEME")).trimmed().compare(u"https", Qt::CaseInsensitive) == 0;
  return settings;
}

QString credentialsQuery(const ServerSettings& settings) {
  return QStringLiteral("UID=") + encoded(settings.userId) + QStringLiteral("&PWD=") +
         encoded(settings.password);
}

QString objectName(Page page, const ServerSettings& settings) {
  if (page == Page::Upload) return kServerFolder + pageName(page);
  return kServerFolder + pageName(page) + u'?' + credentialsQuery(settings);
}

// The server and the folder are joined by "/": the host name alone has none.
QString fullUrl(Page page, const ServerSettings& settings) {
  return (settings.secure ? QStringLiteral("https://") : QStringLiteral("http://")) +
         settings.server + u'/' + objectName(page, settings);
}

ServerExchange::ServerExchange(ServerSettings settings, std::function<void()> idle)
    : settings_(std::move(settings)), idle_(std::move(idle)) {}

bool ServerExchange::logon() { return getAnswer(Page::Logon, false) == Answer::Accepted; }

bool ServerExchange::clear() { return getAnswer(Page::Clear, false) == Answer::Accepted; }

Answer ServerExchange::uploadLogon() { return getAnswer(Page::Logon, true); }

// The first line "0" is a refusal, which the caller reports; any other
// line, or none, is an acceptance.
Answer ServerExchange::getAnswer(Page page, bool upload) {
  if (settings_.userId.isEmpty() || settings_.password.isEmpty()) return Answer::Refused;
  bool refused = false;
  const bool done = request(
      page,
      [&refused](CHttpFile& file) {
        QByteArray line;
        if (!file.ReadString(line)) line.clear();
        refused = line == "0";
        return true;
      },
      upload);
  if (!done) return Answer::Failed;
  return refused ? Answer::Refused : Answer::Accepted;
}

Answer ServerExchange::upload(const QByteArray& body) {
  bool refused = false;
  const bool done = request(
      Page::Upload,
      [&refused](CHttpFile& file) {
        QByteArray line;
        if (!file.ReadString(line)) line.clear();
        refused = line == "0";
        return true;
      },
      true, body);
  if (!done) return Answer::Failed;
  return refused ? Answer::Refused : Answer::Accepted;
}

void ServerExchange::showFailure(long number, const QString& text) {
  failureShown_ = true;
  showNumbered(number, text + failureNote_);
}

long ServerExchange::download(const QString& tempFile) {
  PieceWriter writer(tempFile);
  if (!writer.open()) return -1;
  long result = -1;
  const bool done = request(Page::Download, [&](CHttpFile& file) {
    QByteArray first;
    if (!file.ReadString(first)) first.clear();
    const std::optional<long> count = recordCount(first);
    if (!count || *count < 0) {
      showFailure(kMsgCannotOpenUrl, cannotOpenUrlText(settings_.server));
      return false;
    }
    if (*count == 0) {
      showText(nothingOnServerText(), MsgIcon::Information);
      result = 0;
      return true;
    }
    if (!writer.add(first)) return false;
    for (long taken = 0; taken < *count;) {
      QByteArray line;
      // A body that ends early leaves the missing lines out; the import
      // skips them.
      if (!file.ReadString(line)) break;
      if (line.isEmpty()) continue;
      // "1" ends the records. Any other line without "," is a broken
      // answer, and so is a line longer than any record can be (it arrived
      // cut).
      if (line == "1") break;
      if (!line.contains(',') || file.LastLineTruncated()) {
        showText(receiveErrorText(), MsgIcon::Warning);
        return false;
      }
      if (!writer.add(line)) return false;
      ++taken;
    }
    if (!writer.flush()) return false;
    result = *count;
    return true;
  });
  return done ? result : -1;
}

bool ServerExchange::request(Page page, const std::function<bool(CHttpFile&)>& read, bool upload,
                             const QByteArray& body) {
  std::unique_ptr<CHttpFile> file;
  try {
    // The settings upload's POST goes straight to the server, past any
    // proxy of the desktop.
    CInternetSession session(kAgent, 1,
                             page == Page::Upload ? INTERNET_OPEN_TYPE_DIRECT
                                                  : INTERNET_OPEN_TYPE_PRECONFIG);
    if (!applyOptions(session)) return false;
    if (idle_)
      session.SetInterruptCheck([this] {
        idle_();
        return false;
      });
    bool sent = false;
    file = open(session, page, upload, sent);
    if (page == Page::Upload) {
      file->AddRequestHeaders(kFormContentType, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
      file->SendRequestEx(static_cast<DWORD>(body.size()));
      for (qsizetype from = 0; from < body.size(); from += kSendPiece)
        file->Write(body.mid(from, kSendPiece));
      file->EndRequest();
    } else if (!sent) {
      file->SendRequest();
    }
    DWORD status = 0;
    if (!file->QueryInfoStatusCode(status) || status != HTTP_STATUS_OK) {
      file->Close();
      showFailure(kMsgCannotOpenUrl, cannotOpenUrlText(settings_.server));
      return false;
    }
    const bool done = read(*file);
    file->Close();
    return done;
  } catch (const CInternetException& e) {
    // Before the request exists the server could not be opened at all.
    if (file) {
      file->Close();
      showFailure(kMsgCommunication, communicationText(e.m_dwError));
    } else {
      showFailure(kMsgCannotOpenUrl, cannotOpenUrlText(settings_.server));
    }
  } catch (const std::bad_alloc&) {
    showFailure(kMsgOutOfMemory, outOfMemoryText());
  } catch (const std::exception&) {
    showFailure(kMsgUnknownError, unknownErrorText());
  }
  return false;
}

// The connection always; then the full URL on the session (sent at once)
// or the relative object name on the connection (not sent yet), as the
// WinInet version rule says. The settings upload's requests keep the
// connection and do not ask to bypass caches. Its POST always goes on the
// connection: a URL opened on the session is sent at once as a GET.
std::unique_ptr<CHttpFile> ServerExchange::open(CInternetSession& session, Page page, bool upload,
                                                bool& sent) {
  const std::optional<INTERNET_PORT> port = portOf(settings_.port);
  if (!port)
    throw CInternetException(ERROR_INTERNET_INVALID_URL, 1,
                             QStringLiteral("not a port: %1").arg(settings_.port));
  const DWORD secure = settings_.secure ? INTERNET_FLAG_SECURE : 0;
  std::unique_ptr<CHttpConnection> connection =
      session.GetHttpConnection(settings_.server, secure, *port);
  if (page == Page::Upload) {
    sent = false;
    return connection->OpenRequest(HTTP_VERB_POST, objectName(page, settings_), QString(), 1,
                                   QStringList(), QString(),
                                   INTERNET_FLAG_EXISTING_CONNECT | secure);
  }
  sent = inet::useFullUrl();
  const DWORD urlFlags = upload ? INTERNET_FLAG_TRANSFER_ASCII
                                : INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_ASCII;
  if (sent) return session.OpenURL(fullUrl(page, settings_), 1, urlFlags);
  const DWORD requestFlags = upload ? INTERNET_FLAG_EXISTING_CONNECT : INTERNET_FLAG_RELOAD;
  return connection->OpenRequest(HTTP_VERB_GET, objectName(page, settings_), QString(), 1,
                                 QStringList(), QString(), requestFlags | secure);
}

}  // namespace hv6::mobile
