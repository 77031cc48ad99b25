#pragma once
// The month view's grid: one Gregorian month laid out Monday first in 6 rows of 7 cells, with the
// days of the neighbouring months around it.
#include <array>

#include "calendar/day_info.h"
#include "platform/gregorian.h"

inline constexpr int kGridColumns = 7;
inline constexpr int kGridCells = 42;

// The arithmetic of a month's grid, without any day information.
struct MonthShape {
  int leadingDays = 0;   // days of the previous month before day 1 (0 ... 6)
  int daysInMonth = 0;
  int rows = 0;          // week rows holding days of the month (4, 5 or 6)
  Day firstCell;         // the day of cell 0, a Monday (when rows > 0)
};
// Zeroed for a month outside 1 ... 12 or a year the calendar cannot count (before 1).
MonthShape ShapeOfMonth(int year, int month);
// Day of grid cell `index` (0 ... 41) of the month.
Day CellDate(const MonthShape& shape, int index);

struct MonthDays {
  std::array<DayInfo, kGridCells> days;
  int rows = 0;
};
// The 42 records of the month's grid from the day-information builder, and the row count. What
// user.dat holds for them (almanac lists, the holiday arrangements of their years) is read once
// for the whole grid.
MonthDays LayOutMonthDays(int year, int month);
// The same for the first `cells` cells only (the ones a view shows); the rest stay empty. Without
// the almanac the suitable and avoid lists stay empty.
MonthDays LayOutMonthDays(int year, int month, int cells, bool withAlmanac = true);
