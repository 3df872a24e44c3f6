#include "store/schema.h"

#include "platform/dao/dao.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <tuple>

namespace {

using hv6::SchemaEdition;

short typeOf(CDaoDatabase& db, const QString& table, const QString& column) {
  CDaoTableDef def(&db);
  def.Open(table);
  CDaoFieldInfo info;
  return def.GetFieldInfo(column, info) ? info.m_nType : short{-1};
}

COleVariant scalar(CDaoDatabase& db, const QString& sql) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, sql);
  return rs.IsEOF() ? COleVariant() : rs.GetFieldValue(0);
}

// Every column the program's statements name, table by table, spelled as
// the callers spell them (Jet compares names without regard to case).
const QList<std::pair<QString, QString>> kDiaryColumns = {
    {"Information", "Company President TelNo FaxNo GroupName Dataversion LastBackup Mte1Name "
                    "Mte2Name Mte3Name Mte4Name Mte5Name ReserveItem1Name ReserveItem2Name "
                    "ReserveItem3Name"},
    {"YearBook1", "Date JobCode J_JobCode"},
    {"CropMst", "Code Scode Name IName IUse StartMonth EndMonth Use"},
    {"JobMst", "Code Scode Name IName IUse CropCode StartMonth EndMonth Use MileStone"},
    {"FieldMst", "Code Scode Name IName IUse CropCode SakuArea AreaUnit Use SeqCode"},
    {"FarmerMst", "Code Scode Name IName IUse Use"},
    {"MachineMst", "Code Scode Name IName IUse CropCode StartMonth EndMonth Use"},
    {"FertilizerMst", "Code Scode Name IName IUse CropCode Unit Use"},
    {"UnitMst", "Code SCode Name Use"},
    {"IWDryOption", "Code Crop Day Work Field Farmer Machine WorkFactTime RestFactTime "
                    "WorkStartEndTime RestStartEndTime McnFactTime MRestFactTime McnStartEndTime "
                    "MRestStartEndTime TotalArea LightOil Shizai Quantity Dilute Vermin Scatter "
                    "ReserveItem1 ReserveItem2 ReserveItem3"},
    {"PictureLink", "Code PhotoDate Title Memo Path Bright Contrast Sharp DispRate"},
    {"Slip", "Code SlipDate AppType CustomerCode ClaimDate ShipDate Sasihiki Suu_Kei Unit_Ave"},
    {"SlipDetails", "Code SlipCode AppType CropCode FieldCode BuyerCode GradeCode StandardCode "
                    "Proceed Suu Tanka"},
    {"CustomerMst", "Code Scode Name Use"},
    {"BuyerMst", "Code Scode Name Use"},
    {"GradeMst", "Code Scode Name Use"},
    {"StandardMst", "Code Scode Name Use"},
    {"Weather", "Date Item1 Item2 Item3"},
};

const QList<std::pair<QString, QString>> kWeatherColumns = {
    {"Weather", "Date Item1 Item2 Item3"},
    {"Item", "LastUpdate DataSpecies Type"},
    {"Location", "Code Num Ido_HH Ido_MM Ido_SS Keido_HH Keido_MM Keido_SS SDate EDate"},
    {"TargetField", "Code Location Field"},
    {"Condition", "Code H_Field N_Field S_Field K_Field1 K_Field2 K_Field3 K_Field4 K_Field5 "
                  "K_Field6 K_Location1 K_Location2 K_Location3 K_Location4 K_Location5 "
                  "K_Location6"},
    {"Risk", "Code FieldCode"},
    {"MeshWeather", "Code Location Date TempMax TempMin TempMean Precipitation Sunshine "
                    "WeatherCode Morning Afternoon Night"},
};

void expectColumns(CDaoDatabase& db, const QList<std::pair<QString, QString>>& expected) {
  for (const auto& [table, names] : expected) {
    ASSERT_TRUE(db.tableExists(table)) << table.toStdString();
    const QStringList present = hv6test::columnsOf(db, table);
    for (const QString& name : names.split(QLatin1Char(' ')))
      EXPECT_TRUE(present.contains(name, Qt::CaseInsensitive))
          << table.toStdString() << "." << name.toStdString();
  }
}

class SchemaTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
};

TEST_F(SchemaTest, EveryTableAndColumnExistsInBothDatabases) {
  hv6test::TempDataFolder data;
  expectColumns(data.diary(), kDiaryColumns);
  for (int i = 1; i <= 5; ++i)
    expectColumns(data.diary(), {{QStringLiteral("MaterialMst%1").arg(i),
                                  "Code Scode Name IName IUse CropCode Unit Dilute Vermin "
                                  "ReserveItem1 ReserveItem2 ReserveItem3 Use"}});
  expectColumns(data.weather(), kWeatherColumns);
}

TEST_F(SchemaTest, WorkDiaryColumnsAreInImportOrder) {
  hv6test::TempDataFolder data;
  const QStringList expected = QStringLiteral(
      "Code Date CropCode JobCode FieldCode FarmerCode MachineCode WorkFactTime RestFactTime "
      "WorkStartTime WorkEndTime RestStartTime RestEndTime McnFactTime MRestFactTime "
      "McnStartTime McnEndTime MRestStartTime MRestEndTime TotalArea LightOil Kind FrzCode "
      "Mte1Code Mte2Code Mte3Code Mte4Code Mte5Code Quantity Dilute Vermin Scatter "
      "ReserveItem1 ReserveItem2 ReserveItem3").split(QLatin1Char(' '));
  EXPECT_EQ(hv6test::columnsOf(data.diary(), QStringLiteral("WDiary")), expected);
}

TEST_F(SchemaTest, ColumnsHaveTheirJetTypes) {
  hv6test::TempDataFolder data;
  const QList<std::tuple<const char*, const char*, short>> expected = {
      {"WDiary", "Date", dbDate},          {"WDiary", "Kind", dbByte},
      {"WDiary", "Quantity", dbCurrency},  {"WDiary", "WorkFactTime", dbLong},
      {"JobMst", "MileStone", dbBoolean},  {"FieldMst", "SakuArea", dbDouble},
      {"Information", "LastBackup", dbLong}, {"Information", "Dataversion", dbText},
      {"IWDryOption", "Dilute", dbBoolean}, {"IWDryOption", "ReserveItem3", dbBoolean}};
  for (const auto& [table, column, type] : expected)
    EXPECT_EQ(typeOf(data.diary(), table, column), type) << table << "." << column;
  EXPECT_EQ(typeOf(data.weather(), "Item", "LastUpdate"), dbDate);
}

TEST_F(SchemaTest, EditionsDifferInInformationAndMobileOptions) {
  hv6test::TempDataFolder current;
  CDaoDatabase& db = current.diary();
  EXPECT_EQ(scalar(db, "SELECT COUNT(*) FROM Information").toLong(), 1);
  EXPECT_EQ(scalar(db, "SELECT Dataversion FROM Information").toString(), "6.05.01");
  EXPECT_TRUE(scalar(db, "SELECT LastBackup FROM Information").isNull());
  EXPECT_EQ(scalar(db, "SELECT Crop + Dilute + Vermin + Scatter + ReserveItem1 + ReserveItem2 + "
                       "ReserveItem3 FROM IWDryOption WHERE Code = 1").toLong(), 1);

  hv6test::TempDataFolder v60500(SchemaEdition::V60500);
  const QStringList options = hv6test::columnsOf(v60500.diary(), QStringLiteral("IWDryOption"));
  for (const QString& name : hv6::iwDryUpgradeColumns()) EXPECT_FALSE(options.contains(name));
  EXPECT_TRUE(options.contains(QStringLiteral("Quantity")));
  EXPECT_EQ(scalar(v60500.diary(), "SELECT Dataversion FROM Information").toString(), "6.05.00");

  hv6test::TempDataFolder previous(SchemaEdition::Previous);
  const QStringList info = hv6test::columnsOf(previous.diary(), QStringLiteral("Information"));
  EXPECT_FALSE(info.contains(QStringLiteral("Dataversion")));
  EXPECT_FALSE(info.contains(QStringLiteral("GroupName")));
  EXPECT_EQ(scalar(previous.diary(), "SELECT COUNT(*) FROM Information").toLong(), 1);
}

