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
  friend bool operator==(const TooltipFields&, const TooltipFields&) = default;
};

// Keys compare without regard to case; unknown keys are ignored; a part without ":" has an empty
// value; further ":" stay in the value. A key given twice keeps its last value.
TooltipFields ParseTooltipFields(std::u16string_view data);
