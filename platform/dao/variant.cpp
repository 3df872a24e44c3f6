#include "platform/dao/variant.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

// OLE's day 0.
const QDate kOleEpoch(1899, 12, 30);

// Jet dates carry no time zone: kept as wall-clock values in UTC, which no
// zone or daylight-saving rule shifts (and which is cheap to build).
QDateTime wallClock(const QDate& date, const QTime& time) { return QDateTime(date, time, Qt::UTC); }
constexpr double kSecondsPerDay = 86400.0;

// Text that is empty but not null: QtSql binds a null QString as NULL.
QString nonNullText(const QString& text) {
  return text.isNull() ? QString::fromLatin1("") : text;
}

// Round half to even, as OLE's conversions do; nullopt when out of range.
std::optional<long> roundedLong(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);
  if (rounded < static_cast<double>(std::numeric_limits<long>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<long>::max()))
    return std::nullopt;
  return static_cast<long>(rounded);
}

std::optional<double> numberOfText(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok) return std::nullopt;
  return value;
}

double oleSerialOf(const QDateTime& value) {
  const double days = static_cast<double>(kOleEpoch.daysTo(value.date()));
  const double seconds = value.time().msecsSinceStartOfDay() / 1000.0;
  const double fraction = seconds / kSecondsPerDay;
  return days < 0 ? days - fraction : days + fraction;
}

QDateTime dateOfOleSerial(double serial) {
  if (!std::isfinite(serial) || std::fabs(serial) > 3.0e6) return {};
  const double whole = std::trunc(serial);
  const double fraction = std::fabs(serial - whole);
  const auto msecs = static_cast<int>(std::lround(fraction * kSecondsPerDay) * 1000);
  return wallClock(kOleEpoch.addDays(static_cast<qint64>(whole)),
                   QTime::fromMSecsSinceStartOfDay(msecs));
}

QString currencyText(std::int64_t units) {
  const bool negative = units < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  QString text = QString::number(magnitude / 10000);
  const auto fraction = magnitude % 10000;
  if (fraction != 0) {
    QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
    while (digits.endsWith(QLatin1Char('0'))) digits.chop(1);
    text += QLatin1Char('.') + digits;
  }
  return negative ? QLatin1Char('-') + text : text;
}

