#include "calendar/day_info.h"

#include <gtest/gtest.h>

#include "calendar/holiday_arrangement.h"
#include "platform/date_time.h"
#include "tests/calendar/holiday_test_support.h"

using holiday_test::Date;

namespace {

DayInfo InfoOf(int y, int m, int d) {
  DayInfo info;
  BuildDayInfoWithoutAlmanac(Day::FromCivil(y, m, d), info);
  return info;
}

class DayInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { ReplaceHolidayArrangement({}); }
  void TearDown() override { ReplaceHolidayArrangement({}); }
};

}  // namespace

TEST_F(DayInfoTest, DateWeekdayAndLunarTexts) {
  const DayInfo info = InfoOf(2024, 2, 10);  // lunar new year 甲辰, a Saturday
  EXPECT_EQ(info.date, Day::FromCivil(2024, 2, 10));
  EXPECT_EQ(info.weekday, Weekday::kSaturday);
  EXPECT_EQ(info.lunarText, u"甲辰年一月初一");
  EXPECT_EQ(info.zodiacAnimal, u"龙");
  EXPECT_EQ(info.lunarFestival, u"春节");
  EXPECT_TRUE(info.shortLabel.empty());  // a lunar festival keeps the label empty

  EXPECT_EQ(InfoOf(2024, 2, 11).weekday, Weekday::kSunday);
  EXPECT_EQ(InfoOf(2024, 2, 11).date.DayOfWeek(), Weekday::kSunday);
}

TEST_F(DayInfoTest, PlainDayHasNoLabels) {
  const DayInfo info = InfoOf(2024, 7, 16);
  EXPECT_TRUE(info.solarFestival.empty());
  EXPECT_TRUE(info.lunarFestival.empty());
  EXPECT_TRUE(info.solarTerm.empty());
  EXPECT_TRUE(info.shortLabel.empty());
  EXPECT_EQ(info.restDay, 0);
  EXPECT_EQ(info.workDay, 0);
}

TEST_F(DayInfoTest, FifthOfMarchIsClippedToItsFirstItem) {
  // 2023-03-05: no solar term, no lunar festival; the stored name holds four items.
  const DayInfo info = InfoOf(2023, 3, 5);
  EXPECT_EQ(info.solarFestival, u"中国青年志愿者服务日[2000]");
  // The label is taken from the unclipped text, up to its first blank.
  EXPECT_EQ(info.shortLabel, u"中国青年志愿者服务日[2000]");
  // In 2024 the day is 惊蛰: the term leaves the label empty.
  const DayInfo term = InfoOf(2024, 3, 5);
  EXPECT_EQ(term.solarTerm, u"惊蛰");
  EXPECT_TRUE(term.shortLabel.empty());
}

TEST_F(DayInfoTest, FridayTheThirteenth) {
  EXPECT_EQ(InfoOf(2024, 9, 13).solarFestival, u"黑色星期五");
  EXPECT_TRUE(InfoOf(2024, 9, 13).shortLabel.empty());  // one name, no blank
  EXPECT_EQ(InfoOf(2021, 8, 13).solarFestival, u"国际左撇子日[1975设/1976] 黑色星期五");
  EXPECT_EQ(InfoOf(2021, 8, 13).shortLabel, u"国际左撇子日[1975设/1976]");
  EXPECT_TRUE(InfoOf(2024, 8, 13).solarFestival.find(u"黑色星期五") == std::u16string::npos);
  // 13 December 2024 is a Friday whose 26-character festival has no blank before position 25:
  // with 黑色星期五 appended the text is clipped to nothing.
  EXPECT_TRUE(InfoOf(2024, 12, 13).solarFestival.empty());
}

TEST_F(DayInfoTest, NewYearsEveOnTheLastDayOfTheTwelfthMonthOnly) {
  // Twelfth month of lunar 2023 has 30 days, of lunar 2024 29 days.
  EXPECT_EQ(InfoOf(2024, 2, 9).lunarFestival, u"除夕");   // 腊月三十
  EXPECT_TRUE(InfoOf(2024, 2, 8).lunarFestival.empty());  // 腊月廿九 of a 30-day month
  EXPECT_EQ(InfoOf(2025, 1, 28).lunarFestival, u"除夕");  // 腊月廿九 of a 29-day month
  EXPECT_TRUE(InfoOf(2025, 1, 27).lunarFestival.empty());
  EXPECT_EQ(InfoOf(2025, 1, 28).lunarDayName, u"廿九");
}

TEST_F(DayInfoTest, LunarFestivalsMatchInALeapMonth) {
  EXPECT_EQ(InfoOf(2009, 5, 28).lunarFestival, u"端午节");
  EXPECT_EQ(InfoOf(2009, 6, 27).lunarFestival, u"端午节");  // 闰五月初五
  EXPECT_EQ(InfoOf(2023, 3, 22).lunarFestival, u"瑶族忌鸟节");  // 闰二月初一
  EXPECT_EQ(InfoOf(2023, 3, 23).lunarFestival, u"春龙节(龙抬头节) 畲族会亲节");
}

