// Gregorian -> lunar conversion: boundaries, leap months, the year table, the supported range.
#include <gtest/gtest.h>

#include "calendar/ccalendar.h"
#include "tests/calendar/engine_days.h"

namespace {

LunarDate ToLunar(int y, int m, int d) {
  CCalendar cal;
  cal.Calculate(Day::FromCivil(y, m, d));
  EXPECT_TRUE(cal.IsValid()) << y << "-" << m << "-" << d;
  return cal.Lunar();
}


TEST(LunarConversion, Boundaries) {
  EXPECT_EQ(ToLunar(1900, 1, 31), (LunarDate{1900, 1, 1, 0}));  // the epoch
  EXPECT_EQ(ToLunar(2024, 2, 9), (LunarDate{2023, 12, 30, 0}));
  EXPECT_EQ(ToLunar(2024, 2, 10), (LunarDate{2024, 1, 1, 0}));
  EXPECT_EQ(ToLunar(1950, 1, 1), (LunarDate{1949, 11, 13, 0}));
  EXPECT_EQ(ToLunar(2101, 1, 28), (LunarDate{2100, 12, 29, 0}));  // last supported day
  EXPECT_EQ(ToLunar(2100, 2, 8), (LunarDate{2099, 12, 30, 0}));   // last day found by the year walk
  EXPECT_EQ(ToLunar(2100, 2, 9), (LunarDate{2100, 1, 1, 0}));
}

TEST(LunarConversion, LeapMonths) {
  // 2023: leap second month of 29 days.
  EXPECT_EQ(ToLunar(2023, 3, 21), (LunarDate{2023, 2, 30, 0}));
  EXPECT_EQ(ToLunar(2023, 3, 22), (LunarDate{2023, 2, 1, 1}));
  EXPECT_EQ(ToLunar(2023, 4, 19), (LunarDate{2023, 2, 29, 1}));
  EXPECT_EQ(ToLunar(2023, 4, 20), (LunarDate{2023, 3, 1, 0}));
  // 2020: leap fourth month.
  EXPECT_EQ(ToLunar(2020, 5, 23), (LunarDate{2020, 4, 1, 1}));
  EXPECT_EQ(ToLunar(2020, 6, 20), (LunarDate{2020, 4, 29, 1}));
  EXPECT_EQ(ToLunar(2020, 6, 21), (LunarDate{2020, 5, 1, 0}));
  // 2033: leap eleventh month (the "2033 problem").
  EXPECT_EQ(LeapMonth(2033), 11);
  EXPECT_EQ(ToLunar(2033, 12, 21), (LunarDate{2033, 11, 30, 0}));
  EXPECT_EQ(ToLunar(2033, 12, 22), (LunarDate{2033, 11, 1, 1}));
  EXPECT_EQ(ToLunar(2034, 1, 20), (LunarDate{2033, 12, 1, 0}));

  CCalendar leap, ordinary;
  leap.Calculate(Day::FromCivil(2023, 4, 19));
  ordinary.Calculate(Day::FromCivil(2023, 3, 21));
  EXPECT_EQ(leap.monthSize, u"小");      // the leap month has 29 days
  EXPECT_EQ(ordinary.monthSize, u"大");  // the ordinary second month has 30
  EXPECT_EQ(leap.lunarMonthName, ordinary.lunarMonthName);
  EXPECT_EQ(leap.monthGanZhi, ordinary.monthGanZhi);
}

TEST(LunarConversion, YearTableDerivedQuantities) {
  EXPECT_EQ(LeapMonth(1900), 8);
  EXPECT_EQ(YearDays(1900), 384);
  EXPECT_EQ(LeapMonth(1906), 4);
  EXPECT_EQ(LeapMonthDays(1906), 30);  // 1907's entry ends in F
  EXPECT_EQ(LeapMonth(1907), 0);
  EXPECT_EQ(LeapMonthDays(2023), 29);  // 2024's entry ends in 0
  EXPECT_EQ(LeapMonthDays(2024), 0);
  EXPECT_EQ(MonthDays(2024, 1), 29);
  EXPECT_EQ(MonthDays(2023, 12), 30);
}

// The three entries that had two adjacent month bits swapped.
TEST(LunarConversion, MendedTableEntries) {
  // 1906 = 0x06554: month 3 has 30 days, month 4 29, so month 4 begins a day later.
  EXPECT_EQ(MonthDays(1906, 3), 30);
  EXPECT_EQ(MonthDays(1906, 4), 29);
  EXPECT_EQ(ToLunar(1906, 4, 23), (LunarDate{1906, 3, 30, 0}));
  EXPECT_EQ(ToLunar(1906, 4, 24), (LunarDate{1906, 4, 1, 0}));
  EXPECT_EQ(ToLunar(1906, 5, 23), (LunarDate{1906, 4, 1, 1}));  // the leap month stays put
  // 2089 = 0x0D160: month 7 has 29 days, month 8 30, so month 8 begins a day earlier.
  EXPECT_EQ(MonthDays(2089, 7), 29);
  EXPECT_EQ(MonthDays(2089, 8), 30);
  EXPECT_EQ(ToLunar(2089, 9, 3), (LunarDate{2089, 7, 29, 0}));
  EXPECT_EQ(ToLunar(2089, 9, 4), (LunarDate{2089, 8, 1, 0}));
  // 2097 = 0x0A2D0: month 6 has 29 days, month 7 30, so month 7 begins a day earlier.
  EXPECT_EQ(MonthDays(2097, 6), 29);
  EXPECT_EQ(MonthDays(2097, 7), 30);
  EXPECT_EQ(ToLunar(2097, 8, 6), (LunarDate{2097, 6, 29, 0}));
  EXPECT_EQ(ToLunar(2097, 8, 7), (LunarDate{2097, 7, 1, 0}));
}

// The year lengths add up to the known Chinese New Year dates.
TEST(LunarConversion, LunarNewYearDates) {
  struct Ymd {
    int year, month, day;
  };
  const Ymd kNewYears[] = {
      {1901, 2, 19}, {1912, 2, 18}, {1949, 1, 29}, {1950, 2, 17}, {1976, 1, 31}, {1985, 2, 20},
      {1990, 1, 27}, {2000, 2, 5},  {2001, 1, 24}, {2008, 2, 7},  {2010, 2, 14}, {2019, 2, 5},
      {2020, 1, 25}, {2021, 2, 12}, {2022, 2, 1},  {2023, 1, 22}, {2024, 2, 10}, {2025, 1, 29},
      {2026, 2, 17}, {2027, 2, 6},  {2030, 2, 3},  {2050, 1, 23}, {2100, 2, 9}};
  for (const Ymd& d : kNewYears) {
    EXPECT_EQ(ToLunar(d.year, d.month, d.day), (LunarDate{d.year, 1, 1, 0}))
        << d.year << "-" << d.month << "-" << d.day;
    int sum = DaysSince1970(1900, 1, 31);
    for (int y = 1900; y < d.year; ++y) sum += YearDays(y);
    EXPECT_EQ(sum, DaysSince1970(d.year, d.month, d.day)) << "YearDays sum up to " << d.year;
  }
}

// Every supported day, in order: the lunar date advances by one day, months follow each other
// (the leap month right after its ordinary month) with the table's lengths, every new year lies
// between 21 January and 20 February, the day GanZhi advances by one.
TEST(LunarConversion, EveryDayFollowsFromThePrevious) {
  CCalendar prev, cur;
  Day day = kFirstCalendarDay;
  prev.Calculate(day);
  ASSERT_TRUE(prev.IsValid());
  int days = 1;
  int64_t ganZhi = day.DaysSinceEpoch() + 25577;
  while (day != kLastCalendarDay) {
    day += 1;
    const struct {
      int year, month, day;
    } d{day.Year(), day.Month(), day.DayOfMonth()};
    cur.Calculate(day);
    ASSERT_TRUE(cur.IsValid()) << d.year << "-" << d.month << "-" << d.day;
    ++days;
    const LunarDate p = prev.Lunar(), c = cur.Lunar();
    const int prevLength = p.leap ? LeapMonthDays(p.year) : MonthDays(p.year, p.month);
    ASSERT_EQ(prev.monthSize, prevLength == 30 ? u"大" : u"小");
    if (c.day != 1) {
      ASSERT_EQ(c, (LunarDate{p.year, p.month, p.day + 1, p.leap}))
          << d.year << "-" << d.month << "-" << d.day;
    } else {
      ASSERT_EQ(p.day, prevLength) << d.year << "-" << d.month << "-" << d.day;
      LunarDate expected;
      if (!p.leap && LeapMonth(p.year) == p.month)
        expected = {p.year, p.month, 1, 1};
      else if (p.month == 12)
        expected = {p.year + 1, 1, 1, 0};
      else
        expected = {p.year, p.month + 1, 1, 0};
      ASSERT_EQ(c, expected) << d.year << "-" << d.month << "-" << d.day;
      if (c.month == 1 && !c.leap) {
        ASSERT_TRUE((d.month == 1 && d.day >= 21) || (d.month == 2 && d.day <= 20))
            << "new year " << d.year << "-" << d.month << "-" << d.day;
      }
    }
    ASSERT_EQ(cur.dayGanZhi, GanZhiName(++ganZhi));
    std::swap(prev, cur);
  }
  EXPECT_EQ(days, DaysSince1970(2101, 1, 28) - DaysSince1970(1900, 1, 31) + 1);
}

TEST(LunarConversion, RefusesDatesOutsideTheRange) {
  CCalendar cal;
  cal.Calculate(Day::FromCivil(2024, 2, 10));
  ASSERT_TRUE(cal.IsValid());
  // A refused date leaves nothing of the previous day behind.
  for (const Day d : {Day::FromCivil(1900, 1, 30), Day::FromCivil(2101, 1, 29), Day::FromCivil(1800, 6, 1),
                      Day::FromCivil(9999, 12, 31), Day::FromDays(-1000000)}) {
    cal.Calculate(d);
    EXPECT_FALSE(cal.IsValid()) << d.DaysSinceEpoch();
    EXPECT_EQ(cal.Lunar(), LunarDate{});
    EXPECT_TRUE(cal.lunarDayName.empty() && cal.yearGanZhi.empty() && cal.zodiacAnimal.empty() &&
                cal.eraLabel.empty() && cal.solarFestival.empty() && cal.lunarFestival.empty() &&
                cal.solarTerm.empty() && cal.monthSize.empty());
    EXPECT_EQ(cal.holidayStar, 0);
    EXPECT_EQ(cal.date, d);
  }
  EXPECT_TRUE(IsInCalendarRange(kFirstCalendarDay));
  EXPECT_TRUE(IsInCalendarRange(kLastCalendarDay));
  EXPECT_FALSE(IsInCalendarRange(Day::FromCivil(2101, 1, 29)));
  // Dates that name no day never become one.
  EXPECT_FALSE(Day::FromValidCivil(2023, 2, 29).has_value());
  EXPECT_FALSE(Day::FromValidCivil(2024, 13, 1).has_value());
  EXPECT_FALSE(Day::FromValidCivil(0, 1, 1).has_value());
}

TEST(GregorianHelpers, DatesAndWeekdays) {
  EXPECT_TRUE(Day::IsValidCivil(2000, 2, 29));
  EXPECT_FALSE(Day::IsValidCivil(1900, 2, 29));
  EXPECT_FALSE(Day::IsValidCivil(2100, 2, 29));
  EXPECT_FALSE(Day::IsValidCivil(2024, 4, 31));
  SystemTime st;
  st.wYear = 2024, st.wMonth = 2, st.wDay = 10, st.wHour = 23;
  EXPECT_EQ(DayOf(st), Day::FromCivil(2024, 2, 10));

  EXPECT_EQ(DaysSince1970(1970, 1, 1), 0);
  EXPECT_EQ(DaysSince1970(1969, 12, 31), -1);
  EXPECT_EQ(DaysSince1970(1900, 1, 1), -25567);
  EXPECT_EQ(DaysSince1970(2000, 3, 1), 11017);
  EXPECT_EQ(Day::FromCivil(1970, 1, 1).DayOfWeek(), Weekday::kThursday);
  EXPECT_EQ(Day::FromCivil(1900, 1, 1).DayOfWeek(), Weekday::kMonday);
  EXPECT_EQ(Day::FromCivil(2000, 1, 1).DayOfWeek(), Weekday::kSaturday);
  EXPECT_EQ(Day::FromCivil(2024, 2, 10).DayOfWeek(), Weekday::kSaturday);
  EXPECT_EQ(Day::FromCivil(2024, 3, 3).DayOfWeek(), Weekday::kSunday);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
}

}  // namespace
