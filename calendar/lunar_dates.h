#pragma once
// From a lunar date to its Gregorian day, over the engine's own year table (lunar years
// 1900 ... 2100), and the lunar date written the way the calendar shows it.
#include <optional>
#include <string>

#include "calendar/ccalendar.h"

// Days of month `month` (1 ... 12) of lunar year `year`, the leap month when `leap`: 29 or 30;
// 0 when the year is outside the table, the month outside 1 ... 12, or the year has no such leap
// month.
int LunarMonthLength(int year, int month, bool leap);

// The Gregorian day of a lunar date; nothing when the date does not exist (a day past the
// month's length, a leap month the year lacks, a year outside the table).
std::optional<Day> SolarDateOfLunar(const LunarDate& lunar);

// "2027年9月15日": a Gregorian day written the way the calendar shows it.
std::u16string GregorianDayText(Day day);

// "八月十五", "闰四月初十": the month (with 闰 for a leap month) and the day, without the year.
// Empty for a month or day out of range.
std::u16string LunarMonthDayText(const LunarDate& lunar);
