#include "store/schema.h"

#include "platform/dao/dao.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <functional>

namespace hv6 {
namespace {

// Declared SQLite types of the Jet column types.
const QString kLong = QStringLiteral("INTEGER");
const QString kInteger = QStringLiteral("SMALLINT");
const QString kByte = QStringLiteral("TINYINT");
const QString kDouble = QStringLiteral("DOUBLE");
const QString kCurrency = QStringLiteral("CURRENCY");
const QString kDateTime = QStringLiteral("DATETIME");
const QString kYesNo = QStringLiteral("BOOLEAN");

QString text(int size) { return QStringLiteral("VARCHAR(%1)").arg(size); }

ColumnSpec key() { return {QStringLiteral("Code"), kLong, QStringLiteral("PRIMARY KEY")}; }
ColumnSpec column(const char* name, const QString& type) { return {QString::fromLatin1(name), type, {}}; }
ColumnSpec flag(const char* name, const QString& type) {
  return {QString::fromLatin1(name), type, QStringLiteral("DEFAULT 0")};
}

QList<ColumnSpec> columns(const QString& type, std::initializer_list<const char*> names) {
  QList<ColumnSpec> list;
  for (const char* name : names) list.append(column(name, type));
  return list;
}

QList<ColumnSpec> numbered(const char* pattern, int from, int to, const QString& type) {
  QList<ColumnSpec> list;
  for (int i = from; i <= to; ++i) list.append({QString::fromLatin1(pattern).arg(i), type, {}});
  return list;
}

// A master table: key, user number, names, mobile use, its own columns and
// the active flag (0 = in use).
TableSpec master(const QString& name, const QList<ColumnSpec>& own) {
  QList<ColumnSpec> list{key(), column("Scode", kLong), column("Name", text(255)),
                         column("IName", text(12)), flag("IUse", kYesNo)};
  list += own;
  list.append(flag("Use", kInteger));
  return {name, list, {}};
}

QList<ColumnSpec> materialColumns() {
  QList<ColumnSpec> list{column("CropCode", kLong), column("Unit", kLong)};
  list += columns(text(255), {"Dilute", "Vermin", "ReserveItem1", "ReserveItem2", "ReserveItem3"});
  return list;
}

TableSpec information(SchemaEdition edition) {
  QList<ColumnSpec> list = columns(text(255), {"Company", "President"});
  list += columns(text(30), {"TelNo", "FaxNo"});
  if (edition != SchemaEdition::Previous) {
    list.append(column("GroupName", text(255)));
    list.append(column("Dataversion", text(10)));
  }
  list.append(column("LastBackup", kLong));
  list += numbered("Mte%1Name", 1, 5, text(255));
  list += numbered("ReserveItem%1Name", 1, 3, text(255));
  return {QStringLiteral("Information"), list, {}};
}

// WDiary in the order of the mobile import's field numbers; position 22 is
// the material code, one column per material category.
TableSpec workDiary() {
  QList<ColumnSpec> list{key(), column("Date", kDateTime)};
  list += columns(kLong, {"CropCode", "JobCode", "FieldCode", "FarmerCode", "MachineCode",
                          "WorkFactTime", "RestFactTime", "WorkStartTime", "WorkEndTime",
                          "RestStartTime", "RestEndTime", "McnFactTime", "MRestFactTime",
                          "McnStartTime", "McnEndTime", "MRestStartTime", "MRestEndTime",
                          "TotalArea", "LightOil"});
  list.append(column("Kind", kByte));
  list.append(column("FrzCode", kLong));
  list += numbered("Mte%1Code", 1, 5, kLong);
  list.append(column("Quantity", kCurrency));
  list += columns(text(255), {"Dilute", "Vermin", "Scatter", "ReserveItem1", "ReserveItem2",
                              "ReserveItem3"});
  // The rows of a crop, field, worker and machine on a day: the mobile
  // import's duplicate check finds its row without reading the table. Date
  // is not its first column and JobCode not in it, so queries by day keep
  // the day index, and reads of date and job keep the stored row order.
  const IndexSpec masters{kWDiaryMastersIndex,
                          {QStringLiteral("CropCode"), QStringLiteral("FieldCode"),
                           QStringLiteral("FarmerCode"), QStringLiteral("MachineCode"),
                           QStringLiteral("Date")}};
  return {QStringLiteral("WDiary"), list, {QStringLiteral("Date")}, {masters}};
}

TableSpec yearBook() {
  QList<ColumnSpec> list{key()};
  list += columns(kLong, {"Date", "JobCode", "J_JobCode"});
  return {QStringLiteral("YearBook1"), list, {QStringLiteral("Date")}};
}

TableSpec mobileOptions(SchemaEdition edition) {
  QList<ColumnSpec> list{key()};
  for (const char* name :
       {"Crop", "Day", "Work", "Field", "Farmer", "Machine", "WorkFactTime", "RestFactTime",
        "WorkStartEndTime", "RestStartEndTime", "McnFactTime", "MRestFactTime",
        "McnStartEndTime", "MRestStartEndTime", "TotalArea", "LightOil", "Shizai", "Quantity"})
    list.append(flag(name, kInteger));
  if (edition == SchemaEdition::V60501) {
    for (const QString& name : iwDryUpgradeColumns())
      list.append({name, kYesNo, QStringLiteral("DEFAULT 0")});
  }
  return {QStringLiteral("IWDryOption"), list, {}};
}

TableSpec pictureLink() {
  QList<ColumnSpec> list{key(), column("PhotoDate", kLong)};
  list += columns(text(255), {"Title", "Memo", "Path"});
  list += columns(kLong, {"Bright", "Contrast", "Sharp", "DispRate"});
  return {QStringLiteral("PictureLink"), list, {QStringLiteral("PhotoDate")}};
}

// Slip header as the sales module stores it; AppType 0 marks a sales slip.
TableSpec slip() {
  QList<ColumnSpec> list{key(), column("SlipNo", text(13)), column("SlipDate", kLong),
                         column("AppType", kInteger), column("SlipKind", kByte),
                         column("TaxRateCode", kByte), column("LineCount", kInteger)};
  list += columns(kLong, {"CustomerCode", "ShipToCode", "ChargeCode", "ShipDate", "ClaimDate",
                          "TagColor", "AdPlan"});
  list += columns(kDouble, {"TaxOutAmount", "TaxInAmount", "NoTaxAmount", "TaxTotal", "InTax",
                            "AdjustTax", "TotalAmount"});
  list.append(column("Sasihiki", kLong));
  list += columns(kDouble, {"Suu_Kei", "Unit_Ave"});
  for (const AddedColumn& added : salesColumns())
    if (added.table == QLatin1String("Slip")) list.append(added.column);
  // Slips by number within their AppType, a client's slips by date, and
  // every slip in (date, number) order for the store's batch reading.
  const IndexSpec number{QStringLiteral("Slip_Number"),
                         {QStringLiteral("AppType"), QStringLiteral("SlipNo")}};
  const IndexSpec customer{QStringLiteral("Slip_Customer"),
                           {QStringLiteral("CustomerCode"), QStringLiteral("SlipDate")}};
  const IndexSpec order{QStringLiteral("Slip_Order"),
                        {QStringLiteral("SlipDate"), QStringLiteral("SlipNo")}};
  return {QStringLiteral("Slip"), list, {QStringLiteral("SlipDate")}, {number, customer, order}};
}

// One slip line; SlipCode is the Code of its Slip row.
TableSpec slipDetails() {
  QList<ColumnSpec> list{key(), column("SlipCode", kLong), column("AppType", kInteger),
                         column("SlipNo", text(13)), column("SlipDate", kLong),
                         column("SlipKind", kByte), column("CustomerCode", kLong),
                         column("LineNo", kInteger), column("LineKind", kByte),
                         column("GoodsCode", text(20)), column("GoodsName", text(36))};
  list += columns(kDouble, {"Irisu", "Hakosu", "Suu"});
  list.append(column("UnitName", text(10)));
  list += columns(kDouble, {"Tanka", "GenTanka"});
  list += columns(kLong, {"Proceed", "Tax"});
  list += columns(kByte, {"TaxRateCode", "TaxClass", "SimpleTaxClass"});
  list += columns(kLong, {"CropCode", "FieldCode", "GradeCode", "StandardCode", "BuyerCode"});
  return {QStringLiteral("SlipDetails"), list, {QStringLiteral("SlipCode")}};
}

// Weather of a day: Date yyyymmdd and three weather item numbers.
TableSpec weather() {
  QList<ColumnSpec> list{key(), column("Date", kLong)};
  list += columns(kInteger, {"Item1", "Item2", "Item3"});
  return {QStringLiteral("Weather"), list, {QStringLiteral("Date")}};
}

TableSpec weatherItem() {
  return {QStringLiteral("Item"),
          {key(), column("LastUpdate", kDateTime), column("DataSpecies", kInteger),
           column("Type", kInteger)},
          {}};
}

// The weather library's daily values of an observation point: one row per
// point (Location = Location.Code) and day (yyyymmdd). Temperatures in °C,
// precipitation in mm, sunshine in hours; WeatherCode and the three parts
// of the day (6-12, 12-18, 18-24 h) as WMO weather codes. Null: no value.
TableSpec meshWeather() {
  QList<ColumnSpec> list{key(), column("Location", kLong), column("Date", kLong)};
  list += columns(kDouble, {"TempMax", "TempMin", "TempMean", "Precipitation", "Sunshine"});
  list += columns(kInteger, {"WeatherCode", "Morning", "Afternoon", "Night"});
  return {QStringLiteral("MeshWeather"), list, {QStringLiteral("Location"), QStringLiteral("Date")}};
}

TableSpec location() {
  QList<ColumnSpec> list{key()};
  list += columns(kInteger, {"Num", "Ido_HH", "Ido_MM", "Ido_SS", "Keido_HH", "Keido_MM",
                             "Keido_SS"});
  list += columns(kLong, {"SDate", "EDate"});
  return {QStringLiteral("Location"), list, {}};
}

TableSpec targetField() {
  return {QStringLiteral("TargetField"),
          {key(), column("Location", kLong), column("Field", kLong)},
          {QStringLiteral("Location"), QStringLiteral("Field")}};
}

TableSpec condition() {
  QList<ColumnSpec> list{key()};
  list += columns(kLong, {"H_Field", "N_Field", "S_Field"});
  list += numbered("K_Field%1", 1, 6, kLong);
  list += numbered("K_Location%1", 1, 6, kLong);
  return {QStringLiteral("Condition"), list, {}};
}

TableSpec risk() { return {QStringLiteral("Risk"), {key(), column("FieldCode", kLong)}, {}}; }

QList<TableSpec> masters() {
  const QList<ColumnSpec> months = columns(kInteger, {"StartMonth", "EndMonth"});
  const ColumnSpec crop = column("CropCode", kLong);
  QList<TableSpec> list{
      master(QStringLiteral("CropMst"), months),
      master(QStringLiteral("JobMst"), QList<ColumnSpec>{crop} + months +
                                           QList<ColumnSpec>{flag("MileStone", kYesNo)}),
      master(QStringLiteral("FieldMst"),
             {crop, column("SakuArea", kDouble), column("AreaUnit", kLong),
              column("SeqCode", kLong)}),
      master(QStringLiteral("FarmerMst"), {}),
      master(QStringLiteral("MachineMst"), QList<ColumnSpec>{crop} + months),
      master(QStringLiteral("FertilizerMst"), {crop, column("Unit", kLong)}),
  };
  for (int i = 1; i <= 5; ++i)
    list.append(master(QStringLiteral("MaterialMst%1").arg(i), materialColumns()));
  for (const char* name : {"UnitMst", "CustomerMst", "BuyerMst", "GradeMst", "StandardMst"})
    list.append(master(QString::fromLatin1(name), {}));
  // Clients carry the sales settings and figures after the master columns,
  // where an upgrade of an older file adds them too.
  for (TableSpec& table : list) {
    for (const AddedColumn& added : salesColumns())
      if (added.table == table.name) table.columns.append(added.column);
  }
  return list;
}

ColumnSpec withDefault(const char* name, const QString& type, const char* value) {
  return {QString::fromLatin1(name), type, QStringLiteral("DEFAULT ") + QLatin1String(value)};
}

// The columns of a slip header that the sales store keeps besides the key,
// shared by Slip and the standard-pattern headers.
QList<ColumnSpec> patternHeaderColumns() {
  QList<ColumnSpec> list{column("SlipNo", text(13)), column("SlipDate", kLong),
                         column("SlipKind", kByte), column("TaxRateCode", kByte),
                         column("LineCount", kInteger)};
  list += columns(kLong, {"CustomerCode", "ShipToCode", "ChargeCode", "ShipDate", "ClaimDate",
                          "TagColor", "AdPlan"});
  list += columns(kDouble, {"TaxOutAmount", "TaxInAmount", "NoTaxAmount", "TaxTotal", "InTax",
                            "AdjustTax", "TotalAmount", "Suu_Kei", "Unit_Ave"});
  for (const AddedColumn& added : salesColumns())
    if (added.table == QLatin1String("Slip")) list.append(added.column);
  return list;
}

// The line columns of SlipDetails without the slip's key and AppType.
QList<ColumnSpec> patternLineColumns() {
  QList<ColumnSpec> list{column("SlipNo", text(13)), column("SlipDate", kLong),
                         column("SlipKind", kByte), column("CustomerCode", kLong),
                         column("LineNo", kInteger), column("LineKind", kByte),
                         column("GoodsCode", text(20)), column("GoodsName", text(36))};
  list += columns(kDouble, {"Irisu", "Hakosu", "Suu"});
  list.append(column("UnitName", text(10)));
  list += columns(kDouble, {"Tanka", "GenTanka", "Proceed", "Tax"});
  list += columns(kByte, {"TaxRateCode", "TaxClass", "SimpleTaxClass"});
  list += columns(kLong, {"CropCode", "FieldCode", "GradeCode", "StandardCode", "BuyerCode"});
  return list;
}

TableSpec salesGoods() {
  QList<ColumnSpec> list{key(), {QStringLiteral("GoodsCode"), text(13), QStringLiteral("UNIQUE")},
                         column("Name", text(36)), column("Kana", text(20)),
                         column("Unit", text(8))};
  list += columns(kDouble, {"Irisu", "StandardPrice", "Price1", "Price2", "Price3", "CostPrice",
                            "MinimumPrice"});
  list += {flag("CheckMinimum", kByte), flag("TaxClass", kByte), flag("TaxRateCode", kByte),
           flag("SimpleTaxClass", kByte)};
  return {QStringLiteral("SalesGoods"), list, {}};
}

TableSpec salesPerson() {
  return {QStringLiteral("SalesPerson"), {key(), column("Name", text(20))}, {}};
}

TableSpec salesShipTo() {
  QList<ColumnSpec> list{key(), column("ClientCode", kLong), column("Name", text(40)),
                         column("PostCode", text(8)), column("Address1", text(40)),
                         column("Address2", text(40)), column("Tel", text(20)),
                         flag("Used", kByte)};
  return {QStringLiteral("SalesShipTo"), list, {QStringLiteral("ClientCode")}};
}

TableSpec salesPlan() {
  return {QStringLiteral("SalesPlan"), {key(), column("Name", text(40))}, {}};
}

// The own company: one row, Code 1. TaxRate0..9 hold R of each tax-rate
// code (800 = 8 %), Reduced0..9 mark the 軽減税率 rates.
TableSpec salesCompany() {
  QList<ColumnSpec> list{key()};
  list += columns(text(40), {"Name"});
  list.append(column("PostCode", text(8)));
  list += columns(text(40), {"Address1", "Address2"});
  list += columns(text(20), {"Tel", "Fax"});
  list.append(column("InvoiceNo", text(14)));
  list.append(withDefault("AmountRounding", kByte, "3"));
  list += numbered("TaxRate%1", 0, kSalesTaxRateSlots - 1, kLong);
  list += numbered("Reduced%1", 0, kSalesTaxRateSlots - 1, kByte);
  for (const char* name : {"DefaultTaxRateCode", "HideIrisu", "HideBoxes", "HideSimpleTax",
                           "HideGrossProfit", "CashSaleDefault", "DateStyle"})
    list.append(flag(name, kByte));
  return {QStringLiteral("SalesCompany"), list, {}};
}

// The sales environment: one row, Code 1.
TableSpec salesEnvironment() {
  QList<ColumnSpec> list{key()};
  list += columns(text(13), {"SlipNoLow", "SlipNoHigh", "LastNoReservation", "LastNoSales"});
  list.append(column("LastSlipDate", kLong));
  list.append(flag("WholeYenPrice", kByte));
  list.append(column("Workstation", kLong));
  list.append(column("WorkFolder", text(260)));
  return {QStringLiteral("SalesEnvironment"), list, {}};
}

// Standard-pattern headers (おきまり伝票): the pattern's key, initial key
// and name, then the header it holds; HeaderCode and NewSlip are that
// header's own code and new-slip mark.
TableSpec salesPattern() {
  QList<ColumnSpec> list{key(), column("InitialKey", text(4)), column("PatternName", text(30)),
                         column("HeaderCode", kLong), flag("NewSlip", kByte)};
  list += patternHeaderColumns();
  return {QStringLiteral("SalesPattern"), list, {}};
}

TableSpec salesPatternDetails() {
  QList<ColumnSpec> list{key(), column("PatternCode", kLong)};
  list += patternLineColumns();
  return {QStringLiteral("SalesPatternDetails"), list, {QStringLiteral("PatternCode")}};
}

// A client's last bill: one row per client.
TableSpec salesBillSum() {
  QList<ColumnSpec> list{{QStringLiteral("ClientCode"), kLong, QStringLiteral("PRIMARY KEY")},
                         column("LastBillDate", kLong)};
  list += columns(kDouble, {"LastBillAmount", "LastBillTax"});
  return {QStringLiteral("SalesBillSum"), list, {}};
}

void createTables(CDaoDatabase& db, const QList<TableSpec>& tables) {
  DaoTransaction transaction(db);
  for (const TableSpec& table : tables) {
    for (const QString& statement : createTableStatements(table)) db.Execute(statement);
  }
  transaction.commit();
}

COleVariant textOrNull(const QString& value) {
  return value.isEmpty() ? COleVariant::null() : COleVariant(value);
}

void insertInformation(CDaoDatabase& db, SchemaEdition edition, const InformationTexts& texts) {
  QStringList names{QStringLiteral("Company"), QStringLiteral("President"),
                    QStringLiteral("TelNo"), QStringLiteral("FaxNo")};
  QList<COleVariant> values{textOrNull(texts.company), textOrNull(texts.president),
                            textOrNull(texts.telNo), textOrNull(texts.faxNo)};
  if (edition != SchemaEdition::Previous) {
    names << QStringLiteral("GroupName") << QStringLiteral("Dataversion");
    values << textOrNull(texts.groupName) << COleVariant(dataVersionOf(edition));
  }
  for (int i = 0; i < 5; ++i) {
    names << QStringLiteral("Mte%1Name").arg(i + 1);
    values << textOrNull(texts.materialNames.value(i));
  }
  for (int i = 0; i < 3; ++i) {
    names << QStringLiteral("ReserveItem%1Name").arg(i + 1);
    values << textOrNull(texts.reserveItemNames.value(i));
  }
  QStringList marks;
  for (qsizetype i = 0; i < names.size(); ++i) marks.append(QStringLiteral("?"));
  db.Execute(QStringLiteral("INSERT INTO Information (%1) VALUES (%2)")
                 .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
             values);
}

// The file and the journal files SQLite may leave beside it.
void removeDatabaseFiles(const QString& path) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    QFile::remove(path + QString::fromLatin1(suffix));
}

void fillNewFile(const QString& path, const std::function<void(CDaoDatabase&)>& fill) {
  CDaoDatabase db;
  db.Create(path);
  fill(db);
  db.Close();
}

void buildFileInPlace(const QString& path, const std::function<void(CDaoDatabase&)>& fill) {
  const QFileInfo target(path);
  if (target.exists())
    throw CDaoException(kJetDatabaseExists,
                        QStringLiteral("The database file already exists: %1").arg(path));
  const QString temp = target.dir().filePath(
      QStringLiteral(".%1.%2.tmp")
          .arg(target.fileName(), QUuid::createUuid().toString(QUuid::Id128)));
  try {
    fillNewFile(temp, fill);
  } catch (...) {
    removeDatabaseFiles(temp);
    throw;
  }
  if (QFile::rename(temp, path)) return;
  removeDatabaseFiles(temp);
  throw CDaoException(kJetDiskIo, QStringLiteral("Cannot move the new database to %1").arg(path));
}

}  // namespace

