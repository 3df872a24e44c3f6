#pragma once
// Numbered questions and notices of the sales module. Like CErrMsg, the
// host owns the object and the module shows through it (virtual, so the
// host's presenter answers).
//
// A text may hold up to four places %1..%4 for the caller's texts; a place
// without a text stays empty. Questions have Yes and No buttons, notices an
// OK button.

#include <QString>

class QWidget;

namespace sl {

// The answers Disp returns, as the framework numbers them.
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// What the windows put into message 100 (the thing to delete).
inline const QString kDeleteSlipSubject = QStringLiteral("伝票番号[%1] の%2伝票");
inline const QString kDeleteLineSubject = QStringLiteral("番号[%1] の明細行");
inline const QString kDeleteLinePairSubject = QStringLiteral("番号[%1]と[%2] の明細行の２行");

class CNmlMsg {
 public:
  CNmlMsg() = default;
  virtual ~CNmlMsg() = default;
  CNmlMsg(const CNmlMsg&) = delete;
  CNmlMsg& operator=(const CNmlMsg&) = delete;

  // Shows message `number` with the texts put in; returns kIdYes or kIdNo
  // for a question, kIdOk for a notice.
  virtual int Disp(QWidget* parent, long number, const QString& text1 = {},
                   const QString& text2 = {}, const QString& text3 = {},
                   const QString& text4 = {});

  static bool hasText(long number);
  static bool isQuestion(long number);
  // The text of a number with the texts put in (one pass: a text holding
  // "%2" is put in as it is).
  static QString text(long number, const QString& text1 = {}, const QString& text2 = {},
                      const QString& text3 = {}, const QString& text4 = {});
};

}  // namespace sl
