#include "mobile/import.h"

#include "mobile/fields.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "store/schema.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QFile>
#include <QMap>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

using hv6test::RowValues;

const QString kRejectedEnd = QStringLiteral("は現在のデータベースに存在しません。\n");
const QString kNoLedger = QStringLiteral("指定された資材区分の台帳が現在のデータベースに存在しません。\n");
const QString kDuplicateLine = QStringLiteral(
    "既にHarvo V6 Plusの作業日誌入力に日付、品目、作業、ほ場、作業者、機械、資材区分、資材が"
    "同じデータが登録されています。\n");

// A record line: fields 1..29, 24-29 quoted; changes replace fields.
QString recordLine(const QMap<int, QString>& changes = {}) {
  QStringList fields{"2024/05/01", "11", "21", "31", "41", "51", "2:30", "1.5", "8:30", "17:05",
                     "12:00", "13:00", "1:5", "3", "8:30", "11:45", "", "", "12.5", "3.25",
                     "7", "61", "2.5", "1000倍", "アブラムシ", "100L", "予備1", "", ""};
  for (auto it = changes.begin(); it != changes.end(); ++it) fields[it.key() - 1] = it.value();
  QString line;
  for (int field = 1; field <= 29; ++field) {
    const QString& text = fields[field - 1];
    line += (field > 23 ? QLatin1Char('"') + text + QLatin1Char('"') : text) + QLatin1Char(',');
  }
  return line;
}

class MobileImportTest : public ::testing::Test {
 protected:
  MobileImportTest() {
    // A row before each master, so that Code and Scode differ.
    auto master = [&](const char* table, long scode) {
      data.addMaster(QString::fromLatin1(table), scode + 1000, QStringLiteral("ほか"));
      return data.addMaster(QString::fromLatin1(table), scode, QStringLiteral("名"));
    };
    crop = master("CropMst", 11);
    job = master("JobMst", 21);
    field = master("FieldMst", 31);
    farmer = master("FarmerMst", 41);
    machine = master("MachineMst", 51);
    material1 = master("MaterialMst1", 61);
    fertilizer = master("FertilizerMst", 71);
  }

  QString downloadPath() const { return data.folder() + QStringLiteral("/IWD1A2B.tmp"); }
  QString logPath() const { return data.folder() + QStringLiteral("/20240501.log"); }

