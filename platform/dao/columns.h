#pragma once
// How a column's declared SQLite type decides the variant it reads as and
// the value it is written with.

#include "platform/dao/variant.h"

#include <QString>
#include <QVariant>

namespace hv6::dao {

enum class ColumnKind : unsigned char {
  Stored,  // no declared type: by the stored value
  Long,
  Short,
  Byte,
  Double,
  Single,
  Currency,
  Date,
  Boolean,
  Text,
  Memo,
  Binary,
};

// The kind of a declared type ("INTEGER", "VARCHAR(50)", "DATETIME", ...);
// size gets n of "VARCHAR(n)" or the fixed size of the kind.
ColumnKind columnKindOf(const QString& declaredType, long* size = nullptr);
short daoTypeOf(ColumnKind kind);
ColumnKind columnKindOfDaoType(short daoType);

// A raw value of QtSql (a null QVariant is NULL) as the variant its column
// reads as.
COleVariant readCell(const QVariant& raw, ColumnKind kind);

// The value converted to what the column stores; throws CDaoException 3421
// when it does not convert (letters into a number, a bad date).
COleVariant coerceToColumn(const COleVariant& value, ColumnKind kind, const QString& column);

}  // namespace hv6::dao
