#include "outside/sl_jet/seljetaccess.h"

#include "platform/dao/dao.h"
#include "platform/dao/jetsql.h"
#include "store/upgrade.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <cmath>
#include <functional>
#include <type_traits>
#include <memory>

namespace sl {

// ---------------------------------------------------------------------------
// Field tables: one entry per record field, naming its column and how the
// field travels to and from the database. Reads and writes use the same
// table, so every field that is written is read back.

namespace detail {

template <class R>
struct Field {
  QString column;
  std::function<COleVariant(const R&)> get;
  std::function<void(R&, const COleVariant&)> set;
};

template <class R>
using Fields = QList<Field<R>>;

// Whole numbers and doubles; a Null leaves the record's default.
template <class R, class T>
Field<R> number(const char* column, T R::*member) {
  return {QString::fromLatin1(column),
          [member](const R& r) {
            if constexpr (std::is_floating_point_v<T>)
              return COleVariant(static_cast<double>(r.*member));
            else
              return COleVariant(static_cast<long>(r.*member));
          },
          [member](R& r, const COleVariant& v) {
            if (v.isNull()) return;
            if constexpr (std::is_floating_point_v<T>)
              r.*member = static_cast<T>(v.toDouble());
            else
              r.*member = static_cast<T>(v.toLong());
          }};
}

template <class R, std::size_t N>
Field<R> text(const char* column, char16_t (R::*member)[N]) {
  return {QString::fromLatin1(column), [member](const R& r) { return COleVariant(slText(r.*member)); },
          [member](R& r, const COleVariant& v) { slSetText(r.*member, v.toString()); }};
}

// The slip header without its code, as Slip and the pattern headers keep it.
Fields<S_SELSLIPHD> headerFields() {
  using H = S_SELSLIPHD;
  Fields<H> list{
      text("SlipNo", &H::slipNo),
      number("SlipDate", &H::slipDate),
      number("SlipKind", &H::slipKind),
      number("TaxRateCode", &H::taxRateCode),
      number("LineCount", &H::lineCount),
      number("CustomerCode", &H::clientCode),
      number("ShipToCode", &H::shipToCode),
      number("ChargeCode", &H::personCode),
      number("ShipDate", &H::shipDate),
      number("ClaimDate", &H::claimDate),
      number("TagColor", &H::tagColor),
      number("AdPlan", &H::adPlan),
      number("TaxOutAmount", &H::taxOutAmount),
      number("TaxInAmount", &H::taxInAmount),
      number("NoTaxAmount", &H::noTaxAmount),
      number("TaxTotal", &H::taxTotal),
      number("InTax", &H::inTax),
      number("AdjustTax", &H::adjustTax),
      number("TotalAmount", &H::grandTotal),
      number("Suu_Kei", &H::quantityTotal),
      number("Unit_Ave", &H::unitAverage),
      number("Billed", &H::billed),
      number("Shipped", &H::shipped),
      number("ClientType", &H::clientType),
      text("Memo", &H::memo),
  };
  for (int i = 0; i < kRateTotals; ++i) {
    const QString prefix = QStringLiteral("Rate%1").arg(i + 1);
    const auto whole = [&](const char* part, std::uint8_t S_RATETOTAL::*member) {
      list.append({prefix + QLatin1String(part),
                   [i, member](const H& h) { return COleVariant(static_cast<long>(h.rates[i].*member)); },
                   [i, member](H& h, const COleVariant& v) {
                     h.rates[i].*member = static_cast<std::uint8_t>(v.toLong());
                   }});
    };
    const auto real = [&](const char* part, double S_RATETOTAL::*member) {
      list.append({prefix + QLatin1String(part),
                   [i, member](const H& h) { return COleVariant(h.rates[i].*member); },
                   [i, member](H& h, const COleVariant& v) { h.rates[i].*member = v.toDouble(); }});
    };
    whole("Code", &S_RATETOTAL::rateCode);
    whole("Used", &S_RATETOTAL::used);
    real("TaxOut", &S_RATETOTAL::taxOutAmount);
    real("TaxIn", &S_RATETOTAL::taxInAmount);
    real("Tax", &S_RATETOTAL::tax);
  }
  return list;
}

// The columns the calendar reads that follow from other fields.
Fields<S_SELSLIPHD> slipFields() {
  using H = S_SELSLIPHD;
  Fields<H> list = headerFields();
  list.append({QStringLiteral("AppType"),
               [](const H& h) { return COleVariant(static_cast<long>(appTypeOf(h.slipKind))); },
               [](H&, const COleVariant&) {}});
  list.append({QStringLiteral("Sasihiki"),
               [](const H& h) { return COleVariant(static_cast<double>(std::llround(h.grandTotal))); },
               [](H&, const COleVariant&) {}});
  return list;
}

Fields<S_SELSLIP> lineFields() {
  using L = S_SELSLIP;
  return {
      text("SlipNo", &L::slipNo),
      number("SlipDate", &L::slipDate),
      number("SlipKind", &L::slipKind),
      number("CustomerCode", &L::clientCode),
      number("LineNo", &L::lineNo),
      number("LineKind", &L::kind),
      text("GoodsCode", &L::goodsCode),
      text("GoodsName", &L::goodsName),
      number("Irisu", &L::irisu),
      number("Hakosu", &L::boxes),
      number("Suu", &L::quantity),
      text("UnitName", &L::unit),
      number("Tanka", &L::unitPrice),
      number("GenTanka", &L::costPrice),
      number("Proceed", &L::amount),
      number("Tax", &L::tax),
      number("TaxRateCode", &L::taxRateCode),
      number("TaxClass", &L::taxClass),
      number("SimpleTaxClass", &L::simpleTaxClass),
      number("CropCode", &L::cropCode),
      number("FieldCode", &L::fieldCode),
      number("GradeCode", &L::gradeCode),
      number("StandardCode", &L::standardCode),
      number("BuyerCode", &L::buyerCode),
  };
}

Fields<S_SELENV> environmentFields() {
  using E = S_SELENV;
  return {text("SlipNoLow", &E::slipNoLow),
          text("SlipNoHigh", &E::slipNoHigh),
          text("LastNoReservation", &E::lastNoReservation),
          text("LastNoSales", &E::lastNoSales),
          number("LastSlipDate", &E::lastSlipDate),
          number("WholeYenPrice", &E::wholeYenPrice),
          number("Workstation", &E::workstation),
          text("WorkFolder", &E::workFolder)};
}

Fields<S_COMPANY> companyFields() {
  using C = S_COMPANY;
  Fields<C> list{text("Name", &C::name),         text("PostCode", &C::postCode),
                 text("Address1", &C::address1), text("Address2", &C::address2),
                 text("Tel", &C::tel),           text("Fax", &C::fax),
                 text("InvoiceNo", &C::invoiceNo), number("AmountRounding", &C::amountRounding)};
  for (int i = 0; i < kTaxRateSlots; ++i) {
    list.append({QStringLiteral("TaxRate%1").arg(i),
                 [i](const C& c) { return COleVariant(static_cast<long>(c.taxRates[i])); },
                 [i](C& c, const COleVariant& v) {
                   if (!v.isNull()) c.taxRates[i] = static_cast<std::int32_t>(v.toLong());
                 }});
    list.append({QStringLiteral("Reduced%1").arg(i),
                 [i](const C& c) { return COleVariant(static_cast<long>(c.reducedRate[i])); },
                 [i](C& c, const COleVariant& v) {
                   if (!v.isNull()) c.reducedRate[i] = static_cast<std::uint8_t>(v.toLong());
                 }});
  }
  list += {number("DefaultTaxRateCode", &C::defaultTaxRateCode), number("HideIrisu", &C::hideIrisu),
           number("HideBoxes", &C::hideBoxes),       number("HideSimpleTax", &C::hideSimpleTax),
           number("HideGrossProfit", &C::hideGrossProfit),
           number("CashSaleDefault", &C::cashSaleDefault), number("DateStyle", &C::dateStyle)};
  return list;
}

Fields<S_CLIENTSEL> clientFields() {
  using C = S_CLIENTSEL;
  return {number("Code", &C::code),
          text("Name", &C::name),
          text("Kana", &C::kana),
          text("PostCode", &C::postCode),
          text("Address1", &C::address1),
          text("Address2", &C::address2),
          text("Tel", &C::tel),
          number("ClientType", &C::clientType),
          number("TaxTiming", &C::taxTiming),
          number("TaxRounding", &C::taxRounding),
          number("CloseDay", &C::closeDay),
          number("PriceClass", &C::priceClass),
          number("PriceRate", &C::priceRate),
          number("CreditLimit", &C::creditLimit),
          number("Balance", &C::balance),
          number("SalesTotal", &C::salesTotal),
          number("SalesSlipCount", &C::salesSlipCount),
          number("PaymentSlipCount", &C::paymentSlipCount),
          number("LastSlipDate", &C::lastSlipDate),
          number("LastBillDate", &C::lastBillDate),
          number("LastBillAmount", &C::lastBillAmount)};
}

Fields<S_COMMODITY> goodsFields() {
  using G = S_COMMODITY;
  return {text("GoodsCode", &G::code),
          text("Name", &G::name),
          text("Kana", &G::kana),
          text("Unit", &G::unit),
          number("Irisu", &G::irisu),
          number("StandardPrice", &G::standardPrice),
          number("Price1", &G::price1),
          number("Price2", &G::price2),
          number("Price3", &G::price3),
          number("CostPrice", &G::costPrice),
          number("MinimumPrice", &G::minimumPrice),
          number("CheckMinimum", &G::checkMinimum),
          number("TaxClass", &G::taxClass),
          number("TaxRateCode", &G::taxRateCode),
          number("SimpleTaxClass", &G::simpleTaxClass)};
}

Fields<S_PERSON> personFields() {
  return {number("Code", &S_PERSON::code), text("Name", &S_PERSON::name)};
}

Fields<S_PLAN> planFields() { return {number("Code", &S_PLAN::code), text("Name", &S_PLAN::name)}; }

Fields<S_SHIPTO> shipToFields() {
  using T = S_SHIPTO;
  return {number("Code", &T::code),         number("ClientCode", &T::clientCode),
          text("Name", &T::name),           text("PostCode", &T::postCode),
          text("Address1", &T::address1),   text("Address2", &T::address2),
          text("Tel", &T::tel),             number("Used", &T::used)};
}

Fields<S_BILLSUM> billSumFields() {
  using B = S_BILLSUM;
  return {number("ClientCode", &B::clientCode), number("LastBillDate", &B::lastBillDate),
          number("LastBillAmount", &B::lastBillAmount), number("LastBillTax", &B::lastBillTax)};
}

template <class R>
QStringList columnsOf(const Fields<R>& fields) {
  QStringList names;
  for (const Field<R>& field : fields) names.append(field.column);
  return names;
}

template <class R>
QList<COleVariant> valuesOf(const Fields<R>& fields, const R& record) {
  QList<COleVariant> values;
  values.reserve(fields.size() + 1);
  for (const Field<R>& field : fields) values.append(field.get(record));
  return values;
}

QString marks(qsizetype count) {
  QStringList list;
  for (qsizetype i = 0; i < count; ++i) list.append(QStringLiteral("?"));
  return list.join(QStringLiteral(", "));
}

QString insertSql(const QString& table, const QStringList& columns) {
  return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
      .arg(table, columns.join(QStringLiteral(", ")), marks(columns.size()));
}

QString updateSql(const QString& table, const QStringList& columns, const QString& key) {
  QStringList sets;
  for (const QString& column : columns) sets.append(column + QStringLiteral(" = ?"));
  return QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
      .arg(table, sets.join(QStringLiteral(", ")), key);
}

// A table of one record type: its fields (the key among them or not) and
// the key column.
template <class R>
struct Table {
  QString name;
  QString key;
  Fields<R> fields;
};

// A prepared statement of the connection, with the column positions of its
// result (looked up once per column name, and per field table).
struct Prepared {
  std::shared_ptr<CDaoQueryDef> definition;
  QHash<QString, int> columns;
  QHash<const void*, QList<int>> fieldColumns;
  int width = -1;
};

// The rows of one SELECT, read forward from its prepared statement; the
// statement is finished (its read lock given back) when the rows go.
class Rows {
 public:
  Rows() = default;
  ~Rows() {
    if (query_ != nullptr) query_->finish();
  }
  Rows(const Rows&) = delete;
  Rows& operator=(const Rows&) = delete;

