// The shipped holiday table, read through the database worker from the user.dat of the build.
#include <gtest/gtest.h>

#include <filesystem>

#include "calendar/day_info.h"
#include "calendar/holiday_arrangement.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/user_data.h"
#include "tests/calendar/holiday_test_support.h"

using holiday_test::Date;
using holiday_test::ScratchDir;
using holiday_test::ShippedUserDat;

namespace {

HolidayArrangement Year(int year) {
  HolidayArrangement record;
  LoadHolidayArrangementInto(record, year);
  return record;
}

// The marks of a day written "YYYY-MM-DD", as the holiday texts write it.
HolidayMarks Marks(const HolidayArrangement& r, std::u16string_view day) {
  return MarkHolidayDate(r, DayInDateText(day).value());
}
bool Rest(const HolidayArrangement& r, const char16_t* day) { return Marks(r, day).rest; }
bool Work(const HolidayArrangement& r, const char16_t* day) { return Marks(r, day).work; }

}  // namespace

using HolidayData = ShippedUserDat;

TEST_F(HolidayData, NationalDay2024) {
  const HolidayArrangement r = Year(2024);
  EXPECT_TRUE(Work(r, u"2024-09-29"));
  EXPECT_TRUE(Work(r, u"2024-10-12"));
  for (const char16_t* day : {u"2024-10-01", u"2024-10-02", u"2024-10-03", u"2024-10-04",
                              u"2024-10-05", u"2024-10-06", u"2024-10-07"}) {
    EXPECT_TRUE(Rest(r, day)) << std::u16string(day).size();
    EXPECT_FALSE(Work(r, day));
  }
  EXPECT_FALSE(Rest(r, u"2024-10-08"));
  EXPECT_FALSE(Work(r, u"2024-10-08"));
  EXPECT_FALSE(Rest(r, u"2024-09-29"));
  // 中秋 2024: 15-17 September off, the 14th worked.
  EXPECT_TRUE(Rest(r, u"2024-09-17"));
  EXPECT_TRUE(Work(r, u"2024-09-14"));
}

TEST_F(HolidayData, SpringFestival2026) {
  const HolidayArrangement r = Year(2026);
  for (int d = 15; d <= 23; ++d) {
    const std::u16string day = FormatDate(Date(2026, 2, d));
    EXPECT_TRUE(Marks(r, day).rest) << d;
    EXPECT_FALSE(Marks(r, day).work) << d;
  }
  EXPECT_TRUE(Work(r, u"2026-02-14"));
  EXPECT_TRUE(Work(r, u"2026-02-28"));
  EXPECT_FALSE(Rest(r, u"2026-02-24"));
  EXPECT_FALSE(Rest(r, u"2026-02-14"));
  EXPECT_EQ(r.holidays[1].day, u"2026-02-17");  // the festival's own date, for the jump
  EXPECT_EQ(r.holidays[1].left, u"2026-02-14");
  EXPECT_EQ(r.holidays[1].right, u"2026-02-28");
}

TEST_F(HolidayData, SharedAutumnBlocksKeepEachHolidaysDays) {
  // 2023: 29 September - 6 October off, 7 and 8 October worked; 中秋 on 29 September.
  const HolidayArrangement y2023 = Year(2023);
  EXPECT_NE(y2023.holidays[5].middle.find(u"2023-09-29"), std::u16string::npos);
  EXPECT_EQ(y2023.holidays[5].day, u"2023-09-29");
  EXPECT_NE(y2023.holidays[6].middle.find(u"2023-10-06"), std::u16string::npos);
  EXPECT_EQ(y2023.holidays[6].right, u"2023-10-07,2023-10-08");
  EXPECT_TRUE(Rest(y2023, u"2023-09-30"));
  // 2025: 1-8 October off, 28 September and 11 October worked; 中秋 on 6 October.
  const HolidayArrangement y2025 = Year(2025);
  EXPECT_EQ(y2025.holidays[5].day, u"2025-10-06");
  EXPECT_EQ(y2025.holidays[6].left, u"2025-09-28");
  EXPECT_EQ(y2025.holidays[6].right, u"2025-10-11");
  EXPECT_TRUE(Rest(y2025, u"2025-10-08"));
  EXPECT_FALSE(Rest(y2025, u"2025-10-09"));
}

TEST_F(HolidayData, LateDecemberBelongsToNextYearsNewYear) {
  // 元旦 2019: 30 December 2018 - 1 January 2019 off, 29 December 2018 worked.
  const HolidayArrangement r = Year(2019);
  EXPECT_EQ(r.holidays[0].left, u"2018-12-29");
  EXPECT_EQ(r.holidays[0].middle, u"2018-12-30,2018-12-31,2019-01-01");
  EXPECT_FALSE(Rest(Year(2018), u"2018-12-30"));
}

