#pragma once
// A picture attached to a calendar day, as the PictureLink row and the
// picture windows hold it, and the test of a chosen file's type.

#include <QString>

#include <array>

namespace hv6 {

struct PictureRecord {
  long code = 0;  // PictureLink.Code; 0 before the row exists
  int year = 0;
  int month = 0;
  int day = 0;
  QString path;
  QString title;
  QString memo;
  std::array<long, 3> levels{};  // 0 Bright, 1 Contrast, 2 Sharp
  long dispRate = 100;
  bool rateSet = false;  // false: no rate chosen, DispRate stays Null

  long date() const { return long(year) * 10000 + long(month) * 100 + day; }
  void setDate(long yyyymmdd);
  // The display rate as a row holds it: below 1 (Null reads as 0) is rate
  // 100 with no rate chosen.
  void setStoredRate(long stored);
};

// A new picture of a day: empty title and memo, every effect at its default
// level, rate 100 chosen.
PictureRecord newPicture(long date, const QString& path);

// The type test of an imported file: upper-cased, trailing blanks dropped,
// its last four characters are ".BMP", ".JPG" or "JPEG".
bool isPictureType(const QString& path);

}  // namespace hv6