  void start(Prepared& prepared, QSqlQuery& query) {
    prepared_ = &prepared;
    query_ = &query;
    const int width = query.record().count();
    if (width != prepared.width) {
      // New or changed columns (the statement was prepared again).
      prepared.columns.clear();
      prepared.fieldColumns.clear();
      prepared.width = width;
    }
    next();
  }
  bool atEnd() const { return !onRow_; }
  void next() {
    onRow_ = query_->next();
    if (!onRow_ && query_->lastError().type() != QSqlError::NoError)
      hv6::dao::throwSqlError(query_->lastError(), query_->lastQuery());
  }
  COleVariant value(const QString& column) const { return at(indexOf(column)); }
  template <class R>
  R record(const Fields<R>& fields) const {
    auto found = prepared_->fieldColumns.find(&fields);
    if (found == prepared_->fieldColumns.end()) {
      QList<int> indexes;
      for (const Field<R>& field : fields) indexes.append(indexOf(field.column));
      found = prepared_->fieldColumns.insert(&fields, indexes);
    }
    R out{};
    for (qsizetype i = 0; i < fields.size(); ++i) fields[i].set(out, at(found->at(i)));
    return out;
  }

 private:
  int indexOf(const QString& column) const {
    const auto found = prepared_->columns.constFind(column);
    if (found != prepared_->columns.constEnd()) return *found;
    const int index = query_->record().indexOf(column);
    prepared_->columns.insert(column, index);
    return index;
  }
  COleVariant at(int index) const {
    return index < 0 ? COleVariant() : COleVariant::fromQVariant(query_->value(index));
  }

