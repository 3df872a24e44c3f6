#include "platform/dao/recordset.h"

#include "platform/dao/columns.h"
#include "platform/dao/criteria.h"
#include "platform/dao/database.h"
#include "platform/dao/exception.h"
#include "platform/dao/jetsql.h"
#include "platform/dao/querydef.h"
#include "platform/dao/tabledef.h"

#include <QHash>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

using hv6::dao::ColumnKind;
using hv6::dao::quoteName;

namespace {

struct Column {
  QString name;
  QString table;  // the table the column comes from; empty for expressions
  ColumnKind kind = ColumnKind::Stored;
  long size = 0;
};

enum class EditMode { None, Edit, AddNew };

[[noreturn]] void noCurrentRecord() {
  throw CDaoException(kJetNoCurrentRecord, QStringLiteral("No current record"));
}

[[noreturn]] void unknownColumn(const QString& name) {
  throw CDaoException(kJetNoSuchColumn, QStringLiteral("Item not found in this collection: %1").arg(name));
}

}  // namespace

struct CDaoRecordset::Impl {
  bool open = false;
  bool editable = false;
  QString table;

  QList<Column> columns;
  QHash<QString, int> exactNames;      // as spelled in the result
  QHash<QString, int> qualifiedNames;  // lower-case "table.column"

  // Values row by row as QtSql read them; a null QVariant is Null.
  QList<QVariant> cells;
  QList<qint64> rowIds;  // editable sets only
  long rows = 0;
  long pos = 0;  // -1 before the first row, rows after the last
  bool currentDeleted = false;

  EditMode mode = EditMode::None;
  QList<COleVariant> buffer;
  QList<bool> dirty;
  qint64 lastModified = -1;

  qsizetype width() const { return columns.size(); }
  bool onRow() const { return pos >= 0 && pos < rows; }
  const QVariant& cell(long row, int column) const {
    return cells[static_cast<qsizetype>(row) * width() + column];
  }

  int findColumn(const QString& name) const;
  void addColumns(CDaoDatabase& db, const QSqlRecord& record, int first);
  void readRows(QSqlQuery& query, bool withRowId);
  void appendRow(QSqlQuery& query, bool withRowId);
  bool flushDeleted();
  QString columnList() const;
};

// --- columns and rows ---------------------------------------------------------

int CDaoRecordset::Impl::findColumn(const QString& name) const {
  const auto exact = exactNames.constFind(name);
  if (exact != exactNames.constEnd()) return *exact;
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) {
    const auto qualified = qualifiedNames.constFind(name.toLower());
    if (qualified != qualifiedNames.constEnd()) return *qualified;
    return findColumn(name.mid(dot + 1));
  }
  for (int i = 0; i < width(); ++i)
    if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

void CDaoRecordset::Impl::addColumns(CDaoDatabase& db, const QSqlRecord& record, int first) {
  for (int i = first; i < record.count(); ++i) {
    const QSqlField field = record.field(i);
    Column column;
    column.name = field.name();
    column.table = field.tableName();
    column.kind = hv6::dao::columnKindOf(db.declaredType(column.table, column.name), &column.size);
    // Of equal names (a join of two tables with Code) the first wins.
    const int index = static_cast<int>(columns.size());
    if (!exactNames.contains(column.name)) exactNames.insert(column.name, index);
    const QString qualified = (column.table + QLatin1Char('.') + column.name).toLower();
    if (!qualifiedNames.contains(qualified)) qualifiedNames.insert(qualified, index);
    columns.append(std::move(column));
  }
}

void CDaoRecordset::Impl::appendRow(QSqlQuery& query, bool withRowId) {
  const int first = withRowId ? 1 : 0;
  if (withRowId) rowIds.append(query.value(0).toLongLong());
  // A NULL comes as a null QVariant (QSqlQuery::isNull asks the same).
  for (int i = 0; i < width(); ++i) cells.emplaceBack(query.value(i + first));
  ++rows;
}

void CDaoRecordset::Impl::readRows(QSqlQuery& query, bool withRowId) {
  while (query.next()) appendRow(query, withRowId);
  if (query.lastError().type() != QSqlError::NoError)
    hv6::dao::throwSqlError(query.lastError(), query.lastQuery());
}

// Removes a row deleted at the current position; the position then names
// the row after it.
bool CDaoRecordset::Impl::flushDeleted() {
  if (!currentDeleted) return false;
  cells.remove(static_cast<qsizetype>(pos) * width(), width());
  if (!rowIds.isEmpty()) rowIds.remove(pos);
  --rows;
  currentDeleted = false;
  return true;
}

QString CDaoRecordset::Impl::columnList() const {
  QStringList names;
  for (const Column& column : columns) names.append(quoteName(column.name));
  return names.join(QStringLiteral(", "));
}

