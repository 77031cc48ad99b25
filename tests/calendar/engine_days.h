#pragma once
// Days as the calendar engine describes them, shared by its tests.
#include <gtest/gtest.h>

#include "calendar/ccalendar.h"

namespace tvtest {

// The engine's description of a supported Gregorian day.
inline CCalendar Calc(int y, int m, int d) {
  CCalendar cal;
  cal.Calculate(CalendarDate::Of(y, m, d));
  EXPECT_TRUE(cal.IsValid());
  return cal;
}

inline CalendarDate NextDay(const CalendarDate& d) {
  if (d.day < DaysInMonth(d.year, d.month)) return {d.year, d.month, d.day + 1, true};
  if (d.month < 12) return {d.year, d.month + 1, 1, true};
  return {d.year + 1, 1, 1, true};
}

}  // namespace tvtest