  Prepared* prepared_ = nullptr;
  QSqlQuery* query_ = nullptr;
  bool onRow_ = false;
};

// The connection's prepared statements and the position of the batch
// reading.
struct StoreState {
  QString connection;  // the connection the statements belong to
  bool schemaChecked = false;
  // Held by pointer: a reading keeps its statement's entry while others are added.
  QHash<QString, std::shared_ptr<Prepared>> statements;

  bool reading = false;  // a batch reading has a position
  std::int32_t lastDate = 0;
  QString lastNo;
  std::int32_t lastCode = 0;

  void prepare(CDaoDatabase& db) {
    if (!db.IsOpen()) throw CDaoException(kJetNotOpen, QStringLiteral("The database is not open"));
    if (connection != db.connectionName()) {
      statements.clear();
      connection = db.connectionName();
      schemaChecked = false;
    }
    if (schemaChecked) return;
    hv6::ensureSalesSchema(db);
    schemaChecked = true;
  }

  Prepared& statement(CDaoDatabase& db, const QString& sql) {
    auto found = statements.find(sql);
    if (found != statements.end()) return **found;
    auto prepared = std::make_shared<Prepared>();
    prepared->definition = std::make_shared<CDaoQueryDef>(&db);
    prepared->definition->Create(QString(), sql);
    statements.insert(sql, prepared);
    return *prepared;
  }

  long execute(CDaoDatabase& db, const QString& sql, const QList<COleVariant>& values) {
    CDaoQueryDef& definition = *statement(db, sql).definition;
    for (int i = 0; i < values.size(); ++i) definition.SetParamValue(i, values.at(i));
    definition.Execute();
    return definition.GetRecordsAffected();
  }

