#include "store/dataset.h"

#include "platform/dao/dao.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace {

// The value of a kind, or a marker that no such value was there.
template <class T>
T as(const DataSetValue& value, T none = T{-999}) {
  const T* v = std::get_if<T>(&value);
  return v != nullptr ? *v : none;
}
QString text(const DataSetValue& value) { return as<QString>(value, QStringLiteral("<none>")); }
bool none(const DataSetValue& value) { return std::holds_alternative<std::monostate>(value); }

class DataSetTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6test::TempDataFolder data;

  CDaoDatabase* diary() { return &data.diary(); }
  long insert(const char* table, const hv6test::RowValues& values) {
    return data.insertRow(data.diary(), QString::fromLatin1(table), values);
  }
};

TEST_F(DataSetTest, EmptyTableGivesNoRowsAndEmptyLookups) {
  CDataSet set(diary(), "JobMst", DS1_CODE | DS1_NAME, 0);
  EXPECT_TRUE(set.IsLoaded());
  EXPECT_EQ(set.GetCount(), 0);
  EXPECT_EQ(set.GetDateCount(20240105), 0);
  EXPECT_EQ(set.GetDateCode(20240105, 0), -1);
  EXPECT_EQ(set.GetCodeName(1), QString());
  EXPECT_TRUE(none(set.GetValue(0, DS1_CODE)));
  EXPECT_TRUE(messages.empty());
}

TEST_F(DataSetTest, NullsBecomeTheirReplacements) {
  data.addDiary(QDate(), {});
  insert("JobMst", {{"Scode", COleVariant(1L)}});
  insert("SlipDetails", {{"SlipCode", COleVariant(1L)}});

  CDataSet rows(diary(), "WDiary",
                DS1_DATETIME | DS1_JOBCODE | DS1_WORKFACTTIME | DS1_KIND | DS1_QUANTITY, 0);
  ASSERT_EQ(rows.GetCount(), 1);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_DATETIME)), -1);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_JOBCODE)), -1);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_WORKFACTTIME)), 0);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_KIND)), 0);
  EXPECT_EQ(as<COleCurrency>(rows.GetValue(0, DS1_QUANTITY), COleCurrency::fromUnits(-1)),
            COleCurrency());

  CDataSet jobs(diary(), "JobMst", DS1_CODE | DS1_NAME, 0);
  EXPECT_EQ(text(jobs.GetValue(0, DS1_NAME)), QString());
  CDataSet lines(diary(), "SlipDetails", DS1_STANDARDCODE | DS1_SUU | DS1_PROCEED, 0);
  EXPECT_EQ(as<long>(lines.GetValue(0, DS1_STANDARDCODE)), -1);
  EXPECT_EQ(as<double>(lines.GetValue(0, DS1_SUU)), 0.0);
  EXPECT_EQ(as<long>(lines.GetValue(0, DS1_PROCEED)), 0);
}

TEST_F(DataSetTest, WorkDiaryColumnsAndDateTimeAsYyyymmdd) {
  data.addDiary(QDate(2024, 2, 29),
                {{"JobCode", COleVariant(7L)}, {"WorkFactTime", COleVariant(130L)},
                 {"Kind", COleVariant(2L)}, {"Mte2Code", COleVariant(4L)},
                 {"Quantity", COleVariant(1.5)}});
  CDataSet rows(diary(), "WDiary",
                DS1_DATETIME | DS1_JOBCODE | DS1_WORKFACTTIME | DS1_KIND | DS1_MTE2CODE |
                    DS1_QUANTITY, 0);
  ASSERT_EQ(rows.GetCount(), 1);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_DATETIME)), 20240229);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_JOBCODE)), 7);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_WORKFACTTIME)), 130);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_KIND)), 2);
  EXPECT_EQ(as<long>(rows.GetValue(0, DS1_MTE2CODE)), 4);
  EXPECT_EQ(as<COleCurrency>(rows.GetValue(0, DS1_QUANTITY), {}).toDouble(), 1.5);
  EXPECT_TRUE(none(rows.GetValue(0, DS1_TOTALAREA))) << "not selected";
  EXPECT_TRUE(none(rows.GetValue(1, DS1_JOBCODE))) << "no such row";
  EXPECT_TRUE(none(rows.GetValue(0, DS1_JOBCODE, DS2_PATH))) << "two bits name no column";
}