TEST_F(SchemaTest, MonthQueriesUseTheDateIndexes) {
  hv6test::TempDataFolder data;
  const QList<std::pair<CDaoDatabase*, QString>> queries = {
      {&data.diary(), "SELECT * FROM WDiary WHERE Date BETWEEN '2024-01-01' AND '2024-01-31'"},
      {&data.diary(), "SELECT * FROM YearBook1 WHERE Date BETWEEN 20240100 AND 20240131"},
      {&data.diary(), "SELECT * FROM Slip WHERE SlipDate BETWEEN 20240100 AND 20240131"},
      {&data.diary(), "SELECT * FROM SlipDetails WHERE SlipCode = 5"},
      {&data.diary(), "SELECT * FROM PictureLink WHERE PhotoDate = 20240105"},
      {&data.weather(), "SELECT * FROM Weather WHERE Date BETWEEN 20240100 AND 20240131"},
  };
  for (const auto& [db, sql] : queries) {
    QSqlQuery plan(db->connection());
    ASSERT_TRUE(plan.exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql));
    QString detail;
    while (plan.next()) detail += plan.value(3).toString();
    EXPECT_TRUE(detail.contains(QStringLiteral("INDEX"))) << sql.toStdString();
  }
}

TEST_F(SchemaTest, CreationNeverReplacesAFileOrLeavesAHalfMadeOne) {
  QDir folder(env.path(QStringLiteral("data")));
  const QString diary = folder.filePath(hv6::kDiaryFileName);
  hv6::createDiaryDatabase(diary);
  const qint64 size = QFileInfo(diary).size();
  try {
    hv6::createDiaryDatabase(diary);
    ADD_FAILURE() << "an existing file was accepted";
  } catch (const CDaoException& e) {
    EXPECT_EQ(e.errorCode(), 3204);
  }
  EXPECT_EQ(QFileInfo(diary).size(), size);

  const QString missing = folder.filePath(QStringLiteral("no such folder/") + hv6::kWeatherFileName);
  EXPECT_THROW(hv6::createWeatherDatabase(missing), CDaoException);
  EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{hv6::kDiaryFileName});
}

}  // namespace

namespace {

QStringList indexColumns(CDaoDatabase& db, const QString& index) {
  QSqlQuery info(db.connection());
  info.exec(QStringLiteral("PRAGMA index_info(%1)").arg(index));
  QStringList columns;
  while (info.next()) columns.append(info.value(2).toString());
  return columns;
}

}  // namespace

TEST_F(SchemaTest, WDiaryHasTheMastersIndexAndOlderFilesGetIt) {
  hv6test::TempDataFolder data;
  CDaoDatabase& db = data.diary();
  const QStringList expected{"CropCode", "FieldCode", "FarmerCode", "MachineCode", "Date"};
  EXPECT_EQ(indexColumns(db, hv6::kWDiaryMastersIndex), expected);

  // A file made before the index existed.
  db.Execute(QStringLiteral("DROP INDEX ") + hv6::kWDiaryMastersIndex);
  ASSERT_TRUE(indexColumns(db, hv6::kWDiaryMastersIndex).isEmpty());
  hv6::createMissingDiaryIndexes(db, QStringLiteral("WDiary"));
  EXPECT_EQ(indexColumns(db, hv6::kWDiaryMastersIndex), expected);
  // Indexes that exist stay as they are.
  EXPECT_NO_THROW(hv6::createMissingDiaryIndexes(db, QStringLiteral("WDiary")));
  EXPECT_EQ(indexColumns(db, QStringLiteral("WDiary_Date")), QStringList{"Date"});
}
