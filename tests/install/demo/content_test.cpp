#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <map>
#include <memory>

#include "install/demo/demodata.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "store/dataset.h"
#include "store/schema.h"
#include "tests/install/demo/demo_fixture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

namespace {

constexpr int kYear = 2024;  // a leap year

long day(int month, int dayOfMonth) { return kYear * 10000L + month * 100 + dayOfMonth; }

bool isDate(long yyyymmdd) {
  return QDate(static_cast<int>(yyyymmdd / 10000), static_cast<int>(yyyymmdd / 100 % 100),
               static_cast<int>(yyyymmdd % 100))
      .isValid();
}

bool isTime(long hhmm) { return hhmm >= 0 && hhmm % 100 < 60 && hhmm / 100 < 24; }
int minutes(long hhmm) { return static_cast<int>(hhmm / 100 * 60 + hhmm % 100); }

// One demo for every test of the suite, opened read-only.
class DemoContentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    env_ = std::make_unique<hv6test::TestEnvironment>();
    folder_ = env_->path(QStringLiteral("demodata"));
    QString error;
    ASSERT_TRUE(hv6::demo::generateDemoData(folder_, {6, kYear}, &error)) << error.toStdString();
  }
  static void TearDownTestSuite() { env_.reset(); }

  void SetUp() override {
    diary_.Open(QDir(folder_).filePath(hv6::kDiaryFileName), false, true);
    weather_.Open(QDir(folder_).filePath(hv6::kWeatherFileName), false, true);
  }

  long count(CDaoDatabase& db, const QString& tableAndCondition) {
    return demotest::scalar(db, QStringLiteral("SELECT COUNT(*) FROM ") + tableAndCondition);
  }
  long diaryCount(const char* tableAndCondition) {
    return count(diary_, QString::fromUtf8(tableAndCondition));
  }
  // Rows of table whose column holds a code that master does not hold.
  long dangling(const char* table, const char* column, const char* master) {
    return diaryCount(QStringLiteral("%1 WHERE %2 IS NOT NULL AND %2 NOT IN (SELECT Code FROM %3)")
                          .arg(QString::fromLatin1(table), QString::fromLatin1(column),
                               QString::fromLatin1(master))
                          .toUtf8()
                          .constData());
  }

  static inline std::unique_ptr<hv6test::TestEnvironment> env_;
  static inline QString folder_;
  CDaoDatabase diary_;
  CDaoDatabase weather_;
  hv6test::MessageRecorder messages_;
};

TEST_F(DemoContentTest, InformationDescribesTheFarm) {
  CDaoRecordset info(&diary_);
  info.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Information"));
  ASSERT_EQ(info.GetRecordCount(), 1);
  EXPECT_EQ(info.GetFieldValue(QStringLiteral("Dataversion")).toString(),
            QStringLiteral("6.05.01"));
  for (const char* column : {"Company", "President", "TelNo", "FaxNo", "GroupName"})
    EXPECT_FALSE(info.GetFieldValue(QString::fromLatin1(column)).toString().isEmpty()) << column;
  const QStringList categories{QStringLiteral("農薬"), QStringLiteral("資材"),
                               QStringLiteral("種苗"), QStringLiteral("燃料"),
                               QStringLiteral("その他")};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(info.GetFieldValue(QStringLiteral("Mte%1Name").arg(i + 1)).toString(), categories[i]);
  EXPECT_TRUE(isDate(info.GetFieldValue(QStringLiteral("LastBackup")).toLong()));
  EXPECT_EQ(diaryCount("IWDryOption WHERE Code = 1"), 1);
}

