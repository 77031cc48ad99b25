// Festival lists and their matching inside Calculate.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "calendar/ccalendar.h"
#include "calendar/festivals.h"
#include "platform/text_codec.h"
#include "tests/calendar/engine_days.h"

namespace {

using tvtest::Calc;

// Days of Gregorian year y whose solar festival text contains `name`.
std::vector<int> DaysWithSolarFestival(int y, int m, std::u16string_view name) {
  std::vector<int> days;
  for (int d = 1; d <= DaysInMonth(y, m); ++d)
    if (Calc(y, m, d).solarFestival.find(name) != std::u16string::npos) days.push_back(d);
  return days;
}

TEST(FestivalLists, EntriesParse) {
  const FestivalEntry e = ParseFestivalEntry(u"  0101*元旦 ");
  EXPECT_EQ(e.month, 1);
  EXPECT_EQ(e.dayCode, 1);
  EXPECT_TRUE(e.star);
  EXPECT_EQ(e.name, u"元旦");
  const FestivalEntry w = ParseFestivalEntry(u"0520 母亲节");
  EXPECT_EQ(w.dayCode, 20);
  EXPECT_FALSE(w.star);
  EXPECT_EQ(ParseFestivalEntry(u"0323 妈祖生辰 (天上圣母诞辰)").name, u"妈祖生辰 (天上圣母诞辰)");
}

TEST(FestivalLists, ShapeOfTheLists) {
  ASSERT_EQ(SolarFestivals().size(), 143u);
  ASSERT_EQ(WeekdayFestivals().size(), 18u);
  ASSERT_EQ(LunarFestivals().size(), 26u);

  int previous = 0, stars = 0;
  for (const FestivalEntry& e : SolarFestivals()) {
    const int key = e.month * 100 + e.dayCode;
    EXPECT_GT(key, previous) << "date order, one entry per date";
    EXPECT_LE(e.dayCode, DaysInMonth(2024, e.month));
    EXPECT_FALSE(e.name.empty());
    previous = key;
    stars += e.star;
  }
  EXPECT_EQ(stars, 2);
  for (const FestivalEntry& e : WeekdayFestivals()) {
    EXPECT_FALSE(e.star);
    EXPECT_LE(e.dayCode % 10, 6);
    EXPECT_GE(e.dayCode / 10, 1);
  }
  stars = 0;
  for (const FestivalEntry& e : LunarFestivals()) stars += e.star;
  EXPECT_EQ(stars, 3);
}

// The anniversary entries name a person with a birth or death year, like the others' suffixes.
TEST(FestivalLists, AnniversaryTexts) {
  const std::regex form("[^ \\[\\]]+(诞辰|逝世)纪念日\\[(18|19)[0-9]{2}\\]");
  const int kDates[] = {108,  121,  127,  219, 305,  422,  505,  529,  706,  805, 909,
                        925,  926,  1019, 1112, 1124, 1128, 1201, 1210, 1221, 1226};
  for (int date : kDates) {
    const CCalendar cal = Calc(2001, date / 100, date % 100);
    const std::string text = WideToUtf8(cal.solarFestival);
    std::smatch m;
    EXPECT_TRUE(std::regex_search(text, m, form)) << date << ": " << text;
  }
  const CCalendar march5 = Calc(2001, 3, 5);
  // Three anniversaries after the first item, whose blank (position 16) is the last one at or
  // before position 24: the day text clipped to 25 characters keeps just the first item.
  const std::u16string& s = march5.solarFestival;
  EXPECT_EQ(s.find(u' '), 16u);
  EXPECT_GT(s.find(u' ', 17), 24u);
  EXPECT_EQ(std::count(s.begin(), s.end(), u' '), 3);
}

TEST(SolarFestivalMatching, FixedDates) {
  EXPECT_EQ(Calc(2024, 3, 8).solarFestival, u"妇女节");
  EXPECT_EQ(Calc(2024, 10, 24).solarFestival, u"联合国日[1945] 世界发展信息日");
  EXPECT_TRUE(Calc(2024, 3, 9).solarFestival.empty());
  EXPECT_TRUE(Calc(2024, 3, 9).lunarFestival.empty());
  EXPECT_EQ(Calc(2024, 1, 1).holidayStar, 1);
  EXPECT_EQ(Calc(2024, 10, 1).holidayStar, 1);
  EXPECT_EQ(Calc(2024, 3, 8).holidayStar, 0);
}

// A week code names a row of the Sunday-first month grid, not the n-th such weekday.
TEST(SolarFestivalMatching, WeekdayRulesUseGridRows) {
  // May 2024 begins on a Wednesday: row 2's Sunday is the first Sunday, 5 May.
  EXPECT_EQ(DaysWithSolarFestival(2024, 5, u"母亲节"), std::vector<int>{5});
  EXPECT_EQ(Calc(2024, 5, 5).solarFestival, u"碘缺乏病防治日[1994] 艾青逝世纪念日[1996] 母亲节");
  // May 2022 begins on a Sunday: row 2's Sunday is the second Sunday.
  EXPECT_EQ(DaysWithSolarFestival(2022, 5, u"母亲节"), std::vector<int>{8});
  // September 2023 begins on a Friday: row 1 has no Monday, so code 1 never matches.
  EXPECT_TRUE(DaysWithSolarFestival(2023, 9, u"美国劳动节").empty());
  EXPECT_EQ(DaysWithSolarFestival(2024, 9, u"美国劳动节"), std::vector<int>{2});
  // November 2024 begins on a Friday: row 4's Thursday is the 21st (the fourth Thursday is 28th).
  EXPECT_EQ(DaysWithSolarFestival(2024, 11, u"感恩节"), std::vector<int>{21});
  // Code 5 is the fifth row: 28 January 2024.
  EXPECT_EQ(DaysWithSolarFestival(2024, 1, u"国际麻风节"), std::vector<int>{28});
  EXPECT_EQ(WeekRowOfMonth(2024, 5, 1), 1);
  EXPECT_EQ(WeekRowOfMonth(2024, 5, 4), 1);
  EXPECT_EQ(WeekRowOfMonth(2024, 5, 5), 2);
  EXPECT_EQ(WeekRowOfMonth(2024, 3, 31), 6);  // March 2024 begins on a Friday
}

TEST(SolarFestivalMatching, FridayTheThirteenth) {
  EXPECT_EQ(Calc(2024, 9, 13).solarFestival, u"黑色星期五");
  EXPECT_EQ(Calc(2023, 10, 13).solarFestival,
            u"中国少年先锋队建队纪念日[1949] 世界保健日 国际教师节 "
            u"采用格林威治时间为国际标准时间日[1884] 黑色星期五");
  EXPECT_EQ(Calc(2024, 12, 13).solarFestival,
            u"南京大屠杀纪念日·勿忘国耻,紧记血泪史![1937] 黑色星期五");
  EXPECT_TRUE(Calc(2024, 9, 6).solarFestival.empty());// a Friday, not the 13th
  EXPECT_TRUE(Calc(2024, 11, 13).solarFestival.empty());  // the 13th, a Wednesday
}

TEST(LunarFestivalMatching, NewYearsEveIsTheLastDayOfTheTwelfthMonth) {
  // Lunar 2023's twelfth month has 30 days, lunar 2024's has 29.
  EXPECT_TRUE(Calc(2024, 2, 8).lunarFestival.empty());  // 12-29 of a 30-day month
  EXPECT_EQ(Calc(2024, 2, 9).lunarFestival, u"除夕");
  EXPECT_EQ(Calc(2024, 2, 9).holidayStar, 1);
  EXPECT_EQ(Calc(2025, 1, 28).lunarFestival, u"除夕");  // 12-29 of a 29-day month
  EXPECT_TRUE(Calc(2025, 1, 27).lunarFestival.empty());
  EXPECT_EQ(Calc(2025, 1, 29).lunarFestival, u"春节");
  EXPECT_EQ(Calc(2025, 1, 29).holidayStar, 1);
  EXPECT_EQ(Calc(2024, 9, 17).lunarFestival, u"中秋节");
  EXPECT_EQ(Calc(2024, 9, 17).holidayStar, 1);
  EXPECT_EQ(Calc(2024, 2, 2).lunarFestival, u"北方灶君节[北方小年(扫房日)]");
  EXPECT_EQ(Calc(2024, 2, 2).holidayStar, 0);
}

TEST(LunarFestivalMatching, LeapMonthsMatchTheirNumber) {
  // 2009 has a leap fifth month: 端午节 twice, the second time in the leap month.
  std::vector<LunarDate> found;
  for (Day d = Day::FromCivil(2009, 1, 1); d.Year() == 2009; d += 1) {
    const CCalendar cal = Calc(d.Year(), d.Month(), d.DayOfMonth());
    if (cal.lunarFestival == u"端午节") found.push_back(cal.Lunar());
  }
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], (LunarDate{2009, 5, 5, 0}));
  EXPECT_EQ(found[1], (LunarDate{2009, 5, 5, 1}));
  EXPECT_EQ(Calc(2009, 5, 28).lunarFestival, u"端午节");
  EXPECT_EQ(Calc(2009, 6, 27).lunarFestival, u"端午节");
}

}  // namespace
