#pragma once
// Days as the calendar engine describes them, shared by its tests.
#include <gtest/gtest.h>

#include "calendar/ccalendar.h"

namespace tvtest {

// The engine's description of a supported Gregorian day.
inline CCalendar Calc(int y, int m, int d) {
  CCalendar cal;
  cal.Calculate(Day::FromCivil(y, m, d));
  EXPECT_TRUE(cal.IsValid());
  return cal;
}

}  // namespace tvtest