TEST_F(DemoContentTest, MastersHaveActiveNamedRowsAndMilestones) {
  for (const char* table :
       {"CropMst", "JobMst", "FieldMst", "FarmerMst", "MachineMst", "FertilizerMst", "MaterialMst1",
        "MaterialMst2", "MaterialMst3", "MaterialMst4", "MaterialMst5", "UnitMst", "CustomerMst",
        "BuyerMst", "GradeMst", "StandardMst"}) {
    const QString name = QString::fromLatin1(table);
    EXPECT_GE(count(diary_, name), 3) << table;
    EXPECT_EQ(count(diary_, name + QStringLiteral(" WHERE Use <> 0 OR Name IS NULL")), 0) << table;
  }
  EXPECT_EQ(diaryCount("CropMst WHERE Name IN ('水稲', 'トマト', 'きゅうり', '大豆')"), 4);
  EXPECT_EQ(diaryCount("GradeMst WHERE Name IN ('秀', '優', '良')"), 3);
  EXPECT_EQ(diaryCount("StandardMst WHERE Name IN ('2L', 'L', 'M', 'S')"), 4);
  const std::set<long> milestones =
      demotest::codes(diary_, QStringLiteral("JobMst WHERE MileStone = true"));
  EXPECT_GE(milestones.size(), 8u);
  EXPECT_EQ(
      diaryCount(
          "JobMst WHERE MileStone = true AND Name NOT IN ('播種', '定植', '田植え', '収穫開始')"),
      0);
  EXPECT_EQ(diaryCount("JobMst WHERE MileStone = true AND Name = '田植え'"), 1);
}

TEST_F(DemoContentTest, NoCodeRefersToAMissingMasterRow) {
  const std::map<const char*, const char*> wdiary{
      {"CropCode", "CropMst"},      {"JobCode", "JobMst"},         {"FieldCode", "FieldMst"},
      {"FarmerCode", "FarmerMst"},  {"MachineCode", "MachineMst"}, {"FrzCode", "FertilizerMst"},
      {"Mte1Code", "MaterialMst1"}, {"Mte2Code", "MaterialMst2"},  {"Mte3Code", "MaterialMst3"},
      {"Mte4Code", "MaterialMst4"}, {"Mte5Code", "MaterialMst5"}};
  for (const auto& [column, master] : wdiary)
    EXPECT_EQ(dangling("WDiary", column, master), 0) << column;
  EXPECT_EQ(dangling("YearBook1", "JobCode", "JobMst"), 0);
  EXPECT_EQ(dangling("YearBook1", "J_JobCode", "JobMst"), 0);
  for (const auto& [column, master] :
       std::map<const char*, const char*>{{"CropCode", "CropMst"},
                                          {"BuyerCode", "BuyerMst"},
                                          {"GradeCode", "GradeMst"},
                                          {"StandardCode", "StandardMst"},
                                          {"FieldCode", "FieldMst"},
                                          {"SlipCode", "Slip"},
                                          {"CustomerCode", "CustomerMst"}})
    EXPECT_EQ(dangling("SlipDetails", column, master), 0) << column;
  EXPECT_EQ(dangling("Slip", "CustomerCode", "CustomerMst"), 0);
  for (const char* table : {"JobMst", "FieldMst", "MachineMst", "FertilizerMst", "MaterialMst1"})
    EXPECT_EQ(dangling(table, "CropCode", "CropMst"), 0) << table;
  EXPECT_EQ(dangling("FieldMst", "AreaUnit", "UnitMst"), 0);
  EXPECT_EQ(diaryCount("WDiary WHERE JobCode IS NULL OR FarmerCode IS NULL OR Date IS NULL"), 0);
  EXPECT_EQ(diaryCount("SlipDetails WHERE CropCode IS NULL"), 0);
}

