#include "store/upgrade.h"

#include "platform/dao/dao.h"
#include "store/schema.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace {

using hv6::SchemaEdition;

QString dataVersion(CDaoDatabase& db) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT Dataversion FROM Information"));
  return rs.GetFieldValue(0).toString();
}

class UpgradeTest : public ::testing::Test {
 protected:
  UpgradeTest() : data(SchemaEdition::V60500) {}

  QStringList upgradeColumnsPresent() {
    const QStringList present = hv6test::columnsOf(data.diary(), QStringLiteral("IWDryOption"));
    QStringList found;
    for (const QString& name : hv6::iwDryUpgradeColumns())
      if (present.contains(name, Qt::CaseInsensitive)) found.append(name);
    return found;
  }

  hv6test::TestEnvironment env;
  hv6test::MessageRecorder messages;
  hv6test::TempDataFolder data;
};

TEST_F(UpgradeTest, AddsTheSixYesNoColumnsAndSetsTheVersion) {
  data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("りんご"));
  ASSERT_TRUE(hv6::upgradeTo60501(data.diary()));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(upgradeColumnsPresent(), hv6::iwDryUpgradeColumns());
  EXPECT_EQ(dataVersion(data.diary()), hv6::kDataVersion60501);

  CDaoTableDef def(&data.diary());
  def.Open(QStringLiteral("IWDryOption"));
  CDaoFieldInfo info;
  ASSERT_TRUE(def.GetFieldInfo(QStringLiteral("Scatter"), info));
  EXPECT_EQ(info.m_nType, dbBoolean);
  EXPECT_FALSE(info.m_bRequired);

  // The existing row reads the default: off.
  CDaoRecordset rs(&data.diary());
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM IWDryOption WHERE Code = 1"));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Vermin")).vt(), VT_BOOL);
  EXPECT_FALSE(rs.GetFieldValue(QStringLiteral("Vermin")).toBool());
}

TEST_F(UpgradeTest, RunningItTwiceChangesNothingTheSecondTime) {
  data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("りんご"));
  ASSERT_TRUE(hv6::upgradeTo60501(data.diary()));
  const QStringList columns = hv6test::columnsOf(data.diary(), QStringLiteral("IWDryOption"));
  // A marker shows whether the second run writes the version again.
  data.diary().Execute(QStringLiteral("UPDATE Information SET Dataversion = 'marker'"));

  EXPECT_TRUE(hv6::upgradeTo60501(data.diary()));
  EXPECT_EQ(hv6test::columnsOf(data.diary(), QStringLiteral("IWDryOption")), columns);
  EXPECT_EQ(dataVersion(data.diary()), QStringLiteral("marker"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(UpgradeTest, CreatesOnlyTheMissingColumns) {
  data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("りんご"));
  data.diary().Execute(QStringLiteral("ALTER TABLE IWDryOption ADD COLUMN Vermin BOOLEAN"));
  ASSERT_TRUE(hv6::upgradeTo60501(data.diary()));
  EXPECT_EQ(upgradeColumnsPresent(), hv6::iwDryUpgradeColumns());
  EXPECT_EQ(dataVersion(data.diary()), hv6::kDataVersion60501);
}

TEST_F(UpgradeTest, WithoutAnActiveCropTheCommandEnds) {
  data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("りんご"), 1);
  EXPECT_FALSE(hv6::upgradeTo60501(data.diary()));
  ASSERT_EQ(messages.messages().size(), 1);
  EXPECT_EQ(messages.messages()[0].number, 0);
  EXPECT_EQ(messages.messages()[0].text, hv6::kNoActiveCropText);
  EXPECT_EQ(messages.messages()[0].caption, QStringLiteral("Harvo V6 Plus for Windows"));
  EXPECT_TRUE(upgradeColumnsPresent().isEmpty());
  EXPECT_EQ(dataVersion(data.diary()), hv6::kDataVersion60500);
}

TEST_F(UpgradeTest, AFailedVersionWriteLeavesTheFileAsItWas) {
  data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("りんご"));
  const QStringList before = hv6test::columnsOf(data.diary(), QStringLiteral("IWDryOption"));
  // The version write is the last step; a trigger makes it fail after the
  // columns were added.
  data.diary().Execute(QStringLiteral(
      "CREATE TRIGGER refuse_version BEFORE UPDATE ON Information "
      "BEGIN SELECT RAISE(ABORT, 'refused'); END"));

  EXPECT_FALSE(hv6::upgradeTo60501(data.diary()));
  EXPECT_EQ(messages.numbers(), QList<long>{2039});
  EXPECT_EQ(hv6test::columnsOf(data.diary(), QStringLiteral("IWDryOption")), before);
  EXPECT_TRUE(upgradeColumnsPresent().isEmpty());
  EXPECT_EQ(dataVersion(data.diary()), hv6::kDataVersion60500);

  // Another connection to the file sees the same.
  {
    CDaoDatabase reopened;
    reopened.Open(data.diary().GetName());
    EXPECT_EQ(hv6test::columnsOf(reopened, QStringLiteral("IWDryOption")), before);
    EXPECT_EQ(dataVersion(reopened), hv6::kDataVersion60500);
  }

  // Once the cause is gone the upgrade succeeds.
  messages.clear();
  data.diary().Execute(QStringLiteral("DROP TRIGGER refuse_version"));
  ASSERT_TRUE(hv6::upgradeTo60501(data.diary()));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(upgradeColumnsPresent(), hv6::iwDryUpgradeColumns());
  EXPECT_EQ(dataVersion(data.diary()), hv6::kDataVersion60501);
}

TEST_F(UpgradeTest, DatabaseErrorShows2039) {
  data.diary().Execute(QStringLiteral("DROP TABLE CropMst"));
  EXPECT_FALSE(hv6::upgradeTo60501(data.diary()));
  EXPECT_EQ(messages.numbers(), QList<long>{2039});

  messages.clear();
  hv6test::TempDataFolder other(SchemaEdition::V60500);
  other.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("りんご"));
  other.diary().Execute(QStringLiteral("DROP TABLE IWDryOption"));
  EXPECT_FALSE(hv6::upgradeTo60501(other.diary()));
  EXPECT_EQ(messages.numbers(), QList<long>{2039});
  EXPECT_EQ(dataVersion(other.diary()), hv6::kDataVersion60500);
}

}  // namespace
