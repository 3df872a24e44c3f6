#include "shell/relatedprograms.h"

#include "outside/hrvcom106/checkv5app.h"
#include "platform/presenter.h"

namespace hv6 {
namespace {

constexpr int kNamesPerLine = 4;

QStringList runningNames(const CCheckV5App& check, int count) {
  QStringList names;
  for (int i = 0; i < count; ++i) {
    QString name;
    check.GetExecMessageString(i, name);
    names.append(name);
  }
  return names;
}

}  // namespace

QString closeConfirmationText(const QStringList& names) {
  QString text =
      QStringLiteral("現在の作業を行うために、Harvo関連のプログラムを終了します。\r\n\r\n");
  for (qsizetype i = 0; i < names.size(); ++i) {
    text += QStringLiteral("  ") + names.at(i);
    if (i % kNamesPerLine == kNamesPerLine - 1) text += QStringLiteral("\r\n");
  }
  return text;
}

QString closeRefusedText(const QString& title) {
  return QStringLiteral("%1を終了できませんでした。\n%1を終了した上で再度処理を実行してください。")
      .arg(title);
}

bool closeRelatedPrograms(CCheckV5App& check, QWidget* parent) {
  int count = 0;
  if (!check.CheckHv6Process(count)) return false;
  if (count == 0) return true;
  if (showMessage(closeConfirmationText(runningNames(check, count)), kRelatedProgramsCaption,
                  MsgButtons::OkCancel, MsgIcon::Question, parent) != MsgAnswer::Ok)
    return false;
  for (int i = 0; i < count; ++i) {
    if (!check.QueryEnd(i)) {
      QString title;
      check.GetExecProcessString(i, title);
      showMessage(closeRefusedText(title), kRelatedProgramsCaption, MsgButtons::Ok,
                  MsgIcon::Warning, parent);
      return false;
    }
    check.Close(i);
  }
  return true;
}

}  // namespace hv6