TEST_F(DemoContentTest, WorkDiaryFillsEveryMonthWithSoundTimes) {
  CDaoRecordset rows(&diary_);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM WDiary"));
  std::map<int, int> perMonth;
  int withMachine = 0;
  for (; !rows.IsEOF(); rows.MoveNext()) {
    const QDate date = rows.GetFieldValue(QStringLiteral("Date")).toDateTime().date();
    ASSERT_EQ(date.year(), kYear);
    ++perMonth[date.month()];
    const auto value = [&](const char* column) {
      return rows.GetFieldValue(QString::fromLatin1(column));
    };
    for (const char* column : {"WorkFactTime", "RestFactTime", "WorkStartTime", "WorkEndTime"})
      ASSERT_TRUE(isTime(value(column).toLong())) << column << " " << value(column).toLong();
    const int span =
        minutes(value("WorkEndTime").toLong()) - minutes(value("WorkStartTime").toLong());
    EXPECT_EQ(span,
              minutes(value("WorkFactTime").toLong()) + minutes(value("RestFactTime").toLong()));
    EXPECT_GT(value("WorkFactTime").toLong(), 0);
    if (value("MachineCode").isNull()) continue;
    ++withMachine;
    for (const char* column : {"McnFactTime", "McnStartTime", "McnEndTime"})
      ASSERT_TRUE(isTime(value(column).toLong())) << column;
    EXPECT_GE(value("McnStartTime").toLong(), value("WorkStartTime").toLong());
    EXPECT_LE(value("McnEndTime").toLong(), value("WorkEndTime").toLong());
  }
  for (int month = 1; month <= 12; ++month) EXPECT_GE(perMonth[month], 3) << "month " << month;
  EXPECT_GE(rows.GetRecordCount(), 300);
  EXPECT_GE(withMachine, 20);
  EXPECT_GT(diaryCount("WDiary WHERE TotalArea > 0"), 100);
  EXPECT_GT(diaryCount("WDiary WHERE LightOil > 0"), 5);
}

TEST_F(DemoContentTest, MaterialsSitInTheColumnOfTheirKind) {
  for (int kind = 0; kind <= 5; ++kind) {
    EXPECT_GT(count(diary_, QStringLiteral("WDiary WHERE Kind = %1").arg(kind)), 0) << kind;
    for (int other = 0; other <= 5; ++other) {
      const QString column = hv6::materialCodeColumn(other);
      const QString condition =
          other == kind ? QStringLiteral("IS NULL") : QStringLiteral("IS NOT NULL");
      EXPECT_EQ(
          count(
              diary_,
              QStringLiteral("WDiary WHERE Kind = %1 AND %2 %3").arg(kind).arg(column, condition)),
          0)
          << kind << " " << column.toStdString();
    }
  }
  EXPECT_EQ(
      diaryCount("WDiary WHERE Kind IS NULL AND (Quantity IS NOT NULL OR FrzCode IS NOT NULL OR "
                 "Mte1Code IS NOT NULL OR Mte2Code IS NOT NULL OR Mte3Code IS NOT NULL OR "
                 "Mte4Code IS NOT NULL OR Mte5Code IS NOT NULL)"),
      0);
  EXPECT_EQ(diaryCount("WDiary WHERE Kind IS NOT NULL AND NOT (Quantity > 0)"), 0);
  EXPECT_GT(diaryCount("WDiary WHERE Kind = 1 AND Dilute = '1000倍' AND Vermin IS NOT NULL"), 0);
  EXPECT_GT(diaryCount("WDiary WHERE Scatter IS NOT NULL"), 0);
}

TEST_F(DemoContentTest, PlanHoldsPlannedAndDoneJobsAcrossTheYear) {
  for (int month = 1; month <= 12; ++month)
    EXPECT_GT(count(diary_, QStringLiteral("YearBook1 WHERE Date BETWEEN %1 AND %2")
                                .arg(day(month, 0))
                                .arg(day(month, 0) + 31)),
              0)
        << month;
  EXPECT_GT(diaryCount("YearBook1 WHERE JobCode = J_JobCode"), 100);
  EXPECT_GT(diaryCount("YearBook1 WHERE JobCode IS NOT NULL AND J_JobCode IS NULL"), 0);
  EXPECT_GT(diaryCount("YearBook1 WHERE JobCode IS NULL AND J_JobCode IS NOT NULL"), 0);
  EXPECT_EQ(diaryCount("YearBook1 WHERE JobCode IS NULL AND J_JobCode IS NULL"), 0);
  // Each milestone was planned and done.
  CDaoRecordset milestones(&diary_);
  milestones.Open(
      dbOpenSnapshot,
      QStringLiteral("SELECT YearBook1.Date, YearBook1.JobCode, YearBook1.J_JobCode FROM JobMst "
                     "INNER JOIN YearBook1 "
                     "ON (JobMst.Code = YearBook1.JobCode) OR (JobMst.Code = YearBook1.J_JobCode) "
                     "WHERE JobMst.MileStone = true"));
  std::set<long> planned, done;
  for (; !milestones.IsEOF(); milestones.MoveNext()) {
    planned.insert(milestones.GetFieldValue(1).toLong());
    done.insert(milestones.GetFieldValue(2).toLong());
  }
  const std::set<long> all =
      demotest::codes(diary_, QStringLiteral("JobMst WHERE MileStone = true"));
  for (long job : all) {
    EXPECT_TRUE(planned.contains(job)) << job;
    EXPECT_TRUE(done.contains(job)) << job;
  }
  // What the plan calls done was done that day in the work diary.
  CDaoRecordset doneRows(&diary_);
  doneRows.Open(
      dbOpenSnapshot,
      QStringLiteral("SELECT Date, J_JobCode FROM YearBook1 WHERE J_JobCode IS NOT NULL"));
  for (; !doneRows.IsEOF(); doneRows.MoveNext()) {
    const long date = doneRows.GetFieldValue(0).toLong();
    const QString jet =
        QStringLiteral("#%1/%2/%3#").arg(date / 100 % 100).arg(date % 100).arg(date / 10000);
    EXPECT_GT(count(diary_, QStringLiteral("WDiary WHERE Date = %1 AND JobCode = %2")
                                .arg(jet)
                                .arg(doneRows.GetFieldValue(1).toLong())),
              0)
        << date;
  }
}

