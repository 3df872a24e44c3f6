// The plan, work-diary and farm-diary fillers: which lines, in which colour,
// on which day, for a small data set per mode.

#include "calendar/diaryfill.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "tests/calendar/recording.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using hv6test::RowValues;

constexpr long kMay2024 = 20240500;

// Modes by menu id.
constexpr int kPlanned = 0, kDone = 1, kPlanVsDone = 2, kPlanVsDiary = 3, kDoneVsDiary = 4,
              kPlanMilestones = 5;
constexpr int kByCrop = 0, kByJob = 1, kByFarmer = 2, kByMachine = 3, kMaterials = 4,
              kByField = 5, kByArea = 6, kDiaryMilestones = 7;

COleVariant v(long value) { return COleVariant(value); }
QString s(const char* utf8) { return QString::fromUtf8(utf8); }

class DiaryFillTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::TempDataFolder data;
  hv6test::MessageRecorder messages;
  hv6test::RecordingSink sink;
  hv6test::RecordingMeter meter;
  hv6::MemoList memos;

  long job(const char* name, bool milestone = false) {
    const long code = data.addMaster(QStringLiteral("JobMst"), ++scode_, s(name));
    data.diary().Execute(QStringLiteral("UPDATE JobMst SET MileStone = ? WHERE Code = ?"),
                         {COleVariant::boolean(milestone), v(code)});
    return code;
  }
  long master(const char* table, const char* name) {
    return data.addMaster(QString::fromLatin1(table), ++scode_, s(name));
  }
  // A plan row; a code of 0 stores Null.
  void plan(long date, long planned, long done) {
    hv6test::TempDataFolder::insertRow(
        data.diary(), QStringLiteral("YearBook1"),
        {{QStringLiteral("Date"), v(date)},
         {QStringLiteral("JobCode"), planned ? v(planned) : COleVariant()},
         {QStringLiteral("J_JobCode"), done ? v(done) : COleVariant()}});
  }
  void diary(int year, int month, int day, const RowValues& values) {
    data.addDiary(QDate(year, month, day), values);
  }
  void fillPlan(int mode, long base = kMay2024) {
    hv6::fillPlan(data.diary(), mode, base, sink, memos, meter);
  }
  void fillDiary(int mode, long base = kMay2024) {
    hv6::fillDiary(data.diary(), mode, base, sink, memos, meter);
  }
  static QString line(long month, long day, const QString& text, bool blue = false) {
    return QStringLiteral("add %1/%2 %3 %4").arg(month).arg(day).arg(text, blue ? "ff0000" : "0");
  }
  static QString may(long day, const QString& text, bool blue = false) {
    return line(5, day, text, blue);
  }

 private:
  long scode_ = 0;
};

TEST_F(DiaryFillTest, PlanListsShowPlannedOrDoneJobsOfTheMonth) {
  const long sow = job("播種"), plant = job("定植");
  plan(20240503, sow, plant);
  plan(20240520, plant, 0);
  plan(20240521, 999, 0);       // unknown code: an empty name
  plan(20240531, sow, sow);
  plan(20240601, sow, sow);     // next month
  plan(20240430, sow, sow);     // previous month

  fillPlan(kPlanned);
  EXPECT_EQ(sink.calls, (QStringList{may(3, s("播種")), may(20, s("定植")), may(21, QString()),
                                     may(31, s("播種"))}));
  ASSERT_EQ(memos.size(), 4);
  EXPECT_EQ(memos[0].date, 20240503);
  EXPECT_EQ(memos[2].text, QString());

  sink.calls.clear();
  fillPlan(kDone);
  EXPECT_EQ(sink.calls, (QStringList{may(3, s("定植")), may(31, s("播種"))}));
}

