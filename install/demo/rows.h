#pragma once
// Row inserts of the generator: column names of our own, values always
// bound as parameters.

#include <QDate>
#include <QString>
#include <vector>

#include "platform/dao/variant.h"

class CDaoDatabase;

namespace hv6::demo {

struct Value {
  QString column;
  COleVariant value;
};
using Row = std::vector<Value>;

// INSERT INTO table (columns) VALUES (?, ...). Throws CDaoException.
void insertRow(CDaoDatabase& db, const QString& table, const Row& row);

// A master code, or Null for 0.
COleVariant codeOrNull(long code);
// A text, or Null when empty.
COleVariant textOrNull(const QString& text);
// A whole number, or Null when negative.
COleVariant numberOrNull(long value);
// The yyyymmdd number of a day.
long dateNumber(const QDate& date);

}  // namespace hv6::demo
