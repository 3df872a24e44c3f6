#include "outside/vqbase106/calendargrid.h"

#include <gtest/gtest.h>

using hv6::CalendarDisplay;
using hv6::CalendarGrid;

namespace {

CalendarGrid month(int year, int mon) { return CalendarGrid(year, mon, 1, CalendarDisplay::Month); }

}  // namespace

TEST(CalendarGridMonth, FirstRowStartsOnTheSundayOfTheFirstsWeek) {
  // 2024-05-01 is a Wednesday: Sunday of that week is 2024-04-28.
  const CalendarGrid grid = month(2024, 5);
  EXPECT_EQ(grid.rows(), 6);
  EXPECT_EQ(grid.dateAt(0, 0), 20240428L);
  EXPECT_EQ(grid.dateAt(0, 3), 20240501L);
  EXPECT_EQ(grid.dateAt(5, 6), 20240608L);
  // A month starting on Sunday has the 1st in the very first cell.
  EXPECT_EQ(month(2023, 10).dateAt(0, 0), 20231001L);
  // Saturday start: the 1st is the last cell of row 0.
  EXPECT_EQ(month(2022, 10).dateAt(0, 6), 20221001L);
}

TEST(CalendarGridMonth, NeighbouringMonthsAcrossYearEnds) {
  const QList<hv6::CalendarCell> jan = month(2025, 1).cells();
  ASSERT_EQ(jan.size(), 42);
  // 2025-01-01 is a Wednesday: three December days before it.
  EXPECT_EQ(jan[0].date, 20241229L);
  EXPECT_FALSE(jan[0].inShownMonth);
  EXPECT_TRUE(jan[3].inShownMonth);
  EXPECT_EQ(jan[33].date, 20250131L);
  EXPECT_FALSE(jan[34].inShownMonth);
  EXPECT_EQ(jan[41].date, 20250208L);

  const CalendarGrid dec = month(2024, 12);
  EXPECT_EQ(dec.dateAt(5, 6), 20250111L);
  int row = -1, column = -1;
  ASSERT_TRUE(dec.cellOf(20250101L, row, column));
  EXPECT_EQ(row, 4);
  EXPECT_EQ(column, 3);
}

TEST(CalendarGridMonth, LeapYearFebruary) {
  int row = -1, column = -1;
  ASSERT_TRUE(month(2024, 2).cellOf(20240229L, row, column));
  EXPECT_EQ(column, 4);  // Thursday
  EXPECT_EQ(month(2024, 2).dateAt(row, column + 1), 20240301L);
  EXPECT_EQ(month(2023, 2).dateAt(4, 3), 20230301L);
  // February 2015 starts on Sunday and fills exactly four rows.
  EXPECT_EQ(month(2015, 2).dateAt(3, 6), 20150228L);
  EXPECT_EQ(month(2015, 2).dateAt(4, 0), 20150301L);
  // 2100 is not a leap year, 2000 is.
  EXPECT_FALSE(month(2100, 2).cellOf(21000229L, row, column));
  EXPECT_TRUE(month(2000, 2).cellOf(20000229L, row, column));
}

TEST(CalendarGridMonth, CellOfRejectsDatesOutsideTheGrid) {
  const CalendarGrid grid = month(2024, 5);
  int row = 9, column = 9;
  EXPECT_FALSE(grid.cellOf(20240427L, row, column));
  EXPECT_FALSE(grid.cellOf(20240609L, row, column));
  EXPECT_FALSE(grid.cellOf(20240532L, row, column));
  EXPECT_EQ(row, 9);
  EXPECT_EQ(grid.dateAt(6, 0), 0L);
  EXPECT_EQ(grid.dateAt(0, 7), 0L);
  EXPECT_EQ(grid.dateAt(-1, 0), 0L);
}

TEST(CalendarGridMonth, CellsAndLookupsAgree) {
  const CalendarGrid grid = month(2030, 3);
  for (const hv6::CalendarCell& cell : grid.cells()) {
    EXPECT_EQ(grid.dateAt(cell.row, cell.column), cell.date);
    int row = -1, column = -1;
    ASSERT_TRUE(grid.cellOf(cell.date, row, column));
    EXPECT_EQ(row, cell.row);
    EXPECT_EQ(column, cell.column);
    EXPECT_EQ(cell.inShownMonth, cell.date / 100 == 203003L);
  }
}

TEST(CalendarGridWeek, OneRowOfTheSelectedDayAcrossMonthEnd) {
  // 2024-12-31 is a Tuesday: the week runs 12-29 .. 2025-01-04.
  const CalendarGrid grid(2024, 12, 31, CalendarDisplay::Week);
  EXPECT_EQ(grid.rows(), 1);
  const QList<hv6::CalendarCell> cells = grid.cells();
  ASSERT_EQ(cells.size(), 7);
  EXPECT_EQ(cells[0].date, 20241229L);
  EXPECT_EQ(cells[6].date, 20250104L);
  EXPECT_TRUE(cells[2].inShownMonth);
  EXPECT_FALSE(cells[3].inShownMonth);
  EXPECT_EQ(grid.dateAt(1, 0), 0L);
  // A selected Sunday starts its own row.
  EXPECT_EQ(CalendarGrid(2024, 6, 2, CalendarDisplay::Week).dateAt(0, 0), 20240602L);
}

TEST(CalendarGridWeek, DayBeyondTheMonthIsClamped) {
  const CalendarGrid grid(2023, 2, 31, CalendarDisplay::Week);
  EXPECT_EQ(grid.day(), 28);
  EXPECT_EQ(grid.dateAt(0, 2), 20230228L);
  EXPECT_EQ(CalendarGrid(2023, 2, 0, CalendarDisplay::Week).day(), 1);
}