  void select(CDaoDatabase& db, const QString& sql, const QList<COleVariant>& values, Rows& rows) {
    Prepared& prepared = statement(db, sql);
    for (int i = 0; i < values.size(); ++i) prepared.definition->SetParamValue(i, values.at(i));
    rows.start(prepared, prepared.definition->run());
  }
};

}  // namespace detail

struct CSelJetAccess::Reading : detail::StoreState {};

namespace {

using detail::Fields;
using detail::Rows;
using detail::Table;

const QString kSlip = QStringLiteral("Slip");
const QString kSlipDetails = QStringLiteral("SlipDetails");

template <class F>
int guarded(detail::StoreState& state, CDaoDatabase* db, F&& body) {
  try {
    if (db == nullptr) throw CDaoException(kJetNotOpen, QStringLiteral("No database"));
    state.prepare(*db);
    return body(*db);
  } catch (const CDaoException& e) {
    return static_cast<int>(e.errorCode());
  }
}

const Fields<S_SELSLIPHD>& slipColumns() {
  static const Fields<S_SELSLIPHD> fields = detail::slipFields();
  return fields;
}

const Fields<S_SELSLIP>& lineColumns() {
  static const Fields<S_SELSLIP> fields = detail::lineFields();
  return fields;
}

S_SELSLIPHD headerOf(const Rows& rows) {
  S_SELSLIPHD header = rows.record(slipColumns());
  header.code = static_cast<std::int32_t>(rows.value(QStringLiteral("Code")).toLong());
  return header;
}

const Table<S_CLIENTSEL>& clients() {
  static const Table<S_CLIENTSEL> table{QStringLiteral("CustomerMst"), QStringLiteral("Code"),
                                        detail::clientFields()};
  return table;
}
const Table<S_COMMODITY>& goodsTable() {
  static const Table<S_COMMODITY> table{QStringLiteral("SalesGoods"), QStringLiteral("GoodsCode"),
                                        detail::goodsFields()};
  return table;
}
const Table<S_PERSON>& persons() {
  static const Table<S_PERSON> table{QStringLiteral("SalesPerson"), QStringLiteral("Code"),
                                     detail::personFields()};
  return table;
}
const Table<S_SHIPTO>& shipTos() {
  static const Table<S_SHIPTO> table{QStringLiteral("SalesShipTo"), QStringLiteral("Code"),
                                     detail::shipToFields()};
  return table;
}
const Table<S_PLAN>& plans() {
  static const Table<S_PLAN> table{QStringLiteral("SalesPlan"), QStringLiteral("Code"),
                                   detail::planFields()};
  return table;
}
const Table<S_BILLSUM>& billSums() {
  static const Table<S_BILLSUM> table{QStringLiteral("SalesBillSum"), QStringLiteral("ClientCode"),
                                      detail::billSumFields()};
  return table;
}

// The value of a record's key field.
template <class R>
COleVariant keyOf(const Table<R>& table, const R& record) {
  for (const auto& field : table.fields)
    if (field.column == table.key) return field.get(record);
  return COleVariant();
}

template <class R>
int readOne(detail::StoreState& state, CDaoDatabase& db, const Table<R>& table,
            const COleVariant& key, R& out) {
  Rows rows;
  state.select(db, QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(table.name, table.key), {key},
               rows);
  if (rows.atEnd()) return kSlNotFound;
  out = rows.record(table.fields);
  return kSlOk;
}

template <class R>
int readAll(detail::StoreState& state, CDaoDatabase& db, const Table<R>& table,
            const QString& condition, QList<R>& out) {
  Rows rows;
  QString sql = QStringLiteral("SELECT * FROM %1").arg(table.name);
  if (!condition.isEmpty()) sql += QStringLiteral(" WHERE ") + condition;
  sql += QStringLiteral(" ORDER BY ") + table.key;
  state.select(db, sql, {}, rows);
  QList<R> list;
  for (; !rows.atEnd(); rows.next()) list.append(rows.record(table.fields));
  out = list;
  return kSlOk;
}

template <class R>
bool exists(detail::StoreState& state, CDaoDatabase& db, const Table<R>& table,
            const COleVariant& key) {
  Rows rows;
  state.select(db, QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table.name, table.key), {key},
               rows);
  return !rows.atEnd();
}

// Appends a row; extra columns get fixed values.
template <class R>
int appendOne(detail::StoreState& state, CDaoDatabase& db, const Table<R>& table, const R& record,
              const QList<std::pair<QString, COleVariant>>& extra = {}) {
  const COleVariant key = keyOf(table, record);
  DaoTransaction transaction(db);
  if (exists(state, db, table, key)) return kSlDuplicate;
  QStringList columns = detail::columnsOf(table.fields);
  QList<COleVariant> values = detail::valuesOf(table.fields, record);
  for (const auto& [column, value] : extra) {
    columns.append(column);
    values.append(value);
  }
  state.execute(db, detail::insertSql(table.name, columns), values);
  transaction.commit();
  return kSlOk;
}

template <class R>
int updateOne(detail::StoreState& state, CDaoDatabase& db, const Table<R>& table, const R& record) {
  QList<COleVariant> values = detail::valuesOf(table.fields, record);
  values.append(keyOf(table, record));
  const long changed = state.execute(
      db, detail::updateSql(table.name, detail::columnsOf(table.fields), table.key), values);
  return changed > 0 ? kSlOk : kSlNotFound;
}

template <class R>
int deleteOne(detail::StoreState& state, CDaoDatabase& db, const Table<R>& table,
              const COleVariant& key) {
  const long changed =
      state.execute(db, QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table.name, table.key), {key});
  return changed > 0 ? kSlOk : kSlNotFound;
}

// The slip column that names a master, and the table it is in.
std::pair<QString, QString> usingColumn(SlMaster master) {
  switch (master) {
    case SlMaster::Client: return {kSlip, QStringLiteral("CustomerCode")};
    case SlMaster::Goods: return {kSlipDetails, QStringLiteral("GoodsCode")};
    case SlMaster::Person: return {kSlip, QStringLiteral("ChargeCode")};
    case SlMaster::ShipTo: return {kSlip, QStringLiteral("ShipToCode")};
  }
  return {};
}

int findSlipUsing(detail::StoreState& state, CDaoDatabase& db, SlMaster master,
                  const COleVariant& code, S_SELSLIPHD& out) {
  const auto [table, column] = usingColumn(master);
  const QString sql =
      table == kSlip
          ? QStringLiteral("SELECT * FROM Slip WHERE %1 = ? ORDER BY SlipDate, SlipNo, Code LIMIT 1")
                .arg(column)
          : QStringLiteral("SELECT * FROM Slip WHERE Code IN (SELECT SlipCode FROM SlipDetails "
                           "WHERE %1 = ?) ORDER BY SlipDate, SlipNo, Code LIMIT 1")
                .arg(column);
  Rows rows;
  state.select(db, sql, {code}, rows);
  if (rows.atEnd()) return kSlNotFound;
  out = headerOf(rows);
  return kSlOk;
}

// Deletes a master row unless a slip names it.
template <class R>
int deleteUnused(detail::StoreState& state, CDaoDatabase& db, const Table<R>& table, SlMaster master,
                 const COleVariant& key) {
  DaoTransaction transaction(db);
  S_SELSLIPHD user;
  if (findSlipUsing(state, db, master, key, user) == kSlOk) return kSlInUse;
  const int status = deleteOne(state, db, table, key);
  transaction.commit();
  return status;
}