// --- opening --------------------------------------------------------------------

CDaoRecordset::CDaoRecordset(CDaoDatabase* db) : m_pDatabase(db), d(std::make_unique<Impl>()) {}

CDaoRecordset::~CDaoRecordset() = default;

void CDaoRecordset::Open(int type, const QString& sql, int options) { Open(type, sql, {}, options); }

namespace {

// The statement to run, and whether and how its rows can be edited.
struct Plan {
  QString statement;
  hv6::dao::SelectShape shape;
};

Plan planFor(int type, const QString& sql, qsizetype paramCount) {
  if (type == dbOpenTable) {
    const QString table = quoteName(sql);
    const QString withRowId =
        QStringLiteral("SELECT rowid AS %1, * FROM %2").arg(QLatin1String(hv6::dao::kRowIdColumn), table);
    return {QStringLiteral("SELECT * FROM ") + table, {true, sql, withRowId}};
  }
  const QList<hv6::dao::SqlToken> tokens = hv6::dao::translateJetTokens(sql);
  hv6::dao::requireParameters(tokens, paramCount);
  return {hv6::dao::joinTokens(tokens), hv6::dao::analyseSelect(tokens)};
}

}  // namespace

void CDaoRecordset::Open(int type, const QString& sql, const QList<COleVariant>& params, int options) {
  Close();
  if (!m_pDatabase || !m_pDatabase->IsOpen())
    throw CDaoException(kJetNotOpen, QStringLiteral("The database is not open"));
  const Plan plan = planFor(type, sql, params.size());
  const bool wantsEdit = type != dbOpenSnapshot && (options & dbReadOnly) == 0 &&
                         !m_pDatabase->isReadOnly() && plan.shape.editable &&
                         m_pDatabase->isTable(plan.shape.table);
  const bool appendOnly = wantsEdit && (options & dbAppendOnly) != 0;
  try {
    if (!wantsEdit || !tryLoad(plan.shape.withRowId, params, appendOnly))
      load(plan.statement, params, false, false);
  } catch (const CDaoException&) {
    Close();
    throw;
  }
  if (d->editable) d->table = plan.shape.table;
  d->open = true;
  d->pos = d->rows > 0 ? 0 : d->rows;
}

void CDaoRecordset::Open(CDaoQueryDef* queryDef, int type, int options) {
  Q_UNUSED(type);
  Q_UNUSED(options);
  Close();
  if (!queryDef || !m_pDatabase || !m_pDatabase->IsOpen())
    throw CDaoException(kJetNotOpen, QStringLiteral("The database is not open"));
  try {
    QSqlQuery& query = queryDef->run();
    d->addColumns(*m_pDatabase, query.record(), 0);
    d->readRows(query, false);
    query.finish();
  } catch (const CDaoException&) {
    Close();
    throw;
  }
  d->open = true;
  d->pos = d->rows > 0 ? 0 : d->rows;
}

// Loads with the rowid; false when the table has none (WITHOUT ROWID).
bool CDaoRecordset::tryLoad(const QString& sql, const QList<COleVariant>& params, bool appendOnly) {
  try {
    load(sql, params, true, appendOnly);
    return true;
  } catch (const CDaoException& e) {
    if (e.errorCode() != kJetNoSuchColumn || !e.description().contains(QLatin1String("rowid"))) throw;
    *d = Impl();
    return false;
  }
}

void CDaoRecordset::load(const QString& sql, const QList<COleVariant>& params, bool withRowId,
                         bool columnsOnly) {
  QSqlQuery query = m_pDatabase->runSql(sql, params);
  d->addColumns(*m_pDatabase, query.record(), withRowId ? 1 : 0);
  if (!columnsOnly) d->readRows(query, withRowId);
  d->editable = withRowId;
}

void CDaoRecordset::Close() { *d = Impl(); }

bool CDaoRecordset::IsOpen() const { return d->open; }

// --- navigation -----------------------------------------------------------------

bool CDaoRecordset::IsEOF() const { return d->pos >= d->rows; }

bool CDaoRecordset::IsBOF() const { return d->rows == 0 || d->pos < 0; }

void CDaoRecordset::leaveRow() {
  d->mode = EditMode::None;
  d->buffer.clear();
}

void CDaoRecordset::MoveFirst() {
  leaveRow();
  d->flushDeleted();
  if (d->rows == 0) noCurrentRecord();
  d->pos = 0;
}

void CDaoRecordset::MoveLast() {
  leaveRow();
  d->flushDeleted();
  if (d->rows == 0) noCurrentRecord();
  d->pos = d->rows - 1;
}

void CDaoRecordset::MoveNext() {
  if (IsEOF()) noCurrentRecord();
  leaveRow();
  if (!d->flushDeleted()) ++d->pos;
}

