#pragma once
// The weather library's writes: its table in the weather database, the days
// of a point, the diary's Weather rows and Item.LastUpdate.

#include "outside/wxfetch6/response.h"

#include <QDate>
#include <QString>

class CDaoDatabase;

namespace hv6::wxfetch {

// Creates MeshWeather (and its indexes) when the weather database has no
// such table. Throws CDaoException.
void ensureMeshTable(CDaoDatabase& weather);

// The point with code 1 to 8 that is observed on the day (SDate at or before
// it, EDate Null, 0 or not before it) and comes first in Location; 0 when
// there is none. Throws CDaoException.
long firstObservedPoint(CDaoDatabase& weather, long yyyymmdd);

struct StoreTarget {
  long location = 0;    // Location.Code of the point
  QString diaryPath;    // the diary database whose Weather rows it fills; empty: none
};

// Stores the days before `today` that have any value, in one transaction
// over the weather database and (when named) the diary database:
//  - the point's MeshWeather row of each such day is replaced;
//  - the diary's Weather row of each day with at least one picture of its
//    three parts is replaced (Item1-Item3 the pictures, Null for a part
//    without one); other days keep their row;
//  - LastUpdate of every Item row that is earlier becomes the day after the
//    last day stored, at 00:00.
// Returns the number of days stored. Throws CDaoException, and then nothing
// is written.
int storePointDays(CDaoDatabase& weather, const StoreTarget& target, const DayMap& days,
                   const QDate& today);

}  // namespace hv6::wxfetch
