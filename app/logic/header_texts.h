#pragma once
// Texts of the window's header: today's dates and the clock.
#include <string>

#include "calendar/day_info.h"
#include "platform/system_time.h"

// "2024年2月10日 周六".
std::u16string WorldDayText(const DayInfo& today);
// Zodiac animal, 年, lunar month, 月, lunar day: "龙年一月初一".
std::u16string ChineseDayText(const DayInfo& today);

struct ClockTexts {
  std::u16string hour;    // "00" … "23"
  std::u16string minute;  // "00" … "59"
  std::u16string second;
  friend bool operator==(const ClockTexts&, const ClockTexts&) = default;
};
ClockTexts ClockTextsOf(const SystemTime& now);