QString scopeCondition(const SlipScope& scope, QList<COleVariant>& values) {
  QStringList parts;
  if (scope.appType >= 0) {
    parts.append(QStringLiteral("AppType = ?"));
    values.append(COleVariant(scope.appType));
  }
  const auto bound = [&](const char* column, const char* op, std::int32_t value) {
    if (value == 0) return;
    parts.append(QStringLiteral("%1 %2 ?").arg(QLatin1String(column), QLatin1String(op)));
    values.append(COleVariant(static_cast<long>(value)));
  };
  bound("SlipDate", ">=", scope.dateFrom);
  bound("SlipDate", "<=", scope.dateTo);
  bound("ShipDate", ">=", scope.shipFrom);
  bound("ShipDate", "<=", scope.shipTo);
  return parts.join(QStringLiteral(" AND "));
}

// Headers of the scope after a position in (date, number, code) order.
constexpr int kBatchRows = 256;

// The order follows the index Slip_Order, so a batch reads no more rows
// than it returns.
QString batchSql(const QString& condition, bool afterPosition) {
  QStringList parts{QStringLiteral("SlipDate IS NOT NULL AND SlipNo IS NOT NULL")};
  if (!condition.isEmpty()) parts.append(condition);
  if (afterPosition) parts.append(QStringLiteral("(SlipDate, SlipNo, Code) > (?, ?, ?)"));
  return QStringLiteral("SELECT * FROM Slip WHERE %1 ORDER BY SlipDate, SlipNo, Code LIMIT ?")
      .arg(parts.join(QStringLiteral(" AND ")));
}

std::int32_t toInt32(const COleVariant& value) { return static_cast<std::int32_t>(value.toLong()); }

int readHeaderWhere(detail::StoreState& state, CDaoDatabase& db, const QString& sql,
                    const QList<COleVariant>& values, S_SELSLIPHD& out, int whenMissing) {
  Rows rows;
  state.select(db, sql, values, rows);
  if (rows.atEnd()) return whenMissing;
  out = headerOf(rows);
  return kSlOk;
}

void writeLines(detail::StoreState& state, CDaoDatabase& db, std::int32_t slipCode, int appType,
                const QList<S_SELSLIP>& lines) {
  state.execute(db, QStringLiteral("DELETE FROM SlipDetails WHERE SlipCode = ?"),
                {COleVariant(static_cast<long>(slipCode))});
  static const QString insert = [] {
    QStringList columns = detail::columnsOf(lineColumns());
    columns << QStringLiteral("SlipCode") << QStringLiteral("AppType");
    return detail::insertSql(kSlipDetails, columns);
  }();
  for (const S_SELSLIP& line : lines) {
    QList<COleVariant> values = detail::valuesOf(lineColumns(), line);
    values << COleVariant(static_cast<long>(slipCode)) << COleVariant(appType);
    state.execute(db, insert, values);
  }
}

}  // namespace

S_COMPANY defaultCompany() {
  S_COMPANY company;
  company.amountRounding = kRoundHalfUp;
  company.taxRates[0] = 1000;
  company.taxRates[1] = 800;
  company.reducedRate[1] = 1;
  company.defaultTaxRateCode = 0;
  return company;
}

CSelJetAccess::CSelJetAccess(CDaoDatabase* db) : db_(db), reading_(new Reading) {}

CSelJetAccess::~CSelJetAccess() { delete reading_; }

int CSelJetAccess::EnsureSchema() {
  return guarded(*reading_, db_, [](CDaoDatabase&) { return kSlOk; });
}

// --- slip headers -------------------------------------------------------------

int CSelJetAccess::ReadSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readHeaderWhere(
        *reading_, db,
        QStringLiteral("SELECT * FROM Slip WHERE AppType = ? AND SlipNo = ? ORDER BY Code LIMIT 1"),
        {COleVariant(appType), COleVariant(slipNo)}, out, kSlNotFound);
  });
}

int CSelJetAccess::ReadSlipHeadByCode(std::int32_t code, S_SELSLIPHD& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readHeaderWhere(*reading_, db, QStringLiteral("SELECT * FROM Slip WHERE Code = ?"),
                           {COleVariant(static_cast<long>(code))}, out, kSlNotFound);
  });
}

int CSelJetAccess::ExistSlipHead(int appType, const QString& slipNo, bool& exists) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    Rows rows;
    reading_->select(db, QStringLiteral("SELECT 1 FROM Slip WHERE AppType = ? AND SlipNo = ? LIMIT 1"),
                     {COleVariant(appType), COleVariant(slipNo)}, rows);
    exists = !rows.atEnd();
    return kSlOk;
  });
}

int CSelJetAccess::ReadPrevSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readHeaderWhere(*reading_, db,
                           QStringLiteral("SELECT * FROM Slip WHERE AppType = ? AND SlipNo < ? "
                                          "ORDER BY SlipNo DESC, Code DESC LIMIT 1"),
                           {COleVariant(appType), COleVariant(slipNo)}, out, kSlEnd);
  });
}

int CSelJetAccess::ReadNextSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readHeaderWhere(*reading_, db,
                           QStringLiteral("SELECT * FROM Slip WHERE AppType = ? AND SlipNo > ? "
                                          "ORDER BY SlipNo, Code LIMIT 1"),
                           {COleVariant(appType), COleVariant(slipNo)}, out, kSlEnd);
  });
}

int CSelJetAccess::ReadLastSlipHead(int appType, S_SELSLIPHD& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readHeaderWhere(*reading_, db,
                           QStringLiteral("SELECT * FROM Slip WHERE AppType = ? AND SlipNo IS NOT NULL "
                                          "ORDER BY SlipNo DESC, Code DESC LIMIT 1"),
                           {COleVariant(appType)}, out, kSlNotFound);
  });
}

void CSelJetAccess::ResetSlipHeadReading() {
  reading_->reading = false;
  reading_->lastDate = 0;
  reading_->lastNo.clear();
  reading_->lastCode = 0;
}

