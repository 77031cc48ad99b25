// Names: lunar day and month names, GanZhi, zodiac, era labels, solar-term days.
#include <gtest/gtest.h>

#include "calendar/ccalendar.h"
#include "tests/calendar/engine_days.h"

namespace {

using tvtest::Calc;

TEST(CalendarNames, LunarDayAndMonthNames) {
  EXPECT_EQ(LunarDayName(1), u"初一");
  EXPECT_EQ(LunarDayName(9), u"初九");
  EXPECT_EQ(LunarDayName(10), u"初十");
  EXPECT_EQ(LunarDayName(11), u"十一");
  EXPECT_EQ(LunarDayName(20), u"二十");
  EXPECT_EQ(LunarDayName(21), u"廿一");
  EXPECT_EQ(LunarDayName(29), u"廿九");
  EXPECT_EQ(LunarDayName(30), u"三十");
  EXPECT_EQ(LunarMonthName(1), u"一");  // not 正
  EXPECT_EQ(LunarMonthName(11), u"十一");
  EXPECT_EQ(LunarMonthName(12), u"十二");
  EXPECT_TRUE(LunarDayName(0).empty());
  EXPECT_TRUE(LunarMonthName(13).empty());
}

TEST(CalendarNames, GanZhiAndZodiac) {
  EXPECT_EQ(GanZhiName(0), u"甲子");
  EXPECT_EQ(GanZhiName(36), u"庚子");
  EXPECT_EQ(GanZhiName(59), u"癸亥");
  EXPECT_EQ(GanZhiName(60), u"甲子");

  const CCalendar newYear = Calc(2024, 2, 10);  // lunar 2024-01-01
  EXPECT_EQ(newYear.yearGanZhi, u"甲辰");
  EXPECT_EQ(newYear.monthGanZhi, u"丙寅");
  EXPECT_EQ(newYear.dayGanZhi, u"甲辰");
  EXPECT_EQ(newYear.zodiacAnimal, u"龙");
  // The year and the animal change at the lunar new year, not at 立春 (2024-02-04).
  const CCalendar eve = Calc(2024, 2, 9);
  EXPECT_EQ(eve.yearGanZhi, u"癸卯");
  EXPECT_EQ(eve.zodiacAnimal, u"兔");

  EXPECT_EQ(Calc(1970, 1, 1).dayGanZhi, u"辛巳");
  const CCalendar epoch = Calc(1900, 1, 31);
  EXPECT_EQ(epoch.yearGanZhi, u"庚子");
  EXPECT_EQ(epoch.monthGanZhi, u"戊寅");
  EXPECT_EQ(epoch.zodiacAnimal, u"鼠");
}

TEST(CalendarNames, EraLabels) {
  EXPECT_EQ(EraLabel(1800), u"公元1800年");
  EXPECT_EQ(EraLabel(1874), u"公元1874年");
  EXPECT_EQ(EraLabel(1875), u"光绪元年");
  EXPECT_EQ(EraLabel(1908), u"光绪34年");
  EXPECT_EQ(EraLabel(1909), u"宣统元年");
  EXPECT_EQ(EraLabel(1911), u"宣统3年");
  EXPECT_EQ(EraLabel(1912), u"民国元年");
  EXPECT_EQ(EraLabel(1949), u"民国38年");
  EXPECT_EQ(EraLabel(1950), u"共和国元年");
  EXPECT_EQ(EraLabel(1951), u"共和国2年");
  EXPECT_EQ(EraLabel(2024), u"共和国75年");
  // From the Gregorian year, not the lunar one.
  EXPECT_EQ(Calc(1950, 1, 1).eraLabel, u"共和国元年");
}

TEST(CalendarNames, OfficialTermDays) {
  EXPECT_EQ(Calc(2026, 6, 5).solarTerm, u"芒种");
  EXPECT_TRUE(Calc(2026, 6, 6).solarTerm.empty());
  EXPECT_EQ(Calc(2023, 10, 24).solarTerm, u"霜降");
  EXPECT_TRUE(Calc(2023, 10, 23).solarTerm.empty());
  EXPECT_EQ(Calc(2024, 2, 4).solarTerm, u"立春");
  EXPECT_EQ(Calc(2024, 12, 21).solarTerm, u"冬至");
  EXPECT_EQ(Calc(2025, 3, 20).solarTerm, u"春分");
}

// Each Gregorian month holds exactly its two terms, in order, on the days SolarTermDay gives.
TEST(CalendarNames, EveryMonthHoldsItsTwoTerms) {
  for (int y = 1900; y <= 2100; ++y) {
    for (int m = (y == 1900 ? 2 : 1); m <= 12; ++m) {
      int found = 0;
      for (int d = 1; d <= DaysInMonth(y, m); ++d) {
        const CCalendar cal = Calc(y, m, d);
        if (cal.solarTerm.empty()) continue;
        const int n = 2 * m - 2 + found;
        ASSERT_LT(found, 2) << y << "-" << m;
        ASSERT_EQ(cal.solarTerm, SolarTermName(n)) << y << "-" << m << "-" << d;
        ASSERT_EQ(SolarTermDay(n, y), d);
        ++found;
      }
      ASSERT_EQ(found, 2) << y << "-" << m;
    }
  }
}

// January 2101 lies beyond the generated term table: the mean-year formula stands in.
TEST(CalendarNames, TermDaysBeyondTheTableUseTheMeanYear) {
  const int xiaohan = SolarTermDay(0, 2101), dahan = SolarTermDay(1, 2101);
  EXPECT_GE(xiaohan, 4);
  EXPECT_LE(xiaohan, 7);
  EXPECT_GE(dahan, 19);
  EXPECT_LE(dahan, 22);
  EXPECT_EQ(Calc(2101, 1, dahan).solarTerm, u"大寒");
}

}  // namespace
