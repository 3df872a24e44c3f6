#include "weather/fieldlocation.h"

#include "outside/errtext6/errmsg.h"
#include "outside/vqbase106/vqdate.h"
#include "platform/dao/dao.h"
#include "platform/presenter.h"
#include "store/refrepair.h"

#include <QSet>

#include <algorithm>
#include <new>
#include <utility>

namespace hv6 {
namespace {

constexpr long kMsgRootSelected = 2012;
constexpr long kMsgOutOfMemory = 2036;
constexpr long kMsgDiskFull = 2160;
constexpr long kMsgLinksRemoved = 2209;
constexpr long kMsgNoPointToModify = 2230;
constexpr long kMsgCannotAdd = 2232;
constexpr long kMsgPointInUse = 2240;
constexpr long kMsgTransactionFailed = 2716;

const QString kUnknownStart = QStringLiteral("H.00/00/00");
constexpr int kNameLimit = 255;

const QString kAskDelete = QStringLiteral("ほ場の項目を削除します。\nよろしいですか？");
const QString kAskDeleteUsed = QStringLiteral(
    "ほ場の項目が条件設定で使用されています。\n"
    "削除したら条件設定で使用されているほ場の情報が削除されるので条件について再設定必要です。\n"
    "よろしいですか？");
const QString kNoCodeLeft = QStringLiteral(
    "観測地点をこれ以上登録できません。\n"
    "使わなくなった観測地点を削除してから、もう一度実行してください。");

void show(long number, int kind) { CErrMsg().Disp(number, kind, 0, kHrvCaption); }

void showDatabaseError(const CDaoException& error) {
  CErrMsg().DispDaoErr(error.errorCode(), nullptr, 0, kHrvCaption);
}

// A begin, commit or rollback that failed.
void showTransactionError(const CDaoException& error) {
  show(error.errorCode() == kJetDiskFull ? kMsgDiskFull : kMsgTransactionFailed, 1);
}

bool ask(const QString& question) {
  return showMessage(question, kHrvCaption, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
}

bool isOpen(const CDaoDatabase* db) { return db != nullptr && db->IsOpen(); }

int intValue(const CDaoRecordset& rows, const char* column) {
  return static_cast<int>(rows.GetFieldValue(QString::fromLatin1(column)).toLong());
}

long longValue(const CDaoRecordset& rows, const char* column) {
  return rows.GetFieldValue(QString::fromLatin1(column)).toLong();
}

bool hasRow(CDaoDatabase& db, const QString& sql, const QList<COleVariant>& params) {
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, sql, params, dbReadOnly);
  return !rows.IsEOF();
}

// "A = ? OR B = ? ..." over the columns, and the code once for each.
QString anyColumnIs(const QStringList& columns) {
  QStringList terms;
  for (const QString& column : columns) terms << column + QStringLiteral(" = ?");
  return terms.join(QStringLiteral(" OR "));
}

QList<COleVariant> repeated(long code, qsizetype times) {
  return QList<COleVariant>(times, COleVariant(code));
}

QStringList numbered(const QString& pattern) {
  QStringList names;
  for (int i = 1; i <= 6; ++i) names << pattern.arg(i);
  return names;
}

QList<COleVariant> coordinates(const PointValues& p) {
  return {COleVariant(p.latDegrees), COleVariant(p.latMinutes), COleVariant(p.latSeconds),
          COleVariant(p.lonDegrees), COleVariant(p.lonMinutes), COleVariant(p.lonSeconds)};
}

// Tells the busy indicator for as long as it lives.
class BusySpan {
 public:
  explicit BusySpan(const std::function<void(bool)>& busy) : busy_(busy) {
    if (busy_) busy_(true);
  }
  ~BusySpan() {
    if (busy_) busy_(false);
  }
  BusySpan(const BusySpan&) = delete;
  BusySpan& operator=(const BusySpan&) = delete;