TEST_F(DataSetTest, SlipsPicturesAndPlansGiveTheirColumns) {
  const long slip = insert("Slip", {{"SlipDate", COleVariant(20240103L)},
                                    {"AppType", COleVariant(0L)},
                                    {"CustomerCode", COleVariant(9L)},
                                    {"ClaimDate", COleVariant(20240131L)},
                                    {"Sasihiki", COleVariant(15000L)},
                                    {"Unit_Ave", COleVariant(120.5)}});
  insert("SlipDetails", {{"SlipCode", COleVariant(slip)}, {"AppType", COleVariant(0L)},
                         {"CropCode", COleVariant(3L)}, {"Tanka", COleVariant(99.25)}});
  CDataSet headers(diary(), "Slip",
                   DS1_SLIPDATE | DS1_CUSTOMERCODE | DS1_CLAIMDATE | DS1_SASIHIKI | DS1_UNIT_AVE,
                   0, "SlipDate BETWEEN 20240100 AND 20240131 AND AppType = 0");
  EXPECT_EQ(headers.GetDateCode(20240103, 0), 9);
  EXPECT_EQ(as<long>(headers.GetValue(0, DS1_CLAIMDATE)), 20240131);
  EXPECT_EQ(as<long>(headers.GetValue(0, DS1_SASIHIKI)), 15000);
  EXPECT_EQ(as<double>(headers.GetValue(0, DS1_UNIT_AVE)), 120.5);
  CDataSet lines(diary(), "SlipDetails", DS1_CROPCODE | DS1_TANKA, 0,
                 "SlipCode = ? AND AppType = 0", {COleVariant(slip)});
  EXPECT_EQ(as<long>(lines.GetValue(0, DS1_CROPCODE)), 3);
  EXPECT_EQ(as<double>(lines.GetValue(0, DS1_TANKA)), 99.25);

  insert("PictureLink", {{"PhotoDate", COleVariant(20240105L)}, {"Title", COleVariant("畑")},
                         {"Memo", COleVariant("memo")}, {"Path", COleVariant("/p/a.jpg")},
                         {"Contrast", COleVariant(2L)}, {"Sharp", COleVariant(3L)}});
  CDataSet pictures(diary(), "PictureLink", DS1_CODE, 0x3FC, "PhotoDate = 20240105");
  EXPECT_EQ(pictures.GetDateCount(20240105), 1);
  EXPECT_EQ(text(pictures.GetValue(0, 0, DS2_PATH)), "/p/a.jpg");
  EXPECT_EQ(text(pictures.GetValue(0, 0, DS2_TITLE)), "畑");
  EXPECT_EQ(text(pictures.GetValue(0, 0, DS2_MEMO)), "memo");
  EXPECT_EQ(as<long>(pictures.GetValue(0, 0, DS2_CONTRAST)), 2);
  EXPECT_EQ(as<long>(pictures.GetValue(0, 0, DS2_SHARP)), 3);
  EXPECT_EQ(as<long>(pictures.GetValue(0, 0, DS2_DISPRATE)), 0);

  insert("YearBook1", {{"Date", COleVariant(20240110L)}, {"J_JobCode", COleVariant(2L)}});
  CDataSet done(diary(), "YearBook1", DS1_DATE, DS2_J_JOBCODE);
  EXPECT_EQ(done.GetDateCode(20240110, 0), 2);
}

TEST_F(DataSetTest, TwoColumnsOfOneKindLoadOnlyTheFirst) {
  data.addDiary(QDate(2024, 1, 5),
                {{"WorkFactTime", COleVariant(100L)}, {"McnFactTime", COleVariant(200L)}});
  CDataSet set(diary(), "WDiary", DS1_DATETIME | DS1_WORKFACTTIME | DS1_MCNFACTTIME, 0);
  ASSERT_EQ(set.GetCount(), 1);
  EXPECT_EQ(as<long>(set.GetValue(0, DS1_WORKFACTTIME)), 100);
  EXPECT_TRUE(none(set.GetValue(0, DS1_MCNFACTTIME)));
}