TEST_F(DemoContentTest, SalesSlipsAddUp) {
  for (int month = 1; month <= 12; ++month)
    EXPECT_GT(count(diary_, QStringLiteral("Slip WHERE SlipDate BETWEEN %1 AND %2 AND AppType = 0")
                                .arg(day(month, 0))
                                .arg(day(month, 0) + 31)),
              0)
        << month;
  EXPECT_GT(diaryCount("Slip WHERE AppType = 1"), 0);
  EXPECT_EQ(diaryCount("Slip WHERE AppType NOT IN (0, 1)"), 0);
  EXPECT_EQ(diaryCount("Slip WHERE Code NOT IN (SELECT SlipCode FROM SlipDetails)"), 0);
  EXPECT_EQ(diaryCount("SlipDetails INNER JOIN Slip ON Slip.Code = SlipDetails.SlipCode "
                       "WHERE Slip.AppType <> SlipDetails.AppType"),
            0);
  EXPECT_GT(diaryCount("SlipDetails WHERE BuyerCode IS NOT NULL AND GradeCode IS NOT NULL AND "
                       "StandardCode IS NOT NULL"),
            50);

  CDaoRecordset lines(&diary_);
  lines.Open(dbOpenSnapshot,
             QStringLiteral("SELECT SlipCode, Suu, Tanka, Proceed, Tax FROM SlipDetails"));
  std::map<long, std::pair<double, long>> sums;  // slip -> quantity, amount with tax
  for (; !lines.IsEOF(); lines.MoveNext()) {
    const double suu = lines.GetFieldValue(1).toDouble();
    const double tanka = lines.GetFieldValue(2).toDouble();
    EXPECT_GT(suu, 0);
    EXPECT_EQ(lines.GetFieldValue(3).toLong(), std::lround(suu * tanka));
    auto& sum = sums[lines.GetFieldValue(0).toLong()];
    sum.first += suu;
    sum.second += lines.GetFieldValue(3).toLong() + lines.GetFieldValue(4).toLong();
  }
  CDaoRecordset slips(&diary_);
  slips.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Slip"));
  for (; !slips.IsEOF(); slips.MoveNext()) {
    const auto value = [&](const char* column) {
      return slips.GetFieldValue(QString::fromLatin1(column));
    };
    const auto& sum = sums[value("Code").toLong()];
    EXPECT_DOUBLE_EQ(value("Suu_Kei").toDouble(), sum.first);
    EXPECT_EQ(value("Sasihiki").toLong(), sum.second);
    EXPECT_NEAR(value("Unit_Ave").toDouble(), value("TaxOutAmount").toDouble() / sum.first, 0.01);
    for (const char* column : {"SlipDate", "ShipDate", "ClaimDate"})
      EXPECT_TRUE(isDate(value(column).toLong())) << column;
    EXPECT_GE(value("ClaimDate").toLong(), value("SlipDate").toLong());
    EXPECT_EQ(value("SlipNo").toString().size(), 13);
  }
}

