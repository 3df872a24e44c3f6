// The Jet statements the program runs, against a small schema of its tables.
#include "tests/platform/dao/dao_test_util.h"

#include <QSet>

namespace {

using hv6test::DaoTest;

QDateTime day(int y, int m, int d) { return QDateTime(QDate(y, m, d), QTime(0, 0)); }

class Statements : public DaoTest {
 protected:
  void SetUp() override {
    DaoTest::SetUp();
    DaoTransaction transaction(db);
    for (const char* sql : {
             "CREATE TABLE WDiary (Code INTEGER PRIMARY KEY, Date DATETIME, CropCode INTEGER, "
             "JobCode INTEGER, WorkFactTime INTEGER, Kind TINYINT, FrzCode INTEGER, Quantity DOUBLE)",
             "CREATE TABLE JobMst (Code INTEGER PRIMARY KEY, Scode INTEGER, Name VARCHAR(40), "
             "IName VARCHAR(12), IUse BOOLEAN, Use INTEGER, MileStone BOOLEAN)",
             "CREATE TABLE YearBook1 (Code INTEGER PRIMARY KEY, Date INTEGER, JobCode INTEGER, "
             "J_JobCode INTEGER)",
             "CREATE TABLE Location (Code INTEGER PRIMARY KEY, Num INTEGER, SDate INTEGER, EDate INTEGER)",
             "CREATE TABLE TargetField (Code INTEGER PRIMARY KEY, Location INTEGER, Field INTEGER)",
             "CREATE TABLE PictureLink (Code INTEGER PRIMARY KEY, PhotoDate INTEGER, Title VARCHAR(50))",
             "CREATE TABLE Information (President VARCHAR(40), Dataversion VARCHAR(10))",
             "INSERT INTO Information VALUES ('farmer', '6.05.00')",
             "INSERT INTO JobMst VALUES (1, 10, 'plough', NULL, 0, 0, 1)",
             "INSERT INTO JobMst VALUES (2, 20, 'sow', NULL, 0, 0, 0)",
             "INSERT INTO JobMst VALUES (3, 30, 'harvest', NULL, 0, 1, 1)",
             "INSERT INTO WDiary (Date, JobCode, WorkFactTime) VALUES ('2024-04-30 00:00:00', 1, 100)",
             "INSERT INTO WDiary (Date, JobCode, WorkFactTime) VALUES ('2024-05-01 00:00:00', 1, 130)",
             "INSERT INTO WDiary (Date, JobCode, WorkFactTime) VALUES ('2024-05-31 00:00:00', 2, 230)",
             "INSERT INTO WDiary (Date, JobCode, WorkFactTime) VALUES ('2024-05-31 00:00:00', 3, 15)",
             "INSERT INTO WDiary (Date, JobCode, WorkFactTime) VALUES ('2024-06-01 00:00:00', 3, 45)",
             "INSERT INTO YearBook1 (Date, JobCode, J_JobCode) VALUES (20240505, 1, 2)",
             "INSERT INTO YearBook1 (Date, JobCode, J_JobCode) VALUES (20240505, 1, 2)",
             "INSERT INTO YearBook1 (Date, JobCode, J_JobCode) VALUES (20240520, 2, 2)",
             "INSERT INTO YearBook1 (Date, JobCode, J_JobCode) VALUES (20240601, 3, 3)",
             "INSERT INTO Location VALUES (1, 1, 20230101, NULL)",
             "INSERT INTO Location VALUES (2, 2, 20230101, 20231231)",
             "INSERT INTO Location VALUES (3, 3, 20240301, NULL)",
             "INSERT INTO TargetField VALUES (1, 1, 101)",
             "INSERT INTO TargetField VALUES (2, 1, 102)",
             "INSERT INTO TargetField VALUES (3, 2, 201)",
             "INSERT INTO PictureLink VALUES (1, 20240501, 'a')",
             "INSERT INTO PictureLink VALUES (2, 20240501, 'b')",
             "INSERT INTO PictureLink VALUES (3, 20240531, 'c')",
             "INSERT INTO PictureLink VALUES (4, 20240601, 'd')",
         })
      db.Execute(QString::fromUtf8(sql));
    transaction.commit();
  }

