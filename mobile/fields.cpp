#include "mobile/fields.h"

#include "store/schema.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace hv6::mobile {
namespace {

constexpr int kLastPlainField = 23;
constexpr std::int64_t kLongMax = std::numeric_limits<std::int32_t>::max();
// Currency holds +-922337203685477.5807.
constexpr double kCurrencyLimit = 922337203685477.0;
// Digits of a fraction of an hour that count; more change nothing visible.
constexpr int kFractionDigits = 9;

constexpr std::array<const char16_t*, kFieldCount> kLabels{
    u"日付",           u"品目",           u"作業",           u"ほ場",
    u"作業者",         u"機械",           u"労働実時間",     u"休憩実時間",
    u"労働開始時刻",   u"労働終了時刻",   u"休憩開始時刻",   u"休憩終了時刻",
    u"機械稼働時間",   u"機械休止時間",   u"機械稼動開始時刻", u"機械稼動終了時刻",
    u"機械休止開始時刻", u"機械休止終了時刻", u"延作業面積",   u"免税軽油消費量",
    u"資材区分",       u"資材",           u"資材投下量",     u"希釈倍率",
    u"対象病害虫",     u"単位当り散布量", u"予備項目１",     u"予備項目２",
    u"予備項目３"};

// Columns of fields 1..29; field 22 depends on the material category.
constexpr std::array<const char*, kFieldCount> kColumns{
    "Date",           "CropCode",     "JobCode",       "FieldCode",      "FarmerCode",
    "MachineCode",    "WorkFactTime", "RestFactTime",  "WorkStartTime",  "WorkEndTime",
    "RestStartTime",  "RestEndTime",  "McnFactTime",   "MRestFactTime",  "McnStartTime",
    "McnEndTime",     "MRestStartTime", "MRestEndTime", "TotalArea",     "LightOil",
    "Kind",           nullptr,        "Quantity",      "Dilute",         "Vermin",
    "Scatter",        "ReserveItem1", "ReserveItem2",  "ReserveItem3"};

constexpr std::array<const char*, 5> kMasters{"CropMst", "JobMst", "FieldMst", "FarmerMst",
                                              "MachineMst"};

bool is(QChar c, char mark) { return c == QLatin1Char(mark); }
bool is(char c, char mark) { return c == mark; }

// The fields of a line as pieces of it; View is QStringView or
// QByteArrayView.
template <typename View>
QList<View> cutFields(View line) {
  QList<View> fields;
  const qsizetype size = line.size();
  qsizetype pos = 0;
  for (int field = 1; field <= kFieldCount; ++field) {
    const bool quoted = field > kLastPlainField && pos < size && is(line.at(pos), '"');
    qsizetype start = quoted ? pos + 1 : pos;
    qsizetype end = start;
    while (end < size && !(quoted ? is(line.at(end), '"') && end + 1 < size && is(line.at(end + 1), ',')
                                  : is(line.at(end), ',')))
      ++end;
    if (end < size) {
      pos = end + (quoted ? 2 : 1);
    } else {
      // The last field of a line may lack its ending.
      if (quoted && end > start && is(line.at(end - 1), '"')) --end;
      pos = size;
    }
    fields.append(line.sliced(start, end - start));
    while (pos < size && (is(line.at(pos), ' ') || is(line.at(pos), '\t'))) ++pos;
  }
  return fields;
}

QStringView trimmed(QStringView text) { return text.trimmed(); }

bool allDigits(QStringView text) {
  for (QChar c : text)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  return true;
}

// Digits as a number; nullopt for no digits, other characters or more
// than fits a Long.
std::optional<std::int64_t> digitsValue(QStringView text) {
  if (text.isEmpty() || !allDigits(text)) return std::nullopt;
  std::int64_t value = 0;
  for (QChar c : text) {
    value = value * 10 + (c.unicode() - u'0');
    if (value > kLongMax) return std::nullopt;
  }
  return value;
}

std::optional<long> asLong(std::int64_t value) {
  if (value < -kLongMax - 1 || value > kLongMax) return std::nullopt;
  return static_cast<long>(value);
}

// "h:m" with both parts whole numbers, minutes below 60 and hours below
// hourLimit; hhmm.
std::optional<long> hoursAndMinutes(QStringView text, std::int64_t hourLimit) {
  const qsizetype colon = text.indexOf(QLatin1Char(':'));
  if (colon < 0) return std::nullopt;
  const auto hours = digitsValue(text.left(colon));
  const auto minutes = digitsValue(text.mid(colon + 1));
  if (!hours || !minutes || *minutes >= 60 || *hours >= hourLimit) return std::nullopt;
  return asLong(*hours * 100 + *minutes);
}

// Decimal hours: minutes are the fraction times 60, rounded half up (two
// digits as "f x 0.6 + 0.5"); a fraction that rounds to 60 minutes makes
// the next hour.
std::optional<long> decimalHours(QStringView text) {
  const qsizetype dot = text.indexOf(QLatin1Char('.'));
  const QStringView whole = text.left(dot);
  QStringView fraction = text.mid(dot + 1);
  if (whole.isEmpty() && fraction.isEmpty()) return std::nullopt;
  std::int64_t hours = 0;
  if (!whole.isEmpty()) {
    const auto value = digitsValue(whole);
    if (!value) return std::nullopt;
    hours = *value;
  }
  if (!allDigits(fraction)) return std::nullopt;
  fraction = fraction.left(kFractionDigits);
  std::int64_t digits = 0;
  std::int64_t scale = 1;
  for (QChar c : fraction) {
    digits = digits * 10 + (c.unicode() - u'0');
    scale *= 10;
  }
  if (fraction.size() == 1) {  // "2.5" reads as 50 hundredths
    digits *= 10;
    scale *= 10;
  }
  std::int64_t minutes = (digits * 60 * 2 + scale) / (2 * scale);
  if (minutes == 60) {
    ++hours;
    minutes = 0;
  }
  return asLong(hours * 100 + minutes);
}

}  // namespace

