#pragma once
// Keeping "today" current in a window that stays open for weeks: when the next local midnight is
// due, and what a new day changes in the month on show.
#include <cstdint>

#include "app/logic/month_navigator.h"
#include "platform/system_time.h"

// The midnight timer fires this long after midnight, so that it never finds the old day still on.
inline constexpr uint32_t kMidnightMarginMs = 500;

// Milliseconds from `now` to the next local midnight plus the margin (at least the margin).
uint32_t MillisecondsToNextMidnight(const SystemTime& now);

// Year, month and day equal.
bool SameDay(const SystemTime& a, const SystemTime& b);

struct DayRenewal {
  bool newDay = false;        // `now` is another date than the one shown as today
  bool newYear = false;       // ... in another year (the holiday arrangement follows)
  bool monthFollows = false;  // the navigator moved on to today's month and day
};

// `shownToday` is the date the window showed as today. The month on show follows to `now`'s only
// when it showed the old today's month as today (the user had not navigated away); a month the
// user went to stays, with the holiday selector's entry.
DayRenewal RenewToday(const SystemTime& shownToday, const SystemTime& now, MonthNavigator& navigator);

// Whole seconds from `from` to `to` (negative when `to` is earlier), by the calendar.
long long SecondsBetween(const SystemTime& from, const SystemTime& to);

// True when a report of `last` (zero: none yet) is more than `maxAgeSeconds` away from `now`, in
// either direction (a clock set back makes its age unknown).
bool WeatherIsStale(const SystemTime& last, const SystemTime& now, int maxAgeSeconds);
