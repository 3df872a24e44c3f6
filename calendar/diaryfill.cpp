#include "calendar/diaryfill.h"

#include "calendar/rtftext.h"
#include "outside/errtext6/errmsg.h"
#include "outside/vqbase106/vqdate.h"
#include "outside/vqbase106/vqmath.h"
#include "platform/dao/dao.h"
#include "store/dataset.h"

#include <QFile>
#include <QFileInfo>
#include <QStringBuilder>

#include <array>
#include <memory>
#include <new>

namespace hv6 {
namespace {

constexpr long kMsgOutOfMemory = 2036;
constexpr long kMsgReadFailed = 2039;
constexpr long kMsgDiskFull = 2160;
constexpr long kMsgCalendarReadFailed = 2180;
constexpr long kMsgDiaryFileFailed = 2620;
constexpr int kFarmDiaryChars = 40;

// The meter as rows done × 100 / rows, told only when the percent changes.
class RowMeter {
 public:
  RowMeter(CalendarMeter& meter, long rows) : meter_(meter), rows_(rows) {}
  void advance() {
    ++done_;
    if (rows_ <= 0) return;
    const int percent = static_cast<int>(done_ * 100 / rows_);
    if (percent == last_) return;
    last_ = percent;
    meter_.set(percent);
  }

