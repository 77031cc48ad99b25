#include "calendar/holiday_arrangement.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "calendar/day_info.h"
#include "platform/date_time.h"
#include "platform/user_data.h"
#include "tests/calendar/holiday_test_support.h"

using holiday_test::Date;

namespace {

HolidayArrangement Filled(const std::u16string& tag) {
  HolidayArrangement record;
  for (int i = 0; i < kHolidayCount; ++i) {
    record.holidays[i] = {tag + u"L", tag + u"M", tag + u"R", tag + u"D"};
  }
  return record;
}

}  // namespace

TEST(HolidayArrangement, KeysAndSelectorTextsInSelectorOrder) {
  EXPECT_EQ(HolidayKey(0), u"yuandan");
  EXPECT_EQ(HolidayKey(1), u"chunjie");
  EXPECT_EQ(HolidayKey(6), u"guoqing");
  EXPECT_TRUE(HolidayKey(7).empty());
  EXPECT_TRUE(HolidayKey(-1).empty());
  EXPECT_EQ(HolidaySelectorText(2), u"清明节");
  EXPECT_EQ(HolidaySelectorText(5), u"中秋节");
}

TEST(HolidayArrangement, MarksAreTheDatesWrittenOutInAllSevenHolidays) {
  HolidayArrangement record;
  record.holidays[0] = {u"", u"2026-01-01 2026-01-02", u"2026-01-04", u"2026-01-01"};
  record.holidays[6] = {u"2026-09-20", u"2026-10-01..2026-10-07", u"2026-10-10", u"2026-10-01"};
  EXPECT_TRUE(MarkHolidayDate(record, Day::FromCivil(2026, 1, 2)).rest);
  EXPECT_TRUE(MarkHolidayDate(record, Day::FromCivil(2026, 1, 4)).work);
  EXPECT_TRUE(MarkHolidayDate(record, Day::FromCivil(2026, 9, 20)).work);
  EXPECT_TRUE(MarkHolidayDate(record, Day::FromCivil(2026, 10, 7)).rest);
  // Separators are never parsed: a date not written out is not marked.
  EXPECT_FALSE(MarkHolidayDate(record, Day::FromCivil(2026, 10, 3)).rest);
  EXPECT_FALSE(DayInDateText(u"").has_value()) << "an empty date text names no day to mark";
}

TEST(HolidayArrangement, TextsAreReadOnceIntoSortedDaysWhateverStandsBetweenThem) {
  // Out of order, repeated, run together, and among things that only look like dates.
  EXPECT_EQ(HolidayTextDays(u"2026-10-03,2026-10-01 2026-10-032026-10-02;2026-02-30 2026/10/04 "
                            u"2026-1-05 x2026-10-06y 2026-10-0"),
            (std::vector<Day>{Day::FromCivil(2026, 10, 1), Day::FromCivil(2026, 10, 2),
                              Day::FromCivil(2026, 10, 3), Day::FromCivil(2026, 10, 6)}));
  EXPECT_TRUE(HolidayTextDays(u"").empty());

  // A day listed as a day off under one holiday and worked under another is both; the days of
  // several holidays merge, each found by its own day only.
  HolidayDays days;
  days.Add({u"2025-12-28", u"2026-01-01", u"", u"2026-01-01"});
  days.Add({u"2026-01-04", u"2025-12-31,2025-12-28", u"2026-01-01", u""});
  const HolidayMarks both = days.Mark(Day::FromCivil(2025, 12, 28));
  EXPECT_TRUE(both.rest && both.work && !both.estimated);
  EXPECT_TRUE(days.Mark(Day::FromCivil(2026, 1, 1)).rest && days.Mark(Day::FromCivil(2026, 1, 1)).work);
  EXPECT_TRUE(days.Mark(Day::FromCivil(2025, 12, 31)).rest);
  EXPECT_TRUE(days.Mark(Day::FromCivil(2026, 1, 4)).work);
  const HolidayMarks none = days.Mark(Day::FromCivil(2025, 12, 29));
  EXPECT_FALSE(none.rest || none.work);
}

TEST(HolidayArrangement, JumpDates) {
  HolidayArrangement record;
  record.holidays[1].day = u"2026-02-17";
  record.holidays[2].day = u"2026-4-5";       // shorter than ten characters
  record.holidays[3].day = u"2026-13-01 xx";  // not a date
  record.holidays[4].day = u"2026-06-19 端午";
  EXPECT_EQ(HolidayJumpDate(record, 2), Day::FromCivil(2026, 2, 17));
  EXPECT_FALSE(HolidayJumpDate(record, 3).has_value());
  EXPECT_FALSE(HolidayJumpDate(record, 4).has_value());
  EXPECT_EQ(HolidayJumpDate(record, 5), Day::FromCivil(2026, 6, 19));
  EXPECT_FALSE(HolidayJumpDate(record, 0).has_value());  // the caption entry
  EXPECT_FALSE(HolidayJumpDate(record, 1).has_value());  // empty day text
  EXPECT_FALSE(HolidayJumpDate(record, 8).has_value());
}

// The statistics worker replaces the record while the user-interface thread reads it: every
// snapshot a reader takes must be one whole published record.
TEST(HolidayArrangement, ReadersNeverSeeAHalfReplacedRecord) {
  const HolidayArrangement a = Filled(u"2031-01-0");
  HolidayArrangement b = Filled(u"b");
  b.holidays[2].middle = u"2031-05-05";
  ReplaceHolidayArrangement(a);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; i < 2000; ++i) {
      if (i % 2) {
        ReplaceHolidayArrangement(b);
      } else {
        ChangeHolidayArrangement([&](HolidayArrangement& record) {
          record = a;
          return true;
        });
      }
    }
    stop = true;
  });
  int reads = 0;
  while (!stop || reads < 100) {
    const auto snapshot = HolidayArrangementSnapshot();
    ASSERT_TRUE(*snapshot == a || *snapshot == b);
    const HolidayMarks marks = MarkHolidayDate(Day::FromCivil(2031, 5, 5));
    (void)marks;
    DayInfo info;
    BuildDayInfoWithoutAlmanac(Day::FromCivil(2031, 1, 1), info);
    ++reads;
  }
  writer.join();
  ReplaceHolidayArrangement({});
}
