#pragma once
// The day tooltip's five texts, read from a cell's data string ("key:value" parts joined by "#").
#include <string>
#include <string_view>

struct TooltipFields {
  std::u16string day;         // "date"
  std::u16string week;        // "week": weekday name, a blank, lunar month and day
  std::u16string holiday;     // "holiday", trimmed
  std::u16string suitable;    // "宜"
  std::u16string avoid;       // "忌"
  std::u16string reminders;   // "提醒": the day's reminders
  friend bool operator==(const TooltipFields&, const TooltipFields&) = default;
};

// Keys compare without regard to case; unknown keys are ignored; a part without ":" has an empty
// value; further ":" stay in the value. A key given twice keeps its last value.
TooltipFields ParseTooltipFields(std::u16string_view data);

// The part a day with reminders adds to its data string: "#提醒:" and the lines, a "#" in them
// written as the full-width "＃" so that it cannot end the part.
std::u16string TooltipRemindersPart(std::u16string_view lines);
