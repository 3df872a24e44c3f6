#include "tests/platform/dao/dao_test_util.h"

namespace {

using hv6test::DaoTest;
using hv6test::jetErrorOf;

class TableDef : public DaoTest {
 protected:
  void SetUp() override {
    DaoTest::SetUp();
    db.Execute(QStringLiteral(
        "CREATE TABLE IWDryOption (Code INTEGER PRIMARY KEY, Crop SMALLINT NOT NULL DEFAULT 1, "
        "Day TINYINT, Area DOUBLE, Rate FLOAT, Price CURRENCY, LastUpdate DATETIME, Flag BOOLEAN, "
        "Memo VARCHAR(30) DEFAULT 'none', Note LONGTEXT, Picture BLOB)"));
    db.Execute(QStringLiteral("INSERT INTO IWDryOption (Code, Crop) VALUES (1, 1)"));
    def.Open(QStringLiteral("IWDryOption"));
  }

  // The upgrade step's Yes/No column, as the caller describes it.
  static CDaoFieldInfo yesNoColumn(const QString& name, int i) {
    CDaoFieldInfo info;
    info.m_strName = name;
    info.m_nType = dbBoolean;
    info.m_lSize = 1;
    info.m_lAttributes = dbFixedField;
    info.m_nOrdinalPosition = static_cast<short>(20 + i);
    info.m_bRequired = false;
    info.m_bAllowZeroLength = false;
    info.m_lCollatingOrder = dbSortJapanese;
    info.m_strSourceTable = QStringLiteral("IWDryOption");
    info.m_strSourceField = name;
    info.m_strDefaultValue = QStringLiteral("False");
    return info;
  }

  CDaoTableDef def{&db};
};

TEST_F(TableDef, FieldInfosDescribeTheColumns) {
  ASSERT_EQ(def.GetFieldCount(), 11);
  struct Expected {
    const char* name;
    short type;
    long size;
  } expected[] = {{"Code", dbLong, 4},      {"Crop", dbInteger, 2},   {"Day", dbByte, 1},
                  {"Area", dbDouble, 8},    {"Rate", dbSingle, 4},    {"Price", dbCurrency, 8},
                  {"LastUpdate", dbDate, 8}, {"Flag", dbBoolean, 1},  {"Memo", dbText, 30},
                  {"Note", dbMemo, 0},      {"Picture", dbLongBinary, 0}};
  for (int i = 0; i < def.GetFieldCount(); ++i) {
    CDaoFieldInfo info;
    def.GetFieldInfo(i, info);
    EXPECT_EQ(info.m_strName, QString::fromLatin1(expected[i].name));
    EXPECT_EQ(info.m_nType, expected[i].type) << expected[i].name;
    EXPECT_EQ(info.m_lSize, expected[i].size) << expected[i].name;
    EXPECT_EQ(info.m_nOrdinalPosition, i);
  }
  CDaoFieldInfo crop;
  ASSERT_TRUE(def.GetFieldInfo(QStringLiteral("crop"), crop));
  EXPECT_TRUE(crop.m_bRequired);
  EXPECT_EQ(crop.m_strDefaultValue, QStringLiteral("1"));
  CDaoFieldInfo code;
  def.GetFieldInfo(0, code);
  EXPECT_TRUE(code.m_lAttributes & dbAutoIncrField);
  EXPECT_FALSE(crop.m_lAttributes & dbAutoIncrField);
  CDaoFieldInfo memo;
  def.GetFieldInfo(QStringLiteral("Memo"), memo);
  EXPECT_EQ(memo.m_strDefaultValue, QStringLiteral("'none'"));
  EXPECT_TRUE(memo.m_lAttributes & dbVariableField);
  EXPECT_FALSE(def.GetFieldInfo(QStringLiteral("Dilute"), memo));
  EXPECT_EQ(jetErrorOf([&] { def.GetFieldInfo(11, memo); }), kJetNoSuchColumn);
}

TEST_F(TableDef, AMissingTableIs3078) {
  CDaoTableDef missing(&db);
  EXPECT_EQ(jetErrorOf([&] { missing.Open(QStringLiteral("Nope")); }), kJetNoSuchTable);
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(jetErrorOf([&] { missing.CreateField(yesNoColumn(QStringLiteral("X"), 0)); }), kJetNotOpen);
}

TEST_F(TableDef, TheYesNoUpgradeAddsFalseColumns) {
  const QStringList names = {QStringLiteral("Dilute"), QStringLiteral("Vermin"), QStringLiteral("Scatter")};
  for (int i = 0; i < names.size(); ++i) def.CreateField(yesNoColumn(names[i], i));
  EXPECT_EQ(def.GetFieldCount(), 14);
  CDaoFieldInfo info;
  ASSERT_TRUE(def.GetFieldInfo(QStringLiteral("Vermin"), info));
  EXPECT_EQ(info.m_nType, dbBoolean);
  EXPECT_FALSE(info.m_bRequired);
  EXPECT_EQ(info.m_strDefaultValue, QStringLiteral("0"));
  // A second run finds the column and must not add it again.
  EXPECT_EQ(jetErrorOf([&] { def.CreateField(yesNoColumn(QStringLiteral("dilute"), 0)); }), kJetDuplicateField);

  reopen();
  CDaoRecordset rs(&db);
  rs.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM IWDryOption"));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Dilute")), COleVariant::boolean(false));
  rs.AddNew();
  rs.SetFieldValue(QStringLiteral("Scatter"), COleVariant(1));
  rs.Update();
  rs.SetBookmark(rs.GetLastModifiedBookmark());
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Vermin")), COleVariant::boolean(false));
  EXPECT_EQ(rs.GetFieldValue(QStringLiteral("Scatter")), COleVariant::boolean(true));
}

