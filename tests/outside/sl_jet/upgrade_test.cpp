// A diary database made before the sales store gets its tables and columns
// in one transaction, when the store first opens it.
#include "platform/dao/dao.h"
#include "store/upgrade.h"
#include "tests/outside/sl_jet/store_fixture.h"

namespace {

using namespace sltest;

class SalesUpgradeTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment environment;
  hv6test::MessageRecorder messages;
  hv6test::TempDataFolder data;
  long market = 0;
  long oldSlip = 0;

  // The diary database as builds before the sales store made it: no sales
  // tables, the masters' columns only in CustomerMst, Slip without the
  // further header fields; with a client and a slip of the demo's form.
  void SetUp() override {
    CDaoDatabase& db = data.diary();
    for (const hv6::TableSpec& table : hv6::salesTables())
      db.Execute(QStringLiteral("DROP TABLE ") + table.name);
    db.Execute(QStringLiteral("DROP TABLE CustomerMst"));
    db.Execute(QStringLiteral(
        "CREATE TABLE CustomerMst (Code INTEGER PRIMARY KEY, Scode INTEGER, Name VARCHAR(255), "
        "IName VARCHAR(12), IUse BOOLEAN DEFAULT 0, Use SMALLINT DEFAULT 0)"));
    db.Execute(QStringLiteral("DROP TABLE Slip"));
    db.Execute(QStringLiteral(
        "CREATE TABLE Slip (Code INTEGER PRIMARY KEY, SlipNo VARCHAR(13), SlipDate INTEGER, "
        "AppType SMALLINT, SlipKind TINYINT, TaxRateCode TINYINT, LineCount SMALLINT, "
        "CustomerCode INTEGER, ShipToCode INTEGER, ChargeCode INTEGER, ShipDate INTEGER, "
        "ClaimDate INTEGER, TagColor INTEGER, AdPlan INTEGER, TaxOutAmount DOUBLE, "
        "TaxInAmount DOUBLE, NoTaxAmount DOUBLE, TaxTotal DOUBLE, InTax DOUBLE, AdjustTax DOUBLE, "
        "TotalAmount DOUBLE, Sasihiki INTEGER, Suu_Kei DOUBLE, Unit_Ave DOUBLE)"));
    db.Execute(QStringLiteral("CREATE INDEX Slip_SlipDate ON Slip (SlipDate)"));
    market = data.addMaster(QStringLiteral("CustomerMst"), 10, QStringLiteral("盛岡市場"));
    oldSlip = hv6test::TempDataFolder::insertRow(
        db, QStringLiteral("Slip"),
        {{QStringLiteral("SlipNo"), COleVariant(QStringLiteral("            7"))},
         {QStringLiteral("SlipDate"), COleVariant(20250603L)},
         {QStringLiteral("AppType"), COleVariant(0)},
         {QStringLiteral("SlipKind"), COleVariant(2)},
         {QStringLiteral("CustomerCode"), COleVariant(market)},
         {QStringLiteral("TotalAmount"), COleVariant(1100.0)},
         {QStringLiteral("Sasihiki"), COleVariant(1100L)}});
  }

  bool hasColumn(const QString& table, const QString& column) {
    return hv6test::columnsOf(data.diary(), table).contains(column, Qt::CaseInsensitive);
  }
};

