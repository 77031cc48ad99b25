#include "app/logic/month_layout.h"

#include <algorithm>

#include "calendar/month_data.h"
#include "platform/date_time.h"

MonthShape ShapeOfMonth(int year, int month) {
  MonthShape shape;
  if (year < 2 || year > 9999 || month < 1 || month > 12) return shape;
  const int column = IsoNumber(Day::FromCivil(year, month, 1).DayOfWeek()) - 1;  // 0 = Monday ... 6 = Sunday
  shape.leadingDays = column;
  shape.daysInMonth = DaysInMonth(year, month);
  shape.rows = (column + shape.daysInMonth + kGridColumns - 1) / kGridColumns;
  shape.firstCell = Day::FromCivil(year, month, 1) - column;
  return shape;
}

Day CellDate(const MonthShape& shape, int index) {
  return shape.firstCell + index;
}

MonthDays LayOutMonthDays(int year, int month) { return LayOutMonthDays(year, month, kGridCells); }

MonthDays LayOutMonthDays(int year, int month, int cells, bool withAlmanac) {
  MonthDays out;
  MonthShape shape = ShapeOfMonth(year, month);
  out.rows = shape.rows;
  if (shape.rows == 0) return out;
  cells = std::clamp(cells, 0, kGridCells);
  MonthData data;
  data.Load(shape.firstCell, cells, withAlmanac);
  for (int i = 0; i < cells; ++i) BuildDayInfo(CellDate(shape, i), out.days[i], data);
  return out;
}
