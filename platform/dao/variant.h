#pragma once
// Values as they travel between the program and the database: a variant in
// which Null is distinct from 0 and from empty text.
//
// Conversions follow OLE's variant rules where the program relies on them:
// numbers to whole numbers round half to even (2.5 -> 2, 22.99999 -> 23);
// a Yes/No reads as 1 or 0; a date as a number is OLE's day count from
// 1899-12-30; text converts to a number only when it is one (else 0, and
// tryLong/tryDouble say false); a date as text is "yyyy/MM/dd", with
// " hh:mm:ss" when the time is not midnight.
//
// Jet dates have no time zone. A VT_DATE keeps the wall-clock date and time
// it was given (whatever the QDateTime's zone) and toDateTime() returns them
// as a QDateTime in UTC, so that no zone or daylight-saving rule shifts a
// stored value: read it with date() and time(), not as an instant.

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <cstdint>

enum VARTYPE : unsigned short {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_BOOL = 11,
  VT_UI1 = 17,
};

// Jet's Currency: a fixed-point number with four decimals.
class COleCurrency {
 public:
  COleCurrency() = default;
  static COleCurrency fromUnits(std::int64_t tenThousandths);
  static COleCurrency fromDouble(double value);
  std::int64_t units() const { return units_; }
  double toDouble() const { return static_cast<double>(units_) / 10000.0; }
  friend bool operator==(const COleCurrency&, const COleCurrency&) = default;

 private:
  std::int64_t units_ = 0;
};

class COleVariant {
 public:
  COleVariant();  // Null
  COleVariant(short value, VARTYPE vt = VT_I2);  // VT_I2, VT_BOOL or VT_UI1
  COleVariant(int value);                        // VT_I4
  COleVariant(long value);                       // VT_I4
  COleVariant(double value);                     // VT_R8
  COleVariant(const COleCurrency& value);        // VT_CY
  COleVariant(const QDateTime& value);           // VT_DATE; Null when invalid
  COleVariant(const QString& value);             // VT_BSTR
  COleVariant(const char* utf8);                 // VT_BSTR; Null for nullptr
  static COleVariant null();
  static COleVariant boolean(bool value);        // VT_BOOL

  VARTYPE vt() const { return vt_; }
  bool isNull() const { return vt_ == VT_NULL || vt_ == VT_EMPTY; }

  // Conversions; Null gives 0, 0.0, empty text or an invalid date.
  long toLong() const;
  double toDouble() const;
  // As toLong/toDouble, but false (out unchanged) for Null and for text or
  // values that are not numbers.
  bool tryLong(long& out) const;
  bool tryDouble(double& out) const;
  bool toBool() const;
  COleCurrency toCurrency() const;
  QString toString() const;
  QDateTime toDateTime() const;

  // The value as QtSql binds it (a null QVariant for Null): dates as the
  // stored text form, Yes/No as 0/1, Currency as a double, text never null.
  QVariant toQVariant() const;
  static COleVariant fromQVariant(const QVariant& value);

  friend bool operator==(const COleVariant& a, const COleVariant& b);

 private:
  VARTYPE vt_ = VT_NULL;
  QVariant value_;
};

// The stored form of a Jet Date/Time: "YYYY-MM-DD HH:MM:SS", always with
// the time. Empty for an invalid date.
QString storedDateText(const QDateTime& value);
// Reads a date text: the stored form, "yyyy/m/d" or "yyyy-m-d", or Jet's
// literal order "m/d/yyyy", each optionally followed by a time "h:mm" or
// "h:mm:ss" (after a blank or "T"). Invalid when it is none of these or
// names no real day or time; else a wall-clock value in UTC, as above.
QDateTime parseDateText(QStringView text);