 private:
  const std::function<void(bool)>& busy_;
};

}  // namespace

QString periodText(long startDate, long endDate) {
  QString start;
  if (CVqdate::WarekiForm(start, startDate, 0) != 0) start = kUnknownStart;
  QString end;
  if (endDate == 0 || CVqdate::WarekiForm(end, endDate, 0) != 0) return start;
  return QStringLiteral("%1 - %2").arg(start, end);
}

QString pointNodeText(const PointValues& p) {
  const auto number = [](int value, int width) { return QStringLiteral("%1").arg(value, width); };
  return QStringLiteral("観測地点 %1 : 緯度%2゜%3´%4″/ 経度%5゜%6´%7″%8")
      .arg(QString::number(p.num), number(p.latDegrees, 2), number(p.latMinutes, 2),
           number(p.latSeconds, 2), number(p.lonDegrees, 3), number(p.lonMinutes, 2),
           number(p.lonSeconds, 2), periodText(p.startDate, p.endDate));
}

// --- observation numbers -------------------------------------------------------------

void ObservationSlots::use(int num, long code) {
  if (num < kFirst || num > kLast) return;
  slots_[static_cast<std::size_t>(num - kFirst)] = {true, code};
}

void ObservationSlots::release(long code) {
  for (Slot& slot : slots_)
    if (slot.used && slot.code == code) slot = {};
}

int ObservationSlots::find(long code) const {
  for (int num = kFirst; num <= kLast; ++num) {
    const Slot& slot = slots_[static_cast<std::size_t>(num - kFirst)];
    if (code == 0 ? !slot.used : (slot.used && slot.code == code)) return num;
  }
  return -1;
}

bool ObservationSlots::isUsed(int num) const {
  return num >= kFirst && num <= kLast && slots_[static_cast<std::size_t>(num - kFirst)].used;
}

long ObservationSlots::codeOf(int num) const {
  return isUsed(num) ? slots_[static_cast<std::size_t>(num - kFirst)].code : 0;
}

// --- the editor ----------------------------------------------------------------------

FieldLocationEditor::FieldLocationEditor(CDaoDatabase* diary, CDaoDatabase* weather,
                                         ObservationSlots& slots)
    : diary_(diary), weather_(weather), slots_(slots) {}

FieldLocationEditor::~FieldLocationEditor() {
  if (!open_ || !isOpen(weather_)) return;
  try {
    weather_->m_pWorkspace->Rollback();
  } catch (const CDaoException&) {
    // A destructor does not throw; SQLite undoes the rest at the next open.
  }
}

bool FieldLocationEditor::start() {
  if (!isOpen(weather_) || !isOpen(diary_)) {
    CErrMsg().DispDaoErr(kJetNotOpen, nullptr, 0, kHrvCaption);
    return false;
  }
  if (!repairLinks()) return false;
  try {
    loadPoints();
    loadFields();
    loadLinks();
  } catch (const CDaoException& e) {
    showDatabaseError(e);
    return false;
  } catch (const std::bad_alloc&) {
    show(kMsgOutOfMemory, 1);
    return false;
  }
  return beginTransaction();
}

// Links whose field is gone from FieldMst are deleted, in a transaction of
// their own.
bool FieldLocationEditor::repairLinks() {
  try {
    QList<RefRepairGroup> groups;
    {
      CDaoRecordset rows(weather_);
      rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Code, Field FROM TargetField "), dbReadOnly);
      for (; !rows.IsEOF(); rows.MoveNext())
        groups.append({{0, longValue(rows, "Code"), QStringLiteral("TargetField"),
                        QStringLiteral("Field"), kRefDeleteRow}});
    }
    if (groups.isEmpty()) return true;
    CRefRepair repair({weather_, diary_},
                      {{CRefRepair::linkKey(QStringLiteral("TargetField"), QStringLiteral("Field")),
                        {1, QStringLiteral("FieldMst"), QStringLiteral("Code")}}});
    bool allFound = true;
    {
      BusySpan span(busy_);
      DaoTransaction transaction(*weather_);
      allFound = repair.Repair(groups);
      transaction.commit();
    }
    if (!allFound) show(kMsgLinksRemoved, 0);
    return true;
  } catch (const CDaoException& e) {
    showDatabaseError(e);
  } catch (const std::bad_alloc&) {
    show(kMsgOutOfMemory, 1);
  }
  return false;
}

void FieldLocationEditor::loadPoints() {
  CDaoRecordset rows(weather_);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Location ORDER BY Ido_HH, EDate DESC"),
            dbReadOnly);
  for (; !rows.IsEOF(); rows.MoveNext()) {
    PointEntry entry;
    PointValues& p = entry.values;
    p.code = longValue(rows, "Code");
    p.num = intValue(rows, "Num");
    p.latDegrees = intValue(rows, "Ido_HH");
    p.latMinutes = intValue(rows, "Ido_MM");
    p.latSeconds = intValue(rows, "Ido_SS");
    p.lonDegrees = intValue(rows, "Keido_HH");
    p.lonMinutes = intValue(rows, "Keido_MM");
    p.lonSeconds = intValue(rows, "Keido_SS");
    p.startDate = longValue(rows, "SDate");
    p.endDate = longValue(rows, "EDate");
    if (p.endDate != 0) {
      ended_.append(entry);
    } else {
      current_.append(entry);
      slots_.use(p.num, p.code);
    }
  }
}

