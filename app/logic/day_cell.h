#pragma once
// What one cell of the month grid shows: images, badge, texts and colours, and what the day
// tooltip shows of it. Computed from the day's record alone, so the view only copies it into the
// cell's controls.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/logic/tooltip_fields.h"
#include "calendar/day_info.h"

struct DayCellLook {
  int width = 47;                // 46 in the last column and before a day of another month
  int height = 46;
  std::u16string normalImage;    // "day_n.png", "day_n46.png", "day_s.png", "select.png" or empty
  std::u16string badgeImage;     // "release.png" (day off), "work.png" (make-up day) or empty
  int tag = 0;                   // the day number
  std::u16string dayText;
  uint32_t dayColor = 0;         // ARGB
  std::u16string lunarText;      // DayCellLabel: at most three characters
  uint32_t lunarColor = 0;       // ARGB
  bool inMonth = false;
  bool today = false;
  bool selected = false;
};

inline constexpr uint32_t kDayTextColor = 0x00000000;
inline constexpr uint32_t kOtherMonthColor = 0xFF969696;
inline constexpr uint32_t kWeekendColor = 0xFFFF0000;
inline constexpr uint32_t kLunarDayColor = 0x00B7B7B7;
inline constexpr uint32_t kFestivalColor = 0x00009ACD;

// The look of the cell showing `day` at grid position `index` of month `month`; `next` is the
// record of the following cell (nullptr for the last). todayDay / selectedDay are day numbers of
// `month` to mark, or 0.
DayCellLook LookOfDayCell(const DayInfo& day, int index, const DayInfo* next, int month,
                          int todayDay, int selectedDay);

// The day tooltip's texts of a day with its reminder lines.
TooltipFields TooltipFieldsOf(const DayInfo& day, std::u16string_view reminders);

// The same as one data string, the form the window's state gives for tests:
// "date:Y年M月D日#week:星期X <lunar month and day>#holiday: <term> <festivals>#宜:…#忌:…"; on a
// computed statutory day off the holiday text starts with that note. ParseTooltipFields reads it
// back as TooltipFieldsOf has it (with TooltipRemindersPart's lines after it).
std::u16string DayDataString(const DayInfo& day);

// An almanac list for the tooltip: line breaks become blanks, and a text over 20 characters is cut
// before its last blank at position 20 or earlier (or at 20 when there is none).
std::u16string ShortenAlmanacText(std::u16string_view list);