  // Every value of one column over the set, as text.
  QStringList column(CDaoRecordset& rs, const QString& name) {
    QStringList values;
    for (; !rs.IsEOF(); rs.MoveNext()) values.append(rs.GetFieldValue(name).toString());
    return values;
  }
};

TEST_F(Statements, MonthOfTheDiaryIncludesItsLastDay) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM WDiary WHERE Date BETWEEN #%1/1/%2# AND #%1/%3/%2#")
                             .arg(5)
                             .arg(2024)
                             .arg(31));
  EXPECT_EQ(rs.GetRecordCount(), 3);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Date")), COleVariant(day(2024, 5, 1)));
  rs.MoveLast();
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Date")).vt(), VT_DATE);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Date")).toDateTime().date(), QDate(2024, 5, 31));
}

TEST_F(Statements, DuplicateQueryOfTheImportFindsTheDay) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenDynaset,
          QStringLiteral("SELECT * FROM WDiary WHERE Date = #2024/05/31# AND CropCode IS NULL AND JobCode = 2 "
                         "AND kind IS NULL AND FrzCode IS NULL"));
  EXPECT_EQ(rs.GetRecordCount(), 1);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("WorkFactTime")).toLong(), 230);
}

TEST_F(Statements, DiaryMilestonesJoinOnTrue) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot,
          QStringLiteral("SELECT WDiary.Date, WDiary.JobCode FROM WDiary INNER JOIN JobMst ON JobMst.Code = "
                         "WDiary.JobCode WHERE (JobMst.MileStone=True AND WDiary.Date Between #5/1/2024# AND "
                         "#5/31/2024#) ORDER BY WDiary.Date"),
          dbReadOnly);
  ASSERT_EQ(rs.GetRecordCount(), 2);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("WDiary.Date")), COleVariant(day(2024, 5, 1)));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("JobCode")).toLong(), 1);
  rs.MoveNext();
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("WDiary.JobCode")).toLong(), 3);
}

TEST_F(Statements, PlanMilestonesGroupThePairs) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot,
          QStringLiteral("SELECT YearBook1.Date, YearBook1.JobCode, YearBook1.J_JobCode FROM JobMst INNER JOIN "
                         "YearBook1 ON (JobMst.Code = YearBook1.JobCode) OR (JobMst.Code = YearBook1.J_JobCode) "
                         "WHERE JobMst.MileStone = true AND YearBook1.Date Between %1 AND %2 GROUP BY "
                         "YearBook1.Date, YearBook1.JobCode, YearBook1.J_JobCode")
              .arg(20240501)
              .arg(20240531),
          dbReadOnly);
  EXPECT_EQ(rs.GetRecordCount(), 1);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("YearBook1.Date")).toLong(), 20240505);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("J_JobCode")).toLong(), 2);
}

TEST_F(Statements, DistinctPhotoDatesWithTwoBlanks) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot,
          QStringLiteral("SELECT DISTINCT PhotoDate FROM PictureLink WHERE PhotoDate BETWEEN  %1 AND %2")
              .arg(20240500)
              .arg(20240531));
  QStringList dates = column(rs, QStringLiteral("PhotoDate"));
  dates.sort();
  EXPECT_EQ(dates, (QStringList{"20240501", "20240531"}));
}

TEST_F(Statements, BusyFieldsThroughARightOuterJoin) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot,
          QStringLiteral("SELECT DISTINCT Field FROM TargetField RIGHT OUTER JOIN Location ON "
                         "TargetField.Location = Location.Code WHERE (EDate IS Null OR EDate >= %1) AND "
                         "Location.Code <> %2")
              .arg(20240401)
              .arg(3));
  // Point 1 is still observed (fields 101, 102); point 2 ended; point 3 is
  // excluded.
  QStringList fields = column(rs, QStringLiteral("Field"));
  fields.sort();
  EXPECT_EQ(fields, (QStringList{"101", "102"}));
}

