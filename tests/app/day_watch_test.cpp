// A window left open across midnight, a changed clock and a wake-up, driven through the
// replaceable local clock.
#include "app/logic/day_watch.h"

#include <gtest/gtest.h>

#include "app/logic/header_texts.h"
#include "calendar/day_info.h"
#include "calendar/holiday_year.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "tests/support/dates.h"
#include "tests/support/test_clock.h"

namespace {

using tvtest::Date;

// The time a timer of `ms` milliseconds set now fires at.
void Advance(tvtest::TestClock& clock, uint32_t ms) {
  SystemTime t = clock.Now();
  long long total = ((t.wHour * 60LL + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds + ms;
  const int days = static_cast<int>(total / 86400000);
  total %= 86400000;
  AddDays(t, days);
  t.wHour = static_cast<uint16_t>(total / 3600000);
  t.wMinute = static_cast<uint16_t>(total / 60000 % 60);
  t.wSecond = static_cast<uint16_t>(total / 1000 % 60);
  t.wMilliseconds = static_cast<uint16_t>(total % 1000);
  clock.Set(t);
}

// What the window does with its midnight timer: shows today, arms, and renews when it fires.
struct Window {
  MonthNavigator navigator;
  SystemTime shownToday;
  std::u16string header;
  uint32_t timerMs = 0;
  void Show() {
    navigator.Reset(LocalNow());
    Renew(true);
  }
  DayRenewal Renew(bool always = false) {
    const SystemTime now = LocalNow();
    timerMs = MillisecondsToNextMidnight(now);
    const DayRenewal renewal = RenewToday(shownToday, now, navigator);
    if (renewal.newDay || always) {
      shownToday = now;
      header = WorldDayText(BuildDayInfoWithoutAlmanac(now));
    }
    return renewal;
  }
  static DayInfo BuildDayInfoWithoutAlmanac(const SystemTime& t) {
    DayInfo info;
    ::BuildDayInfoWithoutAlmanac(DayOfClock(t), info);
    return info;
  }
};

}  // namespace

TEST(DayWatch, MidnightTimerRenewsHeaderAndTodayFrameOnce) {
  tvtest::TestClock clock(Date(2026, 12, 31, 23, 59, 59));
  Window w;
  w.Show();
  EXPECT_EQ(w.header, u"2026年12月31日 周四");
  EXPECT_EQ(w.navigator.Shown(), (ShownMonth{2026, 12, 31, 0}));
  EXPECT_EQ(w.timerMs, 1000u + kMidnightMarginMs);  // one timer for midnight, no polling

  Advance(clock, w.timerMs);  // 00:00:00.500
  const DayRenewal r = w.Renew();
  EXPECT_TRUE(r.newDay && r.newYear && r.monthFollows);
  EXPECT_EQ(w.header, u"2027年1月1日 周五");
  EXPECT_EQ(w.navigator.Shown(), (ShownMonth{2027, 1, 1, 0}));
  EXPECT_EQ(w.navigator.YearIndex(), 2027 - kFirstYear);
  EXPECT_EQ(w.navigator.MonthIndex(), 0);
  EXPECT_EQ(w.timerMs, 24u * 3600 * 1000);  // the next midnight, a day on

  // A timer that fires early (a drifting tick) changes nothing and is armed for the rest.
  clock.Set(Date(2027, 1, 1, 23, 59, 59, 900));
  EXPECT_FALSE(w.Renew().newDay);
  EXPECT_EQ(w.timerMs, 100u + kMidnightMarginMs);
}

TEST(DayWatch, AMonthTheUserWentToStaysWhileTheClockMovesOn) {
  tvtest::TestClock clock(Date(2027, 3, 10, 12));
  Window w;
  w.Show();
  // Within today's month: the frame follows. Another month (arrows, selectors, a holiday jump):
  // nothing moves; going back to today's month by the selectors marks today again.
  clock.Set(Date(2027, 3, 11, 0, 0, 1));
  EXPECT_TRUE(w.Renew().monthFollows);
  EXPECT_EQ(w.navigator.Shown(), (ShownMonth{2027, 3, 11, 0}));
  w.navigator.Next(LocalNow());
  clock.Set(Date(2027, 3, 12, 0, 0, 1));
  const DayRenewal r = w.Renew();
  EXPECT_TRUE(r.newDay && !r.monthFollows && !r.newYear);
  EXPECT_EQ(w.navigator.Shown(), (ShownMonth{2027, 4, 0, 0}));
  HolidayArrangement record;
  record.holidays[0].day = u"2027-01-01";
  w.navigator.ChooseHoliday(1, record, LocalNow());
  clock.Set(Date(2027, 3, 13, 0, 0, 1));
  EXPECT_FALSE(w.Renew().monthFollows);
  EXPECT_EQ(w.navigator.Shown(), (ShownMonth{2027, 1, 0, 1}));
  EXPECT_EQ(w.navigator.HolidayIndex(), 1);
  EXPECT_EQ(w.header, u"2027年3月13日 周六");

  // The clock set back to another date (WM_TIMECHANGE): the same renewal, backwards too.
  w.navigator.ReturnToday(LocalNow());
  clock.Set(Date(2025, 7, 4, 9));
  const DayRenewal back = w.Renew();
  EXPECT_TRUE(back.newDay && back.newYear && back.monthFollows);
  EXPECT_EQ(w.navigator.Shown(), (ShownMonth{2025, 7, 4, 0}));
}

TEST(DayWatch, MidnightDelaysAndWeatherAge) {
  EXPECT_EQ(MillisecondsToNextMidnight(Date(2027, 1, 1)), 86400000u + kMidnightMarginMs);
  EXPECT_EQ(MillisecondsToNextMidnight(Date(2027, 1, 1, 23, 59, 59, 999)), 1u + kMidnightMarginMs);
  // Out-of-range fields (a broken clock) still give a delay within a day.
  SystemTime odd = Date(2027, 1, 1, 99, 99, 99, 9999);
  EXPECT_LE(MillisecondsToNextMidnight(odd), 86400000u + kMidnightMarginMs);

  EXPECT_EQ(SecondsBetween(Date(2026, 12, 31, 23, 59), Date(2027, 1, 1, 0, 1)), 120);
  const SystemTime report = Date(2027, 1, 1, 8);
  EXPECT_TRUE(WeatherIsStale({}, report, 1800));
  EXPECT_FALSE(WeatherIsStale(report, Date(2027, 1, 1, 8, 30), 1800));
  EXPECT_TRUE(WeatherIsStale(report, Date(2027, 1, 1, 10), 1800));  // two hours old
  EXPECT_TRUE(WeatherIsStale(report, Date(2027, 1, 1, 7), 1800));   // the clock went back
}

TEST(DayWatch, TheHolidayRecordMovesToTheNewYear) {
  HolidayArrangement record;
  record.year = 2026;
  record.holidays[0] = {u"", u"2026-01-01", u"", u"2026-01-01"};
  record.holidays[1] = {u"2027-01-31", u"2027-02-06", u"", u"2027-02-06"};  // sent ahead by the service
  ASSERT_TRUE(KeepHolidaysOfYear(record, 2027));
  EXPECT_EQ(record.year, 2027);
  EXPECT_EQ(record.holidays[0], HolidayTexts{});
  EXPECT_EQ(record.holidays[1].middle, u"2027-02-06");
  EXPECT_EQ(record.holidays[1].left, u"2027-01-31");
  EXPECT_FALSE(KeepHolidaysOfYear(record, 2027));
}
