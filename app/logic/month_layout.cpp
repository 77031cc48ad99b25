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
  SystemTime first{};
  first.wYear = static_cast<uint16_t>(year);
  first.wMonth = static_cast<uint16_t>(month);
  first.wDay = 1;
  AddDays(first, -column);
  first.wDayOfWeek = 1;  // Monday
  shape.firstCell = first;
  return shape;
}

SystemTime CellDate(const MonthShape& shape, int index) {
  SystemTime t = shape.firstCell;
  if (t.wYear == 0) return t;
  AddDays(t, index);
  t.wDayOfWeek = static_cast<uint16_t>((1 + index) % 7);
  return t;
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
