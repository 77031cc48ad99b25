// The month-scoped data of the day-information builder against the single-day reads: almanac
// lists equal to LookUpSuitable/LookUpAvoid, and marks from each day's own year.
#include "calendar/month_data.h"

#include <gtest/gtest.h>

#include "calendar/ccalendar.h"
#include "calendar/day_info.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "tests/calendar/holiday_test_support.h"
#include "tests/support/db_text.h"

using holiday_test::Date;
using holiday_test::ScratchDir;
using holiday_test::ShippedUserDat;

namespace {

// Loads `count` days from `first` as one run and compares every day with its own lookups.
// Returns how many days carried a list (so a comparison of empty runs cannot pass unnoticed).
int ExpectSameAsSingleDays(Day first, int count) {
  AlmanacRange range;
  range.Load(first, count);
  int filled = 0;
  Day day = first;
  for (int i = 0; i < count; ++i, day += 1) {
    const std::u16string date = FormatDate(day);
    EXPECT_TRUE(range.Covers(day)) << std::string(date.begin(), date.end());
    const std::u16string suitable = LookUpSuitable(day);
    EXPECT_EQ(range.Suitable(day), suitable) << std::string(date.begin(), date.end());
    EXPECT_EQ(range.Avoid(day), LookUpAvoid(day)) << std::string(date.begin(), date.end());
    if (!suitable.empty()) ++filled;
  }
  return filled;
}

Day FirstCellOf(int year, int month) {
  const Day first = Day::FromCivil(year, month, 1);
  return first - (IsoNumber(first.DayOfWeek()) - 1);
}

}  // namespace

using MonthDataShipped = ShippedUserDat;

TEST_F(MonthDataShipped, AlmanacRunsEqualTheSingleDayLookups) {
  // A whole year, month grid by month grid (each crossing into its neighbours).
  int filled = 0;
  for (int month = 1; month <= 12; ++month) filled += ExpectSameAsSingleDays(FirstCellOf(2025, month), 42);
  EXPECT_GE(filled, 12 * 42 - 12);
  // A whole year as one run (its names take more than one statement).
  EXPECT_EQ(ExpectSameAsSingleDays(Day::FromCivil(2024, 1, 1), 366), 366);
  // December's grid runs into the next year.
  EXPECT_EQ(ExpectSameAsSingleDays(FirstCellOf(2030, 12), 42), 42);
  // The first and last days the data holds, from outside them: days without a row stay empty.
  EXPECT_EQ(ExpectSameAsSingleDays(Day::FromCivil(1949, 11, 20), 42), 31);
  EXPECT_EQ(ExpectSameAsSingleDays(Day::FromCivil(2051, 1, 10), 42), 22);
  // The engine's first and last supported days, where there is no data at all.
  EXPECT_EQ(ExpectSameAsSingleDays(Day::FromCivil(1900, 1, 31), 42), 0);
  EXPECT_EQ(ExpectSameAsSingleDays(Day::FromCivil(2100, 12, 20), 42), 0);

  AlmanacRange range;
  range.Load(Day::FromCivil(2025, 3, 1), 31);
  EXPECT_FALSE(range.Covers(Day::FromCivil(2025, 2, 28)));
  EXPECT_FALSE(range.Covers(Day::FromCivil(2025, 4, 1)));
  EXPECT_TRUE(range.Suitable(Day::FromCivil(2025, 4, 1)).empty());
  range.Load(Day::FromCivil(2025, 3, 1), 0);
  EXPECT_FALSE(range.Covers(Day::FromCivil(2025, 3, 1))) << "no days load nothing";
}