void CDaoRecordset::MovePrev() {
  if (IsBOF()) noCurrentRecord();
  leaveRow();
  d->flushDeleted();
  --d->pos;
}

long CDaoRecordset::GetRecordCount() const { return d->rows - (d->currentDeleted ? 1 : 0); }

long CDaoRecordset::GetAbsolutePosition() const { return d->onRow() ? d->pos : -1; }

void CDaoRecordset::SetAbsolutePosition(long position) {
  leaveRow();
  d->flushDeleted();
  if (position < 0 || position >= d->rows)
    throw CDaoException(kJetInvalidArgument, QStringLiteral("No row at position %1").arg(position));
  d->pos = position;
}

// --- fields -----------------------------------------------------------------------

int CDaoRecordset::GetFieldCount() const { return static_cast<int>(d->width()); }

QString CDaoRecordset::fieldName(int index) const {
  requireColumn(index);
  return d->columns[index].name;
}

int CDaoRecordset::fieldIndex(const QString& name) const { return d->findColumn(name); }

void CDaoRecordset::GetFieldInfo(int index, CDaoFieldInfo& info) const {
  requireColumn(index);
  const Column& column = d->columns[index];
  info = CDaoFieldInfo();
  info.m_strName = column.name;
  info.m_nType = hv6::dao::daoTypeOf(column.kind);
  info.m_lSize = column.size;
  info.m_nOrdinalPosition = static_cast<short>(index);
  info.m_strSourceTable = column.table;
  info.m_strSourceField = column.name;
  const bool variable = column.kind == ColumnKind::Text || column.kind == ColumnKind::Memo;
  const long kind = variable ? dbVariableField : dbFixedField;
  info.m_lAttributes = kind | (d->editable ? long{dbUpdatableField} : 0L);
}

void CDaoRecordset::requireColumn(int index) const {
  if (index < 0 || index >= d->width()) unknownColumn(QString::number(index));
}

void CDaoRecordset::requireCurrent() const {
  if (!d->onRow()) noCurrentRecord();
  if (d->currentDeleted) throw CDaoException(kJetRecordDeleted, QStringLiteral("Record is deleted"));
}

int CDaoRecordset::columnOf(const QString& name) const {
  const int index = d->findColumn(name);
  if (index < 0) unknownColumn(name);
  return index;
}

COleVariant CDaoRecordset::GetFieldValue(const QString& name) const { return GetFieldValue(columnOf(name)); }

COleVariant CDaoRecordset::GetFieldValue(int index) const {
  requireColumn(index);
  if (d->mode != EditMode::None) return d->buffer[index];
  requireCurrent();
  return hv6::dao::readCell(d->cell(d->pos, index), d->columns[index].kind);
}

void CDaoRecordset::SetFieldValue(const QString& name, const COleVariant& value) {
  SetFieldValue(columnOf(name), value);
}

void CDaoRecordset::SetFieldValue(int index, const COleVariant& value) {
  requireColumn(index);
  requireEditable();
  if (d->mode == EditMode::None)
    throw CDaoException(kJetUpdateWithoutEdit, QStringLiteral("SetFieldValue without AddNew or Edit"));
  const Column& column = d->columns[index];
  d->buffer[index] = hv6::dao::coerceToColumn(value, column.kind, column.name);
  d->dirty[index] = true;
}

void CDaoRecordset::SetFieldValueNull(const QString& name) { SetFieldValue(name, COleVariant()); }

// --- editing -------------------------------------------------------------------------

bool CDaoRecordset::CanUpdate() const { return d->open && d->editable; }

bool CDaoRecordset::CanAppend() const { return CanUpdate(); }

void CDaoRecordset::requireEditable() const {
  if (CanUpdate()) return;
  throw CDaoException(kJetReadOnly, QStringLiteral("The recordset cannot be updated"));
}

void CDaoRecordset::AddNew() {
  requireEditable();
  d->mode = EditMode::AddNew;
  d->buffer = QList<COleVariant>(d->width());
  d->dirty = QList<bool>(d->width(), false);
}

void CDaoRecordset::Edit() {
  requireEditable();
  requireCurrent();
  QList<COleVariant> values;
  for (int i = 0; i < d->width(); ++i) values.append(GetFieldValue(i));
  d->mode = EditMode::Edit;
  d->buffer = std::move(values);
  d->dirty = QList<bool>(d->width(), false);
}

void CDaoRecordset::Update() {
  if (d->mode == EditMode::None)
    throw CDaoException(kJetUpdateWithoutEdit, QStringLiteral("Update without AddNew or Edit"));
  requireEditable();
  if (d->mode == EditMode::AddNew)
    insertRow();
  else
    updateRow();
  leaveRow();
}

void CDaoRecordset::CancelUpdate() { leaveRow(); }

