#include "mobile/importlog.h"

#include "platform/codec.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using Mode = hv6::MobileImportLog::Mode;

// Fields 1-9, 10-20 empty, 21 = 7, 22 = 62, 23 empty, then six quoted
// texts of which the first holds a comma.
const QString kLine = QStringLiteral(
    "2024/05/01,99,21,31,41,51,2:30,,830,,,,,,,,,,,,7,62,,\"a,b\",\"\",\"\",\"\",\"\",\"\",");

const QString kPieces = QStringLiteral(
    "\n日付=2024/05/01, 品目=99, 作業=21, ほ場=31, 作業者=41, 機械=51, 労働実時間=2:30, "
    "休憩実時間=, 労働開始時刻=830, 労働終了時刻=, 休憩開始時刻=, 休憩終了時刻=, 機械稼働時間=, "
    "機械休止時間=, 機械稼動開始時刻=, 機械稼動終了時刻=, 機械休止開始時刻=, 機械休止終了時刻=, "
    "延作業面積=, 免税軽油消費量=, 資材区分=2, 資材=62, 資材投下量=, 希釈倍率=\"a, 対象病害虫=b\", "
    "単位当り散布量=\"\", 予備項目１=\"\", 予備項目２=\"\", 予備項目３=\"\", \n");

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ImportLogTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6::MobileImportLog log{env.path(QStringLiteral("20240501.log")),
                           {QStringLiteral("農薬"), QString(), QString(), QString(), QString()}};
};

TEST_F(ImportLogTest, ARejectedLineNamesEachFailedField) {
  EXPECT_EQ(log.entryText(kLine, Mode::Rejected, {2, 9, 22}, 1),
            kPieces + QStringLiteral("「品目コード：99」は現在のデータベースに存在しません。\n"
                                     "指定された資材区分の台帳が現在のデータベースに存在しません。\n"
                                     "「農薬コード：62」は現在のデータベースに存在しません。\n"));
  // Category 0 is the fertilizers; a category without a name, or an
  // unknown one, has no name.
  const QString missing = QStringLiteral("「資材コード：62」は現在のデータベースに存在しません。\n");
  EXPECT_TRUE(log.entryText(kLine, Mode::Rejected, {22}, 0).endsWith(missing));
  const QString ledger =
      QStringLiteral("\n指定された資材区分の台帳が現在のデータベースに存在しません。\n");
  EXPECT_TRUE(log.entryText(kLine, Mode::Rejected, {22}, 3).endsWith(ledger));
  EXPECT_TRUE(log.entryText(kLine, Mode::Rejected, {22}, -1).endsWith(ledger));
}

TEST_F(ImportLogTest, ADuplicateLineSaysSo) {
  EXPECT_EQ(log.entryText(kLine, Mode::Duplicate, {}, 1),
            kPieces + QStringLiteral("既にHarvo V6 Plusの作業日誌入力に日付、品目、作業、ほ場、"
                                     "作業者、機械、資材区分、資材が同じデータが登録されています。\n"));
}

TEST_F(ImportLogTest, TheCategoryPieceIsShownLessFiveWhenItIsANumber) {
  auto kindPiece = [&](const QString& piece) {
    QStringList fields = kLine.split(QLatin1Char(','));
    fields[20] = piece;
    const QString text = log.entryText(fields.join(QLatin1Char(',')), Mode::Duplicate, {}, 0);
    const qsizetype at = text.indexOf(QStringLiteral("資材区分="));
    return text.mid(at + 5, text.indexOf(QLatin1Char(','), at) - at - 5);
  };
  EXPECT_EQ(kindPiece(QStringLiteral("11")), "6");
  EXPECT_EQ(kindPiece(QStringLiteral("0")), "0");
  EXPECT_EQ(kindPiece(QString()), "");
  EXPECT_EQ(kindPiece(QStringLiteral("x7")), "x7");
}

TEST_F(ImportLogTest, EntriesAreAppendedInCodePage932) {
  const QByteArray earlier = hv6::cp932::encode(QStringLiteral("朝の取込\n"));
  {
    QFile file(log.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(earlier);
  }
  ASSERT_TRUE(log.write(kLine, Mode::Duplicate, {}, 1));
  ASSERT_TRUE(log.write(kLine, Mode::Rejected, {2}, 1));
  EXPECT_EQ(fileBytes(log.path()),
            earlier + hv6::cp932::encode(log.entryText(kLine, Mode::Duplicate, {}, 1) +
                                         log.entryText(kLine, Mode::Rejected, {2}, 1)));
  EXPECT_FALSE(log.hasFailed());
  EXPECT_TRUE(messages.empty());
}

TEST_F(ImportLogTest, ALogThatCannotBeWrittenShows8012Once) {
  QFile plain(env.path(QStringLiteral("not a folder")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  const QString path = env.path(QStringLiteral("not a folder/20240501.log"));
  hv6::MobileImportLog broken(path, {});
  EXPECT_FALSE(broken.write(kLine, Mode::Duplicate, {}, 1));
  EXPECT_FALSE(broken.write(kLine, Mode::Rejected, {2}, 1));
  EXPECT_TRUE(broken.hasFailed());
  ASSERT_EQ(messages.numbers(), QList<long>{8012});
  EXPECT_EQ(messages.messages().first().text,
            QStringLiteral("ファイル入出力でエラーが発生しました。\n\n　ファイル名：") + path +
                QStringLiteral("\n　原因の詳細：バス名の指定が誤りです。"));
}

}  // namespace
