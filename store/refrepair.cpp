#include "store/refrepair.h"

#include "platform/dao/dao.h"

#include <utility>

CRefRepair::CRefRepair(QList<CDaoDatabase*> databases, QHash<QString, RefRepairTarget> links)
    : databases_(std::move(databases)), links_(std::move(links)) {}

bool CRefRepair::Repair(const QList<RefRepairGroup>& groups) {
  bool allFound = true;
  for (const RefRepairGroup& group : groups) {
    if (group.isEmpty() || !Dangles(group.first())) continue;
    for (const RefRepairItem& item : group) Carry(item);
    allFound = false;
  }
  return allFound;
}

CDaoDatabase& CRefRepair::Database(long index) const {
  if (index < 0 || index >= databases_.size() || databases_.at(index) == nullptr)
    throw CDaoException(kJetNotOpen, QStringLiteral("No database %1 for the repair").arg(index));
  return *databases_.at(index);
}

// A row that exists, holds a nonzero code and whose master row is gone.
// A missing row, a Null or 0 code, or a column without a known master is
// left alone.
bool CRefRepair::Dangles(const RefRepairItem& item) const {
  const auto link = links_.constFind(linkKey(item.table, item.column));
  if (link == links_.cend()) return false;
  CDaoRecordset row(&Database(item.database));
  row.Open(dbOpenSnapshot,
           QStringLiteral("SELECT Code, %1 FROM %2 WHERE Code = ? ").arg(item.column, item.table),
           {COleVariant(item.code)}, dbReadOnly);
  if (row.IsEOF()) return false;
  const COleVariant value = row.GetFieldValue(1);
  row.Close();
  if (value.isNull() || value.toLong() == 0) return false;
  return !MasterHas(*link, value.toLong());
}

bool CRefRepair::MasterHas(const RefRepairTarget& target, long value) const {
  CDaoRecordset master(&Database(target.database));
  master.Open(dbOpenSnapshot,
              QStringLiteral("SELECT S.%1 FROM %2 AS S WHERE S.%1 = ?").arg(target.column, target.table),
              {COleVariant(value)}, dbReadOnly);
  return !master.IsEOF();
}

void CRefRepair::Carry(const RefRepairItem& item) {
  if (item.action == kRefResetColumn) {
    ResetColumn(item);
    return;
  }
  if (item.action != kRefDeleteRow) return;
  Database(item.database)
      .Execute(QStringLiteral("DELETE * FROM %1 AS S WHERE S.Code = ? ").arg(item.table),
               {COleVariant(item.code)}, dbFailOnError);
}

// A column default as a value to bind: a number, True/False, a quoted text
// or, failing those, the text itself. Binding keeps the table definition's
// text out of the statement.
COleVariant CRefRepair::DefaultValue(const QString& text) {
  const QString trimmed = text.trimmed();
  bool ok = false;
  const long whole = trimmed.toLong(&ok);
  if (ok) return COleVariant(whole);
  const double real = trimmed.toDouble(&ok);
  if (ok) return COleVariant(real);
  if (trimmed.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0) return COleVariant(1L);
  if (trimmed.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0) return COleVariant(0L);
  const bool quoted = trimmed.size() >= 2 && trimmed.front() == trimmed.back() &&
                      (trimmed.front() == QLatin1Char('\'') || trimmed.front() == QLatin1Char('"'));
  if (!quoted) return COleVariant(trimmed);
  QString inner = trimmed.mid(1, trimmed.size() - 2);
  const QString quote(trimmed.front());
  return COleVariant(inner.replace(quote + quote, quote));
}

// A required column gets its default, or 0 without one; any other column
// becomes Null.
void CRefRepair::ResetColumn(const RefRepairItem& item) {
  CDaoDatabase& db = Database(item.database);
  CDaoTableDef table(&db);
  table.Open(item.table);
  CDaoFieldInfo info;
  if (!table.GetFieldInfo(item.column, info))
    throw CDaoException(kJetNoSuchColumn,
                        QStringLiteral("No column %1 in %2").arg(item.column, item.table));
  table.Close();
  const COleVariant code(item.code);
  const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE Code = ? ");
  if (info.m_bRequired && !info.m_strDefaultValue.isEmpty()) {
    db.Execute(update.arg(item.table, QStringLiteral("%1 = ? ").arg(item.column)),
               {DefaultValue(info.m_strDefaultValue), code}, dbFailOnError);
    return;
  }
  const QString assignment = info.m_bRequired ? QStringLiteral("%1 = 0").arg(item.column)
                                              : QStringLiteral("%1 = NULL ").arg(item.column);
  db.Execute(update.arg(item.table, assignment), {code}, dbFailOnError);
}
