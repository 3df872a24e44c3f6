#pragma once
// Values as they travel between the program and the database: a variant in
// which Null is distinct from 0 and from empty text.

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
  COleVariant(const QDateTime& value);           // VT_DATE
  COleVariant(const QString& value);             // VT_BSTR
  COleVariant(const char* utf8);                 // VT_BSTR
  static COleVariant null();
  static COleVariant boolean(bool value);        // VT_BOOL

  VARTYPE vt() const { return vt_; }
  bool isNull() const { return vt_ == VT_NULL || vt_ == VT_EMPTY; }

  // Conversions; Null gives 0, 0.0, empty text or an invalid date.
  long toLong() const;
  double toDouble() const;
  bool toBool() const;
  COleCurrency toCurrency() const;
  QString toString() const;
  QDateTime toDateTime() const;

  // The value as QtSql binds it (a null QVariant for Null).
  QVariant toQVariant() const;
  static COleVariant fromQVariant(const QVariant& value);

  friend bool operator==(const COleVariant& a, const COleVariant& b);

 private:
  VARTYPE vt_ = VT_NULL;
  QVariant value_;
};
