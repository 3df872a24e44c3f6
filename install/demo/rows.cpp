#include "install/demo/rows.h"

#include <QList>
#include <QStringList>

#include "platform/dao/database.h"

namespace hv6::demo {

void insertRow(CDaoDatabase& db, const QString& table, const Row& row) {
  QStringList names;
  QStringList marks;
  QList<COleVariant> params;
  for (const Value& value : row) {
    names.append(value.column);
    marks.append(QStringLiteral("?"));
    params.append(value.value);
  }
  db.Execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                 .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
             params);
}

COleVariant codeOrNull(long code) { return code > 0 ? COleVariant(code) : COleVariant::null(); }

COleVariant textOrNull(const QString& text) {
  return text.isEmpty() ? COleVariant::null() : COleVariant(text);
}

COleVariant numberOrNull(long value) {
  return value >= 0 ? COleVariant(value) : COleVariant::null();
}

long dateNumber(const QDate& date) {
  return static_cast<long>(date.year()) * 10000 + date.month() * 100 + date.day();
}

}  // namespace hv6::demo
