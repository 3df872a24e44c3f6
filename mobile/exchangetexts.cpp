#include "mobile/exchangetexts.h"

#include <algorithm>
#include <iterator>

namespace hv6::mobile {
namespace {

struct InternetErrorEntry {
  std::uint32_t error;
  const char16_t* text;
};

// WinInet's error numbers with the texts the users' documentation shows.
constexpr InternetErrorEntry kInternetErrors[] = {
    {12001, u"作成可能なハンドルの数が限界に達しました。"},
    {12002, u"サーバーから応答がありませんでした。\n　　　 回線が繋がれているか確認してください。\n　　　 または、サーバー管理元へお問い合わせください。"},
    {12003, u"拡張エラーがサーバーから返されました。"},
    {12004, u"内部エラーが発生しました。"},
    {12005, u"URL が無効です。"},
    {12006, u"URL スキーマが認識またはサポートされていません。"},
    {12007, u"サーバー名を解決できませんでした。"},
    {12008, u"要求されたプロトコルが見つかりませんでした。"},
    {12009, u"無効なオプション値を指定しました。"},
    {12010, u"設定したオプションの長さが、指定されたオプションの型に対して適切ではありません。"},
    {12011, u"要求オプションのクエリは実行されましたが、設定は行われていません。"},
    {12012, u"Win32 インターネット機能のサポートが終了したか、ロードされていません。"},
    {12013, u"与えられたユーザー名が正しくないため、FTP サーバーへの接続およびログオン要求が完了できませんでした。"},
    {12014, u"与えられたパスワードが正しくないため、FTP サーバーへの接続およびログオン要求が完了できませんでした。"},
    {12015, u"FTP サーバーへの接続およびログオン要求に失敗しました。"},
    {12016, u"要求された操作は無効です。"},
    {12017, u"操作がキャンセルされました。"},
    {12018, u"与えられたハンドルの型が、この操作に対して適切ではありません。"},
    {12019, u"与えられたハンドルが正常な状態ではないため、要求された操作が実行できません。"},
    {12020, u"プロキシを通して要求を実行できません。"},
    {12021, u"要求されたレジストリ値が見つかりませんでした。"},
    {12022, u"要求されたレジストリ値は見つかりましたが、型が正しくないか、無効の値を含んでいます。"},
    {12023, u"ネットワークに直接アクセスできませんでした。"},
    {12024, u"ゼロ コンテキスト値が設定されたため、非同期の要求は実行されませんでした。"},
    {12025, u"コールバック機能が設定されていなかったため、非同期の要求は実行されませんでした。"},
    {12026, u"1 つまたは複数の要求が保留中のため、要求された操作は完了されませんでした。"},
    {12027, u"要求の形式が無効です。"},
    {12028, u"要求されたアイテムが見つかりませんでした。"},
    {12029, u"サーバーへの接続に失敗しました。\n　　　 回線が繋がれているか確認してください。\n　　　 または、サーバー管理元へお問い合わせください。"},
    {12030, u"サーバーへの接続が切断されました。\n　　　 回線が繋がれているか確認してください。\n　　　 または、サーバー管理元へお問い合わせください。"},
    {12031, u"サーバーへの接続がリセットされました。\n　　　 回線が繋がれているか確認してください。\n　　　 または、サーバー管理元へお問い合わせください。"},
    {12032, u"要求を再実行する Win32 インターネット機能を呼び出します。"},
    {12033, u"The request to the proxy was invalid."},
    {12034, u"A user interface or other blocking operation has been requested."},
    {12036, u"ハンドルが既に存在するため、要求は失敗しました。"},
    {12037, u"SSL certificate date that was received from the server is bad. \n\tThe certificate is expired."},
    {12038, u"SSL certificate common name (host name field) is incorrect. \n\tFor example, if you entered www.server.com and the common name on the certificate says www.different.com."},
    {12039, u"The application is moving from a non-SSL to an SSL connection because of a redirect."},
    {12040, u"The application is moving from an SSL to an non-SSL connection because of a redirect."},
    {12041, u"サーバーから送られてきたコンテンツに安全ではないものが含まれている可能性があります。"},
    {12042, u"The application is posting and attempting to change multiple lines of text on a server that is not secure."},
    {12043, u"The application is posting data to a sever that is not secure."},
    {12044, u"The server is requesting client authentication."},
    {12045, u"The function is unfamiliar with the Certificate Authority that generated the server's certificate."},
    {12046, u"Client authorization is not set up on this computer."},
    {12047, u"The application could not start an asynchronous thread."},
    {12048, u"The function could not handle the redirection, because the scheme changed (for example, HTTP to FTP). "},
};

}  // namespace

QString internetErrorText(std::uint32_t internetError) {
  const auto found = std::lower_bound(
      std::begin(kInternetErrors), std::end(kInternetErrors), internetError,
      [](const InternetErrorEntry& entry, std::uint32_t error) { return entry.error < error; });
  if (found == std::end(kInternetErrors) || found->error != internetError)
    return QStringLiteral("予想外の通信エラーが発生しました。");
  return QString::fromUtf16(found->text);
}

QString tempFileNameText(const QString& systemErrorText) {
  return QStringLiteral("テンポラリファイル名の作成に失敗しました。\n\n詳細： ") + systemErrorText;
}

QString cannotOpenUrlText(const QString& server) {
  return QStringLiteral("サーバーのURLをオープンできません。\n") +
         QStringLiteral("\nヴェルコネットサーバー：") + server;
}

QString communicationText(std::uint32_t internetError) {
  return QStringLiteral("通信中にエラーが発生しました。\n\n詳細：") + internetErrorText(internetError);
}

QString outOfMemoryText() { return QStringLiteral("メモリ不足が発生しました。処理を中止します。"); }

QString unknownErrorText() {
  return QStringLiteral(
      "不明な内部エラーが発生しました。Windowsを再起動して再度実行してみてください。");
}

QString memoryShortText() { return QStringLiteral("メモリが不足しています。"); }

QString nothingOnServerText() {
  return QStringLiteral("サーバーにはモバイル作業日誌データが登録されていませんでした。");
}

QString receiveErrorText() { return QStringLiteral("データ受信中にエラーが発生しました。"); }

QString summaryText(int outcome, bool failed, long stored, long rejected, long duplicates,
                    const QString& logPath) {
  switch (outcome) {
    case 0: {
      QString text;
      if (stored > 0) text += QStringLiteral("%1件のデータを登録しました。\n\n").arg(stored);
      if (rejected + duplicates > 0) {
        text += QStringLiteral("登録時に%1件のデータを取り込むことができませんでした。\n\n")
                    .arg(rejected + duplicates);
        text += QStringLiteral("\nエラーの内容は「%1」に出力されています。\nご確認ください。")
                    .arg(logPath);
      }
      return text;
    }
    case 1:
      return QStringLiteral("ヴェルコネットサーバーへの接続部分でエラーが発生しました。\n") +
             QStringLiteral("モバイル作業日誌ID、接続用パスワードなどを確認してください。");
    case 2:
      return failed ? QStringLiteral(
                          "ヴェルコネットサーバーからのデータ取得部分でエラーが発生しました。")
                    : QString();
    case 3:
      return QStringLiteral("ヴェルコネットサーバー上の日誌データ削除部分でエラーが発生しました。");
    default: return QString();
  }
}

}  // namespace hv6::mobile