TEST_F(DemoContentTest, WeatherCoversEveryDayInBothDatabases) {
  const long days = QDate(kYear, 1, 1).daysInYear();
  for (CDaoDatabase* db : {&diary_, &weather_}) {
    EXPECT_EQ(count(*db, QStringLiteral("Weather")), days);
    EXPECT_EQ(demotest::codes(*db, QStringLiteral("Weather"), QStringLiteral("Date")).size(),
              static_cast<std::size_t>(days));
    EXPECT_EQ(count(*db, QStringLiteral("Weather WHERE Date = %1").arg(day(2, 29))), 1);
    EXPECT_EQ(count(*db, QStringLiteral(
                             "Weather WHERE Item1 NOT BETWEEN 0 AND 9 OR Item2 NOT BETWEEN 0 AND 9 "
                             "OR Item3 NOT BETWEEN 0 AND 9")),
              0);
    const long empty =
        count(*db, QStringLiteral("Weather WHERE Item1 IS NULL OR Item2 IS NULL OR Item3 IS NULL"));
    EXPECT_GT(empty, 0);
    EXPECT_LT(empty, 40);
  }
  EXPECT_EQ(demotest::dumpTable(diary_, QStringLiteral("Weather"), folder_),
            demotest::dumpTable(weather_, QStringLiteral("Weather"), folder_));
  // Snow in winter, none in summer.
  EXPECT_GT(count(weather_, QStringLiteral("Weather WHERE Date < %1 AND Item1 = 8").arg(day(3, 0))),
            5);
  EXPECT_EQ(count(weather_, QStringLiteral(
                                "Weather WHERE Date BETWEEN %1 AND %2 AND (Item1 = 8 OR Item2 = 8)")
                                .arg(day(5, 1))
                                .arg(day(9, 30))),
            0);
  EXPECT_GT(
      count(weather_, QStringLiteral("Item WHERE DataSpecies = 0 AND LastUpdate IS NOT NULL")), 0);
}

TEST_F(DemoContentTest, ObservationPointsHoldEveryFieldOnce) {
  CDaoRecordset points(&weather_);
  points.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Location"));
  ASSERT_GE(points.GetRecordCount(), 1);
  ASSERT_LE(points.GetRecordCount(), 2);
  for (; !points.IsEOF(); points.MoveNext()) {
    const auto value = [&](const char* column) {
      return points.GetFieldValue(QString::fromLatin1(column));
    };
    EXPECT_TRUE(value("EDate").isNull());
    EXPECT_EQ(value("SDate").toLong() / 10000, kYear);
    EXPECT_TRUE(value("Ido_HH").toLong() >= 24 && value("Ido_HH").toLong() <= 46);  // Japan
    EXPECT_TRUE(value("Keido_HH").toLong() >= 122 && value("Keido_HH").toLong() <= 154);
    for (const char* part : {"Ido_MM", "Ido_SS", "Keido_MM", "Keido_SS"})
      EXPECT_LT(value(part).toLong(), 60) << part;
  }
  const std::set<long> fieldCodes = demotest::codes(diary_, QStringLiteral("FieldMst"));
  EXPECT_EQ(demotest::codes(weather_, QStringLiteral("TargetField"), QStringLiteral("Field")),
            fieldCodes);
  EXPECT_EQ(count(weather_, QStringLiteral("TargetField")), static_cast<long>(fieldCodes.size()));
  EXPECT_EQ(count(weather_,
                  QStringLiteral("TargetField WHERE Location NOT IN (SELECT Code FROM Location)")),
            0);
}

