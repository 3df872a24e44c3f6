#pragma once
// The checks of dialog 145 "緯度経度の設定" when OK is pressed, without
// widgets: the coordinate ranges, the period, the overlap with other points
// and, for a new point, the choice of its observation number.

#include "weather/fieldlocation.h"

class CDaoDatabase;

namespace hv6 {

// The message of the first coordinate or period fault in the order OK
// checks them, 0 when there is none: latitude degrees 0-90 (2233), its
// minutes (2234) and seconds (2238) 0-59 and 0 at 90 degrees, longitude
// degrees 0-180 (2235), its minutes (2236) and seconds (2239) 0-59 and 0
// at 180 degrees, an end date not before the start (2613).
long pointValuesFault(const PointValues& point);

class LatLongCheck {
 public:
  // How the point is edited: a new point (code 0), a point that stays
  // observed, or one whose observation ends.
  enum class EditKind { New = 0, Observed = 1, Ending = 2 };

  explicit LatLongCheck(CDaoDatabase& weather) : weather_(weather) {}

  static EditKind kindOf(const PointValues& point);

  // OK's checks in order; the first failure shows its message and gives
  // false. A point overlaps (2237) when another point observed in its
  // period has its number and coordinates or one of its fields; a new
  // point when a point observed from its start on has its coordinates. A
  // new point then gets the lowest observation number 1-6 that no other
  // observed point has (2231 when all six are taken). A database error is
  // shown and gives false.
  bool accept(PointValues& point);

 private:
  bool overlaps(const PointValues& point);
  int freeNumber(const PointValues& point);

  CDaoDatabase& weather_;
};

}  // namespace hv6
