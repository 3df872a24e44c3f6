#pragma once
// The schema of both databases of a data folder: the diary database (work
// diary, masters, plan, slips, photos, mobile settings) and the weather
// database (weather, observation points, field links). Every table and
// column that any part of the program reads or writes is created here; the
// installation, new data, the demo data and the tests all use it.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class CDaoDatabase;

namespace hv6 {

// File names of the two databases inside a data folder.
inline const QString kDiaryFileName = QStringLiteral("作業日誌データ.HV6");
inline const QString kWeatherFileName = QStringLiteral("気象データ.HV6");

// Data versions written to Information.Dataversion.
inline const QString kDataVersion60500 = QStringLiteral("6.05.00");
inline const QString kDataVersion60501 = QStringLiteral("6.05.01");

// Editions of the diary database. Previous: the edition before 6.05.00
// (Information without Dataversion and GroupName). V60500: IWDryOption
// without the six Yes/No columns of the 6.05.01 upgrade.
enum class SchemaEdition { Previous, V60500, V60501 };
constexpr SchemaEdition kCurrentEdition = SchemaEdition::V60501;

// The Dataversion text of an edition (empty for Previous, which has none).
QString dataVersionOf(SchemaEdition edition);

// The six IWDryOption columns that the 6.05.01 upgrade adds, in order.
QStringList iwDryUpgradeColumns();

// The column that holds the material code of a WDiary row of material
// category `kind` (0 FrzCode, 1..5 Mte1Code..Mte5Code); empty otherwise.
QString materialCodeColumn(int kind);

// One column: name and declared SQLite type ("INTEGER", "VARCHAR(255)",
// "DATETIME", ...); the database layer maps the type to the Jet type.
struct ColumnSpec {
  QString name;
  QString type;
  QString constraint;  // e.g. "PRIMARY KEY" or "DEFAULT 0"; may be empty
};

// An index over several columns, in order.
struct IndexSpec {
  QString name;
  QStringList columns;
};

struct TableSpec {
  QString name;
  QList<ColumnSpec> columns;
  QStringList indexedColumns;  // columns that get an index of their own
  QList<IndexSpec> indexes = {};  // indexes over several columns
};

// The index of WDiary by masters and day, which the mobile import's
// duplicate check searches.
inline const QString kWDiaryMastersIndex = QStringLiteral("WDiary_Masters");

// The tables of each database, columns in their stored order. The diary
// tables of every edition include the sales store's.
QList<TableSpec> diaryTables(SchemaEdition edition = kCurrentEdition);

// The sales store's tables: goods, persons, ship-to, plans, the company and
// environment records, standard-pattern headers and lines, billing
// summaries ("SalesGoods" ... "SalesBillSum").
QList<TableSpec> salesTables();
// Entries of the company's tax-rate table and per-rate totals of a slip.
constexpr int kSalesTaxRateSlots = 10;
constexpr int kSalesRateTotals = 4;
// A column the sales store adds to a table of the farm diary: the sales
// settings and figures of CustomerMst, the further header fields of Slip.
struct AddedColumn {
  QString table;
  ColumnSpec column;
};
QList<AddedColumn> salesColumns();
QList<TableSpec> weatherTables();
// The weather library's table of daily values per point and day, which
// the library also creates in weather databases made before it existed.
TableSpec meshWeatherTable();

// A column as CREATE TABLE and ALTER TABLE ... ADD COLUMN declare it:
// "name type [constraint]".
QString columnDefinition(const ColumnSpec& column);
// The statements that create a table and then each of its indexes.
QStringList createTableStatements(const TableSpec& table);
// The statements that create the table's indexes where missing.
QStringList createIndexStatements(const TableSpec& table);

// Creates the indexes of a diary table that a database made by an earlier
// build lacks (existing ones stay as they are). Throws CDaoException.
void createMissingDiaryIndexes(CDaoDatabase& db, const QString& table);

// Creates every table and index in an open, empty database, in one
// transaction. Throws CDaoException.
void createDiarySchema(CDaoDatabase& db, SchemaEdition edition = kCurrentEdition);
void createWeatherSchema(CDaoDatabase& db);

// The identity texts of a new Information row; empty texts are stored Null.
struct InformationTexts {
  QString company;
  QString president;
  QString telNo;
  QString faxNo;
  QString groupName;  // only stored from edition 6.05.00 on
  QStringList materialNames;  // Mte1Name..Mte5Name
  QStringList reserveItemNames;  // ReserveItem1Name..ReserveItem3Name
};

// Writes the one Information row (with the edition's Dataversion, no last
// backup) and the IWDryOption row with Code 1 (crop and date on, every
// other item off). Throws CDaoException.
void writeInitialRows(CDaoDatabase& db, SchemaEdition edition = kCurrentEdition,
                      const InformationTexts& texts = {});

// Creates a new database file with its schema (the diary file also with
// its initial rows). The file is built under a temporary name in the same
// folder and renamed into place only when complete, so a failure leaves
// no file behind. An existing file is never replaced. Throws CDaoException.
void createDiaryDatabase(const QString& path, SchemaEdition edition = kCurrentEdition,
                         const InformationTexts& texts = {});
// weatherStart, when valid: the three weather items (DataSpecies 0, Type
// 1..3) with that day as LastUpdate, so that new data has the start date
// the weather retrieval and the communication page read and write.
void createWeatherDatabase(const QString& path, const QDate& weatherStart = QDate());

}  // namespace hv6
