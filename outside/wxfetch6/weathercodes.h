#pragma once
// WMO weather codes (as the weather service gives them) and the calendar's
// weather pictures: 0 快晴, 1 晴れ, 2 薄曇り, 3 曇り, 4 霧, 5 小雨, 6 雨,
// 7 大雨, 8 雪, 9 雷雨.

#include <QList>

#include <optional>

namespace hv6::wxfetch {

// The picture of a WMO code; nothing for a code without one.
//   0 → 0; 1 → 1; 2 → 2; 3 → 3; 45, 48 → 4;
//   drizzle 51, 53, 55, 56, 57, slight rain 61, slight showers 80 → 5;
//   rain 63, freezing rain 66, showers 81 → 6;
//   heavy rain 65, 67, violent showers 82 → 7;
//   snow 71, 73, 75, 77, snow showers 85, 86 → 8;
//   thunderstorm 95, 96, 99 → 9.
std::optional<int> pictureOfWmo(int code);

// The WMO code of a part of the day from its hourly codes: when any hour
// has precipitation, fog aside (51 and above), the highest of those codes;
// otherwise the code most hours have (the higher one on a tie). Nothing
// without any hour.
std::optional<int> periodCode(const QList<int>& hourlyCodes);

// The part of the day of an hour: 0 morning (6-11 h), 1 afternoon
// (12-17 h), 2 night (18-23 h); -1 before 6 h.
int periodOfHour(int hour);

}  // namespace hv6::wxfetch