TEST_F(DiaryFillTest, ComparisonsInterleaveBlueAndBlackPerDay) {
  const long a = job("耕起"), b = job("施肥"), c = job("播種"), d = job("除草");
  // Two planned jobs and one done on the 3rd: blue, black, blue.
  plan(20240503, a, c);
  plan(20240503, b, 0);
  plan(20240510, 0, d);  // done without a plan
  diary(2024, 5, 3, {{QStringLiteral("JobCode"), v(d)}});
  diary(2024, 5, 10, {{QStringLiteral("JobCode"), v(a)}});
  diary(2024, 5, 10, {{QStringLiteral("JobCode"), v(b)}});

  fillPlan(kPlanVsDone);
  EXPECT_EQ(sink.calls, (QStringList{may(3, s("耕起"), true), may(3, s("播種")),
                                     may(3, s("施肥"), true), may(10, s("除草"))}));

  sink.calls.clear();
  fillPlan(kPlanVsDiary);
  EXPECT_EQ(sink.calls, (QStringList{may(3, s("耕起"), true), may(3, s("除草")),
                                     may(3, s("施肥"), true), may(10, s("耕起")),
                                     may(10, s("施肥"))}));

  sink.calls.clear();
  fillPlan(kDoneVsDiary);
  EXPECT_EQ(sink.calls, (QStringList{may(3, s("播種"), true), may(3, s("除草")),
                                     may(10, s("除草"), true), may(10, s("耕起")),
                                     may(10, s("施肥"))}));
  EXPECT_EQ(meter.calls.last(), QStringLiteral("100"));
}