  void writeDownload(const QByteArray& bytes) {
    QFile file(downloadPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

  // Writes the download (count, then the lines) and imports it.
  hv6::MobileImportResult import(const QStringList& lines, long count = -1) {
    QByteArray bytes = QByteArray::number(qlonglong(count < 0 ? lines.size() : count)) + ",\n";
    for (const QString& line : lines) bytes += hv6::cp932::encode(line) + '\n';
    writeDownload(bytes);
    return importFile();
  }

  hv6::MobileImportResult importFile(const QString& log = QString()) {
    progress.clear();
    return hv6::importMobileRecords(data.diary(), downloadPath(), log.isEmpty() ? logPath() : log,
                                    materialNames, [this](int percent) { progress.append(percent); });
  }

  QString logText() const {
    QFile file(logPath());
    return file.open(QIODevice::ReadOnly) ? hv6::cp932::decode(file.readAll()) : QString();
  }

  long rowCount() {
    CDaoRecordset rs(&data.diary());
    rs.Open(dbOpenSnapshot, QStringLiteral("SELECT COUNT(*) FROM WDiary"));
    return rs.GetFieldValue(0).toLong();
  }

  // The last stored row.
  CDaoRecordset& lastRow() {
    row.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM WDiary ORDER BY Code DESC"));
    return row;
  }

  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6test::TempDataFolder data;
  CDaoRecordset row{&data.diary()};
  QStringList materialNames{QStringLiteral("農薬"), QString(), QString(), QString(), QString()};
  QList<int> progress;
  long crop = 0, job = 0, field = 0, farmer = 0, machine = 0, material1 = 0, fertilizer = 0;
};

void expectCounts(const hv6::MobileImportResult& result, long stored, long rejected,
                  long duplicates) {
  EXPECT_EQ(result.stored, stored);
  EXPECT_EQ(result.rejected, rejected);
  EXPECT_EQ(result.duplicates, duplicates);
}

TEST_F(MobileImportTest, EachFieldIsStoredAsItsColumnAndTheBarMoves) {
  // The second line has blanks after its commas, which are dropped.
  const QString second = recordLine({{1, "2024/05/02"}, {21, "6"}, {22, "71"}})
                             .replace(QStringLiteral(",1"), QStringLiteral(",  1"));
  const auto result = import({recordLine(), second});
  EXPECT_TRUE(result.success);
  expectCounts(result, 2, 0, 0);
  EXPECT_EQ(progress, (QList<int>{10, 50, 90}));
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(QFile::exists(logPath())) << "nothing to log";

  CDaoRecordset rs(&data.diary());
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM WDiary ORDER BY Code"));
  ASSERT_EQ(rs.GetRecordCount(), 2);
  const QList<std::pair<const char*, COleVariant>> expected{
      {"Date", COleVariant(QDateTime(QDate(2024, 5, 1), QTime(0, 0)))},
      {"CropCode", COleVariant(crop)}, {"JobCode", COleVariant(job)},
      {"FieldCode", COleVariant(field)}, {"FarmerCode", COleVariant(farmer)},
      {"MachineCode", COleVariant(machine)},
      {"WorkFactTime", COleVariant(230L)}, {"RestFactTime", COleVariant(130L)},
      {"WorkStartTime", COleVariant(830L)}, {"WorkEndTime", COleVariant(1705L)},
      {"RestStartTime", COleVariant(1200L)}, {"RestEndTime", COleVariant(1300L)},
      {"McnFactTime", COleVariant(105L)}, {"MRestFactTime", COleVariant(300L)},
      {"McnStartTime", COleVariant(830L)}, {"McnEndTime", COleVariant(1145L)},
      {"MRestStartTime", COleVariant()}, {"MRestEndTime", COleVariant()},
      {"TotalArea", COleVariant(125L)}, {"LightOil", COleVariant(32L)},
      {"Kind", COleVariant(short{1}, VT_UI1)}, {"FrzCode", COleVariant()},
      {"Mte1Code", COleVariant(material1)}, {"Mte2Code", COleVariant()},
      {"Quantity", COleVariant(COleCurrency::fromDouble(2.5))},
      {"Dilute", COleVariant("1000倍")}, {"Vermin", COleVariant("アブラムシ")},
      {"Scatter", COleVariant("100L")}, {"ReserveItem1", COleVariant("予備1")},
      {"ReserveItem2", COleVariant()}, {"ReserveItem3", COleVariant()}};
  for (const auto& [column, value] : expected)
    EXPECT_EQ(rs.GetFieldValue(QString::fromLatin1(column)), value) << column;

  rs.MoveNext();
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Date")).toDateTime().date(), QDate(2024, 5, 2));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("CropCode")).toLong(), crop);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Kind")).toLong(), 0);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("FrzCode")).toLong(), fertilizer);
  EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("Mte1Code")).isNull());
}

