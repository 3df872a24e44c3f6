#include "tools/maintenance.h"

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using hv6test::TempDataFolder;

long scalar(CDaoDatabase& db, const QString& sql) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, sql);
  const long value = rs.IsEOF() || rs.GetFieldValue(0).isNull() ? -1 : rs.GetFieldValue(0).toLong();
  rs.Close();
  return value;
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

class MaintenanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    crop = data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("トマト"));
    field = data.addMaster(QStringLiteral("FieldMst"), 1, QStringLiteral("北の畑"));
    good = data.addDiary(QDate(2026, 6, 1), {{QStringLiteral("CropCode"), COleVariant(crop)},
                                             {QStringLiteral("FieldCode"), COleVariant(field)}});
    dangling = data.addDiary(QDate(2026, 6, 2), {{QStringLiteral("CropCode"), COleVariant(crop + 40)},
                                                 {QStringLiteral("FieldCode"), COleVariant(field)}});
    noCrop = data.addDiary(QDate(2026, 6, 3), {{QStringLiteral("CropCode"), COleVariant(0L)}});
    goneField = TempDataFolder::insertRow(data.weather(), QStringLiteral("TargetField"),
                                          {{QStringLiteral("Location"), COleVariant(1L)},
                                           {QStringLiteral("Field"), COleVariant(field + 9)}});
    const QString picture = data.folder() + QStringLiteral("/photo.jpg");
    writeFile(picture, "jpeg");
    for (const QString& path : {picture, data.folder() + QStringLiteral("/gone.jpg")})
      TempDataFolder::insertRow(data.diary(), QStringLiteral("PictureLink"),
                                {{QStringLiteral("PhotoDate"), COleVariant(20260601L)},
                                 {QStringLiteral("Path"), COleVariant(path)}});
    writeFile(data.folder() + QStringLiteral("/20260601.rtf"), "{\\rtf1 晴れ}");
    writeFile(data.folder() + QStringLiteral("/20260602.rtf"), QByteArray("\0\0garbage", 9));
  }

  hv6test::TestEnvironment env;
  TempDataFolder data;
  long crop = 0, field = 0, good = 0, dangling = 0, noCrop = 0, goneField = 0;
};

// Every kind of finding, and the repair clears exactly the dangling codes
// in both databases and compacts them; a second check is clean of them.
TEST_F(MaintenanceTest, FindsAndRepairsDanglingCodes) {
  const hv6::MaintenanceCheck check = hv6::checkDataFolder(data.diaryPath(), data.weatherPath());
  EXPECT_TRUE(check.error.isEmpty()) << qPrintable(check.error);
  EXPECT_TRUE(check.damaged.isEmpty());
  ASSERT_EQ(check.dangling.size(), 2);
  EXPECT_EQ(check.dangling[0].table, QStringLiteral("WDiary"));
  EXPECT_EQ(check.dangling[0].code, dangling);
  EXPECT_EQ(check.dangling[0].column, QStringLiteral("CropCode"));
  EXPECT_EQ(check.dangling[1].table, QStringLiteral("TargetField"));
  EXPECT_EQ(check.dangling[1].code, goneField);
  EXPECT_EQ(check.missingPictures, QStringList{data.folder() + QStringLiteral("/gone.jpg")});
  EXPECT_EQ(check.unreadableFarmDiaries, QStringList{QStringLiteral("20260602.rtf")});
  EXPECT_TRUE(check.repairable());
  EXPECT_EQ(hv6::describe(check).size(), 4);

  data.diary().Close();
  data.weather().Close();
  const hv6::MaintenanceResult result =
      hv6::repairDataFolder(data.diaryPath(), data.weatherPath(), check, true);
  EXPECT_TRUE(result.error.isEmpty()) << qPrintable(result.error);
  EXPECT_EQ(result.cleared, 2);
  EXPECT_TRUE(result.compacted);

  CDaoDatabase diary, weather;
  diary.Open(data.diaryPath());
  weather.Open(data.weatherPath());
  EXPECT_EQ(scalar(diary, QStringLiteral("SELECT CropCode FROM WDiary WHERE Code = %1").arg(good)), crop);
  EXPECT_NE(scalar(diary, QStringLiteral("SELECT CropCode FROM WDiary WHERE Code = %1").arg(dangling)), crop + 40);
  EXPECT_EQ(scalar(diary, QStringLiteral("SELECT FieldCode FROM WDiary WHERE Code = %1").arg(dangling)), field);
  EXPECT_EQ(scalar(diary, QStringLiteral("SELECT COUNT(*) FROM WDiary")), 3);
  EXPECT_NE(scalar(weather, QStringLiteral("SELECT Field FROM TargetField WHERE Code = %1").arg(goneField)), field + 9);
  diary.Close();
  weather.Close();
  EXPECT_TRUE(hv6::checkDataFolder(data.diaryPath(), data.weatherPath()).dangling.isEmpty());
}

// Without consent only the compaction runs.
TEST_F(MaintenanceTest, DeclinedRepairChangesNoRow) {
  const hv6::MaintenanceCheck check = hv6::checkDataFolder(data.diaryPath(), data.weatherPath());
  data.diary().Close();
  data.weather().Close();
  const hv6::MaintenanceResult result =
      hv6::repairDataFolder(data.diaryPath(), data.weatherPath(), check, false);
  EXPECT_EQ(result.cleared, 0);
  EXPECT_TRUE(result.compacted);
  EXPECT_EQ(hv6::checkDataFolder(data.diaryPath(), data.weatherPath()).dangling.size(), 2);
}

// A damaged database is reported and never written to.
TEST_F(MaintenanceTest, ADamagedDatabaseIsReportedAndLeftAlone) {
  for (int i = 0; i < 200; ++i) data.addDiary(QDate(2026, 1, 1), {{QStringLiteral("CropCode"), COleVariant(crop)}});
  data.diary().Close();
  data.weather().Close();
  QFile file(data.diaryPath());
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  QByteArray bytes = file.readAll();
  ASSERT_GT(bytes.size(), 3 * 4096);
  for (qsizetype i = 2 * 4096 + 16; i < 3 * 4096; ++i) bytes[i] = char(0x5A);  // an inner page
  file.seek(0);
  file.write(bytes);
  file.close();

  const hv6::MaintenanceCheck check = hv6::checkDataFolder(data.diaryPath(), data.weatherPath());
  EXPECT_FALSE(check.damaged.isEmpty());
  EXPECT_FALSE(check.repairable());
  const hv6::MaintenanceResult result =
      hv6::repairDataFolder(data.diaryPath(), data.weatherPath(), check, true);
  EXPECT_FALSE(result.error.isEmpty());
  EXPECT_FALSE(result.compacted);
  QFile after(data.diaryPath());
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), bytes);
}

TEST(MaintenanceOpen, AMissingDatabaseIsAnError) {
  hv6test::TestEnvironment env;
  const hv6::MaintenanceCheck check =
      hv6::checkDataFolder(env.path(QStringLiteral("a.HV6")), env.path(QStringLiteral("b.HV6")));
  EXPECT_FALSE(check.error.isEmpty());
  EXPECT_FALSE(check.clean());
  EXPECT_FALSE(check.repairable());
}

}  // namespace
