#include "store/refrepair.h"

#include "platform/dao/dao.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace {

constexpr long kDiary = 0;
constexpr long kWeather = 1;

COleVariant scalar(CDaoDatabase& db, const QString& sql) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, sql);
  return rs.IsEOF() ? COleVariant() : rs.GetFieldValue(0);
}

// Field links in the weather database point at FieldMst in the diary
// database; Holder carries three kinds of referencing columns.
class RefRepairTest : public ::testing::Test {
 protected:
  RefRepairTest() {
    field_ = data.addMaster(QStringLiteral("FieldMst"), 1, QStringLiteral("北の畑"));
    data.weather().Execute(QStringLiteral(
        "CREATE TABLE Holder (Code INTEGER PRIMARY KEY, Plain INTEGER, "
        "Needed INTEGER NOT NULL, NeededDefault INTEGER NOT NULL DEFAULT -7)"));
  }

  CRefRepair repair() {
    const RefRepairTarget field{kDiary, QStringLiteral("FieldMst"), QStringLiteral("Code")};
    QHash<QString, RefRepairTarget> links;
    for (const char* key : {"TargetFieldField", "HolderPlain", "HolderNeeded", "HolderNeededDefault"})
      links.insert(QString::fromLatin1(key), field);
    return CRefRepair({&data.diary(), &data.weather()}, links);
  }

  long link(long field) {
    return data.insertRow(data.weather(), QStringLiteral("TargetField"),
                          {{QStringLiteral("Location"), COleVariant(1L)},
                           {QStringLiteral("Field"), COleVariant(field)}});
  }
  long holder(long value) {
    return data.insertRow(data.weather(), QStringLiteral("Holder"),
                          {{QStringLiteral("Plain"), COleVariant(value)},
                           {QStringLiteral("Needed"), COleVariant(value)},
                           {QStringLiteral("NeededDefault"), COleVariant(value)}});
  }
  static RefRepairItem item(long code, const char* table, const char* column, long action) {
    return {kWeather, code, QString::fromLatin1(table), QString::fromLatin1(column), action};
  }
  long links() { return scalar(data.weather(), "SELECT COUNT(*) FROM TargetField").toLong(); }

  hv6test::TestEnvironment env;
  hv6test::TempDataFolder data;
  long field_ = 0;
};

TEST_F(RefRepairTest, DeletesRowsWhoseMasterIsGoneAndKeepsTheOthers) {
  const long good = link(field_);
  const long dangling = link(field_ + 50);
  CRefRepair repairer = repair();
  EXPECT_FALSE(repairer.Repair({{item(good, "TargetField", "Field", kRefDeleteRow)},
                                {item(dangling, "TargetField", "Field", kRefDeleteRow)}}));
  EXPECT_EQ(links(), 1);
  EXPECT_EQ(scalar(data.weather(), "SELECT Code FROM TargetField").toLong(), good);
  EXPECT_TRUE(repairer.Repair({{item(good, "TargetField", "Field", kRefDeleteRow)}}));
}

TEST_F(RefRepairTest, ResetGivesNullTheDefaultOrZeroByColumn) {
  const long row = holder(field_ + 50);
  EXPECT_FALSE(repair().Repair({{item(row, "Holder", "Plain", kRefResetColumn),
                                 item(row, "Holder", "Needed", kRefResetColumn),
                                 item(row, "Holder", "NeededDefault", kRefResetColumn)}}));
  CDaoRecordset rs(&data.weather());
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT Plain, Needed, NeededDefault FROM Holder"));
  EXPECT_TRUE(rs.GetFieldValue(0).isNull());
  EXPECT_EQ(rs.GetFieldValue(1).toLong(), 0);
  EXPECT_EQ(rs.GetFieldValue(2).toLong(), -7);
}

TEST_F(RefRepairTest, TheFirstItemDecidesForTheWholeGroup) {
  const long dangling = link(field_ + 50);
  const long other = link(field_);
  const long row = holder(field_);
  EXPECT_FALSE(repair().Repair({{item(dangling, "TargetField", "Field", kRefDeleteRow),
                                 item(other, "TargetField", "Field", kRefDeleteRow),
                                 item(row, "Holder", "Plain", kRefResetColumn)}}));
  EXPECT_EQ(links(), 0);
  EXPECT_TRUE(scalar(data.weather(), "SELECT Plain FROM Holder").isNull());
}

TEST_F(RefRepairTest, GroupsWithoutARowOrACodeAreLeftAlone) {
  const long dangling = link(field_ + 50);
  const long zero = link(0);
  const long null = data.insertRow(data.weather(), QStringLiteral("TargetField"),
                                   {{QStringLiteral("Location"), COleVariant(1L)}});
  const auto deleteAlso = item(dangling, "TargetField", "Field", kRefDeleteRow);
  EXPECT_TRUE(repair().Repair({{item(dangling + 100, "TargetField", "Field", kRefDeleteRow), deleteAlso},
                               {item(zero, "TargetField", "Field", kRefDeleteRow), deleteAlso},
                               {item(null, "TargetField", "Field", kRefDeleteRow), deleteAlso},
                               {}}));
  EXPECT_EQ(links(), 3);
}

TEST_F(RefRepairTest, DatabaseErrorsReachTheCaller) {
  const long dangling = link(field_ + 50);
  EXPECT_THROW(repair().Repair({{item(dangling, "TargetField", "Field", kRefDeleteRow),
                                 item(1, "NoSuchTable", "Field", kRefDeleteRow)}}),
               CDaoException);
  RefRepairItem badIndex = item(dangling, "TargetField", "Field", kRefDeleteRow);
  badIndex.database = 5;
  EXPECT_THROW(repair().Repair({{badIndex}}), CDaoException);
}

}  // namespace