TEST_F(SalesUpgradeTest, TheStoreAddsEverythingMissingAndKeepsTheRows) {
  CSelJetAccess store(&data.diary());
  S_CLIENTSEL c;
  ASSERT_EQ(store.ReadClient(static_cast<std::int32_t>(market), c), kSlOk);
  for (const hv6::TableSpec& table : hv6::diaryTables()) {
    const QStringList present = hv6test::columnsOf(data.diary(), table.name);
    for (const hv6::ColumnSpec& column : table.columns)
      EXPECT_TRUE(present.contains(column.name, Qt::CaseInsensitive))
          << table.name.toStdString() << "." << column.name.toStdString();
  }
  // The old client with the sales defaults, the old slip with its values.
  EXPECT_EQ(slText(c.name), QStringLiteral("盛岡市場"));
  EXPECT_EQ(c.taxTiming, kTimingPerLine);
  EXPECT_EQ(c.taxRounding, kRoundTruncate);
  EXPECT_EQ(c.closeDay, 31);
  EXPECT_EQ(c.priceRate, 100);
  EXPECT_EQ(c.balance, 0);
  S_SELSLIPHD h;
  ASSERT_EQ(store.ReadSlipHead(0, QStringLiteral("            7"), h), kSlOk);
  EXPECT_EQ(h.code, oldSlip);
  EXPECT_EQ(h.grandTotal, 1100);
  EXPECT_EQ(h.slipKind, kKindCredit);
  EXPECT_EQ(h.billed, 0);
  // And the upgraded file takes a save.
  CCalc calc(&store);
  S_SELSLIPHD asLoaded = h;
  h.grandTotal = 2200;
  ASSERT_TRUE(calc.UpdateClientSelslip(nullptr, h, asLoaded, {}, kStoreChanged));
  ASSERT_EQ(store.ReadClient(static_cast<std::int32_t>(market), c), kSlOk);
  EXPECT_EQ(c.balance, 1100);  // the old slip's figures were never carried
  // A second look finds nothing to do.
  EXPECT_FALSE(hv6::ensureSalesSchema(data.diary()));
}

TEST_F(SalesUpgradeTest, AnUpgradeThatFailsHalfWayLeavesTheFileAsItWas) {
  // An index under the name of the last sales table: every table before it
  // is made, then its CREATE fails.
  data.diary().Execute(QStringLiteral("CREATE INDEX SalesBillSum ON Slip (SlipNo)"));
  const QStringList customerBefore = hv6test::columnsOf(data.diary(), QStringLiteral("CustomerMst"));
  CSelJetAccess store(&data.diary());
  EXPECT_NE(store.EnsureSchema(), kSlOk);
  S_CLIENTSEL c;
  EXPECT_NE(store.ReadClient(static_cast<std::int32_t>(market), c), kSlOk);
  EXPECT_FALSE(data.diary().tableExists(QStringLiteral("SalesGoods")));
  EXPECT_FALSE(data.diary().tableExists(QStringLiteral("SalesPattern")));
  EXPECT_EQ(hv6test::columnsOf(data.diary(), QStringLiteral("CustomerMst")), customerBefore);
  EXPECT_FALSE(hasColumn(QStringLiteral("Slip"), QStringLiteral("Billed")));

  data.diary().Execute(QStringLiteral("DROP INDEX SalesBillSum"));
  EXPECT_EQ(store.EnsureSchema(), kSlOk);
  EXPECT_TRUE(data.diary().tableExists(QStringLiteral("SalesBillSum")));
  EXPECT_TRUE(hasColumn(QStringLiteral("Slip"), QStringLiteral("Rate4Tax")));
  EXPECT_TRUE(hasColumn(QStringLiteral("CustomerMst"), QStringLiteral("LastBillAmount")));
  EXPECT_EQ(store.ReadClient(static_cast<std::int32_t>(market), c), kSlOk);
}

TEST_F(SalesUpgradeTest, AFileAnotherProgramHoldsIsNotUpgradedHalfWay) {
  data.diary().setBusyTimeout(200);
  CDaoDatabase other;
  other.Open(data.diaryPath());
  {
    DaoTransaction writing(other);
    other.Execute(QStringLiteral("UPDATE CustomerMst SET Name = 'x'"));
    CSelJetAccess store(&data.diary());
    EXPECT_EQ(store.EnsureSchema(), kJetLocked);
    EXPECT_FALSE(data.diary().tableExists(QStringLiteral("SalesGoods")));
  }
  other.Close();
  CSelJetAccess store(&data.diary());
  EXPECT_EQ(store.EnsureSchema(), kSlOk);
  EXPECT_TRUE(data.diary().tableExists(QStringLiteral("SalesGoods")));
}

}  // namespace