 private:
  CalendarMeter& meter_;
  long rows_;
  long done_ = 0;
  int last_ = -1;
};

struct Month {
  long base;  // yyyymm00
  long year;
  long month;
  long days;
};

Month monthOf(long base) {
  const long year = base / 10000;
  const long month = (base % 10000) / 100;
  return {base, year, month, CVqdate::GetMaxDay(year, month)};
}

// YearBook1 holds numbers yyyymmdd: base to base + 31.
QString planFilter(const Month& m) {
  return QString::asprintf("Date BETWEEN %ld AND %ld", m.base, m.base + 31);
}

// WDiary holds date/time values: Jet literals of the first and last day.
QString diaryFilter(const Month& m) {
  return QString::asprintf("Date BETWEEN #%ld/1/%ld# AND #%ld/%ld/%ld#", m.month, m.year, m.month,
                           m.days, m.year);
}

long longAt(const CDataSet& set, long row, std::uint32_t bit1, std::uint32_t bit2 = 0) {
  const DataSetValue value = set.GetValue(row, bit1, bit2);
  if (const long* number = std::get_if<long>(&value)) return *number;
  return 0;
}

CDataSet names(CDaoDatabase& db, const QString& master, const QString& condition = QString()) {
  return CDataSet(&db, master, DS1_CODE | DS1_NAME, 0, condition);
}

// ---- plan list (11001, 11002)

void planList(CDaoDatabase& db, const Month& m, std::uint32_t bit1, std::uint32_t bit2,
              CalendarSink& sink, MemoList& memos, CalendarMeter& meter) {
  const CDataSet jobs = names(db, QStringLiteral("JobMst"));
  const CDataSet plan(&db, QStringLiteral("YearBook1"), DS1_DATE | bit1, bit2, planFilter(m));
  RowMeter progress(meter, plan.GetCount());
  for (long row = 0; row < plan.GetCount(); ++row, progress.advance()) {
    const long date = longAt(plan, row, DS1_DATE);
    const long code = longAt(plan, row, bit1, bit2);
    if (code <= 0 || date <= 0) continue;
    addLine(sink, memos, m.base + date % 100, jobs.GetCodeName(code));
  }
}

// ---- comparisons (11003-11005): blue the first source, black the second

void compare(const CDataSet& first, const CDataSet& second, const CDataSet& jobs, const Month& m,
             CalendarSink& sink, MemoList& memos, CalendarMeter& meter) {
  RowMeter progress(meter, first.GetCount() + second.GetCount());
  for (long day = 1; day <= 31; ++day) {
    const long date = m.base + day;
    long countA = first.GetDateCount(date);
    long countB = second.GetDateCount(date);
    for (long k = 0; countA > 0 || countB > 0; ++k) {
      if (countA > 0) {
        const long code = first.GetDateCode(date, k);
        if (code >= 1) addLine(sink, memos, date, jobs.GetCodeName(code), kMemoBlue);
        --countA;
        progress.advance();
      }
      if (countB > 0) {
        const long code = second.GetDateCode(date, k);
        if (code > 0) addLine(sink, memos, date, jobs.GetCodeName(code), kMemoBlack);
        --countB;
        progress.advance();
      }
    }
  }
}

void comparison(CDaoDatabase& db, int mode, const Month& m, CalendarSink& sink, MemoList& memos,
                CalendarMeter& meter) {
  const CDataSet jobs = names(db, QStringLiteral("JobMst"));
  const QString yearBook = QStringLiteral("YearBook1");
  const bool doneFirst = mode == 4;  // 11005 compares the done jobs
  const std::uint32_t firstBit1 = doneFirst ? 0u : std::uint32_t{DS1_JOBCODE};
  const std::uint32_t firstBit2 = doneFirst ? std::uint32_t{DS2_J_JOBCODE} : 0u;
  const CDataSet first(&db, yearBook, DS1_DATE | firstBit1, firstBit2, planFilter(m));
  if (mode == 2) {
    const CDataSet done(&db, yearBook, DS1_DATE, DS2_J_JOBCODE, planFilter(m));
    compare(first, done, jobs, m, sink, memos, meter);
    return;
  }
  const CDataSet diary(&db, QStringLiteral("WDiary"), DS1_DATETIME | DS1_JOBCODE, 0,
                       diaryFilter(m));
  compare(first, diary, jobs, m, sink, memos, meter);
}

// ---- milestones (11006, 11014)

void showQueryError(long message) { CErrMsg().Disp(message, 1); }

// Runs the query and hands each row to addRow; a failure shows its message
// and keeps the lines added so far.
template <typename AddRow>
void eachMilestoneRow(CDaoDatabase& db, const QString& sql, CalendarMeter& meter, AddRow addRow) {
  CDaoRecordset rows(&db);
  try {
    rows.Open(dbOpenSnapshot, sql, dbReadOnly);
    RowMeter progress(meter, rows.GetRecordCount());
    for (; !rows.IsEOF(); rows.MoveNext(), progress.advance()) addRow(rows);
    rows.Close();
  } catch (const CDaoException& error) {
    showQueryError(error.errorCode() == kJetDiskFull ? kMsgDiskFull : kMsgCalendarReadFailed);
  } catch (const std::bad_alloc&) {
    showQueryError(kMsgOutOfMemory);
  }
}

long dateNumberOf(const COleVariant& value) {
  if (value.isNull()) return 0;
  const QDate date = value.toDateTime().date();
  if (!date.isValid()) return 0;
  return date.year() * 10000L + date.month() * 100L + date.day();
}

void planMilestones(CDaoDatabase& db, const Month& m, CalendarSink& sink, MemoList& memos,
                    CalendarMeter& meter) {
  const CDataSet jobs = names(db, QStringLiteral("JobMst"), QStringLiteral("MileStone = true"));
  const QString sql = QString::asprintf(
      "SELECT YearBook1.Date, YearBook1.JobCode, YearBook1.J_JobCode FROM JobMst INNER JOIN "
      "YearBook1 ON (JobMst.Code = YearBook1.JobCode) OR (JobMst.Code = YearBook1.J_JobCode) "
      "WHERE JobMst.MileStone = true AND YearBook1.Date Between %ld AND %ld GROUP BY "
      "YearBook1.Date, YearBook1.JobCode, YearBook1.J_JobCode",
      m.base + 1, m.base + m.days);
  eachMilestoneRow(db, sql, meter, [&](const CDaoRecordset& row) {
    const long date = row.GetFieldValue(0).toLong();
    if (date < 1) return;
    const long planned = row.GetFieldValue(1).toLong();
    const long done = row.GetFieldValue(2).toLong();
    const QString plannedText = planned >= 1 ? jobs.GetCodeName(planned) : QString();
    const QString doneText = done >= 1 ? jobs.GetCodeName(done) : QString();
    if (!plannedText.isEmpty()) addLine(sink, memos, date, plannedText, kMemoBlue);
    if (!doneText.isEmpty()) addLine(sink, memos, date, doneText, kMemoBlack);
  });
}

void diaryMilestones(CDaoDatabase& db, const Month& m, CalendarSink& sink, MemoList& memos,
                     CalendarMeter& meter) {
  const CDataSet jobs = names(db, QStringLiteral("JobMst"));
  const QString sql = QString::asprintf(
      "SELECT WDiary.Date, WDiary.JobCode FROM WDiary INNER JOIN JobMst ON JobMst.Code = "
      "WDiary.JobCode WHERE (JobMst.MileStone=True AND WDiary.Date Between #%ld/1/%ld# AND "
      "#%ld/%ld/%ld#)",
      m.month, m.year, m.month, m.days, m.year);
  eachMilestoneRow(db, sql, meter, [&](const CDaoRecordset& row) {
    const long date = dateNumberOf(row.GetFieldValue(0));
    const long job = row.GetFieldValue(1).toLong();
    if (date < 1 || job < 1) return;
    addLine(sink, memos, date, jobs.GetCodeName(job));
  });
}

// ---- diary items (11007-11010, 11012, 11013)

enum class Value { Time, Area };

struct DiaryItem {
  const char* master;
  std::uint32_t codeBit;
  std::uint32_t valueBit;
  Value value;
};

// By diary mode; mode 4 (materials) and 7 (milestones) have fillers of
// their own.
constexpr std::array<DiaryItem, 7> kDiaryItems{{
    {"CropMst", DS1_CROPCODE, DS1_WORKFACTTIME, Value::Time},
    {"JobMst", DS1_JOBCODE, DS1_WORKFACTTIME, Value::Time},
    {"FarmerMst", DS1_FARMERCODE, DS1_WORKFACTTIME, Value::Time},
    {"MachineMst", DS1_MACHINECODE, DS1_MCNFACTTIME, Value::Time},
    {nullptr, 0, 0, Value::Time},
    {"FieldMst", DS1_FIELDCODE, DS1_WORKFACTTIME, Value::Time},
    {"FieldMst", DS1_FIELDCODE, DS1_TOTALAREA, Value::Area},
}};

// hhmm as hours and hundredths. Minutes of 60 or more (they can come from
// the mobile import) are carried into the hours first.
QString hoursText(long hhmm) {
  const bool negative = hhmm < 0;
  const long value = negative ? -hhmm : hhmm;
  const long minutes = value / 100 * 60 + value % 100;
  const long hundredths = (minutes % 60 * 100 + 30) / 60;  // rounded half up
  return QString::asprintf("%s%ld.%02ld", negative ? "-" : "", minutes / 60, hundredths);
}

QString itemLine(const QString& name, long value, Value kind) {
  if (kind == Value::Area) return name + QString::asprintf(" %5.1f", static_cast<double>(value) * 0.1);
  return name + QLatin1Char(' ') + hoursText(value).rightJustified(5, QLatin1Char(' '));
}

void diaryItems(CDaoDatabase& db, const DiaryItem& item, const Month& m, CalendarSink& sink,
                MemoList& memos, CalendarMeter& meter) {
  const CDataSet master = names(db, QString::fromLatin1(item.master));
  const CDataSet diary(&db, QStringLiteral("WDiary"), DS1_DATETIME | item.codeBit | item.valueBit,
                       0, diaryFilter(m));
  RowMeter progress(meter, diary.GetCount());
  for (long row = 0; row < diary.GetCount(); ++row, progress.advance()) {
    const long date = longAt(diary, row, DS1_DATETIME);
    const long code = longAt(diary, row, item.codeBit);
    if (date <= 0 || code <= 0) continue;
    const QString line = itemLine(master.GetCodeName(code), longAt(diary, row, item.valueBit),
                                  item.value);
    addLine(sink, memos, date, line);
  }
}

// ---- diary materials (11011)

// By Kind 0-5: the master of the material category.
constexpr std::array<const char*, 6> kMaterialMasters{
    "FertilizerMst", "MaterialMst1", "MaterialMst2", "MaterialMst3", "MaterialMst4", "MaterialMst5"};

// The month's rows in one reading. The row's own Kind picks its material
// column, as "Kind = n" would; a row without a Kind or with one beyond 0-5
// (not written by the program) gets Null.
constexpr auto kMaterialColumns =
    "SELECT Date, Kind, IIf(Kind = 0, FrzCode, IIf(Kind = 1, Mte1Code, IIf(Kind = 2, Mte2Code, "
    "IIf(Kind = 3, Mte3Code, IIf(Kind = 4, Mte4Code, IIf(Kind = 5, Mte5Code, Null)))))), "
    "Quantity FROM WDiary WHERE ";
enum MaterialColumn { kDateColumn, kKindColumn, kCodeColumn, kQuantityColumn };

QString quantityText(double quantity) {
  QString text;
  if (CVqmath::MathtoChar(quantity, text, 0, 2, 1) != 0) return QStringLiteral("0.00");
  return text;
}

// The quantity as the column cache keeps it: a Currency, Null as 0.
double quantityOf(const COleVariant& value) {
  return value.isNull() ? 0.0 : value.toCurrency().toDouble();
}

void diaryMaterials(CDaoDatabase& db, const Month& m, CalendarSink& sink, MemoList& memos,
                    CalendarMeter& meter) {
  std::array<std::unique_ptr<CDataSet>, kMaterialMasters.size()> masters;  // read on first use
  CDaoRecordset rows(&db);
  long failure = 0;
  try {
    rows.Open(dbOpenSnapshot, QString::fromLatin1(kMaterialColumns) + diaryFilter(m), dbReadOnly);
    RowMeter progress(meter, rows.GetRecordCount());
    for (; !rows.IsEOF(); rows.MoveNext(), progress.advance()) {
      const long date = dateNumberOf(rows.GetFieldValue(kDateColumn));
      const COleVariant kind = rows.GetFieldValue(kKindColumn);
      if (date <= 0 || kind.isNull() || kind.toLong() < 0 ||
          kind.toLong() >= static_cast<long>(masters.size()))
        continue;
      std::unique_ptr<CDataSet>& master = masters[static_cast<std::size_t>(kind.toLong())];
      if (!master)
        master = std::make_unique<CDataSet>(
            &db, QString::fromLatin1(kMaterialMasters[static_cast<std::size_t>(kind.toLong())]),
            DS1_CODE | DS1_NAME, 0, QString());
      const COleVariant code = rows.GetFieldValue(kCodeColumn);
      if (code.isNull() || code.toLong() < 1) continue;
      const QString line = master->GetCodeName(code.toLong()) % QLatin1Char(' ') %
                           quantityText(quantityOf(rows.GetFieldValue(kQuantityColumn)));
      addLine(sink, memos, m.base + date % 10000 % (m.month * 100), line);
    }
    rows.Close();
  } catch (const CDaoException&) {
    failure = kMsgReadFailed;
  } catch (const std::bad_alloc&) {
    failure = kMsgOutOfMemory;
  }
  // As the column cache reports a failed read.
  if (failure != 0) CErrMsg().Disp(failure, 1);
}

// ---- farm diary (11024)

// The day's page, or nothing: missing, unreadable (locked), damaged or not
// RTF. Other file errors show 2620 with the file and the cause.
std::optional<QString> farmDiaryText(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (info.isFile() && !info.isReadable()) return std::nullopt;
    CErrMsg().Disp(kMsgDiaryFileFailed, 1, path + QLatin1Char('\n') + file.errorString());
    return std::nullopt;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    CErrMsg().Disp(kMsgDiaryFileFailed, 1, path + QLatin1Char('\n') + file.errorString());
    return std::nullopt;
  }
  return rtf::plainText(bytes);
}

}  // namespace