int CSelJetAccess::ReadSlipHeads(const SlipScope& scope, const HeaderFilter& filter, int max,
                                 QList<S_SELSLIPHD>& out) {
  if (max <= 0) return kSlBadArgument;
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    detail::StoreState& state = *reading_;
    QList<COleVariant> scopeValues;
    const QString condition = scopeCondition(scope, scopeValues);
    QList<S_SELSLIPHD> accepted;
    // The position moves only when the whole call succeeds.
    bool positioned = state.reading;
    std::int32_t date = state.lastDate;
    QString number = state.lastNo;
    std::int32_t code = state.lastCode;
    bool end = false;
    while (accepted.size() < max && !end) {
      QList<COleVariant> values = scopeValues;
      if (positioned)
        values << COleVariant(static_cast<long>(date)) << COleVariant(number)
               << COleVariant(static_cast<long>(code));
      values << COleVariant(kBatchRows);
      Rows rows;
      state.select(db, batchSql(condition, positioned), values, rows);
      long seen = 0;
      for (; !rows.atEnd() && accepted.size() < max; rows.next()) {
        ++seen;
        const S_SELSLIPHD header = headerOf(rows);
        positioned = true;
        date = header.slipDate;
        number = slText(header.slipNo);
        code = header.code;
        if (!filter || filter(header)) accepted.append(header);
      }
      if (seen < kBatchRows && rows.atEnd()) end = true;
    }
    state.reading = positioned;
    state.lastDate = date;
    state.lastNo = number;
    state.lastCode = code;
    if (accepted.isEmpty()) return kSlEnd;
    out += accepted;
    return kSlOk;
  });
}

int CSelJetAccess::CountSlipHeads(const SlipScope& scope, const HeaderFilter& filter, int& count) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    QList<COleVariant> values;
    const QString condition = scopeCondition(scope, values);
    // The headers the batch reading would give.
    QString sql = filter ? QStringLiteral("SELECT * FROM Slip") : QStringLiteral("SELECT COUNT(*) AS N FROM Slip");
    sql += QStringLiteral(" WHERE SlipDate IS NOT NULL AND SlipNo IS NOT NULL");
    if (!condition.isEmpty()) sql += QStringLiteral(" AND ") + condition;
    Rows rows;
    reading_->select(db, sql, values, rows);
    if (!filter) {
      count = rows.atEnd() ? 0 : toInt32(rows.value(QStringLiteral("N")));
      return kSlOk;
    }
    int accepted = 0;
    for (; !rows.atEnd(); rows.next())
      if (filter(headerOf(rows))) ++accepted;
    count = accepted;
    return kSlOk;
  });
}

int CSelJetAccess::AppendSlipHead(S_SELSLIPHD& header) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    DaoTransaction transaction(db);
    const QString number = slText(header.slipNo);
    if (!number.trimmed().isEmpty()) {
      Rows rows;
      reading_->select(db, QStringLiteral("SELECT 1 FROM Slip WHERE AppType = ? AND SlipNo = ? LIMIT 1"),
                       {COleVariant(appTypeOf(header.slipKind)), COleVariant(number)}, rows);
      if (!rows.atEnd()) return kSlDuplicate;
    }
    static const QString insert = detail::insertSql(kSlip, detail::columnsOf(slipColumns()));
    reading_->execute(db, insert, detail::valuesOf(slipColumns(), header));
    QSqlQuery last = db.runSql(QStringLiteral("SELECT last_insert_rowid()"));
    const std::int32_t code = last.next() ? static_cast<std::int32_t>(last.value(0).toLongLong()) : 0;
    last.finish();
    transaction.commit();
    header.code = code;
    header.newSlip = 0;
    return kSlOk;
  });
}

int CSelJetAccess::UpdateSlipHead(const S_SELSLIPHD& header) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    static const QString update =
        detail::updateSql(kSlip, detail::columnsOf(slipColumns()), QStringLiteral("Code"));
    QList<COleVariant> values = detail::valuesOf(slipColumns(), header);
    values.append(COleVariant(static_cast<long>(header.code)));
    return reading_->execute(db, update, values) > 0 ? kSlOk : kSlNotFound;
  });
}

int CSelJetAccess::DeleteSlipHead(std::int32_t code) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    DaoTransaction transaction(db);
    const COleVariant key(static_cast<long>(code));
    reading_->execute(db, QStringLiteral("DELETE FROM SlipDetails WHERE SlipCode = ?"), {key});
    if (reading_->execute(db, QStringLiteral("DELETE FROM Slip WHERE Code = ?"), {key}) == 0)
      return kSlNotFound;
    transaction.commit();
    return kSlOk;
  });
}

// --- slip lines ---------------------------------------------------------------

int CSelJetAccess::ReadSlipLines(std::int32_t slipCode, QList<S_SELSLIP>& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    Rows rows;
    reading_->select(db,
                     QStringLiteral("SELECT * FROM SlipDetails WHERE SlipCode = ? ORDER BY LineNo, Code "
                                    "LIMIT ?"),
                     {COleVariant(static_cast<long>(slipCode)), COleVariant(kMaxSlipLines)}, rows);
    QList<S_SELSLIP> lines;
    for (; !rows.atEnd(); rows.next()) lines.append(rows.record(lineColumns()));
    out = lines;
    return kSlOk;
  });
}

int CSelJetAccess::WriteSlipLines(std::int32_t slipCode, int appType, const QList<S_SELSLIP>& lines) {
  if (lines.size() > kMaxSlipLines) return kSlBadArgument;
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    DaoTransaction transaction(db);
    writeLines(*reading_, db, slipCode, appType, lines);
    transaction.commit();
    return kSlOk;
  });
}

// --- environment and company --------------------------------------------------

