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

// The lunisolar date of a Gregorian yyyymmdd (computed for 1900-2199); the
// year is the one whose month 1 begins it. An invalid date or one outside
// that range gives all zeros.
LunarDate toLunar(long yyyymmdd);

// 0 先勝, 1 友引, 2 先負, 3 仏滅, 4 大安, 5 赤口: (lunar month + lunar day - 2)
// mod 6, so that the first day of months 1 and 7 is 先勝 (a leap month counts
// as its base month). -1 where toLunar has no date.
int rokuyo(long yyyymmdd);