void FieldLocationEditor::loadFields() {
  CDaoRecordset rows(diary_);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Code, Name, Use, SeqCode FROM FieldMst"),
            dbReadOnly);
  for (; !rows.IsEOF(); rows.MoveNext()) {
    FieldRecord field;
    field.code = longValue(rows, "Code");
    field.name = rows.GetFieldValue(QStringLiteral("Name")).toString().left(kNameLimit);
    field.use = longValue(rows, "Use");
    fields_.insert(field.code, field);
    if (!sequence_.contains(field.code)) sequence_.insert(field.code, longValue(rows, "SeqCode"));
  }
}

// A link to a field the diary does not know (a Null or 0 field) ties
// nothing and is not shown.
void FieldLocationEditor::loadLinks() {
  CDaoRecordset rows(weather_);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Location, Field FROM TargetField"), dbReadOnly);
  QHash<long, PointEntry*> points;
  for (PointEntry& entry : current_) points.insert(entry.values.code, &entry);
  for (PointEntry& entry : ended_) points.insert(entry.values.code, &entry);
  for (; !rows.IsEOF(); rows.MoveNext()) {
    PointEntry* point = points.value(longValue(rows, "Location"));
    const long field = longValue(rows, "Field");
    if (point == nullptr || !fields_.contains(field) || point->fields.contains(field)) continue;
    point->fields.append(field);
  }
  for (PointEntry& entry : current_) sortFields(entry.fields);
  for (PointEntry& entry : ended_) sortFields(entry.fields);
}

bool FieldLocationEditor::beginTransaction() {
  try {
    weather_->m_pWorkspace->BeginTrans();
    open_ = true;
    return true;
  } catch (const CDaoException& e) {
    showTransactionError(e);
  }
  return false;
}

bool FieldLocationEditor::commit() {
  if (!open_) return true;
  open_ = false;
  try {
    weather_->m_pWorkspace->CommitTrans();
    return true;
  } catch (const CDaoException& e) {
    try {
      weather_->m_pWorkspace->Rollback();
    } catch (const CDaoException&) {
      // The commit's message says it all.
    }
    showTransactionError(e);
  }
  return false;
}

bool FieldLocationEditor::rollback() {
  if (!open_) return true;
  open_ = false;
  try {
    weather_->m_pWorkspace->Rollback();
    return true;
  } catch (const CDaoException& e) {
    showTransactionError(e);
  }
  return false;
}