QString dataVersionOf(SchemaEdition edition) {
  switch (edition) {
    case SchemaEdition::V60501: return kDataVersion60501;
    case SchemaEdition::V60500: return kDataVersion60500;
    case SchemaEdition::Previous: break;
  }
  return {};
}

QStringList iwDryUpgradeColumns() {
  return {QStringLiteral("Dilute"),       QStringLiteral("Vermin"),
          QStringLiteral("Scatter"),      QStringLiteral("ReserveItem1"),
          QStringLiteral("ReserveItem2"), QStringLiteral("ReserveItem3")};
}

QString materialCodeColumn(int kind) {
  if (kind == 0) return QStringLiteral("FrzCode");
  if (kind >= 1 && kind <= 5) return QStringLiteral("Mte%1Code").arg(kind);
  return {};
}

QList<TableSpec> diaryTables(SchemaEdition edition) {
  QList<TableSpec> list{information(edition), workDiary(), yearBook()};
  list += masters();
  list += {mobileOptions(edition), pictureLink(), slip(), slipDetails(), weather()};
  list += salesTables();
  return list;
}

QList<TableSpec> salesTables() {
  return {salesGoods(),   salesPerson(),         salesShipTo(),  salesPlan(),
          salesCompany(), salesEnvironment(),    salesPattern(), salesPatternDetails(),
          salesBillSum()};
}