TEST_F(DemoContentTest, PhotosAreDrawnPicturesOnWorkDays) {
  CDaoRecordset photos(&diary_);
  photos.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM PictureLink"));
  EXPECT_GE(photos.GetRecordCount(), 10);
  EXPECT_LE(photos.GetRecordCount(), 20);
  std::map<long, int> perDay;
  for (; !photos.IsEOF(); photos.MoveNext()) {
    const auto value = [&](const char* column) {
      return photos.GetFieldValue(QString::fromLatin1(column));
    };
    const long date = value("PhotoDate").toLong();
    ++perDay[date];
    EXPECT_EQ(date / 10000, kYear);
    EXPECT_FALSE(value("Title").toString().isEmpty());
    EXPECT_FALSE(value("Memo").toString().isEmpty());
    const QString path = value("Path").toString();
    EXPECT_TRUE(QFileInfo(path).isAbsolute()) << path.toStdString();
    EXPECT_TRUE(path.startsWith(folder_)) << path.toStdString();
    EXPECT_TRUE(path.endsWith(QStringLiteral(".jpg")));
    const QImage image(path);
    ASSERT_FALSE(image.isNull()) << path.toStdString();
    EXPECT_EQ(image.size(), QSize(640, 480));
    // Not a blank canvas: corners of sky and ground differ.
    EXPECT_NE(image.pixel(5, 5), image.pixel(5, 470));
  }
  EXPECT_TRUE(std::any_of(perDay.begin(), perDay.end(),
                          [](const auto& entry) { return entry.second >= 2; }));
}

TEST_F(DemoContentTest, FarmDiaryPagesAreJapaneseRtf) {
  const QStringList pages =
      QDir(folder_).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name);
  EXPECT_GE(pages.size(), 20);
  EXPECT_LE(pages.size(), 40);
  std::set<int> months;
  for (const QString& page : pages) {
    const QDate date = QDate::fromString(page.left(8), QStringLiteral("yyyyMMdd"));
    ASSERT_TRUE(date.isValid()) << page.toStdString();
    months.insert(date.month());
    const QByteArray rtf = demotest::readAll(QDir(folder_).filePath(page));
    EXPECT_TRUE(rtf.contains("\\ansicpg932"));
    EXPECT_TRUE(rtf.contains("\\fcharset128"));
    for (char byte : rtf) ASSERT_LT(static_cast<unsigned char>(byte), 0x80) << page.toStdString();
    bool ok = false;
    const QString text = demotest::rtfText(rtf, &ok);
    EXPECT_TRUE(ok) << page.toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("天気："))) << text.toStdString();
    EXPECT_GE(text.count(QLatin1Char('\n')), 3);
    EXPECT_FALSE(text.contains(QLatin1Char('?'))) << text.toStdString();
  }
  EXPECT_EQ(months.size(), 12u);
}

TEST_F(DemoContentTest, FieldMapNamesEveryField) {
  const QByteArray bytes = demotest::readAll(QDir(folder_).filePath(QStringLiteral("ほ場図.fmp")));
  ASSERT_FALSE(bytes.isEmpty());
  EXPECT_FALSE(hv6::cp932::isValidUtf8(bytes));
  const QString text = hv6::cp932::decode(bytes);
  CDaoRecordset fields(&diary_);
  fields.Open(dbOpenSnapshot, QStringLiteral("SELECT Name FROM FieldMst"));
  for (; !fields.IsEOF(); fields.MoveNext())
    EXPECT_TRUE(text.contains(QStringLiteral("Name=") + fields.GetFieldValue(0).toString()));
}

TEST_F(DemoContentTest, EveryTextHasACodePage932Form) {
  for (const auto& [db, tables] :
       {std::pair{&diary_, hv6::diaryTables()}, std::pair{&weather_, hv6::weatherTables()}}) {
    for (const hv6::TableSpec& table : tables) {
      for (const QString& row : demotest::dumpTable(*db, table.name, folder_))
        EXPECT_TRUE(hv6::cp932::canEncode(row))
            << table.name.toStdString() << ": " << row.toStdString();
    }
  }
}