TEST_F(DataSetTest, MonthQueriesIncludeTheLastDayAndNotTheNextMonth) {
  for (const QDate& day : {QDate(2023, 12, 31), QDate(2024, 1, 1), QDate(2024, 1, 31),
                           QDate(2024, 2, 1)})
    data.addDiary(day, {});
  const QString month =
      QString::asprintf("Date BETWEEN #%ld/1/%ld# AND #%ld/%ld/%ld#", 1L, 2024L, 1L, 31L, 2024L);
  CDataSet january(diary(), "WDiary", DS1_DATETIME, 0, month);
  EXPECT_EQ(january.GetCount(), 2);
  EXPECT_EQ(january.GetDateCount(20240101), 1);
  EXPECT_EQ(january.GetDateCount(20240131), 1);

  for (long date : {20231231L, 20240101L, 20240131L, 20240201L})
    insert("YearBook1", {{"Date", COleVariant(date)}});
  CDataSet plans(diary(), "YearBook1", DS1_DATE, 0, "Date BETWEEN 20240100 AND 20240131");
  EXPECT_EQ(plans.GetCount(), 2);
}

TEST_F(DataSetTest, CountsAndCodesOfADayInRowOrder) {
  for (long job : {3L, 1L, 2L}) data.addDiary(QDate(2024, 3, 15), {{"JobCode", COleVariant(job)}});
  data.addDiary(QDate(2024, 3, 16), {{"JobCode", COleVariant(9L)}});
  data.addDiary(QDate(), {{"JobCode", COleVariant(8L)}});
  CDataSet set(diary(), "WDiary", DS1_DATETIME | DS1_JOBCODE, 0);
  EXPECT_EQ(set.GetCount(), 5);
  EXPECT_EQ(set.GetDateCount(20240315), 3);
  EXPECT_EQ(set.GetDateCode(20240315, 0), 3);
  EXPECT_EQ(set.GetDateCode(20240315, 1), 1);
  EXPECT_EQ(set.GetDateCode(20240315, 2), 2);
  EXPECT_EQ(set.GetDateCode(20240315, 3), -1);
  EXPECT_EQ(set.GetDateCode(20240315, -1), -1);
  EXPECT_EQ(set.GetDateCode(20240316, 0), 9);
  EXPECT_EQ(set.GetDateCount(-1), 0) << "a Null date matches nothing";
}

TEST_F(DataSetTest, NameOfACode) {
  const long plough = data.addMaster("JobMst", 10, "耕起");
  const long sow = data.addMaster("JobMst", 20, "播種");
  CDataSet jobs(diary(), "JobMst", DS1_CODE | DS1_NAME, 0);
  EXPECT_EQ(jobs.GetCodeName(plough), "耕起");
  EXPECT_EQ(jobs.GetCodeName(sow), "播種");
  EXPECT_EQ(jobs.GetCodeName(sow + 100), QString());
  CDataSet codesOnly(diary(), "JobMst", DS1_CODE, 0);
  EXPECT_EQ(codesOnly.GetCodeName(plough), QString());
}

TEST_F(DataSetTest, BoundConditionValuesAreNeverSpliced) {
  insert("FarmerMst", {{"Name", COleVariant("O'Brien")}});
  CDataSet set(diary(), "FarmerMst", DS1_CODE, 0, "Name = ?", {COleVariant("O'Brien")});
  EXPECT_EQ(set.GetCount(), 1);
  CDataSet injected(diary(), "FarmerMst", DS1_CODE, 0, "Name = ?", {COleVariant("x' OR '1'='1")});
  EXPECT_EQ(injected.GetCount(), 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(DataSetTest, FailedLoadShowsTheReadErrorAndHoldsNoRows) {
  CDataSet missingTable(diary(), "NoSuchTable", DS1_CODE, 0);
  EXPECT_FALSE(missingTable.IsLoaded());
  EXPECT_EQ(missingTable.GetCount(), 0);
  ASSERT_EQ(messages.numbers(), QList<long>{2039});
  EXPECT_EQ(messages.messages().first().kind, 1);
  messages.clear();

  data.addMaster("JobMst", 1, "x");
  CDataSet missingColumn(diary(), "JobMst", DS1_CODE | DS1_CLAIMDATE, 0);
  EXPECT_EQ(missingColumn.GetCount(), 0);
  EXPECT_EQ(missingColumn.GetCodeName(1), QString());
  EXPECT_EQ(messages.numbers(), QList<long>{2039});
}

}  // namespace
