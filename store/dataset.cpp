#include "store/dataset.h"

#include "outside/errtext6/errmsg.h"
#include "platform/dao/dao.h"

#include <QDate>
#include <QStringList>

#include <algorithm>
#include <new>

namespace {

constexpr long kMsgReadFailed = 2039;
constexpr long kMsgOutOfMemory = 2036;

// Which column a mask bit selects and the kind of array it goes to.
struct ColumnBit {
  std::uint32_t bit1;
  std::uint32_t bit2;
  const char* name;
  int kind;
};

// Kinds: 0, 1 codes (Null -1); 2 Long yyyymmdd, 3 Date/Time as yyyymmdd
// (one array, Null -1); 4, 5, 6 texts; 7 Double; 8 Currency; 9, 10, 12,
// 13, 14 Long (Null 0); 11 the material category Kind (Null 0).
constexpr ColumnBit kColumnBits[] = {
    {DS1_DATE, 0, "Date", 2},
    {DS1_CLAIMDATE, 0, "ClaimDate", 9},
    {DS1_SHIPDATE, 0, "ShipDate", 9},
    {DS1_CODE, 0, "Code", 0},
    {DS1_NAME, 0, "Name", 4},
    {DS1_JOBCODE, 0, "JobCode", 0},
    {DS1_CROPCODE, 0, "CropCode", 0},
    {DS1_WORKCODE, 0, "WorkCode", 0},
    {DS1_FARMERCODE, 0, "FarmerCode", 0},
    {DS1_MACHINECODE, 0, "Machinecode", 0},
    {DS1_KIND, 0, "Kind", 11},
    {DS1_FIELDCODE, 0, "FieldCode", 0},
    {DS1_CUSTOMERCODE, 0, "CustomerCode", 0},
    {DS1_BUYERCODE, 0, "BuyerCode", 0},
    {DS1_GRADECODE, 0, "GradeCode", 0},
    {DS1_STANDARDCODE, 0, "StandardCode", 1},
    {DS1_WORKFACTTIME, 0, "WorkFactTime", 9},
    {DS1_MCNFACTTIME, 0, "McnFactTime", 9},
    {DS1_QUANTITY, 0, "Quantity", 8},
    {DS1_TOTALAREA, 0, "TotalArea", 9},
    {DS1_PROCEED, 0, "Proceed", 10},
    {DS1_SASIHIKI, 0, "Sasihiki", 10},
    {DS1_SUU, 0, "Suu", 7},
    {DS1_SUU_KEI, 0, "Suu_Kei", 7},
    {DS1_TANKA, 0, "Tanka", 7},
    {DS1_UNIT_AVE, 0, "Unit_Ave", 7},
    {DS1_DATETIME, 0, "Date", 3},
    {DS1_SLIPDATE, 0, "SlipDate", 2},
    {DS1_FRZCODE, 0, "FrzCode", 1},
    {DS1_MTE1CODE, 0, "Mte1Code", 1},
    {DS1_MTE2CODE, 0, "Mte2Code", 1},
    {DS1_MTE3CODE, 0, "Mte3Code", 1},
    {0, DS2_MTE4CODE, "Mte4Code", 1},
    {0, DS2_MTE5CODE, "Mte5Code", 1},
    {0, DS2_PATH, "Path", 4},
    {0, DS2_PHOTODATE, "PhotoDate", 2},
    {0, DS2_TITLE, "Title", 5},
    {0, DS2_MEMO, "Memo", 6},
    {0, DS2_BRIGHT, "Bright", 12},
    {0, DS2_CONTRAST, "Contrast", 13},
    {0, DS2_SHARP, "Sharp", 14},
    {0, DS2_DISPRATE, "DispRate", 9},
    {0, DS2_J_JOBCODE, "J_JobCode", 0},
};

enum class Store { Long, Text, Double, Currency };

Store storeOf(int kind) {
  if (kind >= 4 && kind <= 6) return Store::Text;
  if (kind == 7) return Store::Double;
  if (kind == 8) return Store::Currency;
  return Store::Long;
}

// The slot of a kind in its group of arrays (longs, texts).
int slotOf(int kind) {
  switch (kind) {
    case 0: return 0;
    case 1: return 1;
    case 2:
    case 3: return 2;
    case 4: return 0;
    case 5: return 1;
    case 6: return 2;
    case 9: return 3;
    case 10: return 4;
    case 11: return 5;
    case 12: return 6;
    case 13: return 7;
    case 14: return 8;
    default: return 0;
  }
}

long dateValue(const COleVariant& value) {
  if (value.isNull()) return -1;
  if (value.vt() != VT_DATE) return value.toLong();
  const QDate date = value.toDateTime().date();
  if (!date.isValid()) return -1;
  return date.year() * 10000L + date.month() * 100L + date.day();
}

long longValue(int kind, const COleVariant& value) {
  if (kind == 2 || kind == 3) return dateValue(value);
  if (value.isNull()) return kind <= 1 ? -1 : 0;
  return value.toLong();
}

constexpr std::size_t kCodeSlot = 0;
constexpr std::size_t kDateSlot = 2;
constexpr std::size_t kNameSlot = 0;

}  // namespace

