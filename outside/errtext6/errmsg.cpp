#include "outside/errtext6/errmsg.h"

#include "outside/errtext6/message_table.h"
#include "platform/presenter.h"

#include <algorithm>

namespace {

using hv6::errtext::MessageText;

// The framework's answer numbers.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdRetry = 4;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

const MessageText* findMessage(long code) {
  const auto table = hv6::errtext::messageTable();
  const auto it = std::find_if(table.begin(), table.end(),
                               [code](const MessageText& m) { return m.number == code; });
  return it == table.end() ? nullptr : &*it;
}

const char16_t* findDaoText(long code) {
  for (const auto& entry : hv6::errtext::daoTable())
    if (entry.number == code) return entry.text;
  return nullptr;
}

hv6::MsgIcon iconFor(long code, int kind) {
  if (kind == 1) return hv6::MsgIcon::Error;
  const MessageText* message = findMessage(code);
  if (message && message->notice == hv6::errtext::Notice::Information)
    return hv6::MsgIcon::Information;
  return hv6::MsgIcon::Warning;
}

int answerId(hv6::MsgAnswer answer) {
  switch (answer) {
    case hv6::MsgAnswer::Ok:
      return kIdOk;
    case hv6::MsgAnswer::Cancel:
      return kIdCancel;
    case hv6::MsgAnswer::Yes:
      return kIdYes;
    case hv6::MsgAnswer::No:
      return kIdNo;
    case hv6::MsgAnswer::Retry:
      return kIdRetry;
  }
  return kIdOk;
}

// The caller's text on its own lines: Windows line ends become "\n" and
// leading line breaks are dropped, since the join supplies one.
QString detailLines(QString detail) {
  detail.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  while (detail.startsWith(QLatin1Char('\n'))) detail.remove(0, 1);
  return detail;
}

int present(hv6::MessageRequest request) {
  request.buttons = hv6::MsgButtons::Ok;
  return answerId(hv6::messagePresenter().present(request));
}

}  // namespace

int CErrMsg::Disp(long code, int kind, int /*flags*/, const QString& caption, QWidget* parent) {
  return Disp(code, kind, QString(), 0, caption, parent);
}

int CErrMsg::Disp(long code, int kind, const QString& detail, int /*flags*/, const QString& caption,
                  QWidget* parent) {
  hv6::MessageRequest request;
  request.number = code;
  request.kind = kind;
  request.text = text(code);
  const QString lines = detailLines(detail);
  if (!lines.isEmpty()) request.text += QLatin1Char('\n') + lines;
  request.caption = caption;
  request.icon = iconFor(code, kind);
  request.parent = parent;
  return present(request);
}

int CErrMsg::DispDaoErr(long daoCode, QWidget* parent, int /*flags*/, const QString& caption) {
  hv6::MessageRequest request;
  request.number = daoCode;
  request.kind = kDaoErrKind;
  request.text = daoText(daoCode);
  request.caption = caption;
  request.icon = hv6::MsgIcon::Error;
  request.parent = parent;
  return present(request);
}

QString CErrMsg::text(long code) {
  if (const MessageText* message = findMessage(code)) return QString::fromUtf16(message->text);
  return QStringLiteral("エラーが発生しました。(メッセージ番号: %1)").arg(code);
}

bool CErrMsg::hasText(long code) { return findMessage(code) != nullptr; }

QString CErrMsg::daoText(long daoCode) {
  const char16_t* known = findDaoText(daoCode);
  const QString explanation = known
                                  ? QString::fromUtf16(known)
                                  : QStringLiteral("データベースの処理中にエラーが発生しました。");
  return explanation + QStringLiteral("\n\n(エラー番号: %1)").arg(daoCode);
}
