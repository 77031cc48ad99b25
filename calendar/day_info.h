#pragma once
// Everything shown for one day (cell, today header, tooltip), built from the lunar engine, the
// festival lists, the holiday arrangement and the almanac.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gregorian.h"

class MonthData;

struct DayInfo {
  Day date;                     // the day described
  Weekday weekday{};            // none (0) in a record not built by BuildDayInfo
  std::u16string lunarText;     // e.g. 甲辰年一月初一
  std::u16string yearGanZhi;
  std::u16string lunarMonthName;  // 一 ... 十二
  std::u16string lunarDayName;
  std::u16string zodiacAnimal;
  std::u16string suitable;      // 宜 names joined by "\r\n"
  std::u16string avoid;         // 忌 names joined by "\r\n"
  std::u16string shortLabel;    // short festival label, usually empty
  std::u16string lunarFestival;
  std::u16string solarTerm;
  std::u16string solarFestival;
  uint8_t restDay = 0;          // official day off
  uint8_t workDay = 0;          // official make-up working day
  uint8_t restEstimated = 0;    // the day off is a statutory one: the year's arrangement is not out
};

// Fills `info` for a day. A day the engine cannot convert keeps its date and weekday, with empty
// texts.
// With `data` (loaded for a run of days holding the date): the almanac lists and the day-off and
// make-up marks come from it, without any database work here.
void BuildDayInfo(Day date, DayInfo& info, const MonthData& data);
// A single day: the two almanac lookups through the database worker, and the marks of the
// arrangements of the date's year (one statement).
void BuildDayInfo(Day date, DayInfo& info);
DayInfo BuildDayInfo(Day date);

// Without the almanac and without database access: marked against the process-wide record only.
void BuildDayInfoWithoutAlmanac(Day date, DayInfo& info);

// Short label of a day from its "MM-DD" text and festival texts.
std::u16string ShortDayLabel(std::u16string_view monthDay, std::u16string_view lunarFestival,
                             std::u16string_view solarTerm, std::u16string_view solarFestival);

// The line a month cell shows under the day number, in the window's grid and in tvcal's: the first
// non-empty of short label, lunar festival, solar term and solar festival when it has at most
// three characters, else the lunar day name (初一 on the first day of a month, a leap month's
// too); never more than three characters. `festival` tells whether a festival or term was chosen.
std::u16string DayCellLabel(const DayInfo& day, bool* festival);

// A text of at most 25 characters stays; a longer one is cut before the last separator at
// positions 24 ... 2, or becomes empty when none lies there.
std::u16string ClipDayText(std::u16string_view text, char16_t separator);

// Official marks of a date against the current holiday record (a date listed both as a day off
// and as a make-up working day is both).
bool IsRestDay(Day date);
bool IsWorkDay(Day date);
