#include "platform/gregorian.h"

#include <gtest/gtest.h>

namespace {

// The Gregorian rule written out by itself, to walk the calendar one day at a time against Day's
// closed-form arithmetic.
int MonthLength(int year, int month) {
  static const int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
  return month == 2 && leap ? 29 : kLengths[month - 1];
}

static_assert(Day::FromCivil(1970, 1, 1) == Day());
static_assert(Day::FromCivil(2024, 2, 10).DayOfWeek() == Weekday::kSaturday);
static_assert((Day::FromCivil(2000, 2, 28) + 1).DayOfMonth() == 29);

}  // namespace

TEST(Day, WalksEightCenturiesDayByDayWithCivilDatesAndWeekdays) {
  // 1600-01-01 was a Saturday; from there every day is one more, 1900 and 2100 have no
  // 29 February, 2000 has one.
  Day day = Day::FromCivil(1600, 1, 1);
  int weekday = IsoNumber(Weekday::kSaturday);
  int walked = 0, leapDays = 0;
  for (int year = 1600; year <= 2400; ++year) {
    for (int month = 1; month <= 12; ++month) {
      ASSERT_EQ(DaysInMonth(year, month), MonthLength(year, month)) << year << "-" << month;
      for (int d = 1; d <= MonthLength(year, month); ++d) {
        const Day civil = Day::FromCivil(year, month, d);
        ASSERT_EQ(civil, day) << year << "-" << month << "-" << d;
        ASSERT_TRUE(day.Year() == year && day.Month() == month && day.DayOfMonth() == d)
            << year << "-" << month << "-" << d << " came back as " << day.Year() << "-" << day.Month() << "-"
            << day.DayOfMonth();
        ASSERT_EQ(IsoNumber(day.DayOfWeek()), weekday) << year << "-" << month << "-" << d;
        ASSERT_EQ(Day::IsValidCivil(year, month, d), year <= 9999);
        if (month == 2 && d == 29) ++leapDays;
        day += 1;
        weekday = weekday % 7 + 1;
        ++walked;
      }
    }
  }
  EXPECT_EQ(walked, Day::FromCivil(2401, 1, 1) - Day::FromCivil(1600, 1, 1));
  EXPECT_EQ(leapDays, 195);  // 201 years divisible by 4, less 1700, 1800, 1900, 2100, 2200, 2300

  // The edges by name, and what the count is not asked.
  EXPECT_EQ(Day::FromCivil(1900, 2, 28) + 1, Day::FromCivil(1900, 3, 1));
  EXPECT_EQ(Day::FromCivil(2100, 3, 1) - 1, Day::FromCivil(2100, 2, 28));
  EXPECT_EQ(Day::FromCivil(1969, 12, 31).DaysSinceEpoch(), -1);
  EXPECT_EQ(Day::FromCivil(1900, 1, 1).DayOfWeek(), Weekday::kMonday);
  EXPECT_FALSE(Day::IsValidCivil(1900, 2, 29));
  EXPECT_FALSE(Day::IsValidCivil(2024, 13, 1));
  EXPECT_FALSE(Day::IsValidCivil(0, 1, 1));
  EXPECT_TRUE(Day::IsValidCivil(2000, 2, 29));
  EXPECT_LT(Day::FromCivil(2024, 12, 31), Day::FromCivil(2025, 1, 1));

  // The other numbering, at the two edges where a SYSTEMTIME or a festival rule is read.
  for (int n = 0; n < 7; ++n) EXPECT_EQ(SundayZeroNumber(WeekdayFromSundayZero(n)), n);
  EXPECT_EQ(WeekdayFromSundayZero(0), Weekday::kSunday);
  EXPECT_EQ(WeekdayFromSundayZero(1), Weekday::kMonday);
}
