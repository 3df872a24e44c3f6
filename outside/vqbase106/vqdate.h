#pragma once
// Dates as whole numbers yyyymmdd (year 1 to 9999, Gregorian calendar) and
// their Japanese-era and Western texts.
//
// Eras and their first days:
//   明治 M 1868-01-25 (明治元年1月1日 of the old calendar: the proclamation
//                      counted the era from the first day of that year)
//   大正 T 1912-07-30   昭和 S 1926-12-25   平成 H 1989-01-08   令和 R 2019-05-01
// Earlier dates have no era: the era forms fail for them.
//
// WarekiForm forms (2003-06-30, 2019-05-01):
//   0  "H.15/06/30"        "R.01/05/01"        always 10 single-byte characters;
//                                               era years above 99 fail
//   1  "H15.06.30"         "R01.05.01"         three digits from era year 100
//   2  "平成15年06月30日"  "令和01年05月01日"   zero padded
//   3  "平成15年6月30日"   "令和元年5月1日"     no padding, year 1 written 元
// SeirekiForm forms:
//   0  "2003/06/30"   1  "2003.06.30"   2  "2003年06月30日"   3  "2003年6月30日"
// HizukeForm: forms 0-3 are the era forms, kHizukeSeireki + 0-3 the Western
// ones.
//
// Functions returning int answer 0 on success and nonzero on failure; an
// out-parameter is left unchanged on failure.

#include <QString>

#include <limits>

class CVqdate {
 public:
  // Era numbers of ToConvWareki's code: era × 1000000 + year × 10000 + mm × 100 + dd.
  enum Era { kMeiji = 1, kTaisho = 2, kShowa = 3, kHeisei = 4, kReiwa = 5 };
  static constexpr int kHizukeSeireki = 10;
  // GetAmongtwoDate's answer when a date is invalid.
  static constexpr long kNoSpan = std::numeric_limits<long>::min();

  // Today as yyyymmdd.
  static int GetDate(long& out);
  // Days of the month; 0 for a month outside 1-12 or a year outside 1-9999.
  static int GetMaxDay(long year, long month);
  // 0 for a valid yyyymmdd date, nonzero otherwise.
  static int DateCheck(long date);
  // Days from `from` to `to`: positive when `to` is later, negative when it is
  // earlier (20031231 to 20040101 is 1); kNoSpan when either date is invalid.
  static long GetAmongtwoDate(long from, long to);

  static int WarekiForm(QString& out, long date, int form);
  static int SeirekiForm(QString& out, long date, int form);
  static int HizukeForm(QString& out, long date, int form);

  // yyyymmdd to the era code (20190501 gives 5010501); era years above 99 fail.
  static int ToConvWareki(long& out, long date);
  // The era code back to yyyymmdd; the date must lie inside its era.
  static int ToConvSeireki(long& out, long wareki);
  // The text of an era form (0-3; forms 2 and 3 read either padding) back to
  // yyyymmdd; surrounding blanks are ignored, the date must lie inside its era.
  static int ToConvSeireki(long& out, const QString& text, int form);
};
