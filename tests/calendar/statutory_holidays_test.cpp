#include "calendar/statutory_holidays.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/day_info.h"
#include "calendar/holiday_arrangement.h"
#include "platform/date_time.h"
#include "platform/gregorian.h"
#include "tests/calendar/holiday_test_support.h"

using holiday_test::Date;

namespace {

// A row of HolidayYears' statement: "h", year, name, left, middle, right.
std::vector<DbRow> Row(std::u16string_view year, std::u16string_view name, std::u16string_view middle) {
  return {DbRow({u"h", year, name, u"", middle, u""})};
}

}  // namespace

// 除夕 and the lunar holidays checked day by day against the engine's own Gregorian -> lunar
// direction, for every year the rules can be computed for.
TEST(StatutoryHolidays, LunarDaysAgreeWithTheEnginesDayByDayConversion) {
  CCalendar calendar;
  for (int year = kStatutoryRulesFirstYear; year <= 2100; ++year) {
    SCOPED_TRACE(year);
    std::optional<Day> eve, dragonBoat, midAutumn;
    for (Day d = Day::FromCivil(year, 1, 1); d.Year() == year; d += 1) {
      calendar.Calculate(d + 1);
      if (calendar.Lunar() == LunarDate{year, 1, 1, 0}) eve = d;
      calendar.Calculate(d);
      if (calendar.Lunar() == LunarDate{year, 5, 5, 0}) dragonBoat = d;
      if (calendar.Lunar() == LunarDate{year, 8, 15, 0}) midAutumn = d;
    }
    ASSERT_TRUE(eve.has_value());
    EXPECT_EQ(NewYearsEveIn(year), eve);
    calendar.Calculate(*eve);
    EXPECT_EQ(calendar.lunarMonth, 12);
    EXPECT_EQ(calendar.lunarFestival, u"除夕");
    EXPECT_TRUE(calendar.lunarDay == 29 || calendar.lunarDay == 30) << calendar.lunarDay;
    EXPECT_EQ(GregorianOfLunar(year, 5, 5), dragonBoat);
    EXPECT_EQ(GregorianOfLunar(year, 8, 15), midAutumn);

    const auto holidays = StatutoryHolidays(year);
    EXPECT_EQ(holidays[1].middle.substr(0, 10), std::u16string(FormatDate(*eve)));
    EXPECT_EQ(holidays[1].middle.size(), 4u * 11 - 1);  // four days
    for (const HolidayTexts& texts : holidays) {
      EXPECT_TRUE(texts.left.empty() && texts.right.empty());  // no make-up days are known
      EXPECT_NE(texts.middle.find(texts.day), std::u16string::npos) << "day text within the days off";
    }
  }
  // The leap month of a year and days past a month's end.
  EXPECT_FALSE(GregorianOfLunar(2023, 3, 1, true).has_value());
  EXPECT_EQ(GregorianOfLunar(2023, 2, 1, true), Day::FromCivil(2023, 3, 22));
  EXPECT_FALSE(GregorianOfLunar(2101, 1, 1).has_value());
  EXPECT_FALSE(GregorianOfLunar(2024, 1, 31).has_value());
}

TEST(StatutoryHolidays, The2027DaysOff) {
  const auto h = StatutoryHolidays(2027);
  EXPECT_EQ(h[0].middle, u"2027-01-01");
  EXPECT_EQ(h[1].middle, u"2027-02-05,2027-02-06,2027-02-07,2027-02-08");  // 除夕 is 腊月廿九
  EXPECT_EQ(h[1].day, u"2027-02-06");
  EXPECT_EQ(h[2].middle, u"2027-04-05");
  EXPECT_EQ(h[3].middle, u"2027-05-01,2027-05-02");
  EXPECT_EQ(h[4].middle, u"2027-06-09");
  EXPECT_EQ(h[5].middle, u"2027-09-15");
  EXPECT_EQ(h[6].middle, u"2027-10-01,2027-10-02,2027-10-03");
  // Before the rules and beyond the engine: nothing.
  for (int year : {2024, 2101}) {
    for (const HolidayTexts& texts : StatutoryHolidays(year)) EXPECT_TRUE(texts.middle.empty()) << year;
  }
}

// A published arrangement of a year (table rows or the record) always replaces the computed one.
TEST(StatutoryHolidays, MarkOnlyYearsWithoutAPublishedArrangement) {
  HolidayYears years;
  years.Fill(2026, 2028, HolidayArrangement{}, Row(u"2026", u"chunjie", u"2026-02-16"));
  EXPECT_FALSE(years.Estimated(2026));
  EXPECT_FALSE(years.Mark(Day::FromCivil(2026, 10, 1)).rest);  // the published year is left as published
  EXPECT_TRUE(years.Estimated(2027));
  const HolidayMarks eve = years.Mark(Day::FromCivil(2027, 2, 5));
  EXPECT_TRUE(eve.rest && eve.estimated && !eve.work);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2027, 2, 8)).estimated);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2027, 2, 9)).rest);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2027, 2, 4)).rest);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2028, 10, 3)).estimated);

  // Rows for 2027 (an upgrade's table).
  years.Fill(2027, 2027, HolidayArrangement{}, Row(u"2027", u"chunjie", u"2027-02-06,2027-02-07"));
  EXPECT_FALSE(years.Estimated(2027));
  EXPECT_FALSE(years.Mark(Day::FromCivil(2027, 2, 5)).rest);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2027, 10, 1)).rest);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2027, 2, 6)).estimated);

  // The service document's texts in the record of 2027, or in a record still standing for 2026.
  HolidayArrangement record;
  record.year = 2027;
  record.holidays[1] = {u"2027-01-31", u"2027-02-06,2027-02-07", u"", u"2027-02-06"};
  years.Fill(2027, 2028, record, {});
  EXPECT_FALSE(years.Estimated(2027));
  EXPECT_TRUE(years.Mark(Day::FromCivil(2027, 1, 31)).work);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2027, 2, 5)).rest);
  EXPECT_TRUE(years.Estimated(2028));
  record.year = 2026;
  years.Fill(2026, 2027, record, {});
  EXPECT_FALSE(years.Estimated(2027));

  // Years before the rules stay unmarked.
  years.Fill(2010, 2011, HolidayArrangement{}, {});
  EXPECT_FALSE(years.Mark(Day::FromCivil(2010, 10, 1)).rest);
}

TEST(StatutoryHolidays, TheSelectorJumpsToAComputedDateOnlyWhileNothingIsPublished) {
  HolidayArrangement record;
  record.year = 2027;
  EXPECT_EQ(HolidayJumpDate(record, 2), Day::FromCivil(2027, 2, 6));
  record.holidays[0] = {u"", u"2027-01-01", u"", u"2027-01-01"};
  EXPECT_FALSE(HolidayJumpDate(record, 2).has_value());
  record.year = 0;
  record.holidays[0] = {};
  EXPECT_FALSE(HolidayJumpDate(record, 2).has_value());
}
