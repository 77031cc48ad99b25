#pragma once
// What tvcal knows about one day. The engine gives the lunar date, names, terms and festivals;
// the plain provider adds the short festival label; a richer provider can add official days off,
// make-up working days and the almanac's suitable/avoid lists. The views print whatever is
// filled in, so a richer provider needs no change to them.
#include <string>

#include "calendar/ccalendar.h"

struct DayFacts {
  CCalendar cal;               // the engine's results for the day
  int weekday = 0;             // 1 = Monday ... 7 = Sunday
  std::u16string shortLabel;   // short festival label (元旦, 情人节 ...), usually empty
  bool restDay = false;        // official day off
  bool workDay = false;        // official make-up working day
  bool restEstimated = false;  // the day off is computed: the year's arrangement is not out yet
  std::u16string suitable;     // almanac 宜, items separated by blanks
  std::u16string avoid;        // almanac 忌
};

class DayFactsProvider {
 public:
  virtual ~DayFactsProvider();
  // Fills `facts` for the date; false (facts reset) when the engine refuses the date.
  virtual bool Fill(const CalendarDate& date, DayFacts& facts) const;
  // The view is about to fill `dayCount` days from `first` (a month grid): a provider that reads
  // data may read it for all of them at once.
  virtual void Prepare(const CalendarDate& first, int dayCount) const;
};

// The text a month-grid cell shows under the day number: the first non-empty of short label,
// lunar festival, solar term and solar festival when it has at most three characters, else the
// lunar day name (the month name with 月, and 闰 in a leap month, on the first lunar day).
// `highlighted` tells whether a festival or term was chosen.
std::u16string CellText(const DayFacts& facts, bool* highlighted);

// Lunar month and day as text, e.g. 一月初一, 闰二月廿九.
std::u16string LunarMonthDayText(const CCalendar& cal);