TEST_F(MobileImportTest, AnUnknownCropIsLoggedNotStored) {
  const QString line = QStringLiteral(
      "2024/05/01,99,21,31,41,51,2:30,,8:30,,,,,,,,,,,,7,61,,\"1000倍\",\"\",\"\",\"\",\"\",\"\",");
  const auto result = import({line});
  EXPECT_TRUE(result.success);
  expectCounts(result, 0, 1, 0);
  EXPECT_EQ(rowCount(), 0);
  EXPECT_EQ(logText(),
            QStringLiteral(
                "\n日付=2024/05/01, 品目=99, 作業=21, ほ場=31, 作業者=41, 機械=51, 労働実時間=2:30, "
                "休憩実時間=, 労働開始時刻=8:30, 労働終了時刻=, 休憩開始時刻=, 休憩終了時刻=, "
                "機械稼働時間=, 機械休止時間=, 機械稼動開始時刻=, 機械稼動終了時刻=, "
                "機械休止開始時刻=, 機械休止終了時刻=, 延作業面積=, 免税軽油消費量=, 資材区分=2, "
                "資材=61, 資材投下量=, 希釈倍率=\"1000倍\", 対象病害虫=\"\", 単位当り散布量=\"\", "
                "予備項目１=\"\", 予備項目２=\"\", 予備項目３=\"\", \n"
                "「品目コード：99」は現在のデータベースに存在しません。\n"));
}

TEST_F(MobileImportTest, DuplicatesCompareDayMastersAndMaterialOnly) {
  const QString line = recordLine();
  const QString otherTime = recordLine({{7, "5:00"}, {9, "6:00"}, {24, "別"}, {23, "9"}});
  const auto result = import({line, line, otherTime});
  EXPECT_TRUE(result.success);
  expectCounts(result, 1, 0, 2);
  EXPECT_EQ(rowCount(), 1);
  QString expectedLog;
  for (const QString& logged : {line, otherTime}) {
    QString pieces = QStringLiteral("\n");
    const QStringList labels{"日付", "品目", "作業", "ほ場", "作業者", "機械", "労働実時間",
                             "休憩実時間", "労働開始時刻", "労働終了時刻", "休憩開始時刻",
                             "休憩終了時刻", "機械稼働時間", "機械休止時間", "機械稼動開始時刻",
                             "機械稼動終了時刻", "機械休止開始時刻", "機械休止終了時刻",
                             "延作業面積", "免税軽油消費量", "資材区分", "資材", "資材投下量",
                             "希釈倍率", "対象病害虫", "単位当り散布量", "予備項目１",
                             "予備項目２", "予備項目３"};
    const QStringList split = logged.split(QLatin1Char(','));
    for (int i = 0; i < 29; ++i)
      pieces += labels[i] + QLatin1Char('=') + (i == 20 ? QStringLiteral("2") : split[i]) +
                QStringLiteral(", ");
    expectedLog += pieces + QStringLiteral("\n") + kDuplicateLine;
  }
  EXPECT_EQ(logText(), expectedLog);

  // Another day, crop, job, field, worker, machine or material is no duplicate.
  const auto others = import({recordLine({{1, "2024/05/02"}}), recordLine({{3, "0"}}),
                              recordLine({{22, "0"}}), recordLine({{21, "0"}, {22, "0"}})});
  expectCounts(others, 4, 0, 0);
}

TEST_F(MobileImportTest, AnAbsentCropIsStoredNullAndMatchesOnlyNull) {
  data.addDiary(QDate(2024, 5, 1),
                {{"CropCode", COleVariant(crop)}, {"JobCode", COleVariant(job)},
                 {"FieldCode", COleVariant(field)}, {"FarmerCode", COleVariant(farmer)},
                 {"MachineCode", COleVariant(machine)}, {"Kind", COleVariant(1L)},
                 {"Mte1Code", COleVariant(material1)}});
  const QString noCrop = recordLine({{2, "0"}});
  expectCounts(import({noCrop}), 1, 0, 0);
  EXPECT_TRUE(lastRow().GetFieldValue(QStringLiteral("CropCode")).isNull());
  expectCounts(import({noCrop, recordLine({{2, ""}}), recordLine()}), 0, 0, 3);
}

