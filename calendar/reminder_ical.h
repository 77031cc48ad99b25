#pragma once
// The reminders as an iCalendar file (RFC 5545). iCalendar cannot repeat by the lunar calendar, so
// every occurrence is an event of its own; each carries its lunar date in DESCRIPTION, so that a
// calendar that knows nothing of it still shows it. Lines end with CRLF and are folded at 75
// octets, never inside a UTF-8 sequence.
#include <optional>
#include <string>
#include <vector>

#include "calendar/reminder_store.h"

inline constexpr int kICalendarYears = 10;

struct ICalendarExport {
  std::optional<Day> from;  // the first day exported; occurrences until kICalendarYears years later
  std::string stampUtc;    // DTSTAMP value, "YYYYMMDDTHHMMSSZ"
};

// UTF-8 text of a VCALENDAR with one VEVENT per occurrence from `from` through the day before
// the same date kICalendarYears later (an alarm the reminder's days of notice before it).
std::string RemindersToICalendar(const std::vector<Reminder>& reminders, const ICalendarExport& options);

// One content line folded as RFC 5545 3.1 asks, CRLF after each piece.
std::string FoldICalendarLine(std::string_view line);
// TEXT value escaping: backslash, semicolon, comma and line breaks.
std::string EscapeICalendarText(std::string_view utf8);