TEST_F(MonthDataShipped, EveryYearMarksItsOwnDaysOff) {
  // The process record stands for 2026; 2025's National Day comes from the table.
  HolidayArrangement current;
  LoadHolidayArrangementInto(current, 2026);
  ASSERT_EQ(current.year, 2026);
  HolidayYears years;
  years.Load(2025, 2026, current);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2025, 10, 3)).rest);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2025, 10, 11)).work);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2025, 10, 9)).rest);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2026, 10, 1)).rest);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2024, 10, 1)).rest) << "2024 is not loaded";

  // For the record's own year its texts win over the table's (a service document's changes).
  current.holidays[6].middle = u"2026-10-09";
  years.Load(2026, 2026, current);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2026, 10, 9)).rest);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2026, 10, 1)).rest);
  years.Load(2025, 2025, current);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2026, 10, 9)).rest) << "the record's year is outside the run";

  // A make-up day of late December is listed under the next year's New Year.
  MonthData data;
  ReplaceHolidayArrangement({});
  data.Load(FirstCellOf(2005, 12), 42);
  DayInfo info;
  BuildDayInfo(Day::FromCivil(2005, 12, 31), info, data);
  EXPECT_EQ(info.workDay, 1);
  BuildDayInfo(Day::FromCivil(2006, 1, 2), info, data);
  EXPECT_EQ(info.restDay, 1) << "a day of the next year in December's grid";

  // The single-day builder reads the same.
  EXPECT_EQ(BuildDayInfo(Day::FromCivil(2025, 10, 3)).restDay, 1);
  EXPECT_EQ(BuildDayInfo(Day::FromCivil(2005, 12, 31)).workDay, 1);
}

namespace {

// A table without the name index (so names come in table order), duplicate and unnamed numbers,
// values that are no numbers, NULLs, and an id that is no date of the run.
class MonthDataOwnTable : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenDatabase(dir_.Dir() + u"month.dat", DbOpenMode::kCreate);
    tvtest::Sql(u"create table yijidata (id text primary key, yi text, ji text)");
    tvtest::Sql(u"create table yijikey (key text, id text)");
    tvtest::Sql(u"insert into yijikey (key,id) values ('嫁娶','3'),('祭祀','1'),('祈福','2'),"
            u"('纳采','3'),(null,'4'),('出行','12')");
    tvtest::Sql(u"insert into yijidata (id,yi,ji) values ('20300101','2,1,3','12'),"
            u"('20300102','1,1, 2 ,77',''),('20300103','2,0'' or ''1''=''1','x,,3'),"
            u"('20300104',null,'4,1'),('2030010','1','1'),('20300105','03,12','12,2')");
    tvtest::Sql(u"create table holiday (year text, name text, leftday text, middleday text, "
            u"rightday text, day text)");
    tvtest::Sql(u"insert into holiday values ('2030','laodong','2030-04-28','2030-05-01','',''),"
            u"('2031','yuandan','2030-12-29','2031-01-01','',''),"
            u"('2030','other','','2030-05-02','',''),(' 2030','laodong','','2030-05-03','',''),"
            u"('2030',null,null,null,null,null)");
  }
  void TearDown() override { CloseDatabase(); }

 private:
  ScratchDir dir_;
};

}  // namespace

TEST_F(MonthDataOwnTable, RunsFollowTheTableAsTheSingleDayLookupsDo) {
  ExpectSameAsSingleDays(Day::FromCivil(2029, 12, 30), 10);
  AlmanacRange range;
  range.Load(Day::FromCivil(2030, 1, 1), 5);
  EXPECT_EQ(range.Suitable(Day::FromCivil(2030, 1, 1)), u"嫁娶\r\n祭祀\r\n祈福\r\n纳采") << "the table's order";
  EXPECT_EQ(range.Suitable(Day::FromCivil(2030, 1, 2)), u"祭祀\r\n祈福");
  EXPECT_EQ(range.Avoid(Day::FromCivil(2030, 1, 3)), u"嫁娶\r\n纳采");
  EXPECT_EQ(range.Avoid(Day::FromCivil(2030, 1, 4)), u"祭祀\r\n");
  EXPECT_EQ(range.Suitable(Day::FromCivil(2030, 1, 5)), u"出行");
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from yijikey"), u"6");

  HolidayYears years;
  years.Load(2030, 2031, HolidayArrangement{});
  EXPECT_TRUE(years.Mark(Day::FromCivil(2030, 5, 1)).rest);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2030, 4, 28)).work);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2030, 12, 29)).work);
  EXPECT_FALSE(years.Mark(Day::FromCivil(2030, 5, 2)).rest) << "a name that is no holiday";
  EXPECT_FALSE(years.Mark(Day::FromCivil(2030, 5, 3)).rest) << "a year text that is no plain year";
  // A record loaded from no table counts for every date, besides the rows.
  HolidayArrangement loose;
  loose.holidays[0].middle = u"2030-07-07";
  years.Load(2030, 2030, loose);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2030, 7, 7)).rest);
  EXPECT_TRUE(years.Mark(Day::FromCivil(2030, 5, 1)).rest);
}
