#include "outside/sl_nmsg/nmlmsg.h"

#include "outside/sl_errmsg/errmsg.h"
#include "platform/presenter.h"

#include <algorithm>
#include <iterator>

namespace sl {
namespace {

enum class Kind { Question, Notice };

struct NormalText {
  long number;
  Kind kind;
  const char16_t* text;
};

constexpr Kind kAsk = Kind::Question;
constexpr Kind kTell = Kind::Notice;

constexpr NormalText kMessages[] = {
    // Deleting a slip or lines: %1 is one of the subjects of the header.
    {100, kAsk, u"%1を削除します。\nよろしいですか？"},
    // Reports: the user cancelled the aggregation.
    {102, kTell, u"集計を中止しました。\n一覧には集計前の内容が表示されています。"},
    // Pasting the held line over a line that has a name.
    {5101, kAsk, u"この行にはすでに明細が入力されています。\n上書きしてもよろしいですか？"},
    // Leaving or closing a changed slip.
    {5102, kAsk, u"伝票の内容が変更されています。\n登録しますか？"},
    // Saving a billed sales slip.
    {5105, kTell, u"この伝票は請求済みのため、変更を登録できません。"},
    // A typed slip number outside the environment's number range.
    {5106, kAsk, u"伝票番号が伝票環境で設定された番号の範囲外です。\nこの番号で入力しますか？"},
    // Copying into a changed slip (last slip, standard pattern).
    {5115, kAsk, u"入力中の伝票の内容は破棄されます。\nコピーしてもよろしいですか？"},
    // A unit price below the goods' minimum price: %1 line, %2 goods name,
    // %3 unit price, %4 minimum price (prices formatted by the window).
    {5121, kAsk, u"明細%1行目の「%2」の単価が最低売価を下回っています。\n\n単　　価%3\n最低売価%4\n\nこの単価で登録しますか？"},
    // The billing date is not later than the client's last one: %1 the
    // slip's date, %2 the client's (in the company's date style).
    {5136, kAsk, u"伝票の請求日（%1）が、得意先の前回の請求日（%2）以前になっています。\nこのまま登録しますか？"},
};

const NormalText* find(long number) {
  const auto it = std::find_if(std::begin(kMessages), std::end(kMessages),
                               [number](const NormalText& m) { return m.number == number; });
  return it == std::end(kMessages) ? nullptr : it;
}

// Puts the texts into the places %1..%4 in one pass.
QString fill(const QString& pattern, const QString* texts) {
  QString out;
  out.reserve(pattern.size());
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern.at(i);
    if (c == u'%' && i + 1 < pattern.size()) {
      const char16_t digit = pattern.at(i + 1).unicode();
      if (digit >= u'1' && digit <= u'4') {
        out += texts[digit - u'1'];
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace

int CNmlMsg::Disp(QWidget* parent, long number, const QString& text1, const QString& text2,
                  const QString& text3, const QString& text4) {
  const bool question = isQuestion(number);
  hv6::MessageRequest request;
  request.number = number;
  request.kind = 0;
  request.text = text(number, text1, text2, text3, text4);
  request.caption = kSlCaption;
  request.buttons = question ? hv6::MsgButtons::YesNo : hv6::MsgButtons::Ok;
  request.icon = question ? hv6::MsgIcon::Question : hv6::MsgIcon::Information;
  request.parent = parent;
  const hv6::MsgAnswer answer = hv6::messagePresenter().present(request);
  if (!question) return kIdOk;
  return answer == hv6::MsgAnswer::Yes ? kIdYes : kIdNo;
}

bool CNmlMsg::hasText(long number) { return find(number) != nullptr; }

bool CNmlMsg::isQuestion(long number) {
  const NormalText* m = find(number);
  return m && m->kind == Kind::Question;
}

QString CNmlMsg::text(long number, const QString& text1, const QString& text2,
                      const QString& text3, const QString& text4) {
  const NormalText* m = find(number);
  if (!m) return QStringLiteral("(メッセージ番号: %1)").arg(number);
  const QString texts[] = {text1, text2, text3, text4};
  return fill(QString::fromUtf16(m->text), texts);
}

}  // namespace sl
