#include "platform/dao/columns.h"

#include "platform/dao/exception.h"
#include "platform/dao/tabledef.h"

#include <initializer_list>
#include <limits>

namespace hv6::dao {
namespace {

struct KindName {
  const char* name;
  ColumnKind kind;
  long size;
};

// Declared type names, as the schema writes them and as Jet's DDL knows them.
constexpr KindName kKindNames[] = {
    {"INTEGER", ColumnKind::Long, 4},    {"INT", ColumnKind::Long, 4},
    {"LONG", ColumnKind::Long, 4},       {"BIGINT", ColumnKind::Long, 4},
    {"COUNTER", ColumnKind::Long, 4},    {"AUTOINCREMENT", ColumnKind::Long, 4},
    {"SMALLINT", ColumnKind::Short, 2},  {"SHORT", ColumnKind::Short, 2},
    {"TINYINT", ColumnKind::Byte, 1},    {"BYTE", ColumnKind::Byte, 1},
    {"DOUBLE", ColumnKind::Double, 8},   {"DOUBLE PRECISION", ColumnKind::Double, 8},
    {"REAL", ColumnKind::Double, 8},     {"NUMERIC", ColumnKind::Double, 8},
    {"DECIMAL", ColumnKind::Double, 8},  {"FLOAT", ColumnKind::Single, 4},
    {"SINGLE", ColumnKind::Single, 4},   {"CURRENCY", ColumnKind::Currency, 8},
    {"MONEY", ColumnKind::Currency, 8},  {"DATETIME", ColumnKind::Date, 8},
    {"DATE", ColumnKind::Date, 8},       {"TIME", ColumnKind::Date, 8},
    {"TIMESTAMP", ColumnKind::Date, 8},  {"BOOLEAN", ColumnKind::Boolean, 1},
    {"BOOL", ColumnKind::Boolean, 1},    {"YESNO", ColumnKind::Boolean, 1},
    {"BIT", ColumnKind::Boolean, 1},     {"LOGICAL", ColumnKind::Boolean, 1},
    {"VARCHAR", ColumnKind::Text, 255},  {"NVARCHAR", ColumnKind::Text, 255},
    {"CHAR", ColumnKind::Text, 255},     {"NCHAR", ColumnKind::Text, 255},
    {"CHARACTER", ColumnKind::Text, 255}, {"TEXT", ColumnKind::Text, 255},
    {"LONGTEXT", ColumnKind::Memo, 0},   {"MEMO", ColumnKind::Memo, 0},
    {"CLOB", ColumnKind::Memo, 0},       {"NTEXT", ColumnKind::Memo, 0},
    {"BLOB", ColumnKind::Binary, 0},     {"LONGBINARY", ColumnKind::Binary, 0},
    {"IMAGE", ColumnKind::Binary, 0},    {"BINARY", ColumnKind::Binary, 0},
    {"VARBINARY", ColumnKind::Binary, 0},
};

// SQLite's affinity rules for a name we do not know.
ColumnKind kindByAffinity(const QString& upper) {
  if (upper.contains(QLatin1String("INT"))) return ColumnKind::Long;
  for (const char* text : {"CHAR", "CLOB", "TEXT"})
    if (upper.contains(QLatin1String(text))) return ColumnKind::Text;
  if (upper.contains(QLatin1String("BLOB"))) return ColumnKind::Binary;
  for (const char* real : {"REAL", "FLOA", "DOUB"})
    if (upper.contains(QLatin1String(real))) return ColumnKind::Double;
  return ColumnKind::Stored;
}

// n of "NAME(n)", or -1.
long sizeInParentheses(const QString& declared) {
  const qsizetype open = declared.indexOf(QLatin1Char('('));
  const qsizetype close = declared.indexOf(QLatin1Char(')'), open + 1);
  if (open < 0 || close < 0) return -1;
  bool ok = false;
  const long size = declared.mid(open + 1, close - open - 1).trimmed().toLong(&ok);
  return ok ? size : -1;
}

COleVariant storedValue(const QVariant& raw) {
  switch (raw.typeId()) {
    case QMetaType::LongLong: return COleVariant(static_cast<long>(raw.toLongLong()));
    case QMetaType::Double: return COleVariant(raw.toDouble());
    case QMetaType::QString: return COleVariant(raw.toString());
    default: return COleVariant::fromQVariant(raw);
  }
}

bool isNumber(const QVariant& raw) {
  return raw.typeId() == QMetaType::LongLong || raw.typeId() == QMetaType::Double;
}

[[noreturn]] void conversionError(const COleVariant& value, const QString& column) {
  throw CDaoException(kJetConversion, QStringLiteral("Data type conversion error: '%1' for column %2")
                                          .arg(value.toString(), column));
}

COleVariant wholeNumberIn(const COleVariant& value, long low, long high, VARTYPE vt,
                          const QString& column) {
  long number = 0;
  if (!value.tryLong(number) || number < low || number > high) conversionError(value, column);
  if (vt == VT_I4) return COleVariant(number);
  return COleVariant(static_cast<short>(number), vt);
}

COleVariant booleanOf(const COleVariant& value, const QString& column) {
  if (value.vt() != VT_BSTR) return COleVariant::boolean(value.toBool());
  const QString text = value.toString().trimmed();
  for (const char* word : {"true", "yes", "on"})
    if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return COleVariant::boolean(true);
  for (const char* word : {"false", "no", "off"})
    if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return COleVariant::boolean(false);
  double number = 0;
  if (!value.tryDouble(number)) conversionError(value, column);
  return COleVariant::boolean(number != 0.0);
}

}  // namespace

ColumnKind columnKindOf(const QString& declaredType, long* size) {
  const QString upper = declaredType.trimmed().toUpper();
  const qsizetype open = upper.indexOf(QLatin1Char('('));
  const QString base = (open < 0 ? upper : upper.left(open)).trimmed();
  ColumnKind kind = ColumnKind::Stored;
  long fixedSize = 0;
  bool known = false;
  for (const KindName& entry : kKindNames) {
    if (base != QLatin1String(entry.name)) continue;
    kind = entry.kind;
    fixedSize = entry.size;
    known = true;
    break;
  }
  if (!known && !base.isEmpty()) kind = kindByAffinity(base);
  if (size) {
    const long declared = sizeInParentheses(upper);
    *size = (kind == ColumnKind::Text && declared > 0) ? declared : fixedSize;
  }
  return kind;
}

short daoTypeOf(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Long: return dbLong;
    case ColumnKind::Short: return dbInteger;
    case ColumnKind::Byte: return dbByte;
    case ColumnKind::Double: return dbDouble;
    case ColumnKind::Single: return dbSingle;
    case ColumnKind::Currency: return dbCurrency;
    case ColumnKind::Date: return dbDate;
    case ColumnKind::Boolean: return dbBoolean;
    case ColumnKind::Memo: return dbMemo;
    case ColumnKind::Binary: return dbLongBinary;
    case ColumnKind::Text:
    case ColumnKind::Stored: return dbText;
  }
  return dbText;
}