bool FieldLocationEditor::transactionHeld() {
  if (!open_) return false;
  try {
    if (isOpen(weather_) && weather_->m_pWorkspace->TransactionHeld()) return true;
  } catch (const CDaoException&) {
    // Counts as gone.
  }
  open_ = false;
  if (isOpen(weather_) && weather_->m_pWorkspace->InTransaction()) {
    try {
      weather_->m_pWorkspace->Rollback();
    } catch (const CDaoException&) {
      // Nothing left to undo.
    }
  }
  show(kMsgTransactionFailed, 1);
  return false;
}

FieldLocationEditor::Outcome FieldLocationEditor::failed(const CDaoException& error) {
  showDatabaseError(error);
  return transactionHeld() ? Outcome::Failed : Outcome::Closed;
}

FieldLocationEditor::Outcome FieldLocationEditor::failedForMemory() {
  show(kMsgOutOfMemory, 1);
  return transactionHeld() ? Outcome::Failed : Outcome::Closed;
}

// --- contents ------------------------------------------------------------------------

const PointEntry* FieldLocationEditor::currentPoint(long code) const {
  for (const PointEntry& entry : current_)
    if (entry.values.code == code) return &entry;
  return nullptr;
}

PointEntry* FieldLocationEditor::findCurrent(long code) {
  return const_cast<PointEntry*>(std::as_const(*this).currentPoint(code));
}

bool FieldLocationEditor::isTied(long field) const {
  return std::any_of(current_.begin(), current_.end(),
                     [field](const PointEntry& entry) { return entry.fields.contains(field); });
}

QList<long> FieldLocationEditor::freeFields() const {
  QSet<long> tied;
  for (const PointEntry& entry : current_)
    for (long field : entry.fields) tied.insert(field);
  QList<long> free;
  for (const FieldRecord& field : fields_)
    if (field.use == 0 && !tied.contains(field.code)) free.append(field.code);
  sortFields(free);
  return free;
}

QString FieldLocationEditor::fieldName(long code) const { return fields_.value(code).name; }

void FieldLocationEditor::sortFields(QList<long>& codes) const {
  std::sort(codes.begin(), codes.end(), [this](long a, long b) {
    const long seqA = sequence_.value(a, 0);
    const long seqB = sequence_.value(b, 0);
    return seqA != seqB ? seqA < seqB : a < b;
  });
}

// --- modify --------------------------------------------------------------------------

std::optional<PointValues> FieldLocationEditor::pointToModify(const NodeRef& node) const {
  const PointEntry* point = node.kind == NodeKind::Point ? currentPoint(node.code) : nullptr;
  if (point == nullptr) {
    show(kMsgNoPointToModify, 0);
    return std::nullopt;
  }
  return point->values;
}

FieldLocationEditor::Outcome FieldLocationEditor::modify(const PointValues& edited) {
  if (!transactionHeld()) return Outcome::Closed;
  PointEntry* point = findCurrent(edited.code);
  if (point == nullptr) return Outcome::Unchanged;
  const QString set = QStringLiteral(
      "UPDATE Location SET Ido_HH = ?, Ido_MM = ?, Ido_SS = ?, Keido_HH = ?, Keido_MM = ?, "
      "Keido_SS = ?, SDate = ?");
  QList<COleVariant> params = coordinates(edited);
  params << COleVariant(edited.startDate);
  QString sql = set;
  if (edited.endDate != 0) {
    sql += QStringLiteral(", EDate = ?");
    params << COleVariant(edited.endDate);
  }
  sql += QStringLiteral(" WHERE Code = ?");
  params << COleVariant(edited.code);
  try {
    weather_->Execute(sql, params, dbFailOnError);
  } catch (const CDaoException& e) {
    return failed(e);
  }
  const int num = point->values.num;
  point->values = edited;
  point->values.num = num;
  if (edited.endDate != 0) {
    // The point keeps its observation number's slot until the program ends.
    ended_.append(*point);
    current_.removeIf([&](const PointEntry& entry) { return entry.values.code == edited.code; });
  }
  return Outcome::Done;
}

