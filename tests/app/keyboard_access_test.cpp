// The month grid under the keyboard (one table of keys and where they lead) and what a screen
// reader hears of each day cell, checked over a whole year of day information.
#include <gtest/gtest.h>

#include <string>

#include "app/logic/access_texts.h"
#include "app/logic/grid_keys.h"
#include "app/logic/month_layout.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "tests/support/dates.h"

namespace {

using tvtest::Date;

struct KeyCase {
  const char* what;
  GridDay from;
  GridKey key;
  bool bigStep;
  GridDay to;
  int cell;
  int rows;
  bool monthChanged;
};

TEST(GridKeys, EveryKeyAtMonthYearAndRangeEdges) {
  const SystemTime today = Date(2026, 12, 8);
  using K = GridKey;
  const KeyCase cases[] = {
      {"right within the month", {2026, 12, 8}, K::kRight, false, {2026, 12, 9}, 9, 5, false},
      {"left over the first", {2024, 3, 1}, K::kLeft, false, {2024, 2, 29}, 31, 5, true},
      {"right over the last", {2024, 5, 31}, K::kRight, false, {2024, 6, 1}, 5, 5, true},
      {"down into a six-row month", {2025, 5, 29}, K::kDown, false, {2025, 6, 5}, 10, 6, true},
      {"up out of a six-row month", {2025, 6, 3}, K::kUp, false, {2025, 5, 27}, 29, 5, true},
      {"down into a four-row month", {2021, 1, 30}, K::kDown, false, {2021, 2, 6}, 5, 4, true},
      {"up over new year", {2024, 1, 3}, K::kUp, false, {2023, 12, 27}, 30, 5, true},
      {"page up keeps the day", {2024, 5, 20}, K::kPageUp, false, {2024, 4, 20}, 19, 5, true},
      {"page up to a shorter month", {2024, 3, 31}, K::kPageUp, false, {2024, 2, 29}, 31, 5, true},
      {"page down to a shorter month", {2023, 1, 31}, K::kPageDown, false, {2023, 2, 28}, 29, 5, true},
      {"page down over new year", {2024, 12, 15}, K::kPageDown, false, {2025, 1, 15}, 16, 5, true},
      {"shift+page up, 29 February", {2024, 2, 29}, K::kPageUp, true, {2023, 2, 28}, 29, 5, true},
      {"shift+page down", {2024, 5, 20}, K::kPageDown, true, {2025, 5, 20}, 22, 5, true},
      {"home goes to today", {1990, 1, 1}, K::kHome, false, {2026, 12, 8}, 8, 5, true},
      {"home in today's month", {2026, 12, 30}, K::kHome, false, {2026, 12, 8}, 8, 5, false},
      // The first and last supported months.
      {"left at the first day", {1950, 1, 1}, K::kLeft, false, {1950, 1, 1}, 6, 6, false},
      {"up in the first week", {1950, 1, 5}, K::kUp, false, {1950, 1, 5}, 10, 6, false},
      {"page up in the first month", {1950, 1, 20}, K::kPageUp, false, {1950, 1, 20}, 25, 6, false},
      {"shift+page up in the first year", {1950, 6, 1}, K::kPageUp, true, {1950, 6, 1}, 3, 5, false},
      {"page up to the first month", {1950, 2, 15}, K::kPageUp, false, {1950, 1, 15}, 20, 6, true},
      {"right at the last day", {2050, 12, 31}, K::kRight, false, {2050, 12, 31}, 33, 5, false},
      {"down in the last week", {2050, 12, 28}, K::kDown, false, {2050, 12, 28}, 30, 5, false},
      {"page down in the last month", {2050, 12, 1}, K::kPageDown, false, {2050, 12, 1}, 3, 5, false},
      {"shift+page down in the last year", {2050, 3, 1}, K::kPageDown, true, {2050, 3, 1}, 1, 5, false},
      {"right to the last day", {2050, 12, 30}, K::kRight, false, {2050, 12, 31}, 33, 5, false},
  };
  for (const KeyCase& c : cases) {
    const GridMove move = MoveGridSelection(c.from, c.key, c.bigStep, today);
    EXPECT_EQ(move.day, c.to) << c.what << ": " << move.day.year << "-" << move.day.month << "-" << move.day.day;
    EXPECT_EQ(move.cell, c.cell) << c.what;
    EXPECT_EQ(move.rows, c.rows) << c.what;
    EXPECT_EQ(move.monthChanged, c.monthChanged) << c.what;
    // The cell index and the grid agree.
    EXPECT_EQ(CellDate(ShapeOfMonth(c.to.year, c.to.month), move.cell).DayOfMonth(), c.to.day) << c.what;
  }
  // Today outside the supported months: Home stops at the nearest end.
  EXPECT_EQ(MoveGridSelection({2000, 1, 1}, K::kHome, false, Date(2061, 3, 4)).day, (GridDay{2050, 12, 31}));
  EXPECT_EQ(MoveGridSelection({2000, 1, 1}, K::kHome, false, Date(1949, 3, 4)).day, (GridDay{1950, 1, 1}));
}

std::string Narrow(const std::u16string& s) { return ToNarrow(s, kCodePageUtf8); }

bool Contains(const std::u16string& text, std::u16string_view part) { return text.find(part) != std::u16string::npos; }

TEST(DayAccess, NamesOfAWholeYearFollowTheDayInformation) {
  static constexpr std::u16string_view weekdays[] = {u"星期一", u"星期二", u"星期三", u"星期四",
                                                      u"星期五", u"星期六", u"星期日"};
  int days = 0;
  for (int month = 1; month <= 12; ++month) {
    MonthDays grid = LayOutMonthDays(2026, month, kGridCells, false);
    for (int i = 0; i < grid.rows * kGridColumns; ++i) {
      DayInfo day = grid.days[i];
      const int shift = day.date.Month() == month ? 0 : (i < 7 ? -1 : 1);
      day.restDay = day.date.DayOfMonth() % 5 == 0;  // marks the tests choose: both, either, neither
      day.workDay = day.date.DayOfMonth() % 7 == 0;
      const DayAccess a = DescribeDayCell(day, {false, false, false, shift});
      const std::u16string date = IntToText(day.date.Year()) + u"年" + IntToText(day.date.Month()) +
                                  u"月" + IntToText(day.date.DayOfMonth()) + u"日 " + std::u16string(weekdays[i % 7]);
      ASSERT_EQ(a.name.substr(0, date.size()), date) << i;
      EXPECT_TRUE(Contains(a.name, u"，农历" + day.lunarMonthName + u"月" + day.lunarDayName)) << i;
      for (std::u16string part : {day.solarTerm, day.lunarFestival, day.solarFestival}) {
        // Bracketed notes ("[1994]") are not read out.
        for (size_t open = part.find(u'['); open != std::u16string::npos; open = part.find(u'[')) {
          part.erase(open, part.find(u']', open) - open + 1);
        }
        size_t start = 0;
        while (start < part.size()) {  // every name of the text, one by one
          size_t end = std::min(part.find(u' ', start), part.size());
          if (end > start) {
            EXPECT_TRUE(Contains(a.name, u"，" + part.substr(start, end - start))) << Narrow(a.name);
          }
          start = end + 1;
        }
      }
      EXPECT_FALSE(Contains(a.name.substr(date.size()), u" ")) << "no raw blanks after the weekday";
      EXPECT_EQ(Contains(a.name, u"，班"), day.workDay != 0);
      EXPECT_EQ(Contains(a.name, u"，休"), day.restDay && !day.workDay);
      EXPECT_EQ(Contains(a.name, u"上个月"), shift < 0);
      EXPECT_EQ(Contains(a.name, u"下个月"), shift > 0);
      EXPECT_TRUE(a.description.empty());
      if (shift == 0) ++days;
    }
  }
  EXPECT_EQ(days, 365);
}

TEST(DayAccess, ExactNamesDescriptionsAndStates) {
  MonthDays december = LayOutMonthDays(2026, 12, kGridCells, false);
  DayInfo day = december.days[7];  // 7 December 2026, 大雪
  EXPECT_EQ(DescribeDayCell(day, {}).name, u"2026年12月7日 星期一，农历十月廿九，大雪，国际民航日");
  day = december.days[8];  // 8 December 2026
  day.restDay = 1;
  day.suitable = u"祭祀\r\n祈福\r\n";
  day.avoid = u"动土";
  DayAccess a = DescribeDayCell(day, {true, true, true, 0});
  EXPECT_EQ(a.name, u"2026年12月8日 星期二，农历十月三十，休，今天");
  EXPECT_EQ(a.description, u"宜：祭祀、祈福；忌：动土");
  EXPECT_TRUE(a.states.selected && a.states.focused && a.states.today);
  day.suitable.clear();
  EXPECT_EQ(DescribeDayCell(day, {}).description, u"忌：动土");

  MonthDays february = LayOutMonthDays(2026, 2, kGridCells, false);
  DayInfo newYear = february.days[ShapeOfMonth(2026, 2).leadingDays + 16];  // 17 February
  newYear.restDay = 1;  // as the arrangement of the year has it
  newYear.workDay = 0;
  EXPECT_EQ(DescribeDayCell(newYear, {}).name, u"2026年2月17日 星期二，农历一月初一，春节，休");
  // A day the engine could not convert still has its date.
  DayInfo bare;
  bare.date = Day::FromCivil(2026, 1, 2);
  bare.weekday = Weekday::kFriday;
  EXPECT_EQ(DescribeDayCell(bare, {false, false, false, 1}).name, u"2026年1月2日 星期五，下个月");

  EXPECT_EQ(GridAccessName(2026, 12), u"2026年12月");
  EXPECT_EQ(WeatherAccessName(u"上海", u"晴 东风3级", u"15°C", u" 空气质量 良"), u"上海 晴 15°C 空气质量 良");
  EXPECT_EQ(WeatherAccessName(u"北京", u"多云", u"", u" 轻度污染 120"), u"北京 多云 空气质量 轻度污染 120");
  EXPECT_EQ(WeatherAccessName(u"北京", u"", u"", u""), u"北京");
}

}  // namespace