TEST_F(HolidayData, EveryYearHasAllSevenHolidaysWithTheirDates) {
  for (int year = 2004; year <= 2026; ++year) {
    const HolidayArrangement r = Year(year);
    for (int i = 0; i < kHolidayCount; ++i) {
      const std::optional<Day> jump = HolidayJumpDate(r, i + 1);
      ASSERT_TRUE(jump.has_value()) << year << " " << i;
      EXPECT_EQ(jump->Year(), year) << i;
      // 清明, 端午 and 中秋 became days off in 2008.
      const bool hasDaysOff = year >= 2008 || i == 0 || i == 1 || i == 3 || i == 6;
      EXPECT_EQ(r.holidays[i].middle.empty(), !hasDaysOff) << year << " " << i;
      if (hasDaysOff && i != 0) {
        EXPECT_NE(r.holidays[i].middle.find(r.holidays[i].day.substr(0, 10)), std::u16string::npos)
            << year << " " << i;
      }
    }
  }
  EXPECT_TRUE(Year(2003).holidays[1].middle.empty());
  EXPECT_TRUE(Year(2027).holidays[1].day.empty());
}

TEST_F(HolidayData, TableFillsOnlyWhatTheDocumentLeftEmpty) {
  HolidayArrangement record;
  // What a service document that names only chunjie's days off and date leaves in the record.
  record.holidays[1].middle = u"2026-02-16";
  record.holidays[1].day = u"2026-02-16";
  LoadHolidayArrangementInto(record, 2026);
  EXPECT_EQ(record.holidays[1].middle, u"2026-02-16");
  EXPECT_EQ(record.holidays[1].day, u"2026-02-16");
  EXPECT_TRUE(record.holidays[1].left.empty());
  EXPECT_EQ(record.holidays[6].day, u"2026-10-01");
  EXPECT_EQ(record.holidays[0].right, u"2026-01-04");
  EXPECT_TRUE(Marks(record, u"2026-10-10").work);
  EXPECT_FALSE(Marks(record, u"2026-02-20").rest);
}

TEST_F(HolidayData, SharedRecordMarksTheDayCells) {
  ReplaceHolidayArrangement({});
  LoadHolidayArrangementForYear(2024);
  const DayInfo workday = BuildDayInfo(Day::FromCivil(2024, 10, 12));
  EXPECT_EQ(workday.workDay, 1);
  EXPECT_EQ(workday.restDay, 0);
  EXPECT_FALSE(workday.suitable.empty());
  const DayInfo dayOff = BuildDayInfo(Day::FromCivil(2024, 10, 3));
  EXPECT_EQ(dayOff.restDay, 1);
  EXPECT_TRUE(IsRestDay(Day::FromCivil(2024, 10, 3)));
  EXPECT_TRUE(IsWorkDay(Day::FromCivil(2024, 9, 29)));
  // Loading again leaves filled holidays alone.
  ChangeHolidayArrangement([](HolidayArrangement& r) {
    r.holidays[6].middle = u"2024-10-09";
    return true;
  });
  LoadHolidayArrangementForYear(2024);
  EXPECT_FALSE(IsRestDay(Day::FromCivil(2024, 10, 3)));
  EXPECT_TRUE(IsRestDay(Day::FromCivil(2024, 10, 9)));
  ReplaceHolidayArrangement({});
}

// The program's data start-up loads the arrangement of the current year once the loader is
// registered, and only then.
TEST(HolidayStartUp, TheRegisteredLoaderFillsTheSharedRecord) {
  ScratchDir dir;
  std::error_code error;
  std::filesystem::copy_file(std::filesystem::path(ProgramDirectory() + u"user.dat"),
                             std::filesystem::path(dir.Dir() + u"user.dat"), error);
  ASSERT_FALSE(error) << "user.dat missing beside the test program";
  SetLocalClock([] { return Date(2024, 10, 1); });
  ClearDataSteps();
  ReplaceHolidayArrangement({});
  OpenUserDataIn(dir.Dir());
  CloseUserData();
  EXPECT_FALSE(IsRestDay(Day::FromCivil(2024, 10, 3)));

  InstallHolidayLoader();
  OpenUserDataIn(dir.Dir());
  CloseUserData();
  EXPECT_TRUE(IsRestDay(Day::FromCivil(2024, 10, 3)));
  ClearDataSteps();
  SetLocalClock(nullptr);
  ReplaceHolidayArrangement({});
}