struct CDataSet::Column {
  int field;
  int kind;
  std::uint32_t bit1;
  std::uint32_t bit2;
};

CDataSet::CDataSet(CDaoDatabase* db, const QString& table, std::uint32_t mask1,
                   std::uint32_t mask2, const QString& condition)
    : CDataSet(db, table, mask1, mask2, condition, {}) {}

CDataSet::CDataSet(CDaoDatabase* db, const QString& table, std::uint32_t mask1,
                   std::uint32_t mask2, const QString& condition,
                   const QList<COleVariant>& params)
    : CDaoRecordset(db), table_(table), mask1_(mask1), mask2_(mask2) {
  const QString selected = ChooseColumns();
  sql_ = condition.isEmpty()
             ? QStringLiteral("SELECT %1 FROM %2").arg(selected, table)
             : QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(selected, table, condition);
  Load(params);
}

CDataSet::~CDataSet() = default;

void CDataSet::Load(const QList<COleVariant>& params) {
  long failure = 0;
  try {
    Open(dbOpenDynaset, sql_, params, dbReadOnly);
    ReadRows();
    loaded_ = true;
  } catch (const CDaoException&) {
    failure = kMsgReadFailed;
  } catch (const std::bad_alloc&) {
    failure = kMsgOutOfMemory;
  }
  if (failure != 0) count_ = 0;
  try {
    Close();
  } catch (const CDaoException&) {
    // The rows are already copied; a failed close loses nothing.
  }
  if (failure != 0) CErrMsg().Disp(failure, 1);
}

// One column per kind's array: when two selected bits share an array, the
// first one (in mask order) is loaded and the later one is left out. Only
// the chosen columns are read; their list goes into the SELECT.
QString CDataSet::ChooseColumns() {
  bool arrayTaken[15] = {};
  QStringList names;
  for (const ColumnBit& c : kColumnBits) {
    if ((mask1_ & c.bit1) == 0 && (mask2_ & c.bit2) == 0) continue;
    const int shared = c.kind == 3 ? 2 : c.kind;
    if (arrayTaken[shared]) continue;
    arrayTaken[shared] = true;
    columns_.push_back({static_cast<int>(names.size()), c.kind, c.bit1, c.bit2});
    names.append(QString::fromLatin1(c.name));
  }
  return names.isEmpty() ? QStringLiteral("*") : names.join(QStringLiteral(", "));
}

void CDataSet::ReadRows() {
  const long expected = GetRecordCount();
  if (expected <= 0) return;
  for (const Column& column : columns_) Reserve(column, static_cast<std::size_t>(expected));
  long rows = 0;
  for (MoveFirst(); !IsEOF(); MoveNext()) {
    for (const Column& column : columns_) AppendValue(column, GetFieldValue(column.field));
    count_ = ++rows;
  }
}

void CDataSet::Reserve(const Column& column, std::size_t rows) {
  const std::size_t slot = static_cast<std::size_t>(slotOf(column.kind));
  switch (storeOf(column.kind)) {
    case Store::Long: longs_[slot].reserve(rows); return;
    case Store::Text: texts_[slot].reserve(rows); return;
    case Store::Double: doubles_.reserve(rows); return;
    case Store::Currency: currencies_.reserve(rows); return;
  }
}