TEST_F(DayInfoTest, ShortLabels) {
  // 1 January 2012 is also 腊八: the fixed label still wins.
  const DayInfo newYear = InfoOf(2012, 1, 1);
  EXPECT_EQ(newYear.lunarFestival, u"腊八节");
  EXPECT_EQ(newYear.shortLabel, u"元旦");
  EXPECT_EQ(InfoOf(2024, 5, 1).shortLabel, u"劳动节");
  EXPECT_EQ(InfoOf(2024, 6, 1).shortLabel, u"儿童节");
  EXPECT_EQ(InfoOf(2024, 4, 1).shortLabel, u"愚人节");
  EXPECT_EQ(InfoOf(2024, 2, 14).shortLabel, u"情人节");
  EXPECT_EQ(InfoOf(2024, 12, 24).shortLabel, u"平安夜");
  EXPECT_EQ(InfoOf(2024, 12, 25).shortLabel, u"圣诞");
  EXPECT_EQ(InfoOf(2024, 11, 11).shortLabel, u"狂购");
  // A single festival name has no blank: no label (the grid shows the festival itself).
  EXPECT_EQ(InfoOf(2024, 3, 8).solarFestival, u"妇女节");
  EXPECT_TRUE(InfoOf(2024, 3, 8).shortLabel.empty());

  EXPECT_EQ(ShortDayLabel(u"03-18", u"", u"", u"全国科技人才活动日 巴黎公社纪念日[1871]"),
            u"全国科技人才活动日");
  EXPECT_TRUE(ShortDayLabel(u"03-18", u"", u"春分", u"甲 乙").empty());
  EXPECT_TRUE(ShortDayLabel(u"03-18", u"元宵节", u"", u"甲 乙").empty());
}

TEST_F(DayInfoTest, ClippingAt25Characters) {
  const std::u16string exactly25(25, u'字');
  EXPECT_EQ(ClipDayText(exactly25, u' '), exactly25);
  EXPECT_TRUE(ClipDayText(std::u16string(26, u'字'), u' ').empty());

  std::u16string blankAt24 = std::u16string(24, u'甲') + u" 乙";
  EXPECT_EQ(ClipDayText(blankAt24, u' '), std::u16string(24, u'甲'));
  std::u16string blankAt25 = std::u16string(25, u'甲') + u" 乙";
  EXPECT_TRUE(ClipDayText(blankAt25, u' ').empty());
  std::u16string blankAt1 = u"甲 " + std::u16string(30, u'乙');
  EXPECT_TRUE(ClipDayText(blankAt1, u' ').empty());
  std::u16string blankAt2 = u"甲乙 " + std::u16string(30, u'丙');
  EXPECT_EQ(ClipDayText(blankAt2, u' '), u"甲乙");
  // The last separator within reach wins, not the first.
  EXPECT_EQ(ClipDayText(u"一二三 四五六 七八九十 " + std::u16string(20, u'乙'), u' '),
            u"一二三 四五六 七八九十");

  // Almanac lists are cut at a carriage return so whole names remain.
  std::u16string list;
  for (int i = 0; i < 10; ++i) list += (list.empty() ? u"" : u"\r\n") + std::u16string(u"嫁娶");
  EXPECT_EQ(list.size(), 38u);
  EXPECT_EQ(ClipDayText(list, u'\r'), u"嫁娶\r\n嫁娶\r\n嫁娶\r\n嫁娶\r\n嫁娶\r\n嫁娶");
}

TEST_F(DayInfoTest, RestAndWorkMarksFollowTheRecord) {
  HolidayArrangement record;
  record.holidays[3] = {u"2030-04-28", u"2030-05-01,2030-05-02,2030-05-11", u"2030-05-11",
                        u"2030-05-01"};
  record.holidays[1] = {u"2030-01-26", u"2030-01-26,2030-02-02,2030-02-03", u"", u"2030-02-03"};
  ReplaceHolidayArrangement(record);
  // Listed both among the days off and before them as a make-up day: marked as worked too.
  EXPECT_EQ(InfoOf(2030, 1, 26).workDay, 1);
  EXPECT_EQ(InfoOf(2030, 1, 26).restDay, 1);
  EXPECT_EQ(InfoOf(2030, 5, 1).restDay, 1);
  EXPECT_EQ(InfoOf(2030, 5, 1).workDay, 0);
  EXPECT_EQ(InfoOf(2030, 4, 28).workDay, 1);
  EXPECT_EQ(InfoOf(2030, 4, 28).restDay, 0);
  // Listed as both a day off and a make-up working day: the work mark is set (and shown).
  EXPECT_EQ(InfoOf(2030, 5, 11).workDay, 1);
  EXPECT_EQ(InfoOf(2030, 5, 11).restDay, 1);
  EXPECT_TRUE(IsRestDay(Day::FromCivil(2030, 5, 2)));
  EXPECT_FALSE(IsWorkDay(Day::FromCivil(2030, 5, 2)));
  EXPECT_TRUE(IsWorkDay(Day::FromCivil(2030, 4, 28)));
  EXPECT_FALSE(IsRestDay(Day::FromCivil(2030, 5, 3)));
  EXPECT_FALSE(DayOf(Date(2030, 13, 1)).has_value()) << "no day to mark";
}

TEST_F(DayInfoTest, DatesOutsideTheEngineKeepTheirDate) {
  const DayInfo info = InfoOf(1899, 12, 31);
  EXPECT_EQ(info.date, Day::FromCivil(1899, 12, 31));
  EXPECT_EQ(info.weekday, Weekday::kSunday);
  EXPECT_TRUE(info.lunarText.empty());
  EXPECT_EQ(info.restDay, 0);
  // A date that names no day never reaches the builder.
  EXPECT_FALSE(DayOf(Date(2024, 2, 30)).has_value());
}
