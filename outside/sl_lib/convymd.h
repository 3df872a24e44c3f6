#pragma once
// Dates of the sales windows: whole numbers yyyymmdd, shown in the
// company's date style (S_COMPANY::dateStyle).

#include <QString>

namespace sl {

// The company's date styles.
enum DateStyle { kDateWestern = 0, kDateEra = 1 };

class CConvYmd {
 public:
  // Today as yyyymmdd.
  static long GetNowDate();
  // A date in a date style: kDateWestern "2026/12/08", kDateEra "R.08/12/08".
  // Empty for an invalid date (0 included) or a date the style cannot write.
  static QString ConvSpDate(long date, int style);
  // A date text in a date style back to yyyymmdd ("2026/12/08" or
  // "20261208" for kDateWestern; the era forms for kDateEra). Returns 0 on
  // success; `out` is left unchanged on failure.
  static int ConvSeireki(const QString& text, int style, long& out);
  // The era code (era × 1000000 + year × 10000 + mm × 100 + dd) of a date and
  // back: ConvWareki(20190501) is 5010501.
  static int ConvWareki(long date, long& out);
  static int ConvSeireki(long wareki, long& out);
};

}  // namespace sl