TEST_F(DiaryFillTest, PlanMilestonesShowMilestoneJobsOnly) {
  const long seed = job("播種", true), harvest = job("収穫", true), weed = job("除草");
  plan(20240505, seed, weed);
  plan(20240505, seed, weed);  // the same pair again: one line
  plan(20240506, weed, harvest);
  plan(20240507, weed, weed);
  plan(20240508, seed, harvest);
  plan(20240500, seed, seed);  // day 00 lies outside the query

  fillPlan(kPlanMilestones);
  EXPECT_EQ(sink.calls, (QStringList{may(5, s("播種"), true), may(6, s("収穫")),
                                     may(8, s("播種"), true), may(8, s("収穫"))}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(DiaryFillTest, MilestoneQueryErrorsShow2180AndAddNothing) {
  job("播種", true);
  data.diary().Execute(QStringLiteral("DROP TABLE YearBook1"));
  fillPlan(kPlanMilestones);
  EXPECT_EQ(messages.numbers(), QList<long>{2180});

  messages.clear();
  data.diary().Execute(QStringLiteral("DROP TABLE WDiary"));
  fillDiary(kDiaryMilestones);
  EXPECT_EQ(messages.numbers(), QList<long>{2180});
  EXPECT_TRUE(sink.calls.isEmpty());
  EXPECT_TRUE(memos.isEmpty());
}

TEST_F(DiaryFillTest, DiaryItemsShowNameAndHoursWithHundredths) {
  const long tomato = master("CropMst", "トマト");
  const QString crop = QStringLiteral("CropCode"), work = QStringLiteral("WorkFactTime");
  diary(2024, 5, 2, {{crop, v(tomato)}, {work, v(45)}});
  diary(2024, 5, 2, {{crop, v(tomato)}, {work, v(130)}});  // no grouping: two lines
  diary(2024, 5, 3, {{crop, v(tomato)}, {work, v(175)}});  // 1:75 is 2:15
  diary(2024, 5, 4, {{crop, v(tomato)}, {work, v(0)}});
  diary(2024, 5, 5, {{crop, v(tomato)}, {work, v(1259)}});
  diary(2024, 5, 6, {{crop, v(777)}, {work, v(30)}});      // unknown crop
  diary(2024, 5, 7, {{work, v(30)}});                      // no crop
  data.addDiary(QDate(), {{crop, v(tomato)}, {work, v(30)}});  // Null date

  fillDiary(kByCrop);
  EXPECT_EQ(sink.calls, (QStringList{may(2, s("トマト  0.75")), may(2, s("トマト  1.50")),
                                     may(3, s("トマト  2.25")), may(4, s("トマト  0.00")),
                                     may(5, s("トマト 12.98")), may(6, QStringLiteral("  0.50"))}));
  EXPECT_EQ(memos.size(), 6);
}

TEST_F(DiaryFillTest, DiaryItemsReadTheirOwnMasterAndColumn) {
  const long plough = job("耕起"), taro = master("FarmerMst", "太郎"),
             tractor = master("MachineMst", "トラクタ"), field = master("FieldMst", "上の畑");
  diary(2024, 5, 9, {{QStringLiteral("JobCode"), v(plough)},
                     {QStringLiteral("FarmerCode"), v(taro)},
                     {QStringLiteral("MachineCode"), v(tractor)},
                     {QStringLiteral("FieldCode"), v(field)},
                     {QStringLiteral("WorkFactTime"), v(230)},
                     {QStringLiteral("McnFactTime"), v(115)},
                     {QStringLiteral("TotalArea"), v(125)}});
  const QList<std::pair<int, QString>> expected{
      {kByJob, s("耕起  2.50")},     {kByFarmer, s("太郎  2.50")},
      {kByMachine, s("トラクタ  1.25")}, {kByField, s("上の畑  2.50")},
      {kByArea, s("上の畑  12.5")}};
  for (const auto& [mode, text] : expected) {
    sink.calls.clear();
    fillDiary(mode);
    EXPECT_EQ(sink.calls, QStringList{may(9, text)}) << mode;
  }
}

TEST_F(DiaryFillTest, FebruaryEndsOnItsLastDay) {
  const long tomato = master("CropMst", "トマト");
  const RowValues row{{QStringLiteral("CropCode"), v(tomato)}, {QStringLiteral("WorkFactTime"), v(100)}};
  diary(2024, 2, 29, row);
  diary(2023, 2, 28, row);
  diary(2023, 3, 1, row);
  diary(2024, 3, 1, row);

  fillDiary(kByCrop, 20240200);
  EXPECT_EQ(sink.calls, QStringList{line(2, 29, s("トマト  1.00"))});
  sink.calls.clear();
  fillDiary(kByCrop, 20230200);
  EXPECT_EQ(sink.calls, QStringList{line(2, 28, s("トマト  1.00"))});
}

TEST_F(DiaryFillTest, MaterialsByKindWithTwoDecimals) {
  const long urea = master("FertilizerMst", "尿素");
  const long net = master("MaterialMst3", "防虫ネット");
  const long box = master("MaterialMst5", "出荷箱");
  const QString kind = QStringLiteral("Kind"), qty = QStringLiteral("Quantity");
  diary(2024, 5, 4, {{kind, v(0)}, {QStringLiteral("FrzCode"), v(urea)}, {qty, COleVariant(2.5)}});
  diary(2024, 5, 4, {{kind, v(3)}, {QStringLiteral("Mte3Code"), v(net)}, {qty, COleVariant(1.009)}});
  diary(2024, 5, 6, {{kind, v(5)}, {QStringLiteral("Mte5Code"), v(box)}, {qty, COleVariant(40.0)}});
  // The code of another category than the row's Kind is not read.
  diary(2024, 5, 7, {{kind, v(2)}, {QStringLiteral("Mte3Code"), v(net)}, {qty, COleVariant(1.0)}});
  diary(2024, 5, 8, {{kind, v(7)}, {QStringLiteral("Mte1Code"), v(net)}, {qty, COleVariant(1.0)}});
  diary(2024, 5, 9, {{kind, v(1)}, {QStringLiteral("Mte1Code"), v(555)}, {qty, COleVariant(3.0)}});
  diary(2024, 5, 10, {{QStringLiteral("WorkFactTime"), v(100)}});  // no material

  fillDiary(kMaterials);
  EXPECT_EQ(sink.calls, (QStringList{may(4, s("尿素 2.50")), may(4, s("防虫ネット 1.00")),
                                     may(6, s("出荷箱 40.00")), may(9, QStringLiteral(" 3.00"))}));
  EXPECT_EQ(memos.size(), 4);
  EXPECT_TRUE(messages.empty());
}

TEST_F(DiaryFillTest, MaterialsOfSeveralKindsOnADayKeepTheDiaryOrder) {
  const long urea = master("FertilizerMst", "尿素");
  const long lime = master("FertilizerMst", "石灰");
  const long oil = master("MaterialMst1", "マシン油");
  const long film = master("MaterialMst4", "マルチ");
  const long box = master("MaterialMst5", "出荷箱");
  const QString kind = QStringLiteral("Kind"), qty = QStringLiteral("Quantity");
  const QString frz = QStringLiteral("FrzCode"), mte1 = QStringLiteral("Mte1Code"),
                mte4 = QStringLiteral("Mte4Code"), mte5 = QStringLiteral("Mte5Code");
  // Entered out of day order, kinds mixed within a day, every code column
  // filled on some rows: the row's own Kind picks its column.
  diary(2024, 5, 20, {{kind, v(4)}, {mte4, v(film)}, {frz, v(urea)}, {qty, COleVariant(12.0)}});
  diary(2024, 5, 3, {{kind, v(1)}, {mte1, v(oil)}, {frz, v(lime)}, {qty, COleVariant(0.5)}});
  diary(2024, 5, 20, {{kind, v(0)}, {frz, v(lime)}, {mte4, v(film)}, {qty, COleVariant(2.99999)}});
  diary(2024, 5, 3, {{kind, v(0)}, {frz, v(urea)}, {qty, COleVariant()}});  // no quantity
  diary(2024, 5, 20, {{kind, v(5)}, {mte5, v(box)}, {qty, COleVariant(-1.5)}});
  diary(2024, 5, 20, {{frz, v(urea)}, {qty, COleVariant(1.0)}});  // no Kind: nothing
  diary(2024, 5, 20, {{kind, v(0)}, {frz, v(-3)}, {qty, COleVariant(1.0)}});  // code below 1
  diary(2024, 5, 3, {{kind, v(4)}, {mte4, v(film)}, {qty, COleVariant(0.125)}});
  diary(2024, 4, 30, {{kind, v(0)}, {frz, v(urea)}, {qty, COleVariant(9.0)}});  // April

  fillDiary(kMaterials);
  EXPECT_EQ(sink.calls,
            (QStringList{may(3, s("マシン油 0.50")), may(3, s("尿素 0.00")), may(3, s("マルチ 0.12")),
                         may(20, s("マルチ 12.00")), may(20, s("石灰 3.00")),
                         may(20, s("出荷箱 -1.50"))}));
  EXPECT_EQ(memos.size(), 6);
  EXPECT_EQ(memos[3].date, 20240520);
  EXPECT_EQ(meter.calls.last(), QStringLiteral("100"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(DiaryFillTest, MaterialsOfAnUnreadableDiaryShow2039Once) {
  const long urea = master("FertilizerMst", "尿素");
  diary(2024, 5, 4, {{QStringLiteral("Kind"), v(0)}, {QStringLiteral("FrzCode"), v(urea)}});
  data.diary().Execute(QStringLiteral("ALTER TABLE WDiary RENAME COLUMN Quantity TO Amount"));
  fillDiary(kMaterials);
  EXPECT_TRUE(sink.calls.isEmpty());
  EXPECT_EQ(messages.numbers(), QList<long>{2039});
}

TEST_F(DiaryFillTest, DiaryMilestonesShowMilestoneJobsOfTheDiary) {
  const long harvest = job("収穫", true), weed = job("除草");
  diary(2024, 5, 12, {{QStringLiteral("JobCode"), v(harvest)}});
  diary(2024, 5, 13, {{QStringLiteral("JobCode"), v(weed)}});
  diary(2024, 5, 31, {{QStringLiteral("JobCode"), v(harvest)}});
  diary(2024, 6, 1, {{QStringLiteral("JobCode"), v(harvest)}});
  diary(2024, 5, 14, {});

  fillDiary(kDiaryMilestones);
  EXPECT_EQ(sink.calls, (QStringList{may(12, s("収穫")), may(31, s("収穫"))}));
  EXPECT_EQ(memos.size(), 2);
  EXPECT_EQ(memos[1].date, 20240531);
}

TEST_F(DiaryFillTest, MeterAdvancesByRowsAndAClosedDatabaseAddsNothing) {
  const long tomato = master("CropMst", "トマト");
  for (int day = 1; day <= 4; ++day) diary(2024, 5, day, {{QStringLiteral("CropCode"), v(tomato)}});
  fillDiary(kByCrop);
  EXPECT_EQ(meter.calls, (QStringList{"25", "50", "75", "100"}));

  sink.calls.clear();
  memos.clear();
  data.diary().Close();
  for (int mode = 0; mode <= 7; ++mode) fillDiary(mode);
  for (int mode = 0; mode <= 5; ++mode) fillPlan(mode);
  hv6::fillFarmDiary(data.diary(), kMay2024, sink, memos, meter);
  EXPECT_TRUE(sink.calls.isEmpty());
  EXPECT_TRUE(memos.isEmpty());
  EXPECT_TRUE(messages.empty());
}

// ---- farm diary

class FarmDiaryTest : public DiaryFillTest {
 protected:
  QString pathOf(const char* name) { return QDir(data.folder()).filePath(QString::fromLatin1(name)); }
  void write(const char* name, const QByteArray& bytes) {
    QFile file(pathOf(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray rtf(const QString& text) {
    QByteArray body;
    for (char byte : hv6::cp932::encode(text))
      body += "\\'" + QByteArray::number(static_cast<unsigned char>(byte), 16);
    return "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0 " + body +
           "\\par}";
  }
  void fill() { hv6::fillFarmDiary(data.diary(), kMay2024, sink, memos, meter); }
};

TEST_F(FarmDiaryTest, ShowsTheFirstFortyCharactersOfEachPage) {
  const QString longText = s("天気：晴れ。トマトの定植を行った。苗の生育は順調で、朝晩の温度管理に気をつける。");
  write("20240503.rtf", rtf(longText));
  write("20240504.rtf", "{\\rtf1 \\u31282?\\u20808?\\par \\line {\\*\\x y}ok\\par}");
  write("20240531.rtf", rtf(s("月末")));
  write("20240601.rtf", rtf(s("翌月")));
  write("20240505.rtf", "{\\rtf1\\par}");  // no text: no line

  fill();
  EXPECT_EQ(sink.calls, (QStringList{may(3, longText.left(40)), may(4, s("稲先 ok")),
                                     may(31, s("月末"))}));
  EXPECT_EQ(memos.size(), 3);
  EXPECT_EQ(meter.calls.last(), QStringLiteral("100"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(FarmDiaryTest, DamagedOrForeignFilesShowNothing) {
  write("20240510.rtf", "just some text");
  write("20240511.rtf", "{\\rtf1 cut off \\'8");
  write("20240512.rtf", "{\\rtf1 unbalanced {\\b x}");
  write("20240513.rtf", rtf(s("正常")));
  fill();
  EXPECT_EQ(sink.calls, QStringList{may(13, s("正常"))});
  EXPECT_TRUE(messages.empty());
}

TEST_F(FarmDiaryTest, UnreadableFileSkipsTheDaySilently) {
  write("20240520.rtf", rtf(s("読めない")));
  QFile locked(pathOf("20240520.rtf"));
  ASSERT_TRUE(locked.setPermissions(QFileDevice::Permissions()));
  if (locked.open(QIODevice::ReadOnly)) GTEST_SKIP() << "this user reads every file";
  fill();
  EXPECT_TRUE(sink.calls.isEmpty());
  EXPECT_TRUE(messages.empty());
  locked.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(FarmDiaryTest, OtherFileErrorShows2620AndGoesOn) {
  ASSERT_TRUE(QDir(data.folder()).mkdir(QStringLiteral("20240521.rtf")));
  write("20240522.rtf", rtf(s("次の日")));
  fill();
  ASSERT_EQ(messages.numbers(), QList<long>{2620});
  EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("20240521.rtf")));
  EXPECT_EQ(sink.calls, QStringList{may(22, s("次の日"))});
}

}  // namespace