namespace {

// The one row (Code 1) of a settings table, written whole.
template <class R>
void writeSettings(detail::StoreState& state, CDaoDatabase& db, const QString& table,
                   const Fields<R>& fields, const R& record) {
  QStringList columns = detail::columnsOf(fields);
  columns.prepend(QStringLiteral("Code"));
  QList<COleVariant> values = detail::valuesOf(fields, record);
  values.prepend(COleVariant(1));
  DaoTransaction transaction(db);
  state.execute(db, QStringLiteral("DELETE FROM %1").arg(table), {});
  state.execute(db, detail::insertSql(table, columns), values);
  transaction.commit();
}

// Reads the row, writing the defaults first when it is missing.
template <class R>
int readSettings(detail::StoreState& state, CDaoDatabase& db, const QString& table,
                 const Fields<R>& fields, const R& defaults, R& out) {
  {
    Rows rows;
    state.select(db, QStringLiteral("SELECT * FROM %1 WHERE Code = 1").arg(table), {}, rows);
    if (!rows.atEnd()) {
      R record = defaults;
      for (const auto& field : fields) field.set(record, rows.value(field.column));
      out = record;
      return kSlOk;
    }
  }
  writeSettings(state, db, table, fields, defaults);
  out = defaults;
  return kSlOk;
}

const Fields<S_SELENV>& environmentColumns() {
  static const Fields<S_SELENV> fields = detail::environmentFields();
  return fields;
}

const Fields<S_COMPANY>& companyColumns() {
  static const Fields<S_COMPANY> fields = detail::companyFields();
  return fields;
}

const QString kEnvironmentTable = QStringLiteral("SalesEnvironment");
const QString kCompanyTable = QStringLiteral("SalesCompany");

}  // namespace

int CSelJetAccess::ReadEnvironment(S_SELENV& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readSettings(*reading_, db, kEnvironmentTable, environmentColumns(), S_SELENV{}, out);
  });
}

int CSelJetAccess::UpdateEnvironment(const S_SELENV& env) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    writeSettings(*reading_, db, kEnvironmentTable, environmentColumns(), env);
    return kSlOk;
  });
}

int CSelJetAccess::ReadCompany(S_COMPANY& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readSettings(*reading_, db, kCompanyTable, companyColumns(), defaultCompany(), out);
  });
}

int CSelJetAccess::UpdateCompany(const S_COMPANY& company) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    writeSettings(*reading_, db, kCompanyTable, companyColumns(), company);
    return kSlOk;
  });
}

// --- masters ------------------------------------------------------------------

namespace {
COleVariant codeKey(std::int32_t code) { return COleVariant(static_cast<long>(code)); }
}  // namespace

int CSelJetAccess::ReadClient(std::int32_t code, S_CLIENTSEL& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readOne(*reading_, db, clients(), codeKey(code), out); });
}

int CSelJetAccess::ReadClients(QList<S_CLIENTSEL>& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readAll(*reading_, db, clients(), QStringLiteral("Use = 0 OR Use IS NULL"), out);
  });
}

int CSelJetAccess::AppendClient(const S_CLIENTSEL& client) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    // The user-visible number of the master row is the client code.
    return appendOne(*reading_, db, clients(), client,
                     {{QStringLiteral("Scode"), codeKey(client.code)},
                      {QStringLiteral("IUse"), COleVariant(0)},
                      {QStringLiteral("Use"), COleVariant(0)}});
  });
}

int CSelJetAccess::UpdateClient(const S_CLIENTSEL& client) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return updateOne(*reading_, db, clients(), client); });
}

int CSelJetAccess::DeleteClient(std::int32_t code) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return deleteUnused(*reading_, db, clients(), SlMaster::Client, codeKey(code));
  });
}

int CSelJetAccess::ReadGoods(const QString& code, S_COMMODITY& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readOne(*reading_, db, goodsTable(), COleVariant(code), out); });
}

int CSelJetAccess::ReadGoodsBatch(const QString& afterCode, int max, QList<S_COMMODITY>& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    Rows rows;
    reading_->select(db,
                     QStringLiteral("SELECT * FROM SalesGoods WHERE GoodsCode > ? ORDER BY GoodsCode "
                                    "LIMIT ?"),
                     {COleVariant(afterCode), COleVariant(max)}, rows);
    QList<S_COMMODITY> list;
    for (; !rows.atEnd(); rows.next()) list.append(rows.record(goodsTable().fields));
    if (list.isEmpty()) return kSlEnd;
    out += list;
    return kSlOk;
  });
}

int CSelJetAccess::AppendGoods(const S_COMMODITY& goods) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return appendOne(*reading_, db, goodsTable(), goods); });
}

int CSelJetAccess::UpdateGoods(const S_COMMODITY& goods) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return updateOne(*reading_, db, goodsTable(), goods); });
}

int CSelJetAccess::DeleteGoods(const QString& code) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return deleteUnused(*reading_, db, goodsTable(), SlMaster::Goods, COleVariant(code));
  });
}

int CSelJetAccess::ReadPerson(std::int32_t code, S_PERSON& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readOne(*reading_, db, persons(), codeKey(code), out); });
}

int CSelJetAccess::ReadPersons(QList<S_PERSON>& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readAll(*reading_, db, persons(), QString(), out); });
}

int CSelJetAccess::AppendPerson(const S_PERSON& person) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return appendOne(*reading_, db, persons(), person); });
}

int CSelJetAccess::UpdatePerson(const S_PERSON& person) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return updateOne(*reading_, db, persons(), person); });
}

int CSelJetAccess::DeletePerson(std::int32_t code) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return deleteUnused(*reading_, db, persons(), SlMaster::Person, codeKey(code));
  });
}

int CSelJetAccess::ReadShipTo(std::int32_t code, S_SHIPTO& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readOne(*reading_, db, shipTos(), codeKey(code), out); });
}

int CSelJetAccess::ReadShipTos(QList<S_SHIPTO>& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readAll(*reading_, db, shipTos(), QString(), out); });
}

int CSelJetAccess::AppendShipTo(const S_SHIPTO& shipTo) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return appendOne(*reading_, db, shipTos(), shipTo); });
}

int CSelJetAccess::UpdateShipTo(const S_SHIPTO& shipTo) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return updateOne(*reading_, db, shipTos(), shipTo); });
}

