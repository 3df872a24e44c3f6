#include "calendar/salesfill.h"

#include "outside/errtext6/errmsg.h"
#include "outside/vqbase106/vqdate.h"
#include "outside/vqbase106/vqmath.h"
#include "platform/dao/dao.h"
#include "store/dataset.h"

#include <functional>

namespace hv6 {
namespace {

constexpr long kMsgPhotoFailed = 2902;
constexpr int kNoWeatherItem = 255;

enum SlipMode : int { kCrop, kCustomer, kBuyer, kGradeStandard, kClaimDate, kShipDate };

const QString kSlip = QStringLiteral("Slip");
const QString kSlipDetails = QStringLiteral("SlipDetails");

// Where the lines of one fill go.
struct FillTarget {
  CalendarSink& sink;
  MemoList& memos;
  CalendarMeter& meter;
  long base;
};

// The text of one row, or nothing when the row adds no line.
using RowText = std::function<std::optional<QString>(const CDataSet& set, long row)>;

long longAt(const CDataSet& set, long row, std::uint32_t bit) {
  const DataSetValue value = set.GetValue(row, bit);
  const long* number = std::get_if<long>(&value);
  return number != nullptr ? *number : 0;
}

QString amountText(long value) {
  QString text;
  return CVqmath::MathtoChar(value, text, 0) == 0 ? text : QStringLiteral("0");
}

QString realText(double value) {
  QString text;
  return CVqmath::MathtoChar(value, text, 0, 2, 0) == 0 ? text : QStringLiteral("0.00");
}

QString eraText(long date) {
  QString text;
  return CVqdate::WarekiForm(text, date, 0) == 0 ? text : QString();
}

// Amounts are whole numbers, quantities and unit prices reals.
QString figureText(const DataSetValue& value) {
  if (const double* real = std::get_if<double>(&value)) return realText(*real);
  if (const long* whole = std::get_if<long>(&value)) return amountText(*whole);
  return amountText(0);
}

QString lineText(const QString& first, const QString& second) {
  return QStringLiteral("%1 %2").arg(first, second);
}

std::uint32_t lineFigureBit(int figure) {
  if (figure == 1) return DS1_SUU;
  if (figure == 2) return DS1_TANKA;
  return DS1_PROCEED;
}

std::uint32_t headerFigureBit(int figure) {
  if (figure == 1) return DS1_SUU_KEI;
  if (figure == 2) return DS1_UNIT_AVE;
  return DS1_SASIHIKI;
}

QString monthCondition(long base) {
  return QStringLiteral("SlipDate BETWEEN %1 AND %2 AND AppType = 0").arg(base).arg(base + 31);
}

QString slipLinesCondition(long slipCode) {
  return QStringLiteral("SlipCode = %1 AND AppType = 0").arg(slipCode);
}

CDataSet masterNames(CDaoDatabase& db, const QString& table) {
  return CDataSet(&db, table, DS1_CODE | DS1_NAME, 0);
}

void advance(CalendarMeter& meter, long done, long total) {
  meter.set(static_cast<int>(done * 100 / total));
}

// Every line of the month's slips, slip by slip. A failed read of a slip's
// lines ends the fill: its message has been shown once.
void fillByLines(CDaoDatabase& db, std::uint32_t lineBits, const RowText& textOf,
                 FillTarget& target) {
  const CDataSet slips(&db, kSlip, DS1_CODE | DS1_SLIPDATE, 0, monthCondition(target.base));
  const long count = slips.GetCount();
  for (long slip = 0; slip < count; ++slip) {
    const CDataSet lines(&db, kSlipDetails, lineBits, 0,
                         slipLinesCondition(longAt(slips, slip, DS1_CODE)));
    if (!lines.IsLoaded()) return;
    const long date = target.base + longAt(slips, slip, DS1_SLIPDATE) % 100;
    for (long row = 0; row < lines.GetCount(); ++row) {
      if (const std::optional<QString> text = textOf(lines, row))
        addLine(target.sink, target.memos, date, *text);
    }
    advance(target.meter, slip + 1, count);
  }
}

// Crop or buyer of each line with the line's figure; lines without a code
// add nothing.
void fillNamedLines(CDaoDatabase& db, const QString& master, std::uint32_t codeBit, int figure,
                    FillTarget& target) {
  const CDataSet names = masterNames(db, master);
  if (!names.IsLoaded()) return;
  const std::uint32_t figureBit = lineFigureBit(figure);
  const RowText textOf = [&](const CDataSet& lines, long row) -> std::optional<QString> {
    const long code = longAt(lines, row, codeBit);
    if (code <= 0) return std::nullopt;
    return lineText(names.GetCodeName(code), figureText(lines.GetValue(row, figureBit)));
  };
  fillByLines(db, codeBit | figureBit, textOf, target);
}

// Grade and standard of every line; a missing code gives an empty name.
void fillGradeStandard(CDaoDatabase& db, FillTarget& target) {
  const CDataSet grades = masterNames(db, QStringLiteral("GradeMst"));
  const CDataSet standards = masterNames(db, QStringLiteral("StandardMst"));
  if (!grades.IsLoaded() || !standards.IsLoaded()) return;
  const auto nameOf = [](const CDataSet& names, long code) {
    return code > 0 ? names.GetCodeName(code) : QString();
  };
  const RowText textOf = [&](const CDataSet& lines, long row) -> std::optional<QString> {
    return lineText(nameOf(grades, longAt(lines, row, DS1_GRADECODE)),
                    nameOf(standards, longAt(lines, row, DS1_STANDARDCODE)));
  };
  fillByLines(db, DS1_GRADECODE | DS1_STANDARDCODE, textOf, target);
}

// One line per slip with a customer: its name and the value column's text.
void fillByHeaders(CDaoDatabase& db, std::uint32_t valueBit,
                   const std::function<QString(const DataSetValue&)>& valueText,
                   FillTarget& target) {
  const CDataSet customers = masterNames(db, QStringLiteral("CustomerMst"));
  if (!customers.IsLoaded()) return;
  const CDataSet slips(&db, kSlip, DS1_SLIPDATE | DS1_CUSTOMERCODE | valueBit, 0,
                       monthCondition(target.base));
  const long count = slips.GetCount();
  for (long slip = 0; slip < count; ++slip) {
    const long customer = longAt(slips, slip, DS1_CUSTOMERCODE);
    if (customer > 0) {
      const long date = target.base + longAt(slips, slip, DS1_SLIPDATE) % 100;
      addLine(target.sink, target.memos, date,
              lineText(customers.GetCodeName(customer), valueText(slips.GetValue(slip, valueBit))));
    }
    advance(target.meter, slip + 1, count);
  }
}

QString dateValueText(const DataSetValue& value) {
  const long* date = std::get_if<long>(&value);
  return date != nullptr ? eraText(*date) : QString();
}

// A date of the month base stands for (day 1 to its last day).
bool isDayOfMonth(long date, long base) {
  const long day = date - base;
  return day >= 1 && day <= CVqdate::GetMaxDay(base / 10000, base / 100 % 100);
}

int weatherItem(const CDaoRecordset& set, const QString& column) {
  long value = 0;
  if (!set.GetFieldValue(column).tryLong(value)) return kNoWeatherItem;
  return static_cast<int>(value);
}

}  // namespace

void fillSlips(CDaoDatabase& db, int mode, int figure, long baseDate, CalendarSink& sink,
               MemoList& memos, CalendarMeter& meter) {
  if (!db.IsOpen()) return;
  FillTarget target{sink, memos, meter, baseDate};
  switch (mode) {
    case kCrop:
      fillNamedLines(db, QStringLiteral("CropMst"), DS1_CROPCODE, figure, target);
      return;
    case kCustomer:
      fillByHeaders(db, headerFigureBit(figure), figureText, target);
      return;
    case kBuyer:
      fillNamedLines(db, QStringLiteral("BuyerMst"), DS1_BUYERCODE, figure, target);
      return;
    case kGradeStandard:
      fillGradeStandard(db, target);
      return;
    case kClaimDate:
      fillByHeaders(db, DS1_CLAIMDATE, dateValueText, target);
      return;
    case kShipDate:
      fillByHeaders(db, DS1_SHIPDATE, dateValueText, target);
      return;
    default:
      return;
  }
}

// Rows dated outside the month's days (yyyymm00, the 31st of a short
// month) name no cell and are left out.
std::optional<WeatherList> monthWeather(CDaoDatabase& db, long baseDate) {
  if (!db.IsOpen()) return std::nullopt;
  try {
    CDaoRecordset set(&db);
    set.Open(dbOpenSnapshot,
             QStringLiteral("SELECT * FROM Weather WHERE Date BETWEEN  %1 AND %2")
                 .arg(baseDate)
                 .arg(baseDate + 31),
             dbReadOnly);
    WeatherList month;
    for (; !set.IsEOF(); set.MoveNext()) {
      const long date = set.GetFieldValue(QStringLiteral("Date")).toLong();
      if (!isDayOfMonth(date, baseDate)) continue;
      month.append({date, weatherItem(set, QStringLiteral("Item1")),
                    weatherItem(set, QStringLiteral("Item2")),
                    weatherItem(set, QStringLiteral("Item3"))});
    }
    return month;
  } catch (const CDaoException&) {
    return std::nullopt;
  }
}

bool monthPhotoDates(CDaoDatabase& db, long baseDate, QList<long>& dates) {
  dates.clear();
  if (!db.IsOpen()) return false;
  try {
    CDaoRecordset set(&db);
    set.Open(dbOpenSnapshot,
             QStringLiteral(
                 "SELECT DISTINCT PhotoDate FROM PictureLink WHERE PhotoDate BETWEEN  %1 AND %2")
                 .arg(baseDate)
                 .arg(baseDate + 31),
             dbReadOnly);
    for (; !set.IsEOF(); set.MoveNext()) {
      const long date = set.GetFieldValue(0).toLong();
      if (isDayOfMonth(date, baseDate)) dates.append(date);
    }
    return true;
  } catch (const CDaoException&) {
    dates.clear();
    CErrMsg().Disp(kMsgPhotoFailed, 1);
    return false;
  }
}

}  // namespace hv6
