#include "mobile/settingsupload.h"

#include "mobile/serverexchange.h"
#include "outside/errtext6/errmsg.h"
#include "platform/presenter.h"
#include "weather/commsettings.h"

namespace hv6::mobile {
namespace {

void tell(const QString& text) {
  showMessage(text, kHrvCaption, MsgButtons::Ok, MsgIcon::Warning);
}

// Shows the failure of a request: its own message already carries the
// note; when it showed none (an option could not be set), the note alone.
void tellFailure(const ServerExchange& exchange) {
  if (!exchange.failureShown()) tell(settingsSavedNote().trimmed());
}

class WaitGuard {
 public:
  explicit WaitGuard(const std::function<void(bool)>& waiting) : waiting_(waiting) {
    if (waiting_) waiting_(true);
  }
  ~WaitGuard() {
    if (waiting_) waiting_(false);
  }
  WaitGuard(const WaitGuard&) = delete;
  WaitGuard& operator=(const WaitGuard&) = delete;

 private:
  const std::function<void(bool)>& waiting_;
};

}  // namespace

QString uploadLogonFailedText() {
  return QStringLiteral("ヴェルコネットサーバーへの接続部分でエラーが発生しました。\n") +
         QStringLiteral("モバイル作業日誌ID、接続用パスワードなどを確認してください。");
}

QString uploadRefusedText() {
  return QStringLiteral("ヴェルコネットサーバーへ台帳データを転送中にエラーが発生しました。\n") +
         QStringLiteral("モバイル作業日誌名称や資材台帳の標準希釈倍率～予備項目に記号が使用されているとサーバーにデータを登録できない場合があります。\n") +
         QStringLiteral("各項目を見直した上でもう一度転送処理を行ってみてください。");
}

QString settingsSavedNote() {
  return QStringLiteral("\n\n設定はデータベースに保存されました。"
                        "サーバーへの転送だけを、もう一度「設定・転送」で行ってください。");
}

bool uploadInputSettings(const InputSettings& settings, const ServerSettings& server) {
  ServerExchange exchange(server);
  exchange.setFailureNote(settingsSavedNote());
  switch (exchange.uploadLogon()) {
    case Answer::Refused: tell(uploadLogonFailedText() + settingsSavedNote()); return false;
    case Answer::Failed: tellFailure(exchange); return false;
    case Answer::Accepted: break;
  }
  switch (exchange.upload(uploadBody(settings, server.userId, server.password))) {
    case Answer::Refused: tell(uploadRefusedText() + settingsSavedNote()); return false;
    case Answer::Failed: tellFailure(exchange); return false;
    case Answer::Accepted: break;
  }
  return true;
}

bool confirmInputSettings(CDaoDatabase& diary, InputSettings& settings,
                          const std::function<void(bool)>& waiting) {
  if (!validateInputSettings(settings)) return false;
  if (showMessage(confirmationText(settings), kHrvCaption, MsgButtons::YesNo, MsgIcon::Question) !=
      MsgAnswer::Yes)
    return false;
  const WaitGuard wait(waiting);
  if (!saveInputSettings(diary, settings)) return false;
  return uploadInputSettings(settings, readServerSettings(wxfetchIniPath()));
}

}  // namespace hv6::mobile
