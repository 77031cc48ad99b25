// The month grid's shape, its cells' looks and data strings, and the tooltip reading them back.
#include <gtest/gtest.h>

#include "app/logic/day_cell.h"
#include "app/logic/month_layout.h"
#include "app/logic/tooltip_fields.h"

namespace {

struct Case {
  int year, month, rows, leading;
};

TEST(MonthShape, RowsAndLeadingDays) {
  const Case cases[] = {
      {2021, 2, 4, 0},  // common February beginning on Monday
      {2024, 3, 5, 4},  // begins on Friday
      {2024, 6, 5, 5},  // begins on Saturday, 30 days
      {2025, 3, 6, 5},  // 31 days beginning on Saturday
      {2025, 6, 6, 6},  // begins on Sunday: six days before it
      {2024, 1, 5, 0},  // begins on Monday: none before it
      {2024, 2, 5, 3},  // leap February
  };
  for (const Case& c : cases) {
    MonthShape s = ShapeOfMonth(c.year, c.month);
    EXPECT_EQ(s.rows, c.rows) << c.year << "-" << c.month;
    EXPECT_EQ(s.leadingDays, c.leading) << c.year << "-" << c.month;
    const Day first = CellDate(s, c.leading);
    EXPECT_EQ(first.DayOfMonth(), 1);
    EXPECT_EQ(first.Month(), c.month);
    EXPECT_EQ(SundayZeroNumber(first.DayOfWeek()), (c.leading + 1) % 7);
  }
  EXPECT_EQ(ShapeOfMonth(2024, 13).rows, 0);
  EXPECT_EQ(ShapeOfMonth(2024, 0).rows, 0);
}

TEST(MonthShape, GridRunsIntoNeighbouringMonthsAndYears) {
  MonthShape june = ShapeOfMonth(2025, 6);
  const Day c0 = CellDate(june, 0);
  EXPECT_EQ(c0, Day::FromCivil(2025, 5, 26));
  EXPECT_EQ(c0.DayOfWeek(), Weekday::kMonday);

  // The limits of the year selector reach into 1949 and 2051.
  EXPECT_EQ(CellDate(ShapeOfMonth(1950, 1), 0), Day::FromCivil(1949, 12, 26));
  const Day after = CellDate(ShapeOfMonth(2050, 12), 41);
  EXPECT_EQ(after.Year(), 2051);
  EXPECT_EQ(after.Month(), 1);
  EXPECT_EQ(after.DayOfWeek(), Weekday::kSunday) << "the last cell is a Sunday";
}

TEST(MonthShape, LayOutFillsTheRecordsInOrder) {
  MonthDays grid = LayOutMonthDays(2050, 12);
  EXPECT_EQ(grid.rows, 5);
  for (int i = 0; i < kGridCells; ++i) {
    EXPECT_EQ(grid.days[i].date, CellDate(ShapeOfMonth(2050, 12), i)) << i;
    EXPECT_EQ(IsoNumber(grid.days[i].weekday), i % 7 + 1) << i;
  }
  EXPECT_FALSE(grid.days[41].lunarText.empty()) << "2051 is inside the engine's range";
  MonthDays partial = LayOutMonthDays(2024, 3, 5);
  EXPECT_EQ(partial.days[4].date.DayOfMonth(), 1);
  EXPECT_EQ(partial.days[5].weekday, Weekday{}) << "cells after the count stay empty";
  EXPECT_TRUE(partial.days[5].lunarText.empty()) << "cells after the count stay empty";
  MonthDays quick = LayOutMonthDays(2024, 2, 10, false);
  EXPECT_FALSE(quick.days[9].lunarText.empty()) << "everything but the almanac is there";
  EXPECT_TRUE(quick.days[9].suitable.empty());
}

DayInfo InfoOf(int y, int m, int d, int weekday) {
  DayInfo info;
  info.date = Day::FromCivil(y, m, d);
  info.weekday = static_cast<Weekday>(weekday);
  info.lunarText = u"甲辰年一月初一";
  info.lunarDayName = u"初一";
  return info;
}

TEST(DayCell, DataStringCarriesEveryPartInOrder) {
  DayInfo d = InfoOf(2024, 2, 10, 6);
  d.lunarFestival = u"春节";
  d.solarTerm = u"";
  d.solarFestival = u"情人节 测试节";
  d.suitable = u"祭祀\r\n祈福\r\n求嗣";
  d.avoid = u"动土";
  EXPECT_EQ(DayDataString(d),
            u"date:2024年2月10日#week:星期六 一月初一#holiday: 情人节 测试节 春节#宜:祭祀 祈福 求嗣#忌:动土");

  DayInfo plain = InfoOf(2024, 2, 12, 1);
  plain.lunarText = u"甲辰年正月初三";
  EXPECT_EQ(DayDataString(plain), u"date:2024年2月12日#week:星期一 正月初三#holiday:");
  DayInfo term = InfoOf(2024, 2, 4, 7);
  term.solarTerm = u"立春";
  term.lunarFestival = u"小年";
  EXPECT_EQ(DayDataString(term), u"date:2024年2月4日#week:星期日 一月初一#holiday: 立春 小年");
}

TEST(DayCell, AlmanacTextsAreShortenedAtABlank) {
  EXPECT_EQ(ShortenAlmanacText(u"祭祀\r\n祈福"), u"祭祀 祈福");
  // Seven names of two characters joined by blanks make exactly 20 characters: kept whole.
  std::u16string seven = u"一一\r\n二二\r\n三三\r\n四四\r\n五五\r\n六六\r\n七七";
  EXPECT_EQ(ShortenAlmanacText(seven), u"一一 二二 三三 四四 五五 六六 七七");
  // An eighth name: the blank at position 20 ends the text.
  EXPECT_EQ(ShortenAlmanacText(seven + u"\r\n八八"), u"一一 二二 三三 四四 五五 六六 七七");
  // The last blank at or before 20 is at 17.
  EXPECT_EQ(ShortenAlmanacText(u"一一 二二 三三 四四 五五 六六 七七七 八"), u"一一 二二 三三 四四 五五 六六");
  // No blank at all: a hard cut at 20.
  std::u16string longWord(30, u'忌');
  EXPECT_EQ(ShortenAlmanacText(longWord), std::u16string(20, u'忌'));
  EXPECT_EQ(ShortenAlmanacText(u""), u"");
}

TEST(DayCell, LunarLineTakesTheFirstShortFestivalText) {
  DayInfo d = InfoOf(2024, 2, 24, 6);
  d.lunarDayName = u"十五";
  d.lunarFestival = u"元宵节";
  d.solarTerm = u"雨水";
  bool festival = false;
  EXPECT_EQ(DayCellLabel(d, &festival), u"元宵节");
  EXPECT_TRUE(festival);

  d.shortLabel = u"国际消费者权益日[1983]";
  EXPECT_EQ(DayCellLabel(d, &festival), u"十五") << "a long first text falls back to the lunar day";
  EXPECT_FALSE(festival);

  DayInfo none = InfoOf(2024, 2, 25, 7);
  none.lunarDayName = u"十六";
  EXPECT_EQ(DayCellLabel(none, &festival), u"十六");
  EXPECT_FALSE(festival);
}

TEST(DayCell, LooksOfInsideOutsideTodayAndSelectedDays) {
  const int month = 3;
  DayInfo inside = InfoOf(2024, 3, 13, 3);
  DayInfo next = InfoOf(2024, 3, 14, 4);
  DayCellLook look = LookOfDayCell(inside, 16, &next, month, 0, 0);
  EXPECT_TRUE(look.inMonth);
  EXPECT_EQ(look.width, 47);
  EXPECT_EQ(look.height, 46);
  EXPECT_EQ(look.normalImage, u"day_n.png");
  EXPECT_EQ(look.dayText, u"13");
  EXPECT_EQ(look.tag, 13);
  EXPECT_EQ(look.dayColor, kDayTextColor);
  EXPECT_EQ(look.lunarColor, kLunarDayColor);
  EXPECT_EQ(TooltipFieldsOf(inside, u""), ParseTooltipFields(DayDataString(inside)))
      << "the tooltip shows what the cell's data string says";

  // The last column and the day before another month's day are 46 wide.
  DayInfo sunday = InfoOf(2024, 3, 17, 7);
  DayCellLook last = LookOfDayCell(sunday, 20, &next, month, 0, 0);
  EXPECT_EQ(last.width, 46);
  EXPECT_EQ(last.normalImage, u"day_n46.png");
  EXPECT_EQ(last.dayColor, kWeekendColor);
  DayInfo april1 = InfoOf(2024, 4, 1, 1);
  DayInfo april30 = InfoOf(2024, 4, 30, 2);
  DayInfo may1 = InfoOf(2024, 5, 1, 3);
  EXPECT_EQ(LookOfDayCell(april30, 29, &may1, 4, 0, 0).width, 46) << "a Tuesday before May";
  EXPECT_EQ(LookOfDayCell(april30, 29, &may1, 4, 0, 0).normalImage, u"day_n46.png");

  // Outside the month: no picture, grey — but a weekend day stays red.
  DayCellLook outside = LookOfDayCell(april1, 35, nullptr, month, 0, 0);
  EXPECT_FALSE(outside.inMonth);
  EXPECT_TRUE(outside.normalImage.empty());
  EXPECT_EQ(outside.dayColor, kOtherMonthColor);
  EXPECT_EQ(outside.lunarColor, kLunarDayColor);
  DayInfo april6 = InfoOf(2024, 4, 6, 6);
  EXPECT_EQ(LookOfDayCell(april6, 40, nullptr, month, 0, 0).dayColor, kWeekendColor);

  // Today, and a selection that overrides it; neither marks a day of another month.
  EXPECT_EQ(LookOfDayCell(inside, 16, &next, month, 13, 0).normalImage, u"day_s.png");
  DayCellLook both = LookOfDayCell(inside, 16, &next, month, 13, 13);
  EXPECT_EQ(both.normalImage, u"select.png");
  EXPECT_TRUE(both.selected);
  EXPECT_TRUE(LookOfDayCell(april1, 35, nullptr, month, 1, 1).normalImage.empty());
}

TEST(DayCell, BadgesForDaysOffAndMakeUpDays) {
  DayInfo d = InfoOf(2024, 5, 1, 3);
  DayInfo next = InfoOf(2024, 5, 2, 4);
  EXPECT_TRUE(LookOfDayCell(d, 2, &next, 5, 0, 0).badgeImage.empty());
  d.restDay = 1;
  EXPECT_EQ(LookOfDayCell(d, 2, &next, 5, 0, 0).badgeImage, u"release.png");
  d.workDay = 1;
  EXPECT_EQ(LookOfDayCell(d, 2, &next, 5, 0, 0).badgeImage, u"work.png") << "the work mark wins";
}

TEST(TooltipFields, ReadsTheCellDataString) {
  DayInfo d = InfoOf(2024, 2, 10, 6);
  d.lunarFestival = u"春节";
  d.suitable = u"祭祀\r\n祈福";
  d.avoid = u"动土";
  TooltipFields f = ParseTooltipFields(DayDataString(d));
  EXPECT_EQ(f.day, u"2024年2月10日");
  EXPECT_EQ(f.week, u"星期六 一月初一");
  EXPECT_EQ(f.holiday, u"春节") << "blanks at both ends removed";
  EXPECT_EQ(f.suitable, u"祭祀 祈福");
  EXPECT_EQ(f.avoid, u"动土");

  TooltipFields plain = ParseTooltipFields(DayDataString(InfoOf(2024, 2, 12, 1)));
  EXPECT_TRUE(plain.holiday.empty());
  EXPECT_TRUE(plain.suitable.empty());
  EXPECT_TRUE(plain.avoid.empty());

  // The tooltip takes its texts from the record itself: the same as read from the data string.
  d.restEstimated = 1;
  d.solarTerm = u"雨水";
  d.solarFestival = u"情人节 测试节";
  d.suitable = u"一一\r\n二二\r\n三三\r\n四四\r\n五五\r\n六六\r\n七七\r\n八八";
  EXPECT_EQ(TooltipFieldsOf(d, u"08:00 拜年"), ParseTooltipFields(DayDataString(d) + TooltipRemindersPart(u"08:00 拜年")));
  EXPECT_EQ(TooltipFieldsOf(InfoOf(2024, 2, 12, 1), u""), plain);
}

TEST(TooltipFields, OddDataStrings) {
  TooltipFields f = ParseTooltipFields(u"DATE:1年#Week#holiday:a:b#unknown:x#宜:#忌:z#");
  EXPECT_EQ(f.day, u"1年") << "keys ignore case";
  EXPECT_EQ(f.week, u"") << "a part without a colon has an empty value";
  EXPECT_EQ(f.holiday, u"a:b") << "further colons stay in the value";
  EXPECT_EQ(f.suitable, u"");
  EXPECT_EQ(f.avoid, u"z");
  EXPECT_EQ(ParseTooltipFields(u""), TooltipFields{});
  EXPECT_EQ(ParseTooltipFields(u"####"), TooltipFields{});
}

}  // namespace