TEST_F(Statements, OverlapQueryWithNotAndIsNull) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot,
          QStringLiteral("SELECT * FROM TargetField RIGHT OUTER JOIN Location ON TargetField.Location = "
                         "Location.Code WHERE Location.Code <> 1 AND (Not ((SDate < 20240101 AND EDate < 20240101) "
                         "OR (SDate > 20241231 AND EDate > 20241231)) OR (SDate < 20240101 AND EDate IS NULL)) "
                         "ORDER BY Location.Code"));
  // Point 2 ended in 2023; point 3 (no field) overlaps 2024 and comes with
  // Null TargetField columns.
  ASSERT_EQ(rs.GetRecordCount(), 1);
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Location.Code")).toLong(), 3);
  EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("TargetField.Code")).isNull());
  EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("Code")).isNull());  // the first Code is TargetField's
  EXPECT_FALSE(rs.CanUpdate());
}

TEST_F(Statements, ReferenceRepairStatements) {
  CDaoRecordset master(&db);
  master.Open(dbOpenSnapshot, QStringLiteral("SELECT S.Code FROM Location AS S"), dbReadOnly);
  EXPECT_TRUE(master.FindFirst(QStringLiteral("Code = 2")));
  EXPECT_FALSE(master.FindFirst(QStringLiteral("Code = 9")));

  db.Execute(QStringLiteral("UPDATE TargetField SET Field = NULL  WHERE Code = 3 "));
  db.Execute(QStringLiteral("DELETE * FROM TargetField AS S WHERE S.Code = 2 "));
  EXPECT_EQ(db.GetRecordsAffected(), 1);
  CDaoRecordset rs(&db);
  rs.Open(dbOpenDynaset, QStringLiteral("SELECT Code, Field FROM TargetField "));
  EXPECT_EQ(column(rs, QStringLiteral("Code")), (QStringList{"1", "3"}));
  rs.MoveLast();
  EXPECT_TRUE(rs.GetFieldValue(QStringLiteral("Field")).isNull());
}

TEST_F(Statements, MobileSettingsUpdates) {
  db.Execute(QStringLiteral("UPDATE %1 SET IName = '%2', IUse = %3 WHERE Scode = %4 ")
                 .arg(QStringLiteral("JobMst"), QStringLiteral("it''s"), QStringLiteral("TRUE"))
                 .arg(20));
  db.Execute(QStringLiteral("UPDATE Information SET Dataversion = '%1'").arg(QStringLiteral("6.05.01")));
  CDaoRecordset rs(&db);
  rs.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM JobMst WHERE Use=0 ORDER BY Scode ASC"));
  EXPECT_EQ(column(rs, QStringLiteral("Name")), (QStringList{"plough", "sow"}));
  EXPECT_TRUE(rs.FindFirst(QStringLiteral("IUse = True")));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("IName")).toString(), QStringLiteral("it's"));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("IUse")), COleVariant::boolean(true));
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Information"));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Dataversion")).toString(), QStringLiteral("6.05.01"));
}

TEST_F(Statements, PictureSaveThroughAnotherSpellingOfTheTable) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM Picturelink WHERE Code = %1").arg(3));
  ASSERT_TRUE(rs.CanUpdate());
  rs.MoveFirst();
  rs.Edit();
  rs.SetFieldValue(QStringLiteral("Title"), COleVariant("renamed"));
  rs.Update();
  rs.Close();
  reopen();
  EXPECT_EQ(countOf(QStringLiteral("SELECT * FROM PictureLink WHERE Title = 'renamed' AND Code = 3")), 1);
}

}  // namespace
