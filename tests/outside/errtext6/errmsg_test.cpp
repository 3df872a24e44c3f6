#include "outside/errtext6/errmsg.h"

#include "platform/dao/exception.h"
#include "tests/support/message_recorder.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

// Every message number the program shows, gathered from where each one is
// shown.
const long kProgramNumbers[] = {
    1001, 1003, 1006, 1127, 1507, 2012, 2017, 2036, 2039, 2041, 2160, 2180, 2209, 2230,
    2231, 2232, 2233, 2234, 2235, 2236, 2237, 2238, 2239, 2240, 2445, 2500, 2501, 2502,
    2503, 2504, 2509, 2613, 2620, 2637, 2638, 2639, 2641, 2642, 2643, 2716, 2901, 2902,
    2903, 2904, 2905, 2906, 2907, 2908, 2909, 2910, 2911, 2912, 2913, 2914, 2916,
};

// The database error numbers the database layer raises.
const long kJetNumbers[] = {
    kJetOther, kJetInvalidArgument, kJetTableExists, kJetUpdateWithoutEdit,
    kJetNoCurrentRecord, kJetDuplicateKey, kJetFileNotFound, kJetDiskFull, kJetReadOnly,
    kJetNoTransaction, kJetDiskIo, kJetInvalidPath, kJetFileInUse, kJetTooFewParameters,
    kJetCannotExecuteSelect, kJetUnknownName, kJetSyntaxError, kJetCriteriaSyntax,
    kJetNoSuchTable, kJetRecordDeleted, kJetDuplicateField, kJetDatabaseExists, kJetLocked,
    kJetNoSuchColumn, kJetNullNotAllowed, kJetNotADatabase, kJetNotOpen, kJetConversion,
};

TEST(CErrMsgTexts, EveryProgramNumberHasATextOfItsOwn) {
  QSet<QString> seen;
  for (long number : kProgramNumbers) {
    EXPECT_TRUE(CErrMsg::hasText(number)) << number;
    const QString text = CErrMsg::text(number);
    EXPECT_FALSE(text.trimmed().isEmpty()) << number;
    EXPECT_FALSE(text.contains(QString::number(number))) << number;  // not the fallback
    EXPECT_FALSE(seen.contains(text)) << number << " repeats another message";
    seen.insert(text);
  }
  EXPECT_FALSE(CErrMsg::hasText(4711));
  EXPECT_TRUE(CErrMsg::text(4711).contains(QStringLiteral("4711")));
}

TEST(CErrMsgTexts, EveryDatabaseErrorIsExplained) {
  const QString generic = CErrMsg::daoText(1).section(QLatin1Char('\n'), 0, 0);
  for (long number : kJetNumbers) {
    const QString text = CErrMsg::daoText(number);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n\n(エラー番号: %1)").arg(number))) << number;
    EXPECT_NE(text.section(QLatin1Char('\n'), 0, 0), generic) << number;
  }
  EXPECT_TRUE(
      CErrMsg::daoText(3026).startsWith(QStringLiteral("ディスクの空き容量が不足しています。")));
  EXPECT_TRUE(CErrMsg::daoText(3021).startsWith(QStringLiteral("カレントレコードがありません。")));
}

TEST(CErrMsgDisp, PassesNumberKindAndCaption) {
  hv6test::MessageRecorder recorder;
  const QString caption = QStringLiteral("HarvoＶ６");
  EXPECT_EQ(CErrMsg().Disp(2503, 1), 1);  // IDOK
  CErrMsg().Disp(2912, 0, 0, caption);
  CErrMsg().Disp(2232, 2);
  CErrMsg().Disp(4711, 0);
  recorder.answer(hv6::MsgAnswer::Cancel);
  EXPECT_EQ(CErrMsg().Disp(2504, 1), 2);  // IDCANCEL
  ASSERT_EQ(recorder.messages().size(), 5);
  const auto& error = recorder.messages()[0];
  EXPECT_EQ(error.number, 2503);
  EXPECT_EQ(error.kind, 1);
  EXPECT_EQ(error.text, QStringLiteral("設定情報の書き込みに失敗しました。"));
  EXPECT_EQ(error.caption, kHrvCaption);
  EXPECT_EQ(error.icon, hv6::MsgIcon::Error);
  const auto& notice = recorder.messages()[1];
  EXPECT_EQ(notice.kind, 0);
  EXPECT_EQ(notice.caption, caption);
  EXPECT_EQ(notice.icon, hv6::MsgIcon::Information);
  EXPECT_EQ(recorder.messages()[2].kind, 2);
  EXPECT_EQ(recorder.messages()[2].icon, hv6::MsgIcon::Warning);
  EXPECT_EQ(recorder.messages()[3].text, CErrMsg::text(4711));
}

TEST(CErrMsgDisp, DetailFollowsOnItsOwnLines) {
  hv6test::MessageRecorder recorder;
  CErrMsg().Disp(1003, 1, QStringLiteral("\r\n    作業日誌入力\r\n    販売管理"));
  CErrMsg().Disp(2620, 0, QStringLiteral("共有違反です。"));
  CErrMsg().Disp(2620, 1, QString());
  ASSERT_EQ(recorder.messages().size(), 3);
  EXPECT_EQ(recorder.messages()[0].number, 1003);
  EXPECT_EQ(recorder.messages()[0].text,
            CErrMsg::text(1003) + QStringLiteral("\n    作業日誌入力\n    販売管理"));
  EXPECT_EQ(recorder.messages()[1].text, CErrMsg::text(2620) + QStringLiteral("\n共有違反です。"));
  EXPECT_EQ(recorder.messages()[2].text, CErrMsg::text(2620));
}

TEST(CErrMsgDisp, DatabaseErrorsAreMarkedByKind) {
  hv6test::MessageRecorder recorder;
  EXPECT_EQ(CErrMsg().DispDaoErr(kJetDiskFull), 1);
  CErrMsg().DispDaoErr(1234567, nullptr, 0, QStringLiteral("HarvoＶ６"));
  ASSERT_EQ(recorder.messages().size(), 2);
  const auto& known = recorder.messages()[0];
  EXPECT_EQ(known.number, 3026);
  EXPECT_EQ(known.kind, CErrMsg::kDaoErrKind);
  EXPECT_EQ(known.icon, hv6::MsgIcon::Error);
  EXPECT_EQ(known.text, CErrMsg::daoText(3026));
  const auto& unknown = recorder.messages()[1];
  EXPECT_EQ(unknown.number, 1234567);
  EXPECT_EQ(unknown.caption, QStringLiteral("HarvoＶ６"));
  EXPECT_TRUE(unknown.text.endsWith(QStringLiteral("(エラー番号: 1234567)")));
  EXPECT_GT(unknown.text.indexOf(QLatin1Char('\n')), 0);  // an explanation comes first
}

}  // namespace
