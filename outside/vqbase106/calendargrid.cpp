#include "outside/vqbase106/calendargrid.h"

#include <QDate>

#include <algorithm>

namespace hv6 {
namespace {

long toLong(const QDate& date) {
  return static_cast<long>(date.year()) * 10000 + date.month() * 100 + date.day();
}

QDate toDate(long yyyymmdd) {
  return QDate(static_cast<int>(yyyymmdd / 10000), static_cast<int>(yyyymmdd / 100 % 100),
               static_cast<int>(yyyymmdd % 100));
}

// Columns run from Sunday: Qt counts Monday 1 .. Sunday 7.
int columnOf(const QDate& date) { return date.dayOfWeek() % 7; }

}  // namespace

CalendarGrid::CalendarGrid(int year, int month, int day, CalendarDisplay display)
    : year_(std::clamp(year, 1, 9999)),
      month_(std::clamp(month, 1, 12)),
      day_(1),
      display_(display) {
  const int last = QDate(year_, month_, 1).daysInMonth();
  day_ = std::clamp(day, 1, last);
}

int CalendarGrid::rows() const { return display_ == CalendarDisplay::Week ? 1 : 6; }

long CalendarGrid::firstDate() const {
  const QDate anchor(year_, month_, display_ == CalendarDisplay::Week ? day_ : 1);
  return toLong(anchor.addDays(-columnOf(anchor)));
}

long CalendarGrid::dateAt(int row, int column) const {
  if (row < 0 || row >= rows() || column < 0 || column >= kColumns) return 0;
  return toLong(toDate(firstDate()).addDays(row * kColumns + column));
}

bool CalendarGrid::cellOf(long date, int& row, int& column) const {
  const QDate target = toDate(date);
  if (!target.isValid()) return false;
  const qint64 offset = toDate(firstDate()).daysTo(target);
  if (offset < 0 || offset >= static_cast<qint64>(rows()) * kColumns) return false;
  row = static_cast<int>(offset / kColumns);
  column = static_cast<int>(offset % kColumns);
  return true;
}

QList<CalendarCell> CalendarGrid::cells() const {
  QList<CalendarCell> out;
  const QDate first = toDate(firstDate());
  const int count = rows() * kColumns;
  out.reserve(count);
  for (int i = 0; i < count; ++i) {
    const QDate date = first.addDays(i);
    const bool inMonth = date.year() == year_ && date.month() == month_;
    out.append({toLong(date), i / kColumns, i % kColumns, inMonth});
  }
  return out;
}

}  // namespace hv6
