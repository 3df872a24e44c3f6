#pragma once
// CRefRepair: finds rows whose code points at a master row that no longer
// exists, and resets the referencing column or deletes the row.

#include <QHash>
#include <QList>
#include <QString>

#include "platform/dao/variant.h"

class CDaoDatabase;

// The master a referencing column points at: the database (an index into
// the repair's databases), the master table and its key column.
struct RefRepairTarget {
  long database = 0;
  QString table;
  QString column;
};

enum RefRepairAction : long {
  kRefResetColumn = 0,  // set the column to Null, its default or 0
  kRefDeleteRow = 1,
};

// One row to act on: database index, the row's Code, table, referencing
// column and action.
struct RefRepairItem {
  long database = 0;
  long code = 0;
  QString table;
  QString column;
  long action = kRefResetColumn;
};

// The first item of a group is checked; when its reference dangles every
// item of the group is carried out.
using RefRepairGroup = QList<RefRepairItem>;

class CRefRepair {
 public:
  // links: keyed by table name followed by column name (see linkKey).
  CRefRepair(QList<CDaoDatabase*> databases, QHash<QString, RefRepairTarget> links);

  static QString linkKey(const QString& table, const QString& column) { return table + column; }

  // True when every group's reference was found (or there was nothing to
  // check), false when at least one group was repaired. Statements run with
  // dbFailOnError; a database error throws CDaoException. The caller runs
  // this inside a transaction when it wants all or nothing.
  bool Repair(const QList<RefRepairGroup>& groups);

 private:
  bool Dangles(const RefRepairItem& item) const;
  bool MasterHas(const RefRepairTarget& target, long value) const;
  void Carry(const RefRepairItem& item);
  void ResetColumn(const RefRepairItem& item);
  static COleVariant DefaultValue(const QString& text);
  CDaoDatabase& Database(long index) const;

  QList<CDaoDatabase*> databases_;
  QHash<QString, RefRepairTarget> links_;
};
