#pragma once
// What a screen reader hears of the calendar window: each day cell's name (the date in full with the
// weekday, the lunar date, solar term, festivals and memorial days, and the day-off or make-up-day
// mark), description (the almanac's 宜 and 忌) and states; the grid's and the weather's names.
#include <string>
#include <string_view>

#include "calendar/day_info.h"

struct DayCellStates {
  bool selected = false;
  bool focused = false;
  bool today = false;
  int otherMonth = 0;  // -1: a day of the month before the one on show, 1: of the month after
};

struct DayAccess {
  std::u16string name;
  std::u16string description;
  DayCellStates states;
};

// "2026年12月8日 星期二，农历十月廿九，大雪，休", then "，今天" for today and "，上个月" or
// "，下个月" for a day of a neighbouring month. Description: "宜：祭祀、祈福；忌：动土" (the part
// whose list is empty left out).
DayAccess DescribeDayCell(const DayInfo& day, const DayCellStates& states);

// The grid: "2026年12月".
std::u16string GridAccessName(int year, int month);

// The weather panel: "上海 晴 15°C 空气质量 良" from the city, the icon's tool tip (its condition is
// the part before the first blank), the temperature and the air-quality badge's text; empty
// parts are left out.
std::u16string WeatherAccessName(std::u16string_view city, std::u16string_view toolTip,
                                 std::u16string_view temperature, std::u16string_view airText);
