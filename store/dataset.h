#pragma once
// CDataSet: a read-only column cache over one table. It runs one SELECT and
// copies the columns chosen by two bit masks of every row into typed
// arrays, one array per column kind; the calendar's day fillers and the
// photo album look values up in it afterwards.

#include "platform/dao/recordset.h"
#include "platform/dao/variant.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

// Column bits of the first mask.
enum DataSetMask1 : std::uint32_t {
  DS1_DATE = 0x1,  // Long yyyymmdd
  DS1_CLAIMDATE = 0x2,
  DS1_SHIPDATE = 0x4,
  DS1_CODE = 0x8,
  DS1_NAME = 0x10,
  DS1_JOBCODE = 0x20,
  DS1_CROPCODE = 0x40,
  DS1_WORKCODE = 0x80,
  DS1_FARMERCODE = 0x100,
  DS1_MACHINECODE = 0x200,
  DS1_KIND = 0x400,
  DS1_FIELDCODE = 0x800,
  DS1_CUSTOMERCODE = 0x1000,
  DS1_BUYERCODE = 0x2000,
  DS1_GRADECODE = 0x4000,
  DS1_STANDARDCODE = 0x8000,
  DS1_WORKFACTTIME = 0x10000,
  DS1_MCNFACTTIME = 0x20000,
  DS1_QUANTITY = 0x40000,
  DS1_TOTALAREA = 0x80000,
  DS1_PROCEED = 0x100000,
  DS1_SASIHIKI = 0x200000,
  DS1_SUU = 0x400000,
  DS1_SUU_KEI = 0x800000,
  DS1_TANKA = 0x1000000,
  DS1_UNIT_AVE = 0x2000000,
  DS1_DATETIME = 0x4000000,  // Date as a Jet Date/Time, read as yyyymmdd
  DS1_SLIPDATE = 0x8000000,
  DS1_FRZCODE = 0x10000000,
  DS1_MTE1CODE = 0x20000000,
  DS1_MTE2CODE = 0x40000000,
  DS1_MTE3CODE = 0x80000000,
};

// Column bits of the second mask.
enum DataSetMask2 : std::uint32_t {
  DS2_MTE4CODE = 0x1,
  DS2_MTE5CODE = 0x2,
  DS2_PATH = 0x4,
  DS2_PHOTODATE = 0x8,
  DS2_TITLE = 0x10,
  DS2_MEMO = 0x20,
  DS2_BRIGHT = 0x40,
  DS2_CONTRAST = 0x80,
  DS2_SHARP = 0x100,
  DS2_DISPRATE = 0x200,
  DS2_J_JOBCODE = 0x400,
};

// One cached value: a Long (codes, dates, times, levels), a Double, a
// Currency or a text; monostate when the bit names no loaded column or the
// row does not exist.
using DataSetValue = std::variant<std::monostate, long, double, COleCurrency, QString>;

class CDataSet : public CDaoRecordset {
 public:
  // Loads at once: SELECT of the chosen columns FROM table WHERE condition,
  // or without WHERE when the condition is empty. A failed load shows
  // message 2039 (2036 when memory runs out) and leaves the count 0.
  CDataSet(CDaoDatabase* db, const QString& table, std::uint32_t mask1, std::uint32_t mask2,
           const QString& condition = QString());
  // The same with "?" placeholders in the condition, bound to params in
  // order; use this whenever the condition carries values from outside.
  CDataSet(CDaoDatabase* db, const QString& table, std::uint32_t mask1, std::uint32_t mask2,
           const QString& condition, const QList<COleVariant>& params);
  ~CDataSet() override;

  const QString& GetTableName() const { return table_; }
  const QString& GetSQL() const { return sql_; }
  std::uint32_t GetMask1() const { return mask1_; }
  std::uint32_t GetMask2() const { return mask2_; }
  // False after a failed load (the message was shown; the count is 0).
  bool IsLoaded() const { return loaded_; }

  // Rows loaded.
  long GetCount() const { return count_; }
  // Rows whose date (yyyymmdd) equals date.
  long GetDateCount(long date) const;
  // The code (first code array) of the n-th row from 0 on that date, or -1.
  long GetDateCode(long date, long n) const;
  // The Name of the first row whose code equals code; empty when none.
  QString GetCodeName(long code) const;
  // The value of the column chosen by one bit of either mask in a row.
  DataSetValue GetValue(long row, std::uint32_t mask1Bit, std::uint32_t mask2Bit = 0) const;

 private:
  struct Column;  // a selected column: its field index and its array
  void Load(const QList<COleVariant>& params);
  QString ChooseColumns();
  void ReadRows();
  void Reserve(const Column& column, std::size_t rows);
  void AppendValue(const Column& column, const COleVariant& value);
  const Column* FindColumn(std::uint32_t mask1Bit, std::uint32_t mask2Bit) const;
  const std::vector<long>* LoadedLongs(std::size_t slot) const;
  void BuildDateIndex() const;

  QString table_;
  std::uint32_t mask1_;
  std::uint32_t mask2_;
  QString sql_;
  long count_ = 0;
  bool loaded_ = false;

  std::vector<Column> columns_;
  // Long arrays: codes 1 and 2, dates, and the Long kinds 9-14.
  std::array<std::vector<long>, 9> longs_;
  std::array<std::vector<QString>, 3> texts_;  // name/path, title, memo
  std::vector<double> doubles_;
  std::vector<COleCurrency> currencies_;

  // Built on first use: rows by date, first row of each code.
  mutable bool dateIndexBuilt_ = false;
  mutable QHash<long, std::vector<long>> rowsByDate_;
  mutable bool codeIndexBuilt_ = false;
  mutable QHash<long, long> rowOfCode_;
};
