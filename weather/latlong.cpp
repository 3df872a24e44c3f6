#include "weather/latlong.h"

#include "outside/errtext6/errmsg.h"
#include "platform/dao/dao.h"

#include <QSet>

#include <new>

namespace hv6 {
namespace {

constexpr long kMsgOutOfMemory = 2036;
constexpr long kMsgNoFreeNumber = 2231;
constexpr long kMsgLatDegrees = 2233;
constexpr long kMsgLatMinutes = 2234;
constexpr long kMsgLonDegrees = 2235;
constexpr long kMsgLonMinutes = 2236;
constexpr long kMsgOverlap = 2237;
constexpr long kMsgLatSeconds = 2238;
constexpr long kMsgLonSeconds = 2239;
constexpr long kMsgEndBeforeStart = 2613;

const QString kSameCoordinates = QStringLiteral(
    "Ido_HH = ? AND Ido_MM = ? AND Ido_SS = ? AND Keido_HH = ? AND Keido_MM = ? AND Keido_SS = ?");
const QString kJoin = QStringLiteral(
    "SELECT * FROM TargetField RIGHT OUTER JOIN Location ON TargetField.Location = Location.Code "
    "WHERE Location.Code <> ? AND ");

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

QList<COleVariant> coordinates(const PointValues& p) {
  return {COleVariant(p.latDegrees), COleVariant(p.latMinutes), COleVariant(p.latSeconds),
          COleVariant(p.lonDegrees), COleVariant(p.lonMinutes), COleVariant(p.lonSeconds)};
}

bool hasRow(CDaoDatabase& db, const QString& sql, const QList<COleVariant>& params) {
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, sql, params, dbReadOnly);
  return !rows.IsEOF();
}

}  // namespace

long pointValuesFault(const PointValues& p) {
  if (!inRange(p.latDegrees, 0, 90)) return kMsgLatDegrees;
  const int latLimit = p.latDegrees == 90 ? 0 : 59;
  if (!inRange(p.latMinutes, 0, latLimit)) return kMsgLatMinutes;
  if (!inRange(p.latSeconds, 0, latLimit)) return kMsgLatSeconds;
  if (!inRange(p.lonDegrees, 0, 180)) return kMsgLonDegrees;
  const int lonLimit = p.lonDegrees == 180 ? 0 : 59;
  if (!inRange(p.lonMinutes, 0, lonLimit)) return kMsgLonMinutes;
  if (!inRange(p.lonSeconds, 0, lonLimit)) return kMsgLonSeconds;
  if (p.endDate != 0 && p.endDate < p.startDate) return kMsgEndBeforeStart;
  return 0;
}

LatLongCheck::EditKind LatLongCheck::kindOf(const PointValues& point) {
  if (point.code == 0) return EditKind::New;
  return point.endDate == 0 ? EditKind::Observed : EditKind::Ending;
}

bool LatLongCheck::accept(PointValues& point) {
  if (const long fault = pointValuesFault(point); fault != 0) {
    CErrMsg().Disp(fault, 1, 0, kHrvCaption);
    return false;
  }
  try {
    if (overlaps(point)) {
      CErrMsg().Disp(kMsgOverlap, 1, 0, kHrvCaption);
      return false;
    }
    if (kindOf(point) != EditKind::New) return true;
    const int number = freeNumber(point);
    if (number == 0) {
      CErrMsg().Disp(kMsgNoFreeNumber, 0, 0, kHrvCaption);
      return false;
    }
    point.num = number;
    return true;
  } catch (const CDaoException& e) {
    CErrMsg().DispDaoErr(e.errorCode(), nullptr, 0, kHrvCaption);
  } catch (const std::bad_alloc&) {
    CErrMsg().Disp(kMsgOutOfMemory, 1, 0, kHrvCaption);
  }
  return false;
}

bool LatLongCheck::overlaps(const PointValues& p) {
  const EditKind kind = kindOf(p);
  if (kind == EditKind::New) {
    QList<COleVariant> params{COleVariant(p.startDate)};
    params += coordinates(p);
    return hasRow(weather_,
                  QStringLiteral("SELECT Num FROM Location WHERE (EDate IS Null OR EDate >= ?) AND (") +
                      kSameCoordinates + u')',
                  params);
  }
  // The point's own fields: another point observed in the period that has
  // one of them overlaps too.
  QList<COleVariant> fields;
  {
    CDaoRecordset rows(&weather_);
    rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Field FROM TargetField WHERE Location = ?"),
              {COleVariant(p.code)}, dbReadOnly);
    for (; !rows.IsEOF(); rows.MoveNext())
      if (const COleVariant field = rows.GetFieldValue(0); !field.isNull()) fields << field;
  }
  QString fieldClause;
  if (!fields.isEmpty()) {
    QStringList marks(fields.size(), QStringLiteral("?"));
    fieldClause = QStringLiteral(" OR %1 IN (%2)")
                      .arg(kind == EditKind::Observed ? QStringLiteral("Field")
                                                      : QStringLiteral("TargetField.Field"),
                           marks.join(QStringLiteral(", ")));
  }
  QList<COleVariant> params{COleVariant(p.code)};
  QString period;
  if (kind == EditKind::Observed) {
    period = QStringLiteral("(EDate IS Null OR EDate >= ?)");
    params << COleVariant(p.startDate);
  } else {
    period = QStringLiteral(
        "(Not ((SDate < ? AND EDate < ?) OR (SDate > ? AND EDate > ?)) OR (SDate < ? AND EDate IS "
        "NULL))");
    params << COleVariant(p.startDate) << COleVariant(p.startDate) << COleVariant(p.endDate)
           << COleVariant(p.endDate) << COleVariant(p.startDate);
  }
  params << COleVariant(p.num);
  params += coordinates(p);
  params += fields;
  return hasRow(weather_,
                kJoin + period + QStringLiteral(" AND (Num = ? AND (") + kSameCoordinates +
                    u')' + fieldClause + u')',
                params);
}

// The lowest number 1-6 that no observed point elsewhere has; 0 when none.
// Numbers outside 1-6 take no number away.
int LatLongCheck::freeNumber(const PointValues& p) {
  CDaoRecordset rows(&weather_);
  rows.Open(dbOpenSnapshot,
            QStringLiteral("SELECT DISTINCT Num FROM Location WHERE EDate IS NULL AND (Not (") +
                kSameCoordinates + QStringLiteral(")) ORDER BY Num"),
            coordinates(p), dbReadOnly);
  QSet<long> used;
  for (; !rows.IsEOF(); rows.MoveNext()) used.insert(rows.GetFieldValue(0).toLong());
  for (int number = ObservationSlots::kFirst; number <= ObservationSlots::kLast; ++number)
    if (!used.contains(number)) return number;
  return 0;
}

}  // namespace hv6
