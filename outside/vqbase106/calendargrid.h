#pragma once
// Which date is in which cell of the calendar: 7 columns from Sunday to
// Saturday; the month display has 6 week rows starting with the week of
// the 1st, the week display the one row of the selected day.

#include <QList>

namespace hv6 {

enum class CalendarDisplay { Month = 1, Week = 2 };

struct CalendarCell {
  long date;          // yyyymmdd
  int row;
  int column;         // 0 Sunday .. 6 Saturday
  bool inShownMonth;  // false for the neighbouring months' days
};

class CalendarGrid {
 public:
  static constexpr int kColumns = 7;

  CalendarGrid(int year, int month, int day, CalendarDisplay display);

  int rows() const;  // 6 or 1
  long dateAt(int row, int column) const;
  // False when the date is not in any cell.
  bool cellOf(long date, int& row, int& column) const;
  QList<CalendarCell> cells() const;

  int year() const { return year_; }
  int month() const { return month_; }
  int day() const { return day_; }
  CalendarDisplay display() const { return display_; }

 private:
  long firstDate() const;  // the date of row 0, column 0
  int year_;
  int month_;
  int day_;
  CalendarDisplay display_;
};

}  // namespace hv6