QList<AddedColumn> salesColumns() {
  const auto to = [](const char* table, ColumnSpec definition) {
    return AddedColumn{QString::fromLatin1(table), std::move(definition)};
  };
  QList<AddedColumn> list;
  const char* customer = "CustomerMst";
  for (const char* name : {"Kana", "PostCode", "Address1", "Address2", "Tel"})
    list.append(to(customer, column(name, text(40))));
  list.append(to(customer, flag("ClientType", kLong)));
  list.append(to(customer, withDefault("TaxTiming", kByte, "1")));
  list.append(to(customer, withDefault("TaxRounding", kByte, "1")));
  list.append(to(customer, withDefault("CloseDay", kByte, "31")));
  list.append(to(customer, flag("PriceClass", kByte)));
  list.append(to(customer, withDefault("PriceRate", kDouble, "100")));
  for (const char* name : {"CreditLimit", "Balance", "SalesTotal"})
    list.append(to(customer, flag(name, kDouble)));
  for (const char* name : {"SalesSlipCount", "PaymentSlipCount", "LastSlipDate", "LastBillDate"})
    list.append(to(customer, flag(name, kLong)));
  list.append(to(customer, flag("LastBillAmount", kDouble)));

  const char* slipTable = "Slip";
  list.append(to(slipTable, flag("Billed", kByte)));
  list.append(to(slipTable, flag("Shipped", kByte)));
  list.append(to(slipTable, flag("ClientType", kLong)));
  list.append(to(slipTable, column("Memo", text(40))));
  for (int i = 1; i <= kSalesRateTotals; ++i) {
    const QByteArray prefix = QByteArrayLiteral("Rate") + QByteArray::number(i);
    for (const char* part : {"Code", "Used"})
      list.append(to(slipTable, {QString::fromLatin1(prefix + part), kByte, QStringLiteral("DEFAULT 0")}));
    for (const char* part : {"TaxOut", "TaxIn", "Tax"})
      list.append(to(slipTable, {QString::fromLatin1(prefix + part), kDouble, QStringLiteral("DEFAULT 0")}));
  }
  return list;
}

