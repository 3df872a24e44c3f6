#include "store/information.h"

#include "platform/dao/dao.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using hv6::InformationWrite;
using hv6::SchemaEdition;

hv6::InformationTexts identity() {
  hv6::InformationTexts texts;
  texts.company = QStringLiteral("北上農園");
  texts.president = QStringLiteral("岩手太郎");
  texts.telNo = QStringLiteral("0197-00-1111");
  texts.faxNo = QStringLiteral("0197-00-2222");
  texts.groupName = QStringLiteral("北上農協");
  return texts;
}

COleVariant information(CDaoDatabase& db, const char* column) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Information"));
  return rs.GetFieldValue(QString::fromLatin1(column));
}

void setInformation(CDaoDatabase& db, const char* column, const COleVariant& value) {
  db.Execute(QStringLiteral("UPDATE Information SET %1 = ?").arg(QString::fromLatin1(column)),
             QList<COleVariant>{value});
}

class InformationTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
};

TEST_F(InformationTest, ReadsTheRowOfTheCurrentEdition) {
  hv6test::TempDataFolder data;
  setInformation(data.diary(), "Company", QStringLiteral("北上農園"));
  setInformation(data.diary(), "President", QStringLiteral("岩手太郎"));
  setInformation(data.diary(), "GroupName", QStringLiteral("北上農協"));
  setInformation(data.diary(), "LastBackup", 20230601L);

  const hv6::InformationRead read = hv6::readInformation(data.diaryPath());
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.row.texts.company, QStringLiteral("北上農園"));
  EXPECT_EQ(read.row.texts.president, QStringLiteral("岩手太郎"));
  EXPECT_EQ(read.row.texts.telNo, QString());
  EXPECT_EQ(read.row.texts.groupName, QStringLiteral("北上農協"));
  EXPECT_EQ(read.row.dataVersion, hv6::kDataVersion60501);
  EXPECT_TRUE(read.row.groupNameAvailable);
  EXPECT_EQ(read.row.lastBackup, 20230601);
}

TEST_F(InformationTest, GroupNameOnlyFromVersion60500) {
  hv6test::TempDataFolder v60500(SchemaEdition::V60500);
  setInformation(v60500.diary(), "GroupName", QStringLiteral("北上農協"));
  EXPECT_TRUE(hv6::readInformation(v60500.diaryPath()).row.groupNameAvailable);

  setInformation(v60500.diary(), "Dataversion", QStringLiteral("6.04.99"));
  const hv6::InformationRead older = hv6::readInformation(v60500.diaryPath());
  ASSERT_TRUE(older.ok());
  EXPECT_FALSE(older.row.groupNameAvailable);
  EXPECT_EQ(older.row.texts.groupName, QString());

  hv6test::TempDataFolder previous(SchemaEdition::Previous);
  const hv6::InformationRead unconverted = hv6::readInformation(previous.diaryPath());
  ASSERT_TRUE(unconverted.ok());
  EXPECT_FALSE(unconverted.row.groupNameAvailable);
  EXPECT_EQ(unconverted.row.dataVersion, QString());
}

TEST_F(InformationTest, NeverBackedUpReadsAsZeroAndShowsNothing) {
  hv6test::TempDataFolder data;
  EXPECT_EQ(hv6::readInformation(data.diaryPath()).row.lastBackup, 0);
  setInformation(data.diary(), "LastBackup", -1L);
  EXPECT_EQ(hv6::readInformation(data.diaryPath()).row.lastBackup, 0);

  EXPECT_EQ(hv6::backupDateText(0), QString());
  EXPECT_EQ(hv6::backupDateText(20190501), QStringLiteral("令和元年5月1日"));
  EXPECT_EQ(hv6::backupDateText(20031130), QStringLiteral("平成15年11月30日"));
}

