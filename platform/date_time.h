#pragma once
// Date arithmetic, time-stamp texts and the date-text parser on the local date-time record.
#include <optional>
#include <string>
#include <string_view>

#include "platform/gregorian.h"
#include "platform/system_time.h"

// "%4d-%02d-%02d %02d:%02d:%02d:%03d" and "%4d-%02d-%02d"; the A forms are narrow.
std::u16string FormatTimestamp(const SystemTime& t);
std::string FormatTimestampA(const SystemTime& t);
std::u16string FormatDate(const SystemTime& t);
std::string FormatDateA(const SystemTime& t);

// Month 1..12 and day within the month; the year is not tested.
bool IsValidDate(const SystemTime& t);
// IsValidDate plus hour < 24, minute and second < 60, millisecond < 1000.
bool IsValidDateTime(const SystemTime& t);

// Signed whole days from a to b (time of day ignored); 0 when either date is invalid.
int DaysBetween(const SystemTime& a, const SystemTime& b);
// Moves the date n days forward or backward; an invalid date is left alone.
void AddDays(SystemTime& t, int n);

// "yyyy-mm-dd[ hh[:mm[:ss[:mmm]]]]" by position; separators are not examined. Fails (result all
// zero) for a text under 10 characters, year 0, month outside 1..12 or day outside 1..31.
// Out-of-range time parts become 0. The day of week is left 0.
bool ParseDateText(std::string_view text, SystemTime& out);
bool ParseDateText(std::u16string_view text, SystemTime& out);

// --- Day at the edges: the local date-time record and the "YYYY-MM-DD" text ---
// The day of the record's year, month and day; nothing when they name no real day of the years
// 1 ... 9999.
std::optional<Day> DayOf(const SystemTime& t);
// The day of a clock reading (a clock's record always names a real day; its fields are taken as
// they are).
Day DayOfClock(const SystemTime& now);
// The record of a day: year, month, day and weekday (0 = Sunday), the time of day zero.
SystemTime SystemTimeOf(Day day);
// The day a text writes at `position` strictly as "YYYY-MM-DD" (four digits, '-', two digits,
// '-', two digits); nothing when the characters there are not in that shape or name no real day.
std::optional<Day> DayInDateText(std::u16string_view text, size_t position = 0);
std::optional<Day> DayInDateText(std::string_view text, size_t position = 0);
// A whole text that is exactly a "YYYY-MM-DD" day, as DayInDateText reads it.
std::optional<Day> DayOfDateText(std::u16string_view text);
std::optional<Day> DayOfDateText(std::string_view text);
// "YYYY-MM-DD" of a day (years below 1000 zero-padded); the A form is narrow.
std::u16string FormatDate(Day day);
std::string FormatDateA(Day day);
// "yyyymmdd" of a day: the almanac table's row key and iCalendar's DATE value.
std::u16string DateIdText(Day day);
std::string DateIdTextA(Day day);
