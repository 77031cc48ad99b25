#pragma once
// Day facts with what user.dat knows: the official days off and make-up working days of the
// loaded holiday arrangement, and the almanac's suitable/avoid lists.
#include <string>
#include <string_view>

#include "app/tvcal/day_facts.h"

class DatabaseDayFacts : public DayFactsProvider {
 public:
  bool Fill(const CalendarDate& date, DayFacts& facts) const override;
};

// Opens the database file at `path` and loads the holiday arrangement of `year` (the local
// year when `year` is 0). False, with
// nothing opened, when the file does not exist (the worker would otherwise create it).
bool OpenCalendarDatabase(std::u16string_view path, int year);
void CloseCalendarDatabase();

// Where tvcal looks for user.dat when no path is given: beside the executable.
std::u16string DefaultDatabasePath();
