// The line under a day's number, on the days where a month begins: one rule for the calendar
// window's grid and tvcal's month view.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "app/logic/day_cell.h"
#include "app/logic/month_layout.h"
#include "app/tvcal/commands.h"
#include "app/tvcal/terminal_text.h"

namespace {

class TextCollector : public TextSink {
 public:
  void Write(std::string_view utf8) override { text.append(utf8); }
  std::string text;
};

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// tvcal's lunar lines of a month, the days of the month only, in order.
std::vector<std::string> TvcalLabels(int year, int month) {
  char arg[8];
  std::snprintf(arg, sizeof arg, "%04d-%02d", year, month);
  TvcalOptions options;
  options.today = Day::FromCivil(2000, 1, 1);
  TextCollector out, err;
  EXPECT_EQ(RunTvcal({"month", arg}, options, out, err), kExitOk) << err.text;
  std::istringstream in(out.text);
  std::vector<std::string> labels;
  bool grid = false, numbers = true;
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) {
      if (grid) break;  // the list of terms and festivals follows
      continue;
    }
    if (!grid) {
      grid = line.rfind("  一", 0) == 0;  // the weekday heads
      continue;
    }
    if (!numbers) {
      for (const std::string& w : Words(line)) labels.push_back(w);
    }
    numbers = !numbers;
  }
  return labels;
}

TEST(DayCellLabel, FirstDaysOfLunarMonthsReadAlikeInTheWindowAndInTvcal) {
  struct Case {
    int y, m, d;
    const char16_t* label;
    bool festival;
    const char* why;
  } const cases[] = {
      {2026, 12, 9, u"初一", false, "十一月初一: the day's name, not the month's"},
      {2033, 12, 22, u"初一", false, "闰十一月初一: a leap month's too"},
      {2023, 3, 22, u"初一", false, "闰二月初一 with 瑶族忌鸟节: a long first text falls back"},
      {2015, 12, 11, u"初一", false, "十一月初一 with a single long solar festival"},
      {2020, 6, 21, u"夏至", true, "a solar term on 五月初一"},
      {2024, 2, 10, u"春节", true, "a lunar festival on 一月初一"},
      {2016, 10, 1, u"国庆节", true, "a short solar festival on 九月初一"},
      {2033, 1, 1, u"元旦", true, "the short label first, on 十二月初一"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    DayInfo day;
    BuildDayInfoWithoutAlmanac(Day::FromCivil(c.y, c.m, c.d), day);
    ASSERT_EQ(day.lunarDayName, u"初一");
    bool festival = !c.festival;
    EXPECT_EQ(Utf8(DayCellLabel(day, &festival)), Utf8(c.label));
    EXPECT_EQ(festival, c.festival);

    // Every day of the month: the window's cells and tvcal's lines agree.
    const auto grid = LayOutMonthDays(c.y, c.m);
    std::vector<std::string> window;
    for (int i = 0; i < grid.rows * kGridColumns; ++i) {
      if (grid.days[i].date.Month() != c.m) continue;
      const DayInfo* next = i + 1 < kGridCells ? &grid.days[i + 1] : nullptr;
      window.push_back(Utf8(LookOfDayCell(grid.days[i], i, next, c.m, 0, 0).lunarText));
    }
    ASSERT_EQ(window.size(), static_cast<size_t>(DaysInMonth(c.y, c.m)));
    EXPECT_EQ(window[c.d - 1], Utf8(c.label));
    EXPECT_EQ(TvcalLabels(c.y, c.m), window);
  }
}

}  // namespace