// The month loads the calendar runs, through the column cache.
TEST_F(DemoContentTest, MonthOpensThroughTheDataSet) {
  CDataSet work(&diary_, QStringLiteral("WDiary"), DS1_DATETIME | DS1_JOBCODE | DS1_WORKFACTTIME, 0,
                QStringLiteral("Date BETWEEN #%1/1/%2# AND #%1/%3/%2#").arg(6).arg(kYear).arg(30));
  CDataSet jobs(&diary_, QStringLiteral("JobMst"), DS1_CODE | DS1_NAME, 0);
  ASSERT_GT(work.GetCount(), 20);
  for (long row = 0; row < work.GetCount(); ++row) {
    const long date = std::get<long>(work.GetValue(row, DS1_DATETIME));
    EXPECT_TRUE(date >= day(6, 1) && date <= day(6, 30)) << date;
    EXPECT_FALSE(jobs.GetCodeName(std::get<long>(work.GetValue(row, DS1_JOBCODE))).isEmpty());
  }
  CDataSet plan(&diary_, QStringLiteral("YearBook1"), DS1_DATE | DS1_JOBCODE, DS2_J_JOBCODE,
                QStringLiteral("Date BETWEEN %1 AND %2").arg(day(6, 0)).arg(day(6, 0) + 31));
  EXPECT_GT(plan.GetCount(), 5);
  CDataSet slips(&diary_, QStringLiteral("Slip"), DS1_CODE | DS1_SLIPDATE | DS1_SASIHIKI, 0,
                 QStringLiteral("SlipDate BETWEEN %1 AND %2 AND AppType = 0")
                     .arg(day(8, 0))
                     .arg(day(8, 0) + 31));
  EXPECT_GT(slips.GetCount(), 10);
  CDataSet photos(&diary_, QStringLiteral("PictureLink"), DS1_CODE, 0x3FC);
  EXPECT_GE(photos.GetCount(), 10);
  EXPECT_TRUE(work.IsLoaded() && jobs.IsLoaded() && plan.IsLoaded() && slips.IsLoaded() &&
              photos.IsLoaded());
  EXPECT_TRUE(messages_.empty());
}

}  // namespace

using DemoSalesTest = DemoContentTest;

// The sales host opens the demo farm with masters that match its slips:
// every client and goods of a slip has its record, the company record
// carries the rates the slips use, and the clients' figures add up.
TEST_F(DemoSalesTest, TheSalesMastersMatchTheSlips) {
  CDaoDatabase diary;
  diary.Open(QDir(folder_).filePath(hv6::kDiaryFileName));
  sl::CSelJetAccess store(&diary);
  QList<sl::S_CLIENTSEL> clients;
  ASSERT_EQ(store.ReadClients(clients), sl::kSlOk);
  ASSERT_EQ(clients.size(), 5);
  long slips = 0;
  for (const sl::S_CLIENTSEL& client : clients) {
    EXPECT_GE(client.taxTiming, 1);
    EXPECT_LE(client.taxTiming, 2);
    slips += client.salesSlipCount;
  }
  EXPECT_EQ(slips, demotest::scalar(diary, QStringLiteral("SELECT COUNT(*) FROM Slip")));
  EXPECT_EQ(demotest::scalar(diary, QStringLiteral("SELECT COUNT(*) FROM SlipDetails WHERE "
                                                   "GoodsCode NOT IN (SELECT GoodsCode FROM SalesGoods)")),
            0);
  sl::S_COMMODITY goods{};
  ASSERT_EQ(store.ReadGoods(QStringLiteral("T01"), goods), sl::kSlOk);
  EXPECT_EQ(sl::slText(goods.name), QStringLiteral("トマト 4kg箱"));
  sl::S_COMPANY company{};
  ASSERT_EQ(store.ReadCompany(company), sl::kSlOk);
  EXPECT_EQ(company.taxRates[1], 800);
  EXPECT_EQ(company.reducedRate[1], 1);
  EXPECT_EQ(sl::slText(company.invoiceNo).size(), 14);
  sl::S_PERSON person{};
  EXPECT_EQ(store.ReadPerson(1, person), sl::kSlOk);
  // The environment continues the numbering after the last stored slips.
  sl::S_SELENV env{};
  ASSERT_EQ(store.ReadEnvironment(env), sl::kSlOk);
  bool exists = false;
  ASSERT_EQ(store.ExistSlipHead(0, sl::slText(env.lastNoSales), exists), sl::kSlOk);
  EXPECT_TRUE(exists);
}
