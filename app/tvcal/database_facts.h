#pragma once
// Day records with what user.dat knows: the official days off and make-up working days of the
// day's own year, and the almanac's suitable/avoid lists.
#include <string>
#include <string_view>

#include "app/tvcal/day_info_provider.h"
#include "calendar/month_data.h"

// Reads what user.dat knows for a month at a time: the run of days the view prepared, or else the
// Gregorian month of the date asked for.
class DatabaseDayInfo : public DayInfoProvider {
 public:
  bool Fill(Day date, DayInfo& day) const override;
  void Prepare(Day first, int dayCount) const override;
  DayAlmanac Almanac(Day date) const override;

 private:
  mutable MonthData data_;
  mutable int firstDay_ = 0;  // DaysSince1970 of the loaded run's first day
  mutable int dayCount_ = 0;
  // Has the run of days loaded hold the date (else loads the date's month).
  void Cover(Day date) const;
};

// What became of opening the database.
struct CalendarDatabase {
  enum State {
    kReady,     // open, the arrangement loaded: use DatabaseDayInfo
    kBusy,      // another program holds the file's lock: nothing opened, nothing waited for
    kUnusable,  // missing, not a database, damaged or without its tables: nothing opened
  } state = kUnusable;
  std::u16string problem;  // kBusy and kUnusable: what is wrong, naming the file
};

// Opens the database file at `path` (never creating it) and loads the holiday arrangement of
// `year` (the local year when `year` is 0). Waits for another program's lock at most busyWaitMs.
CalendarDatabase OpenCalendarDatabase(std::u16string_view path, int year, int busyWaitMs);
// Closes it; false when statements failed while it was in use (problem says which).
bool CloseCalendarDatabase(std::u16string* problem);

// Where tvcal looks for user.dat when no path is given: beside the executable.
std::u16string DefaultDatabasePath();