TEST_F(MobileImportTest, TimesAndDurationsAreReadAsNumbers) {
  const auto result = import({recordLine({{9, "830"}}), recordLine({{13, "1:75"}}),
                              recordLine({{10, "24:00"}}), recordLine({{8, "1.5"}, {13, "1:5"}})});
  expectCounts(result, 1, 3, 0);
  CDaoRecordset& stored = lastRow();
  EXPECT_EQ(stored.GetFieldValue(QStringLiteral("WorkStartTime")).toLong(), 830);
  EXPECT_EQ(stored.GetFieldValue(QStringLiteral("RestFactTime")).toLong(), 130);
  EXPECT_EQ(stored.GetFieldValue(QStringLiteral("McnFactTime")).toLong(), 105)
      << "1 hour 5 minutes, not 15 minutes";
  // Fields without a name get the line about the material ledger.
  EXPECT_EQ(logText().count(kNoLedger), 3);
  EXPECT_TRUE(logText().contains(QStringLiteral("労働開始時刻=830, ")));
  EXPECT_TRUE(logText().contains(QStringLiteral("機械稼働時間=1:75, ")));
}

TEST_F(MobileImportTest, FieldTwentyOneChoosesTheMaterialCategory) {
  materialNames[2] = QString();  // category 3 has no name
  const long material3 = data.addMaster(QStringLiteral("MaterialMst3"), 63, QStringLiteral("資材3"));
  const auto result = import({recordLine({{21, "7"}, {22, "62"}}), recordLine({{21, "9"}, {22, "64"}}),
                              recordLine({{21, "12"}, {22, "61"}}), recordLine({{21, "9"}, {22, "63"}})});
  expectCounts(result, 1, 3, 0);
  EXPECT_EQ(lastRow().GetFieldValue(QStringLiteral("Kind")).toLong(), 3);
  EXPECT_EQ(lastRow().GetFieldValue(QStringLiteral("Mte3Code")).toLong(), material3);
  EXPECT_TRUE(lastRow().GetFieldValue(QStringLiteral("Mte1Code")).isNull());
  const QString log = logText();
  EXPECT_TRUE(log.contains(QStringLiteral("資材区分=2, 資材=62, ")));
  EXPECT_TRUE(log.contains(QStringLiteral("「農薬コード：62」") + kRejectedEnd));
  // Category 3 has no name; the unknown category 12 fails field 21 and
  // field 22 (no such ledger).
  EXPECT_EQ(log.count(kNoLedger), 3);
  EXPECT_TRUE(log.contains(QStringLiteral("資材区分=4, 資材=64, ")));
  EXPECT_TRUE(log.contains(QStringLiteral("資材区分=7, 資材=61, ")));
}

TEST_F(MobileImportTest, CodesThatAreNotWholeNumbersFailAndChangeNothing) {
  data.addDiary(QDate(2024, 4, 1));
  const auto result = import({recordLine({{2, "1 OR 1=1"}}), recordLine({{3, "1; DROP TABLE WDiary"}}),
                              recordLine({{4, "31 "}}), recordLine({{5, "4l"}}),
                              recordLine({{22, "61.0"}})});
  expectCounts(result, 1, 4, 0);  // "31 " is 31
  EXPECT_EQ(rowCount(), 2);
  EXPECT_TRUE(data.diary().tableExists(QStringLiteral("WDiary")));
  const QString log = logText();
  EXPECT_TRUE(log.contains(QStringLiteral("「品目コード：1 OR 1=1」") + kRejectedEnd));
  EXPECT_TRUE(log.contains(QStringLiteral("「作業コード：1; DROP TABLE WDiary」") + kRejectedEnd));
  EXPECT_TRUE(log.contains(QStringLiteral("「作業者コード：4l」") + kRejectedEnd));
  EXPECT_TRUE(log.contains(QStringLiteral("「農薬コード：61.0」") + kRejectedEnd));
}