QList<TableSpec> weatherTables() {
  return {weather(), weatherItem(), location(), targetField(), condition(), risk(), meshWeather()};
}

TableSpec meshWeatherTable() { return meshWeather(); }

QString columnDefinition(const ColumnSpec& column) {
  QString definition = column.name + QLatin1Char(' ') + column.type;
  if (!column.constraint.isEmpty()) definition += QLatin1Char(' ') + column.constraint;
  return definition;
}

QStringList createTableStatements(const TableSpec& table) {
  QStringList parts;
  for (const ColumnSpec& c : table.columns) parts.append(columnDefinition(c));
  QStringList statements{QStringLiteral("CREATE TABLE %1 (%2)")
                             .arg(table.name, parts.join(QStringLiteral(", ")))};
  return statements + createIndexStatements(table);
}

QStringList createIndexStatements(const TableSpec& table) {
  QStringList statements;
  for (const QString& indexed : table.indexedColumns)
    statements.append(
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1_%2 ON %1 (%2)").arg(table.name, indexed));
  for (const IndexSpec& index : table.indexes)
    statements.append(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                          .arg(index.name, table.name, index.columns.join(QStringLiteral(", "))));
  return statements;
}

void createMissingDiaryIndexes(CDaoDatabase& db, const QString& table) {
  for (const TableSpec& known : diaryTables()) {
    if (known.name.compare(table, Qt::CaseInsensitive) != 0) continue;
    for (const QString& statement : createIndexStatements(known)) db.Execute(statement);
  }
}

void createDiarySchema(CDaoDatabase& db, SchemaEdition edition) {
  createTables(db, diaryTables(edition));
}

void createWeatherSchema(CDaoDatabase& db) { createTables(db, weatherTables()); }

void writeInitialRows(CDaoDatabase& db, SchemaEdition edition, const InformationTexts& texts) {
  DaoTransaction transaction(db);
  insertInformation(db, edition, texts);
  db.Execute(QStringLiteral("INSERT INTO IWDryOption (Code, Crop, Day) VALUES (1, 1, 1)"));
  transaction.commit();
}

void createDiaryDatabase(const QString& path, SchemaEdition edition,
                         const InformationTexts& texts) {
  buildFileInPlace(path, [&](CDaoDatabase& db) {
    createDiarySchema(db, edition);
    writeInitialRows(db, edition, texts);
  });
}

void createWeatherDatabase(const QString& path, const QDate& weatherStart) {
  buildFileInPlace(path, [&weatherStart](CDaoDatabase& db) {
    createWeatherSchema(db);
    if (!weatherStart.isValid()) return;
    DaoTransaction transaction(db);
    for (int type = 1; type <= 3; ++type)
      db.Execute(QStringLiteral("INSERT INTO Item (LastUpdate, DataSpecies, Type) VALUES (?, 0, ?)"),
                 {COleVariant(QDateTime(weatherStart, QTime(0, 0))), COleVariant(type)});
    transaction.commit();
  });
}

}  // namespace hv6