TEST_F(TableDef, DefaultsBecomeSafeLiterals) {
  CDaoFieldInfo text;
  text.m_strName = QStringLiteral("Caption");
  text.m_nType = dbText;
  text.m_lSize = 20;
  text.m_strDefaultValue = QStringLiteral("\"it's'); DROP TABLE IWDryOption; --\"");
  def.CreateField(text);
  CDaoFieldInfo date;
  date.m_strName = QStringLiteral("Since");
  date.m_nType = dbDate;
  date.m_strDefaultValue = QStringLiteral("#4/1/2024#");
  def.CreateField(date);
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT Caption, Since FROM IWDryOption"));
  EXPECT_EQ(rs.GetFieldValue(0).toString(), QStringLiteral("it's'); DROP TABLE IWDryOption; --"));
  EXPECT_EQ(rs.GetFieldValue(1), COleVariant(QDateTime(QDate(2024, 4, 1), QTime(0, 0))));
}

TEST_F(TableDef, AnInvalidDefaultAddsNothing) {
  CDaoFieldInfo flag = yesNoColumn(QStringLiteral("Odd"), 0);
  flag.m_strDefaultValue = QStringLiteral("maybe");
  EXPECT_EQ(jetErrorOf([&] { def.CreateField(flag); }), kJetSyntaxError);
  CDaoFieldInfo number;
  number.m_strName = QStringLiteral("Count");
  number.m_nType = dbLong;
  number.m_strDefaultValue = QStringLiteral("1; DROP TABLE x");
  EXPECT_EQ(jetErrorOf([&] { def.CreateField(number); }), kJetSyntaxError);
  EXPECT_EQ(def.GetFieldCount(), 11);
}

TEST(JetTypes, DeclaredTypesMapBothWays) {
  for (short type : {dbBoolean, dbByte, dbInteger, dbLong, dbCurrency, dbSingle, dbDouble, dbDate, dbText,
                     dbLongBinary, dbMemo})
    EXPECT_EQ(daoTypeOfDeclared(jetDeclaredType(type, 40)), type) << type;
  long size = 0;
  EXPECT_EQ(daoTypeOfDeclared(QStringLiteral("varchar ( 12 )"), &size), dbText);
  EXPECT_EQ(size, 12);
  EXPECT_EQ(daoTypeOfDeclared(QStringLiteral("UNSIGNED BIG INT")), dbLong);
}

}  // namespace