TEST_F(InformationTest, ReadFailureCarriesTheDatabaseError) {
  hv6test::TempDataFolder data;
  const QString missing = data.folder() + QStringLiteral("/nothing/") + hv6::kDiaryFileName;
  EXPECT_EQ(hv6::readInformation(missing).daoError, kJetInvalidPath);

  data.diary().Execute(QStringLiteral("DELETE * FROM Information"));
  EXPECT_EQ(hv6::readInformation(data.diaryPath()).daoError, kJetNoCurrentRecord);
}

TEST_F(InformationTest, BlankPresidentIsRefusedAndNothingWritten) {
  hv6test::TempDataFolder data;
  setInformation(data.diary(), "President", QStringLiteral("岩手太郎"));
  hv6::InformationTexts texts = identity();
  for (const QString& blank : {QString(), QStringLiteral("　　"), QStringLiteral(" 　 ")}) {
    texts.president = blank;
    EXPECT_EQ(hv6::writeInformation(data.diaryPath(), texts).outcome,
              InformationWrite::PresidentMissing);
  }
  EXPECT_EQ(information(data.diary(), "President").toString(), QStringLiteral("岩手太郎"));
  EXPECT_TRUE(information(data.diary(), "Company").isNull());
}

TEST_F(InformationTest, WriteKeepsTheOldValuesOfEmptyFields) {
  hv6test::TempDataFolder data;
  ASSERT_EQ(hv6::writeInformation(data.diaryPath(), identity()).outcome, InformationWrite::Written);

  hv6::InformationTexts second;
  second.president = QStringLiteral("岩手花子");
  second.faxNo = QStringLiteral("0197-00-3333");
  ASSERT_EQ(hv6::writeInformation(data.diaryPath(), second).outcome, InformationWrite::Written);

  EXPECT_EQ(information(data.diary(), "Company").toString(), QStringLiteral("北上農園"));
  EXPECT_EQ(information(data.diary(), "President").toString(), QStringLiteral("岩手花子"));
  EXPECT_EQ(information(data.diary(), "TelNo").toString(), QStringLiteral("0197-00-1111"));
  EXPECT_EQ(information(data.diary(), "FaxNo").toString(), QStringLiteral("0197-00-3333"));
  EXPECT_EQ(information(data.diary(), "GroupName").toString(), QStringLiteral("北上農協"));
}

TEST_F(InformationTest, WriteToADatabaseWithoutGroupNameLeavesItOut) {
  hv6test::TempDataFolder previous(SchemaEdition::Previous);
  EXPECT_EQ(hv6::writeInformation(previous.diaryPath(), identity()).outcome,
            InformationWrite::Written);
  EXPECT_EQ(information(previous.diary(), "Company").toString(), QStringLiteral("北上農園"));
}

TEST_F(InformationTest, WriteFailureCarriesTheDatabaseError) {
  hv6test::TempDataFolder data;
  data.diary().Execute(QStringLiteral("DELETE * FROM Information"));
  const hv6::InformationWriteResult result = hv6::writeInformation(data.diaryPath(), identity());
  EXPECT_EQ(result.outcome, InformationWrite::Failed);
  EXPECT_EQ(result.daoError, kJetNoCurrentRecord);
}

TEST_F(InformationTest, AcceptableDatabaseHasADataversion) {
  hv6test::TempDataFolder data;
  EXPECT_TRUE(hv6::isAcceptableDatabase(data.diaryPath()));
  setInformation(data.diary(), "Dataversion", COleVariant());
  EXPECT_FALSE(hv6::isAcceptableDatabase(data.diaryPath()));

  hv6test::TempDataFolder previous(SchemaEdition::Previous);
  EXPECT_FALSE(hv6::isAcceptableDatabase(previous.diaryPath()));

  const QString text = data.folder() + QStringLiteral("/text.HV6");
  QFile file(text);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a database, only some text to fill the header\n");
  file.close();
  EXPECT_FALSE(hv6::isAcceptableDatabase(text));
  EXPECT_FALSE(hv6::isAcceptableDatabase(data.folder() + QStringLiteral("/missing.HV6")));
}

}  // namespace
