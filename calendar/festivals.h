#pragma once
// The three compiled-in festival lists and their matching against a date.
//
// Entry text layout: positions 0-1 month, 2-3 day code, 4 marker ("*" = holiday star), 5... name
// (one or more names separated by single blanks).
//   fixed-date list: day code = day of month;
//   weekday-rule list: day code = week code (tens) and weekday digit 0 = Sunday ... 6 (units);
//   lunar list: lunar month and lunar day, day code 00 = last day of the lunar month.
#include <span>
#include <string>
#include <string_view>

#include "platform/gregorian.h"

struct FestivalEntry {
  int month = 0;
  int dayCode = 0;
  bool star = false;
  std::u16string_view name;  // points into the compiled-in entry text
};

// Parses one entry text (surrounding whitespace ignored).
FestivalEntry ParseFestivalEntry(std::u16string_view text);

std::span<const FestivalEntry> SolarFestivals();    // 143 fixed Gregorian dates, in date order
std::span<const FestivalEntry> WeekdayFestivals();  // 18 weekday rules
std::span<const FestivalEntry> LunarFestivals();    // 26 lunar dates

// Row (1 ... 6) of day d in a Sunday-first grid of month m of year y whose first row holds day 1.
int WeekRowOfMonth(int y, int m, int d);

// Solar festival text of Gregorian y-m-d falling on `weekday`: fixed-date names, then weekday-rule names, then 黑色星期五 on a Friday the 13th, joined by single blanks.
// `text` is replaced; `star` is set from the fixed-date entry and raised by a weekday-rule entry.
void MatchSolarFestivals(int y, int m, int d, Weekday weekday, std::u16string& text, int& star);

// Lunar festival of lunar month/day (the leap flag is not consulted); monthLength is the length
// of the current lunar month (29 or 30). A later matching entry replaces an earlier one; `star`
// is raised by a matching starred entry.
void MatchLunarFestival(int lunarMonth, int lunarDay, int monthLength, std::u16string& text,
                        int& star);
