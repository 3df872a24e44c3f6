#pragma once
// The Japanese lunisolar calendar (旧暦) and the six-day cycle (六曜) from
// it, computed from new moons and principal solar terms in Japan Standard
// Time.

struct LunarDate {
  int year;
  int month;  // 1..12
  bool leap;  // a leap month (閏月)
  int day;    // 1..30
};

// The lunisolar date of a Gregorian yyyymmdd (valid at least 1980-2050).
LunarDate toLunar(long yyyymmdd);

// 0 先勝, 1 友引, 2 先負, 3 仏滅, 4 大安, 5 赤口: (lunar month + lunar day) mod 6.
int rokuyo(long yyyymmdd);
