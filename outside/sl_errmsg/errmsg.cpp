#include "outside/sl_errmsg/errmsg.h"

#include "platform/presenter.h"

#include <algorithm>
#include <iterator>

namespace sl {
namespace {

struct ErrorText {
  long number;
  const char16_t* text;
};

// Errors of the sales windows, by number.
constexpr ErrorText kErrors[] = {
    // The sales slip window: the settings that name the farm-work database.
    {221, u"作業日誌データの場所の設定が見つかりません。\n基本情報でデータの場所を確認してください。"},
    // Memory (any window).
    {400, u"メモリが不足しています。\n他のアプリケーションを終了してから、もう一度実行してください。"},
    // Reads and writes of the sales store.
    {500, u"伝票環境の読み込みに失敗しました。"},
    {503, u"自社情報の読み込みに失敗しました。"},
    {511, u"商品の読み込みに失敗しました。"},
    {516, u"得意先の読み込みに失敗しました。"},
    {522, u"伝票の読み込みに失敗しました。"},
    {523, u"伝票の明細の読み込みに失敗しました。"},
    {550, u"伝票環境の書き込みに失敗しました。\n伝票番号の記録が更新されていない可能性があります。"},
    {569, u"発送先の書き込みに失敗しました。"},
    {622, u"伝票の登録に失敗しました。\n伝票は保存されていません。"},
    // Reports: nothing matched the conditions.
    {835, u"表示するデータがありません。\n条件を確認してください。"},
    // Saving a slip: free space of the data disk.
    {842, u"ディスクの空き容量が不足しているため、伝票を登録できません。\n不要なファイルを削除して空き容量を確保してから、もう一度実行してください。"},
    // Reports: the work file.
    {920, u"作業ファイルを作成できませんでした。\n伝票環境の作業フォルダを確認してください。"},
    {921, u"作業ファイルの書き込みに失敗しました。\nディスクの空き容量を確認してください。"},
    // Saving a slip: the slip date.
    {964, u"伝票日付が正しくありません。\n1868年1月1日から2999年12月31日までの日付を入力してください。"},
    // Line editing.
    {51002, u"商品値引の行の前には、行を挿入できません。"},
    {51003, u"明細行は99行までです。\n99行目が入力されているため、行を挿入できません。"},
    {51004, u"明細行の途中に空白の行があります。\n空白の行を削除してから登録してください。"},
    {51005, u"商品値引は、区分が「売上」の行のすぐ下の行にだけ入力できます。"},
    {51019, u"この行には貼り付けられません。\n上の行が空白の行、商品値引の行、下に商品値引の行がある行には貼り付けできません。"},
    // Saving a slip: header checks.
    {51032, u"伝票番号が入力されていません。\n伝票番号を入力してください。"},
    {51037, u"税計算タイミングが「締日一括」の得意先には、小売伝票を登録できません。\n区分を掛売にするか、得意先を確認してください。"},
    // Line kinds.
    {51038, u"下に商品値引の行がある明細行は、区分を変更できません。\n先に商品値引の行を削除してください。"},
};

const ErrorText* find(long number) {
  const auto it = std::find_if(std::begin(kErrors), std::end(kErrors),
                               [number](const ErrorText& e) { return e.number == number; });
  return it == std::end(kErrors) ? nullptr : it;
}

int show(long number, const QString& text, QWidget* parent) {
  hv6::MessageRequest request;
  request.number = number;
  request.kind = 1;
  request.text = text;
  request.caption = kSlCaption;
  request.buttons = hv6::MsgButtons::Ok;
  request.icon = hv6::MsgIcon::Error;
  request.parent = parent;
  hv6::messagePresenter().present(request);
  return 1;
}

}  // namespace

int CErrMsg::Disp(int status, QWidget* parent, long number) {
  return show(number, boxText(number, status), parent);
}

int CErrMsg::DispText(const QString& text, QWidget* parent) { return show(0, text, parent); }

QString CErrMsg::text(long number) {
  if (const ErrorText* e = find(number)) return QString::fromUtf16(e->text);
  return QStringLiteral("エラーが発生しました。(メッセージ番号: %1)").arg(number);
}

bool CErrMsg::hasText(long number) { return find(number) != nullptr; }

QString CErrMsg::boxText(long number, int status) {
  QString result = text(number);
  if (status != 0) result += QStringLiteral("\n\n(エラーコード: %1)").arg(status);
  return result;
}

}  // namespace sl