ColumnKind columnKindOfDaoType(short daoType) {
  switch (daoType) {
    case dbBoolean: return ColumnKind::Boolean;
    case dbByte: return ColumnKind::Byte;
    case dbInteger: return ColumnKind::Short;
    case dbLong: return ColumnKind::Long;
    case dbCurrency: return ColumnKind::Currency;
    case dbSingle: return ColumnKind::Single;
    case dbDouble: return ColumnKind::Double;
    case dbDate: return ColumnKind::Date;
    case dbText: return ColumnKind::Text;
    case dbLongBinary: return ColumnKind::Binary;
    case dbMemo: return ColumnKind::Memo;
    default: return ColumnKind::Stored;
  }
}

COleVariant readCell(const QVariant& raw, ColumnKind kind) {
  if (raw.isNull()) return COleVariant();
  const bool integer = raw.typeId() == QMetaType::LongLong;
  switch (kind) {
    case ColumnKind::Long:
      if (integer) return COleVariant(static_cast<long>(raw.toLongLong()));
      break;
    case ColumnKind::Short:
      if (integer && raw.toLongLong() >= std::numeric_limits<short>::min() &&
          raw.toLongLong() <= std::numeric_limits<short>::max())
        return COleVariant(static_cast<short>(raw.toLongLong()));
      break;
    case ColumnKind::Byte:
      if (integer && raw.toLongLong() >= 0 && raw.toLongLong() <= 255)
        return COleVariant(static_cast<short>(raw.toLongLong()), VT_UI1);
      break;
    case ColumnKind::Double:
    case ColumnKind::Single:
      if (isNumber(raw)) return COleVariant(raw.toDouble());
      break;
    case ColumnKind::Currency:
      if (integer) return COleVariant(COleCurrency::fromUnits(raw.toLongLong() * 10000));
      if (isNumber(raw)) return COleVariant(COleCurrency::fromDouble(raw.toDouble()));
      break;
    case ColumnKind::Date:
      if (raw.typeId() == QMetaType::QString) {
        const QDateTime date = parseDateText(raw.toString());
        if (date.isValid()) return COleVariant(date);
      }
      break;
    case ColumnKind::Boolean:
      if (isNumber(raw)) return COleVariant::boolean(raw.toDouble() != 0.0);
      break;
    default: break;
  }
  return storedValue(raw);
}

COleVariant coerceToColumn(const COleVariant& value, ColumnKind kind, const QString& column) {
  if (value.isNull()) return COleVariant();
  double number = 0;
  switch (kind) {
    case ColumnKind::Long:
      return wholeNumberIn(value, std::numeric_limits<long>::min(), std::numeric_limits<long>::max(),
                           VT_I4, column);
    case ColumnKind::Short: return wholeNumberIn(value, -32768, 32767, VT_I2, column);
    case ColumnKind::Byte: return wholeNumberIn(value, 0, 255, VT_UI1, column);
    case ColumnKind::Double:
    case ColumnKind::Single:
      if (!value.tryDouble(number)) conversionError(value, column);
      return COleVariant(number);
    case ColumnKind::Currency:
      if (!value.tryDouble(number)) conversionError(value, column);
      return COleVariant(value.toCurrency());
    case ColumnKind::Date: {
      const QDateTime date = value.toDateTime();
      if (!date.isValid()) conversionError(value, column);
      return COleVariant(date);
    }
    case ColumnKind::Boolean: return booleanOf(value, column);
    case ColumnKind::Text:
    case ColumnKind::Memo: return COleVariant(value.toString());
    default: return value;
  }
}

}  // namespace hv6::dao