int CSelJetAccess::DeleteShipTo(std::int32_t code) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return deleteUnused(*reading_, db, shipTos(), SlMaster::ShipTo, codeKey(code));
  });
}

int CSelJetAccess::ReadPlan(std::int32_t code, S_PLAN& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readOne(*reading_, db, plans(), codeKey(code), out); });
}

int CSelJetAccess::ReadPlans(QList<S_PLAN>& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readAll(*reading_, db, plans(), QString(), out); });
}

int CSelJetAccess::AppendPlan(const S_PLAN& plan) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) { return appendOne(*reading_, db, plans(), plan); });
}

int CSelJetAccess::UpdatePlan(const S_PLAN& plan) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) { return updateOne(*reading_, db, plans(), plan); });
}

int CSelJetAccess::DeletePlan(std::int32_t code) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return deleteOne(*reading_, db, plans(), codeKey(code)); });
}

int CSelJetAccess::FindSlipUsing(SlMaster master, const QString& code, S_SELSLIPHD& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    const COleVariant key = master == SlMaster::Goods ? COleVariant(code) : COleVariant(code.toLong());
    return findSlipUsing(*reading_, db, master, key, out);
  });
}

int CSelJetAccess::ReadLatestSlipDate(std::int32_t clientCode, std::int32_t& date) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    Rows rows;
    reading_->select(db, QStringLiteral("SELECT MAX(SlipDate) AS Latest FROM Slip WHERE CustomerCode = ?"),
                     {codeKey(clientCode)}, rows);
    date = rows.atEnd() ? 0 : toInt32(rows.value(QStringLiteral("Latest")));
    return kSlOk;
  });
}

// --- standard patterns --------------------------------------------------------

namespace {

// The pattern header: the pattern's own columns, then the header's.
Fields<S_FIXSLIPHD> patternFields() {
  using P = S_FIXSLIPHD;
  Fields<P> list{detail::number("Code", &P::code), detail::text("InitialKey", &P::initialKey),
                 detail::text("PatternName", &P::name),
                 {QStringLiteral("HeaderCode"),
                  [](const P& p) { return COleVariant(static_cast<long>(p.header.code)); },
                  [](P& p, const COleVariant& v) { p.header.code = toInt32(v); }},
                 {QStringLiteral("NewSlip"),
                  [](const P& p) { return COleVariant(static_cast<long>(p.header.newSlip)); },
                  [](P& p, const COleVariant& v) { p.header.newSlip = static_cast<std::uint8_t>(v.toLong()); }}};
  for (const auto& field : detail::headerFields()) {
    list.append({field.column, [get = field.get](const P& p) { return get(p.header); },
                 [set = field.set](P& p, const COleVariant& v) { set(p.header, v); }});
  }
  return list;
}

const Table<S_FIXSLIPHD>& patterns() {
  static const Table<S_FIXSLIPHD> table{QStringLiteral("SalesPattern"), QStringLiteral("Code"),
                                        patternFields()};
  return table;
}

}  // namespace

int CSelJetAccess::ReadFixSlipHeads(QList<S_FIXSLIPHD>& out) {
  return guarded(*reading_, db_,
                 [&](CDaoDatabase& db) { return readAll(*reading_, db, patterns(), QString(), out); });
}

int CSelJetAccess::ReadFixSlip(std::int32_t code, S_FIXSLIPHD& header, QList<S_SELSLIP>& lines) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    S_FIXSLIPHD found;
    const int status = readOne(*reading_, db, patterns(), codeKey(code), found);
    if (status != kSlOk) return status;
    Rows rows;
    reading_->select(db,
                     QStringLiteral("SELECT * FROM SalesPatternDetails WHERE PatternCode = ? "
                                    "ORDER BY LineNo, Code"),
                     {codeKey(code)}, rows);
    QList<S_SELSLIP> list;
    for (; !rows.atEnd(); rows.next()) list.append(rows.record(lineColumns()));
    header = found;
    lines = list;
    return kSlOk;
  });
}

int CSelJetAccess::AppendFixSlip(const S_FIXSLIPHD& header, const QList<S_SELSLIP>& lines) {
  if (lines.size() > kMaxSlipLines) return kSlBadArgument;
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    DaoTransaction transaction(db);
    const int status = appendOne(*reading_, db, patterns(), header);
    if (status != kSlOk) return status;
    static const QString insert = [] {
      QStringList columns = detail::columnsOf(lineColumns());
      columns << QStringLiteral("PatternCode");
      return detail::insertSql(QStringLiteral("SalesPatternDetails"), columns);
    }();
    for (const S_SELSLIP& line : lines) {
      QList<COleVariant> values = detail::valuesOf(lineColumns(), line);
      values << codeKey(header.code);
      reading_->execute(db, insert, values);
    }
    transaction.commit();
    return kSlOk;
  });
}

int CSelJetAccess::DeleteFixSlip(std::int32_t code) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    DaoTransaction transaction(db);
    reading_->execute(db, QStringLiteral("DELETE FROM SalesPatternDetails WHERE PatternCode = ?"),
                      {codeKey(code)});
    const int status = deleteOne(*reading_, db, patterns(), codeKey(code));
    if (status != kSlOk) return status;
    transaction.commit();
    return kSlOk;
  });
}

// --- billing summary ----------------------------------------------------------

int CSelJetAccess::ReadBillSum(std::int32_t clientCode, S_BILLSUM& out) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    return readOne(*reading_, db, billSums(), codeKey(clientCode), out);
  });
}

int CSelJetAccess::UpdateBillSum(const S_BILLSUM& billSum) {
  return guarded(*reading_, db_, [&](CDaoDatabase& db) {
    DaoTransaction transaction(db);
    if (updateOne(*reading_, db, billSums(), billSum) == kSlNotFound) {
      const int status = appendOne(*reading_, db, billSums(), billSum);
      if (status != kSlOk) return status;
    }
    transaction.commit();
    return kSlOk;
  });
}

}  // namespace sl