TEST_F(MobileImportTest, ADayThatIsAbsentOrImpossibleRejectsTheLine) {
  const auto result = import({recordLine({{1, ""}}), recordLine({{1, "2024/02/30"}}),
                              recordLine({{1, "5/3/2024"}})});
  expectCounts(result, 1, 2, 0);
  EXPECT_EQ(lastRow().GetFieldValue(QStringLiteral("Date")).toDateTime().date(), QDate(2024, 5, 3));
  // Without a day the duplicate query cannot run: the line is logged
  // without a reason line; an impossible day fails field 1.
  const QString log = logText();
  EXPECT_TRUE(log.startsWith(QStringLiteral("\n日付=, ")));
  EXPECT_EQ(log.count(kNoLedger), 1);
  EXPECT_EQ(log.count(QStringLiteral("\n日付=")), 2);
}

TEST_F(MobileImportTest, ACountAboveTheLinesSentStoresTheLinesThereAre) {
  const auto result = import({recordLine(), QString(), recordLine({{1, "2024/05/02"}})}, 6);
  EXPECT_TRUE(result.success);
  expectCounts(result, 2, 0, 0);
  EXPECT_EQ(rowCount(), 2);
  EXPECT_EQ(progress.last(), 90);

  writeDownload("garbage\n" + hv6::cp932::encode(recordLine()) + "\n");
  expectCounts(importFile(), 0, 0, 0);
  EXPECT_EQ(rowCount(), 2) << "no count, no records";
}

TEST_F(MobileImportTest, ATenMegabyteLineIsLoggedNotStored) {
  const QString huge(5 * 1024 * 1024, QChar(u'あ'));  // 10 MB in code page 932
  const auto result = import({recordLine({{24, huge}}), huge, recordLine()});
  EXPECT_TRUE(result.success);
  expectCounts(result, 1, 2, 0);
  EXPECT_EQ(rowCount(), 1);
  EXPECT_GT(QFile(logPath()).size(), 2 * 10 * 1024 * 1024);
}

TEST_F(MobileImportTest, BytesThatAreNoShiftJisFailTheirField) {
  QByteArray bytes = "3,\n";
  for (int broken : {24, 2, 10}) {
    QByteArray line = hv6::cp932::encode(recordLine());
    const QList<QByteArray> pieces = line.split(',');
    qsizetype at = 0;
    for (int i = 0; i < broken - 1; ++i) at += pieces[i].size() + 1;
    line.insert(at + (broken > 23 ? 1 : 0), "\xff\x85\x40");
    bytes += line + '\n';
  }
  writeDownload(bytes);
  const auto result = importFile();
  expectCounts(result, 0, 3, 0);
  EXPECT_EQ(rowCount(), 0);
  EXPECT_TRUE(logText().contains(QStringLiteral("「品目コード：")));
  EXPECT_EQ(logText().count(kNoLedger), 2);
}