// --- remove --------------------------------------------------------------------------

FieldLocationEditor::Outcome FieldLocationEditor::remove(const NodeRef& node) {
  switch (node.kind) {
    case NodeKind::Root:
      show(kMsgRootSelected, 0);
      return Outcome::Unchanged;
    case NodeKind::Point:
      return removePoint(node.code);
    case NodeKind::Field:
      return removeField(node.code);
    case NodeKind::None:
      break;
  }
  return Outcome::Unchanged;
}

// A condition names the point, or a risk one of its fields.
bool FieldLocationEditor::pointInUse(long code) {
  const QStringList locations = numbered(QStringLiteral("K_Location%1"));
  if (hasRow(*weather_, QStringLiteral("SELECT Code FROM Condition WHERE ") + anyColumnIs(locations),
             repeated(code, locations.size())))
    return true;
  QList<long> fields;
  {
    CDaoRecordset rows(weather_);
    rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Field FROM TargetField WHERE Location = ?"),
              {COleVariant(code)}, dbReadOnly);
    for (; !rows.IsEOF(); rows.MoveNext()) fields.append(longValue(rows, "Field"));
  }
  return std::any_of(fields.begin(), fields.end(), [this](long field) {
    return hasRow(*weather_, QStringLiteral("SELECT Code FROM Risk WHERE FieldCode = ?"),
                  {COleVariant(field)});
  });
}

FieldLocationEditor::Outcome FieldLocationEditor::removePoint(long code) {
  if (!transactionHeld()) return Outcome::Closed;
  if (findCurrent(code) == nullptr) return Outcome::Unchanged;
  try {
    if (pointInUse(code)) {
      show(kMsgPointInUse, 1);
      return Outcome::Unchanged;
    }
  } catch (const CDaoException& e) {
    return failed(e);
  } catch (const std::bad_alloc&) {
    return failedForMemory();
  }
  if (!ask(kAskDelete)) return Outcome::Unchanged;
  try {
    weather_->Execute(QStringLiteral("DELETE FROM TargetField WHERE Location = ?"),
                      {COleVariant(code)}, dbFailOnError);
  } catch (const CDaoException& e) {
    return failed(e);
  }
  findCurrent(code)->fields.clear();
  try {
    weather_->Execute(QStringLiteral("DELETE FROM Location WHERE Code = ?"), {COleVariant(code)},
                      dbFailOnError);
  } catch (const CDaoException& e) {
    // The point stays, without its fields.
    return failed(e) == Outcome::Closed ? Outcome::Closed : Outcome::Done;
  }
  current_.removeIf([code](const PointEntry& entry) { return entry.values.code == code; });
  slots_.release(code);
  return Outcome::Done;
}

// The field is untied from every point, ended ones included.
FieldLocationEditor::Outcome FieldLocationEditor::removeField(long field) {
  if (!transactionHeld()) return Outcome::Closed;
  QStringList columns{QStringLiteral("H_Field"), QStringLiteral("N_Field"), QStringLiteral("S_Field")};
  columns += numbered(QStringLiteral("K_Field%1"));
  bool usedByCondition = false;
  try {
    usedByCondition =
        hasRow(*weather_, QStringLiteral("SELECT Code FROM Condition WHERE ") + anyColumnIs(columns),
               repeated(field, columns.size()));
  } catch (const CDaoException& e) {
    return failed(e);
  }
  if (!ask(usedByCondition ? kAskDeleteUsed : kAskDelete)) return Outcome::Unchanged;
  try {
    weather_->Execute(QStringLiteral("DELETE FROM TargetField WHERE Field = ?"),
                      {COleVariant(field)}, dbFailOnError);
  } catch (const CDaoException& e) {
    return failed(e);
  }
  for (PointEntry& entry : current_) entry.fields.removeAll(field);
  for (PointEntry& entry : ended_) entry.fields.removeAll(field);
  return Outcome::Done;
}

