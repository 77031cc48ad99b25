#pragma once
// Where tvcal's views get the record of a day: the `DayInfo` the calendar window shows, so both
// label a cell alike (`DayCellLabel`). The plain provider knows the engine's names, terms and
// festivals; a richer provider adds official days off, make-up working days and the almanac's
// suitable/avoid lists. The views print whatever is filled in, so a richer provider needs no
// change to them.
#include <string>

#include "calendar/ccalendar.h"
#include "calendar/day_info.h"

// A day's whole almanac lists, items separated by blanks.
struct DayAlmanac {
  std::u16string suitable;  // 宜
  std::u16string avoid;     // 忌
};

class DayInfoProvider {
 public:
  virtual ~DayInfoProvider();
  // Fills `day` for the date; false when the engine refuses the date (only the date and the
  // weekday are filled then).
  virtual bool Fill(Day date, DayInfo& day) const;
  // The view is about to fill `dayCount` days from `first` (a month grid): a provider that reads
  // data may read it for all of them at once.
  virtual void Prepare(Day first, int dayCount) const;
  // The almanac lists of a day in full (`DayInfo` holds them cut to the window's tooltip); empty
  // without data.
  virtual DayAlmanac Almanac(Day date) const;
};