TEST_F(MobileImportTest, ALogThatCannotBeWrittenShows8012AndTheRunIsNotComplete) {
  QFile plain(env.path(QStringLiteral("a file")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  const QString log = env.path(QStringLiteral("a file/20240501.log"));
  writeDownload("3,\n" + hv6::cp932::encode(recordLine({{2, "99"}}) + "\n" + recordLine() + "\n" +
                                            recordLine() + "\n"));
  const auto result = importFile(log);
  EXPECT_FALSE(result.success) << "the rejected lines are nowhere";
  expectCounts(result, 1, 1, 1);
  ASSERT_EQ(messages.numbers(), QList<long>{8012});
  EXPECT_TRUE(messages.messages().first().text.endsWith(
      QStringLiteral("\n　ファイル名：") + log + QStringLiteral("\n　原因の詳細：バス名の指定が誤りです。")));
}

TEST_F(MobileImportTest, AMissingDownloadShows8012) {
  const auto result = importFile();
  EXPECT_FALSE(result.success);
  expectCounts(result, 0, 0, 0);
  ASSERT_EQ(messages.numbers(), QList<long>{8012});
  EXPECT_TRUE(messages.messages().first().text.endsWith(QStringLiteral("ファイルが見つかりません。")));
  EXPECT_EQ(progress, QList<int>{90});
}

TEST_F(MobileImportTest, ADiaryThatCannotBeAppendedToSaysSo) {
  data.diary().Close();
  data.diary().Open(data.diaryPath(), false, true);
  const auto result = import({recordLine(), recordLine({{2, "99"}})});
  EXPECT_FALSE(result.success);
  expectCounts(result, 0, 0, 0);
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages().first().text, QStringLiteral("DBに追加できない"));
  EXPECT_FALSE(QFile::exists(logPath()));
  EXPECT_EQ(rowCount(), 0);
}

TEST_F(MobileImportTest, AMasterThatCannotBeReadShows2039AndFailsTheField) {
  data.diary().Execute(QStringLiteral("DROP TABLE MachineMst"));
  const auto result = import({recordLine(), recordLine({{6, "0"}}), recordLine({{1, "2024/05/02"}})});
  expectCounts(result, 1, 2, 0);
  EXPECT_EQ(messages.numbers(), QList<long>{2039});
  EXPECT_EQ(logText().count(QStringLiteral("「機械コード：51」") + kRejectedEnd), 2);
  EXPECT_TRUE(lastRow().GetFieldValue(QStringLiteral("MachineCode")).isNull());
}

TEST_F(MobileImportTest, AFailedStoreKeepsNoRecordOfTheRun) {
  data.addDiary(QDate(2024, 4, 1));
  data.diary().Execute(QStringLiteral(
      "CREATE TRIGGER refuse BEFORE INSERT ON WDiary WHEN NEW.ReserveItem1 = 'boom' "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
  const auto result = import({recordLine(), recordLine({{1, "2024/05/02"}, {27, "boom"}}),
                              recordLine({{1, "2024/05/03"}})});
  EXPECT_FALSE(result.success);
  EXPECT_EQ(result.stored, 0);
  EXPECT_EQ(messages.numbers(), QList<long>{2039});
  EXPECT_EQ(rowCount(), 1) << "the first line's row went with the run";
  EXPECT_FALSE(data.diary().m_pWorkspace->InTransaction());
}

TEST_F(MobileImportTest, TheDuplicateCheckSearchesTheIndexWhichOlderFilesGet) {
  data.diary().Execute(QStringLiteral("DROP INDEX ") + hv6::kWDiaryMastersIndex);
  expectCounts(import({recordLine()}), 1, 0, 0);
  for (int category : {-1, 0, 1, 5}) {
    QSqlQuery plan(data.diary().connection());
    ASSERT_TRUE(plan.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + hv6::mobile::duplicateQuery(category)));
    const int values = category < 0 ? 6 : 8;
    for (int i = 0; i < values; ++i) plan.bindValue(i, i == 0 ? QVariant(QStringLiteral("2024-05-01 00:00:00")) : QVariant(1));
    ASSERT_TRUE(plan.exec());
    QString detail;
    while (plan.next()) detail += plan.value(3).toString();
    EXPECT_TRUE(detail.contains(hv6::kWDiaryMastersIndex)) << detail.toStdString();
  }
}

}  // namespace

namespace {

TEST(MaterialNames, AreTheFiveNamesOfInformationWithNullEmpty) {
  hv6test::TestEnvironment env;
  hv6test::TempDataFolder data;
  data.diary().Execute(QStringLiteral("UPDATE Information SET Mte1Name = ?, Mte4Name = ?"),
                       {COleVariant("農薬"), COleVariant("堆肥")});
  EXPECT_EQ(hv6::readMaterialNames(data.diary()),
            (QStringList{"農薬", "", "", "堆肥", ""}));
  data.diary().Execute(QStringLiteral("DELETE FROM Information"));
  EXPECT_EQ(hv6::readMaterialNames(data.diary()), QStringList(5, QString()));
}

}  // namespace