// --- add -----------------------------------------------------------------------------

FieldLocationEditor::Outcome FieldLocationEditor::add(const NodeRef& node,
                                                      const QList<long>& fields) {
  const long code = node.kind == NodeKind::Point ? node.code : 0;
  if (findCurrent(code) == nullptr) {
    show(kMsgCannotAdd, 2);
    return Outcome::Unchanged;
  }
  if (fields.isEmpty()) return Outcome::Unchanged;
  if (!transactionHeld()) return Outcome::Closed;
  const long start = findCurrent(code)->values.startDate;
  // Fields tied to another point still observed on or after this start.
  QSet<long> busy;
  try {
    CDaoRecordset rows(weather_);
    rows.Open(dbOpenSnapshot,
              QStringLiteral("SELECT DISTINCT Field FROM TargetField RIGHT OUTER JOIN Location ON "
                             "TargetField.Location = Location.Code WHERE (EDate IS Null OR EDate "
                             ">= ?) AND Location.Code <> ?"),
              {COleVariant(start), COleVariant(code)}, dbReadOnly);
    for (; !rows.IsEOF(); rows.MoveNext()) {
      const COleVariant field = rows.GetFieldValue(0);
      if (!field.isNull()) busy.insert(field.toLong());
    }
  } catch (const CDaoException& e) {
    return failed(e);
  }
  Outcome outcome = Outcome::Unchanged;
  for (long field : fields) {
    if (busy.contains(field)) {
      show(kMsgCannotAdd, 1);
      break;
    }
    if (findCurrent(code)->fields.contains(field)) continue;
    try {
      weather_->Execute(QStringLiteral("INSERT INTO TargetField(Location, Field) VALUES(?, ?)"),
                        {COleVariant(code), COleVariant(field)}, dbFailOnError);
    } catch (const CDaoException& e) {
      const Outcome failure = failed(e);
      if (failure == Outcome::Closed) return failure;
      break;
    }
    findCurrent(code)->fields.append(field);
    outcome = Outcome::Done;
  }
  sortFields(findCurrent(code)->fields);
  return outcome;
}

// --- a new point ---------------------------------------------------------------------

// The lowest code from 1 that no point uses; 0 when every code up to the
// last a byte holds is taken.
long FieldLocationEditor::unusedCode() {
  CDaoRecordset rows(weather_);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Code FROM Location WHERE Code >= 1 ORDER BY Code"),
            dbReadOnly);
  long next = 1;
  for (; !rows.IsEOF() && next <= kLastPointCode; rows.MoveNext()) {
    const long used = rows.GetFieldValue(0).toLong();
    if (used > next) break;
    if (used == next) ++next;
  }
  return next <= kLastPointCode ? next : 0;
}

long FieldLocationEditor::addPoint(const PointValues& point) {
  if (!transactionHeld()) return 0;
  PointEntry entry;
  entry.values = point;
  entry.values.endDate = 0;
  try {
    entry.values.code = unusedCode();
    if (entry.values.code == 0) {
      showMessage(kNoCodeLeft, kHrvCaption, MsgButtons::Ok, MsgIcon::Warning);
      return 0;
    }
    QList<COleVariant> params{COleVariant(entry.values.code), COleVariant(point.num)};
    params += coordinates(point);
    params << COleVariant(point.startDate);
    weather_->Execute(
        QStringLiteral("INSERT INTO Location(Code, Num, Ido_HH, Ido_MM, Ido_SS, Keido_HH, "
                       "Keido_MM, Keido_SS, SDate) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        params, dbFailOnError);
  } catch (const CDaoException& e) {
    failed(e);
    return 0;
  }
  current_.append(entry);
  slots_.use(entry.values.num, entry.values.code);
  return entry.values.code;
}

}  // namespace hv6