QString dateText(const QDateTime& value) {
  if (value.time() == QTime(0, 0)) return value.toString(QStringLiteral("yyyy/MM/dd"));
  return value.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

bool isTrueWord(const QString& text) {
  for (const char* word : {"true", "yes", "on"})
    if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return true;
  return false;
}

// --- date text parsing ---------------------------------------------------

struct Cursor {
  QStringView text;
  qsizetype pos = 0;
  bool atEnd() const { return pos >= text.size(); }
  QChar peek() const { return atEnd() ? QChar() : text[pos]; }
};

// Reads 1 to maxDigits digits; -1 when there is none.
int readNumber(Cursor& c, int maxDigits, int* digitCount = nullptr) {
  int value = 0;
  int digits = 0;
  while (!c.atEnd() && c.peek().isDigit() && digits < maxDigits) {
    value = value * 10 + c.peek().digitValue();
    ++digits;
    ++c.pos;
  }
  if (digitCount) *digitCount = digits;
  return digits == 0 ? -1 : value;
}

bool readSeparator(Cursor& c, QChar separator) {
  if (c.peek() != separator) return false;
  ++c.pos;
  return true;
}

QDate readDate(Cursor& c) {
  int firstDigits = 0;
  const int first = readNumber(c, 4, &firstDigits);
  const QChar separator = c.peek();
  if (first < 0 || (separator != QLatin1Char('/') && separator != QLatin1Char('-'))) return {};
  ++c.pos;
  const int second = readNumber(c, 2);
  if (second < 0 || !readSeparator(c, separator)) return {};
  int thirdDigits = 0;
  const int third = readNumber(c, 4, &thirdDigits);
  if (third < 0) return {};
  if (firstDigits == 4) return QDate(first, second, third);
  if (thirdDigits == 4 && firstDigits <= 2) return QDate(third, first, second);
  return {};
}

// A time after the date: "h:mm" or "h:mm:ss"; midnight when absent.
std::optional<QTime> readTime(Cursor& c) {
  if (c.atEnd()) return QTime(0, 0);
  if (c.peek() != QLatin1Char(' ') && c.peek() != QLatin1Char('T')) return std::nullopt;
  while (c.peek() == QLatin1Char(' ') || c.peek() == QLatin1Char('T')) ++c.pos;
  const int hour = readNumber(c, 2);
  if (hour < 0 || !readSeparator(c, QLatin1Char(':'))) return std::nullopt;
  const int minute = readNumber(c, 2);
  int second = 0;
  if (readSeparator(c, QLatin1Char(':'))) second = readNumber(c, 2);
  if (minute < 0 || second < 0 || !c.atEnd()) return std::nullopt;
  const QTime time(hour, minute, second);
  if (!time.isValid()) return std::nullopt;
  return time;
}

int digitsAt(QStringView text, qsizetype from, qsizetype count) {
  int value = 0;
  for (qsizetype i = from; i < from + count; ++i) {
    const int digit = text[i].digitValue();
    if (digit < 0) return -1;
    value = value * 10 + digit;
  }
  return value;
}

// The stored form "YYYY-MM-DD HH:MM:SS", read without the general parser.
std::optional<QDateTime> parseStoredForm(QStringView text) {
  if (text.size() != 19 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-') ||
      text[10] != QLatin1Char(' ') || text[13] != QLatin1Char(':') || text[16] != QLatin1Char(':'))
    return std::nullopt;
  const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
  const QTime time(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
  if (!date.isValid() || !time.isValid()) return QDateTime();
  return wallClock(date, time);
}

}  // namespace

// --- COleCurrency ----------------------------------------------------------

COleCurrency COleCurrency::fromUnits(std::int64_t tenThousandths) {
  COleCurrency value;
  value.units_ = tenThousandths;
  return value;
}

COleCurrency COleCurrency::fromDouble(double value) {
  const double units = std::nearbyint(value * 10000.0);
  if (!std::isfinite(units) || std::fabs(units) > 9.2e18) return {};
  return fromUnits(static_cast<std::int64_t>(units));
}

// --- COleVariant -------------------------------------------------------------

COleVariant::COleVariant() = default;

COleVariant::COleVariant(short value, VARTYPE vt) {
  if (vt == VT_BOOL) {
    vt_ = VT_BOOL;
    value_ = QVariant(value != 0);
    return;
  }
  if (vt == VT_UI1) {
    vt_ = VT_UI1;
    value_ = QVariant(static_cast<qlonglong>(static_cast<unsigned char>(value)));
    return;
  }
  vt_ = VT_I2;
  value_ = QVariant(static_cast<qlonglong>(value));
}

COleVariant::COleVariant(int value) : vt_(VT_I4), value_(static_cast<qlonglong>(value)) {}
COleVariant::COleVariant(long value) : vt_(VT_I4), value_(static_cast<qlonglong>(value)) {}
COleVariant::COleVariant(double value) : vt_(VT_R8), value_(value) {}

COleVariant::COleVariant(const COleCurrency& value)
    : vt_(VT_CY), value_(static_cast<qlonglong>(value.units())) {}

COleVariant::COleVariant(const QDateTime& value) {
  if (!value.isValid()) return;
  vt_ = VT_DATE;
  value_ = QVariant(wallClock(value.date(), value.time()));
}

COleVariant::COleVariant(const QString& value) : vt_(VT_BSTR), value_(nonNullText(value)) {}

COleVariant::COleVariant(const char* utf8) {
  if (!utf8) return;
  vt_ = VT_BSTR;
  value_ = QVariant(nonNullText(QString::fromUtf8(utf8)));
}

COleVariant COleVariant::null() { return {}; }

COleVariant COleVariant::boolean(bool value) {
  return COleVariant(static_cast<short>(value ? 1 : 0), VT_BOOL);
}

bool COleVariant::tryDouble(double& out) const {
  switch (vt_) {
    case VT_I2:
    case VT_I4:
    case VT_UI1: out = static_cast<double>(value_.toLongLong()); return true;
    case VT_BOOL: out = value_.toBool() ? 1.0 : 0.0; return true;
    case VT_R8: out = value_.toDouble(); return true;
    case VT_CY: out = toCurrency().toDouble(); return true;
    case VT_DATE: out = oleSerialOf(value_.toDateTime()); return true;
    case VT_BSTR: {
      const auto number = numberOfText(value_.toString());
      if (!number) return false;
      out = *number;
      return true;
    }
    default: return false;
  }
}

bool COleVariant::tryLong(long& out) const {
  if (vt_ == VT_I2 || vt_ == VT_I4 || vt_ == VT_UI1) {
    out = static_cast<long>(value_.toLongLong());
    return true;
  }
  if (vt_ == VT_BSTR) {
    bool ok = false;
    const long whole = value_.toString().trimmed().toLong(&ok);
    if (ok) {
      out = whole;
      return true;
    }
  }
  double number = 0;
  if (!tryDouble(number)) return false;
  const auto rounded = roundedLong(number);
  if (!rounded) return false;
  out = *rounded;
  return true;
}

long COleVariant::toLong() const {
  long value = 0;
  return tryLong(value) ? value : 0;
}

double COleVariant::toDouble() const {
  double value = 0;
  return tryDouble(value) ? value : 0.0;
}

bool COleVariant::toBool() const {
  if (vt_ == VT_BOOL) return value_.toBool();
  if (vt_ == VT_BSTR && isTrueWord(value_.toString())) return true;
  return toDouble() != 0.0;
}

COleCurrency COleVariant::toCurrency() const {
  if (vt_ == VT_CY) return COleCurrency::fromUnits(value_.toLongLong());
  if (vt_ == VT_I2 || vt_ == VT_I4 || vt_ == VT_UI1)
    return COleCurrency::fromUnits(value_.toLongLong() * 10000);
  return COleCurrency::fromDouble(toDouble());
}

QString COleVariant::toString() const {
  switch (vt_) {
    case VT_I2:
    case VT_I4:
    case VT_UI1: return QString::number(value_.toLongLong());
    case VT_BOOL: return value_.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case VT_R8: return QString::number(value_.toDouble(), 'g', 15);
    case VT_CY: return currencyText(value_.toLongLong());
    case VT_DATE: return dateText(value_.toDateTime());
    case VT_BSTR: return value_.toString();
    default: return QString();
  }
}

QDateTime COleVariant::toDateTime() const {
  switch (vt_) {
    case VT_DATE: return value_.toDateTime();
    case VT_BSTR: return parseDateText(value_.toString());
    case VT_I2:
    case VT_I4:
    case VT_UI1:
    case VT_R8:
    case VT_CY: return dateOfOleSerial(toDouble());
    default: return {};
  }
}

QVariant COleVariant::toQVariant() const {
  switch (vt_) {
    case VT_I2:
    case VT_I4:
    case VT_UI1: return value_;
    case VT_BOOL: return QVariant(static_cast<qlonglong>(value_.toBool() ? 1 : 0));
    case VT_R8: return value_;
    case VT_CY: return QVariant(toCurrency().toDouble());
    case VT_DATE: return QVariant(storedDateText(value_.toDateTime()));
    case VT_BSTR: return QVariant(nonNullText(value_.toString()));
    default: return QVariant();
  }
}

COleVariant COleVariant::fromQVariant(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::Bool: return boolean(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return COleVariant(static_cast<long>(value.toLongLong()));
    case QMetaType::Double:
    case QMetaType::Float: return COleVariant(value.toDouble());
    case QMetaType::QDateTime: return COleVariant(value.toDateTime());
    case QMetaType::QDate: return COleVariant(wallClock(value.toDate(), QTime(0, 0)));
    case QMetaType::QByteArray: return COleVariant(QString::fromUtf8(value.toByteArray()));
    case QMetaType::QString: return COleVariant(value.toString());
    default: return value.canConvert<QString>() ? COleVariant(value.toString()) : COleVariant();
  }
}

bool operator==(const COleVariant& a, const COleVariant& b) {
  if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
  return a.vt_ == b.vt_ && a.value_ == b.value_;
}

// --- date texts --------------------------------------------------------------

QString storedDateText(const QDateTime& value) {
  if (!value.isValid()) return QString();
  const QDate d = value.date();
  const QTime t = value.time();
  return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(),
                           t.minute(), t.second());
}

QDateTime parseDateText(QStringView text) {
  text = text.trimmed();
  if (const auto stored = parseStoredForm(text)) return *stored;
  Cursor c{text};
  const QDate date = readDate(c);
  if (!date.isValid()) return {};
  const auto time = readTime(c);
  if (!time) return {};
  return wallClock(date, *time);
}