QStringList cutRecordFields(QStringView line) {
  QStringList fields;
  for (QStringView field : cutFields(line)) fields.append(field.toString());
  return fields;
}

QList<QByteArray> cutRecordFields(QByteArrayView line) {
  QList<QByteArray> fields;
  for (QByteArrayView field : cutFields(line)) fields.append(field.toByteArray());
  return fields;
}

QString fieldLabel(int field) {
  if (field < 1 || field > kFieldCount) return {};
  return QString::fromUtf16(kLabels[field - 1]);
}

QString fieldColumn(int field, int category) {
  if (field == kMaterialField) return materialCodeColumn(category);
  if (field < 1 || field > kFieldCount) return {};
  return QString::fromLatin1(kColumns[field - 1]);
}

QString masterTable(int field, int category) {
  if (field >= 2 && field <= 6) return QString::fromLatin1(kMasters[field - 2]);
  if (field != kMaterialField) return {};
  if (category == 0) return QStringLiteral("FertilizerMst");
  if (category >= 1 && category <= 5) return QStringLiteral("MaterialMst%1").arg(category);
  return {};
}

bool isCodeField(int field) { return (field >= 2 && field <= 6) || field == kMaterialField; }

bool isAbsent(QStringView text) { return text.isEmpty() || text == QLatin1String("0"); }

std::optional<long> userNumberOf(QStringView text) {
  text = trimmed(text);
  const bool negative = text.startsWith(QLatin1Char('-'));
  const auto value = digitsValue(negative ? text.mid(1) : text);
  if (!value) return std::nullopt;
  return static_cast<long>(negative ? -*value : *value);
}

std::optional<long> durationOf(QStringView text) {
  text = trimmed(text);
  if (text.contains(QLatin1Char(':'))) return hoursAndMinutes(text, kLongMax);
  if (text.contains(QLatin1Char('.'))) return decimalHours(text);
  const auto hours = digitsValue(text);
  if (!hours) return std::nullopt;
  return asLong(*hours * 100);
}

std::optional<long> timeOfDayOf(QStringView text) { return hoursAndMinutes(trimmed(text), 24); }

std::optional<long> tenthsOf(QStringView text) {
  double number = 0;
  if (!COleVariant(trimmed(text).toString()).tryDouble(number) || !std::isfinite(number))
    return std::nullopt;
  long whole = 0;
  if (!COleVariant(number * 10).tryLong(whole)) return std::nullopt;
  return asLong(whole);
}

std::optional<double> quantityOf(QStringView text) {
  double number = 0;
  if (!COleVariant(trimmed(text).toString()).tryDouble(number) || !std::isfinite(number) ||
      std::fabs(number) > kCurrencyLimit)
    return std::nullopt;
  return number;
}

std::optional<int> materialCategoryOf(QStringView text) {
  const auto number = digitsValue(trimmed(text));
  if (!number || *number < 6 || *number > 11) return std::nullopt;
  return static_cast<int>(*number - 6);
}

std::optional<QDateTime> dateOf(QStringView text) {
  const QDateTime date = parseDateText(text);
  if (!date.isValid()) return std::nullopt;
  return date;
}

std::optional<QString> textOf(QStringView text) {
  if (text.size() > kTextLimit) return std::nullopt;
  return text.toString();
}

QString duplicateQuery(int materialCategory) {
  QString sql = QStringLiteral("SELECT Code FROM WDiary WHERE Date = ? ");
  for (int field = 2; field <= 6; ++field)
    sql += QStringLiteral("AND %1 IS ? ").arg(fieldColumn(field, 0));
  if (materialCategory < 0) return sql + QStringLiteral("AND Kind IS NULL AND FrzCode IS NULL");
  return sql + QStringLiteral("AND Kind = ? AND %1 = ?")
                   .arg(fieldColumn(kMaterialField, materialCategory));
}

std::optional<COleVariant> convertField(int field, QStringView text, int& category) {
  if (field == kMaterialKindField) category = 0;
  if (isAbsent(text)) return COleVariant();
  auto wrap = [](const auto& value) -> std::optional<COleVariant> {
    if (!value) return std::nullopt;
    return COleVariant(*value);
  };
  switch (field) {
    case 1: return wrap(dateOf(text));
    case 7: case 8: case 13: case 14: return wrap(durationOf(text));
    case 9: case 10: case 11: case 12: case 15: case 16: case 17: case 18:
      return wrap(timeOfDayOf(text));
    case 19: case 20: return wrap(tenthsOf(text));
    case kMaterialKindField: {
      const auto kind = materialCategoryOf(text);
      category = kind ? *kind : -1;
      if (!kind) return std::nullopt;
      return COleVariant(static_cast<short>(*kind), VT_UI1);
    }
    case 23: {
      // Stored in a Currency column, which keeps four decimals.
      const auto quantity = quantityOf(text);
      if (!quantity) return std::nullopt;
      return COleVariant(COleCurrency::fromDouble(*quantity));
    }
    default:
      if (field > kLastPlainField && field <= kFieldCount) return wrap(textOf(text));
      return std::nullopt;  // code fields are looked up by the import
  }
}

}  // namespace hv6::mobile
