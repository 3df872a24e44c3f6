#pragma once
// What a diary database lacks of the current schema, and adding it.

#include "store/schema.h"

#include <QList>
#include <QString>

class CDaoDatabase;

namespace hv6::dataconv {

struct AddedColumn {
  QString table;
  ColumnSpec column;
};

struct UpgradePlan {
  QList<TableSpec> tables;     // missing tables, made with their indexes
  QList<AddedColumn> columns;  // missing columns of existing tables
  bool writeVersion = false;   // a Dataversion that is Null or older
  bool addInformationRow = false;
  bool addMobileOptionsRow = false;  // the IWDryOption row with Code 1

  bool empty() const;
};

// Reads the database's tables, columns and rows; writes nothing. Throws
// CDaoException, 3343 when the file has no Information or WDiary table
// (it is no diary database).
UpgradePlan planUpgrade(CDaoDatabase& db);

// Carries the plan out. The caller holds the transaction. Throws
// CDaoException.
void applyUpgrade(CDaoDatabase& db, const UpgradePlan& plan);

}  // namespace hv6::dataconv
