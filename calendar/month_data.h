#pragma once
// What the day-information builder reads from user.dat for a run of days (a month view's cells),
// read once for all of them: the almanac lists of every day and the holiday arrangements of the
// years the days belong to.
#include "calendar/almanac.h"
#include "calendar/holiday_arrangement.h"
#include "platform/gregorian.h"

class MonthData {
 public:
  // `dayCount` days from `first`: the almanac (skipped without it) and the arrangements of their
  // years and the year after the last, in one statement through the database worker.
  void Load(Day first, int dayCount, bool withAlmanac = true);

  const AlmanacRange& Almanac() const { return almanac_; }
  const HolidayYears& Holidays() const { return holidays_; }

 private:
  AlmanacRange almanac_;
  HolidayYears holidays_;
};
