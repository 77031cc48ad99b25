#include "app/logic/grid_keys.h"

#include <algorithm>

#include "app/logic/month_layout.h"
#include "app/logic/month_navigator.h"
#include "platform/date_time.h"

namespace {

int MonthIndex(const GridDay& d) { return d.year * 12 + (d.month - 1); }
constexpr int kFirstMonthIndex = kFirstYear * 12;
constexpr int kLastMonthIndex = kLastYear * 12 + 11;

GridDay InMonth(int monthIndex, int day) {
  GridDay d{monthIndex / 12, monthIndex % 12 + 1, 0};
  d.day = std::clamp(day, 1, DaysInMonth(d.year, d.month));
  return d;
}

GridDay AddDaysTo(const GridDay& from, int n) {
  const Day day = Day::FromCivil(from.year, from.month, from.day) + n;
  return {day.Year(), day.Month(), day.DayOfMonth()};
}

}  // namespace

GridDay SupportedGridDay(int year, int month, int day) {
  if (month < 1 || month > 12) month = 1;
  const int index = std::clamp(year * 12 + (month - 1), kFirstMonthIndex, kLastMonthIndex);
  if (index != year * 12 + (month - 1)) day = index == kFirstMonthIndex ? 1 : 31;
  return InMonth(index, day);
}

GridMove MoveGridSelection(const GridDay& from, GridKey key, bool bigStep, const SystemTime& today) {
  const GridDay start = SupportedGridDay(from.year, from.month, from.day);
  GridDay to = start;
  switch (key) {
    case GridKey::kLeft: to = AddDaysTo(start, -1); break;
    case GridKey::kRight: to = AddDaysTo(start, 1); break;
    case GridKey::kUp: to = AddDaysTo(start, -7); break;
    case GridKey::kDown: to = AddDaysTo(start, 7); break;
    case GridKey::kPageUp: to = InMonth(MonthIndex(start) - (bigStep ? 12 : 1), start.day); break;
    case GridKey::kPageDown: to = InMonth(MonthIndex(start) + (bigStep ? 12 : 1), start.day); break;
    case GridKey::kHome: to = SupportedGridDay(today.wYear, today.wMonth, today.wDay); break;
  }
  if (MonthIndex(to) < kFirstMonthIndex || MonthIndex(to) > kLastMonthIndex) to = start;
  GridMove move;
  move.day = to;
  const MonthShape shape = ShapeOfMonth(to.year, to.month);
  move.cell = shape.leadingDays + to.day - 1;
  move.rows = shape.rows;
  move.monthChanged = to.year != from.year || to.month != from.month;
  return move;
}