void CDaoRecordset::insertRow() {
  QStringList names;
  QStringList marks;
  QList<COleVariant> values;
  for (int i = 0; i < d->width(); ++i) {
    if (!d->dirty[i]) continue;
    names.append(quoteName(d->columns[i].name));
    marks.append(QStringLiteral("?"));
    values.append(d->buffer[i]);
  }
  const QString table = quoteName(d->table);
  const QString sql = names.isEmpty()
                          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
  const qint64 rowId = m_pDatabase->runSql(sql, values).lastInsertId().toLongLong();
  const bool wasAtEnd = d->pos >= d->rows;
  fetchRow(rowId, -1);
  if (wasAtEnd) d->pos = d->rows;
  d->lastModified = rowId;
}

void CDaoRecordset::updateRow() {
  requireCurrent();
  const qint64 rowId = d->rowIds[d->pos];
  QStringList assignments;
  QList<COleVariant> values;
  for (int i = 0; i < d->width(); ++i) {
    if (!d->dirty[i]) continue;
    assignments.append(quoteName(d->columns[i].name) + QStringLiteral(" = ?"));
    values.append(d->buffer[i]);
  }
  d->lastModified = rowId;
  if (assignments.isEmpty()) return;
  values.append(COleVariant(static_cast<long>(rowId)));
  const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                          .arg(quoteName(d->table), assignments.join(QStringLiteral(", ")));
  if (m_pDatabase->runSql(sql, values).numRowsAffected() == 0)
    throw CDaoException(kJetRecordDeleted, QStringLiteral("The row was deleted by another user"));
  fetchRow(rowId, d->pos);
}

// Reads a row back from the table: appended when row is -1, else in place.
void CDaoRecordset::fetchRow(long long rowId, long row) {
  const QString sql = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid = ?")
                          .arg(d->columnList(), quoteName(d->table));
  QSqlQuery query = m_pDatabase->runSql(sql, {COleVariant(static_cast<long>(rowId))});
  if (!query.next()) return;
  if (row < 0) {
    d->appendRow(query, true);
    return;
  }
  for (int i = 0; i < d->width(); ++i)
    d->cells[static_cast<qsizetype>(row) * d->width() + i] = query.value(i + 1);
}

void CDaoRecordset::Delete() {
  requireEditable();
  leaveRow();
  requireCurrent();
  const QString sql = QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoteName(d->table));
  m_pDatabase->runSql(sql, {COleVariant(static_cast<long>(d->rowIds[d->pos]))});
  d->currentDeleted = true;
}

// --- bookmarks ---------------------------------------------------------------------

COleVariant CDaoRecordset::GetBookmark() const {
  requireCurrent();
  return COleVariant(static_cast<long>(d->editable ? d->rowIds[d->pos] : d->pos));
}

void CDaoRecordset::SetBookmark(const COleVariant& bookmark) {
  leaveRow();
  d->flushDeleted();
  const long wanted = bookmark.toLong();
  const long row = d->editable ? static_cast<long>(d->rowIds.indexOf(wanted)) : wanted;
  if (bookmark.isNull() || row < 0 || row >= d->rows)
    throw CDaoException(kJetInvalidBookmark, QStringLiteral("Not a valid bookmark"));
  d->pos = row;
}

COleVariant CDaoRecordset::GetLastModifiedBookmark() const {
  if (d->lastModified < 0) noCurrentRecord();
  return COleVariant(static_cast<long>(d->lastModified));
}

// --- finding -------------------------------------------------------------------------

bool CDaoRecordset::FindFirst(const QString& criteria) {
  leaveRow();
  d->flushDeleted();
  return find(criteria, 0, 1);
}

bool CDaoRecordset::FindLast(const QString& criteria) {
  leaveRow();
  d->flushDeleted();
  return find(criteria, d->rows - 1, -1);
}

bool CDaoRecordset::FindNext(const QString& criteria) {
  leaveRow();
  const long from = d->flushDeleted() ? d->pos : d->pos + 1;
  return find(criteria, std::max(from, 0L), 1);
}

bool CDaoRecordset::FindPrev(const QString& criteria) {
  leaveRow();
  d->flushDeleted();
  return find(criteria, std::min(d->pos - 1, d->rows - 1), -1);
}

bool CDaoRecordset::find(const QString& text, long from, long step) {
  const hv6::dao::Criteria criteria(text, [this](const QString& name) { return d->findColumn(name); });
  for (long row = from; row >= 0 && row < d->rows; row += step) {
    const auto valueAt = [this, row](int column) {
      return hv6::dao::readCell(d->cell(row, column), d->columns[column].kind);
    };
    if (!criteria.matches(valueAt)) continue;
    d->pos = row;
    return true;
  }
  return false;
}
