#pragma once
// The weather of the demo year (a simple seasonal model of 岩手県: snow in
// winter, the rainy season from mid June to late July, summer thunder,
// autumn fog and typhoon rain) and the weather database's own rows.

#include <vector>

#include "install/demo/season.h"

class CDaoDatabase;

namespace hv6::demo {

// Three items for every day of the year; a few items stay unobserved.
std::vector<DayWeather> makeWeather(int year, quint32 seed);

// Weather rows (Date yyyymmdd, Item1-Item3) into either database.
void writeWeather(CDaoDatabase& db, const std::vector<DayWeather>& days);
// Item rows of the weather database: the retrieval goes on from the end
// of the demo year.
void writeWeatherItems(CDaoDatabase& weatherDb, int year);
// Two observation points near the farm, observed since the start of the
// year, with every field tied to the nearer one.
void writeObservationPoints(CDaoDatabase& weatherDb, int year);

}  // namespace hv6::demo
