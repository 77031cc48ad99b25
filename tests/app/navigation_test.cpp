// Month navigation: arrows at the ends of the year list, selectors, today marks, holiday jumps.
#include <gtest/gtest.h>

#include "app/logic/month_navigator.h"
#include "tests/support/dates.h"

namespace {

using tvtest::Date;

const SystemTime kNow = Date(2024, 5, 20);

HolidayArrangement WithLaborDay(std::u16string day) {
  HolidayArrangement record;
  record.holidays[3].day = std::move(day);  // entry 4, 劳动节
  return record;
}

TEST(SelectorItems, TextsAndCounts) {
  auto years = YearSelectorItems();
  ASSERT_EQ(years.size(), 101u);
  EXPECT_EQ(years.front(), u"1950年");
  EXPECT_EQ(years.back(), u"2050年");
  auto months = MonthSelectorItems();
  ASSERT_EQ(months.size(), 12u);
  EXPECT_EQ(months[0], u"1月");
  EXPECT_EQ(months[11], u"12月");
  EXPECT_EQ(HolidaySelectorItems(), (std::vector<std::u16string>{u"假期", u"元旦", u"春节", u"清明节",
                                                                u"劳动节", u"端午节", u"中秋节", u"国庆节"}));
}

TEST(MonthNavigator, ResetShowsTodayMarked) {
  MonthNavigator nav;
  nav.Reset(kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{2024, 5, 20, 0}));
  EXPECT_EQ(nav.YearIndex(), 74);
  EXPECT_EQ(nav.MonthIndex(), 4);
  EXPECT_EQ(nav.HolidayIndex(), 0);
}

TEST(MonthNavigator, ArrowsWrapWithinTheFirstAndLastYear) {
  MonthNavigator nav;
  nav.GoToMonth(1, 1950, 0, kNow);
  nav.Previous(kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{1950, 12, 0, 0})) << "January 1950 goes to December 1950";
  EXPECT_EQ(nav.YearIndex(), 0);
  EXPECT_EQ(nav.MonthIndex(), 11);

  nav.GoToMonth(12, 2050, 0, kNow);
  nav.Next(kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{2050, 1, 0, 0})) << "December 2050 goes to January 2050";
  EXPECT_EQ(nav.YearIndex(), 100);

  nav.GoToMonth(1, 2000, 0, kNow);
  nav.Previous(kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{1999, 12, 0, 0}));
  nav.Next(kNow);
  nav.Next(kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{2000, 2, 0, 0}));
}

TEST(MonthNavigator, ReachingTheCurrentMonthMarksToday) {
  MonthNavigator nav;
  nav.GoToMonth(4, 2024, 0, kNow);
  nav.Next(kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{2024, 5, 20, 0})) << "an arrow into this month marks today";
  nav.ChooseMonth(2, kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{2024, 3, 0, 0}));
  nav.ChooseMonth(4, kNow);
  EXPECT_EQ(nav.Shown().todayDay, 20);
  nav.ChooseYear(73, kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{2023, 5, 0, 0}));
  nav.ChooseYear(74, kNow);
  EXPECT_EQ(nav.Shown(), (ShownMonth{2024, 5, 20, 0}));

  EXPECT_FALSE(nav.ChooseYear(101, kNow));
  EXPECT_FALSE(nav.ChooseMonth(-1, kNow));
  EXPECT_FALSE(nav.ChooseMonth(12, kNow));
  EXPECT_EQ(nav.Shown(), (ShownMonth{2024, 5, 20, 0}));
}

TEST(MonthNavigator, HolidayJumpSelectsTheDayWithoutTodayMark) {
  MonthNavigator nav;
  nav.Reset(kNow);
  HolidayArrangement record = WithLaborDay(u"2024-05-01");
  ASSERT_TRUE(nav.ChooseHoliday(4, record, kNow));
  EXPECT_EQ(nav.Shown(), (ShownMonth{2024, 5, 0, 1})) << "the current month, but today carries no mark";
  EXPECT_EQ(nav.HolidayIndex(), 4);

  // Choosing the year of the holiday's date keeps the holiday entry; another year resets it.
  nav.ChooseYear(74, kNow);
  EXPECT_EQ(nav.HolidayIndex(), 4);
  nav.ChooseYear(70, kNow);
  EXPECT_EQ(nav.HolidayIndex(), 0);

  // The month selector compares months the same way.
  nav.ChooseHoliday(4, record, kNow);
  nav.ChooseMonth(4, kNow);
  EXPECT_EQ(nav.HolidayIndex(), 4);
  nav.ChooseMonth(6, kNow);
  EXPECT_EQ(nav.HolidayIndex(), 0);

  // Arrows and "today" always reset it.
  nav.ChooseHoliday(4, record, kNow);
  nav.Next(kNow);
  EXPECT_EQ(nav.HolidayIndex(), 0);
  nav.ChooseHoliday(4, record, kNow);
  nav.ReturnToday(kNow);
  EXPECT_EQ(nav.HolidayIndex(), 0);
  EXPECT_EQ(nav.Shown(), (ShownMonth{2024, 5, 20, 0}));
}

TEST(MonthNavigator, HolidayWithoutUsableDateJumpsNowhere) {
  MonthNavigator nav;
  nav.GoToMonth(8, 2030, 0, kNow);
  const ShownMonth before = nav.Shown();
  for (const char16_t* text : {u"", u"2024-05-0", u"abcd-ef-gh", u"2024-13-01", u"2070-05-01"}) {
    ASSERT_TRUE(nav.ChooseHoliday(4, WithLaborDay(text), kNow));
    EXPECT_EQ(nav.Shown(), before);
    EXPECT_EQ(nav.HolidayIndex(), 4);
  }
  EXPECT_TRUE(nav.ChooseHoliday(0, WithLaborDay(u"2024-05-01"), kNow));
  EXPECT_EQ(nav.Shown(), before) << "the caption entry does nothing";
  EXPECT_FALSE(nav.ChooseHoliday(8, WithLaborDay(u"2024-05-01"), kNow));
}

}  // namespace
