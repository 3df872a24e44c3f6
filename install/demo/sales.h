#pragma once
// The farm's sales slips: market shipments of the tomato and cucumber
// harvests with buyers, grades and standards, weekly sales at the roadside
// station, rice sold to private customers all year, the rice and soybean
// crops to the JA, and reservation slips (AppType 1) for the new rice and a
// summer fair, which the calendar leaves out.

#include "install/demo/season.h"

class CDaoDatabase;

namespace hv6::demo {

// Slip and SlipDetails rows. Throws CDaoException.
void writeSales(CDaoDatabase& db, const Season& season, quint32 seed);

}  // namespace hv6::demo