void fillPlan(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink, MemoList& memos,
              CalendarMeter& meter) {
  if (!db.IsOpen()) return;
  const Month m = monthOf(baseDate);
  switch (mode) {
    case 0: planList(db, m, DS1_JOBCODE, 0, sink, memos, meter); return;
    case 1: planList(db, m, 0, DS2_J_JOBCODE, sink, memos, meter); return;
    case 2:
    case 3:
    case 4: comparison(db, mode, m, sink, memos, meter); return;
    case 5: planMilestones(db, m, sink, memos, meter); return;
    default: return;
  }
}

void fillDiary(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink, MemoList& memos,
               CalendarMeter& meter) {
  if (!db.IsOpen() || mode < 0) return;
  const Month m = monthOf(baseDate);
  if (mode == 4) {
    diaryMaterials(db, m, sink, memos, meter);
    return;
  }
  if (mode == 7) {
    diaryMilestones(db, m, sink, memos, meter);
    return;
  }
  if (mode >= static_cast<int>(kDiaryItems.size())) return;
  diaryItems(db, kDiaryItems[static_cast<std::size_t>(mode)], m, sink, memos, meter);
}

void fillFarmDiary(CDaoDatabase& db, long baseDate, CalendarSink& sink, MemoList& memos,
                   CalendarMeter& meter) {
  if (!db.IsOpen()) return;
  const Month m = monthOf(baseDate);
  const QString folder = QFileInfo(db.GetName()).absolutePath();
  RowMeter progress(meter, m.days);
  for (long day = 1; day <= m.days; ++day, progress.advance()) {
    const long date = m.base + day;
    const std::optional<QString> plain =
        farmDiaryText(folder + QString::asprintf("/%08ld.rtf", date));
    if (!plain) continue;
    const QString line = rtf::oneLine(*plain, kFarmDiaryChars);
    if (!line.isEmpty()) addLine(sink, memos, date, line);
  }
}

}  // namespace hv6