void CDataSet::AppendValue(const Column& column, const COleVariant& value) {
  const std::size_t slot = static_cast<std::size_t>(slotOf(column.kind));
  switch (storeOf(column.kind)) {
    case Store::Long: longs_[slot].push_back(longValue(column.kind, value)); return;
    case Store::Text: texts_[slot].push_back(value.isNull() ? QString() : value.toString()); return;
    case Store::Double: doubles_.push_back(value.isNull() ? 0.0 : value.toDouble()); return;
    case Store::Currency:
      currencies_.push_back(value.isNull() ? COleCurrency() : value.toCurrency());
      return;
  }
}

const CDataSet::Column* CDataSet::FindColumn(std::uint32_t mask1Bit,
                                             std::uint32_t mask2Bit) const {
  for (const Column& column : columns_) {
    if (column.bit1 == mask1Bit && column.bit2 == mask2Bit) return &column;
  }
  return nullptr;
}

const std::vector<long>* CDataSet::LoadedLongs(std::size_t slot) const {
  for (const Column& column : columns_) {
    if (storeOf(column.kind) == Store::Long && static_cast<std::size_t>(slotOf(column.kind)) == slot)
      return &longs_[slot];
  }
  return nullptr;
}

DataSetValue CDataSet::GetValue(long row, std::uint32_t mask1Bit, std::uint32_t mask2Bit) const {
  const Column* column = FindColumn(mask1Bit, mask2Bit);
  if (column == nullptr || row < 0 || row >= count_) return {};
  const std::size_t at = static_cast<std::size_t>(row);
  const std::size_t slot = static_cast<std::size_t>(slotOf(column->kind));
  switch (storeOf(column->kind)) {
    case Store::Long:
      if (at < longs_[slot].size()) return longs_[slot][at];
      break;
    case Store::Text:
      if (at < texts_[slot].size()) return texts_[slot][at];
      break;
    case Store::Double:
      if (at < doubles_.size()) return doubles_[at];
      break;
    case Store::Currency:
      if (at < currencies_.size()) return currencies_[at];
      break;
  }
  return {};
}

void CDataSet::BuildDateIndex() const {
  if (dateIndexBuilt_) return;
  dateIndexBuilt_ = true;
  const std::vector<long>* dates = LoadedLongs(kDateSlot);
  if (dates == nullptr) return;
  const long rows = std::min(count_, static_cast<long>(dates->size()));
  for (long row = 0; row < rows; ++row) {
    const long date = (*dates)[static_cast<std::size_t>(row)];
    if (date != -1) rowsByDate_[date].push_back(row);
  }
}

long CDataSet::GetDateCount(long date) const {
  BuildDateIndex();
  const auto found = rowsByDate_.constFind(date);
  return found == rowsByDate_.cend() ? 0 : static_cast<long>(found->size());
}

long CDataSet::GetDateCode(long date, long n) const {
  BuildDateIndex();
  const auto found = rowsByDate_.constFind(date);
  if (found == rowsByDate_.cend() || n < 0 || n >= static_cast<long>(found->size())) return -1;
  const std::vector<long>* codes = LoadedLongs(kCodeSlot);
  const std::size_t row = static_cast<std::size_t>((*found)[static_cast<std::size_t>(n)]);
  if (codes == nullptr || row >= codes->size()) return -1;
  return (*codes)[row];
}

QString CDataSet::GetCodeName(long code) const {
  if (!codeIndexBuilt_) {
    codeIndexBuilt_ = true;
    if (const std::vector<long>* codes = LoadedLongs(kCodeSlot)) {
      // From the last row up, so that the first row of a code stays.
      const long rows = std::min(count_, static_cast<long>(codes->size()));
      for (long row = rows - 1; row >= 0; --row)
        rowOfCode_.insert((*codes)[static_cast<std::size_t>(row)], row);
    }
  }
  const auto found = rowOfCode_.constFind(code);
  if (found == rowOfCode_.cend()) return {};
  const std::vector<QString>& names = texts_[kNameSlot];
  const std::size_t row = static_cast<std::size_t>(*found);
  return row < names.size() ? names[row] : QString();
}
