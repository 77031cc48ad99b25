// The reminders' timing (due, missed, shown once, the next due moment for the one timer), the
// days of a month that carry one, and the dialog's fields turned into a reminder or refused.
#include <gtest/gtest.h>

#include "app/logic/popup_placement.h"
#include "app/logic/reminder_form.h"
#include "app/logic/reminder_schedule.h"
#include "app/logic/tooltip_fields.h"
#include "tests/support/dates.h"
#include "tests/support/test_clock.h"

namespace {

using tvtest::Date;

Reminder Make(int64_t id, const std::u16string& title, const std::u16string& rule, int minute, int notice) {
  Reminder r;
  r.id = id;
  r.title = title;
  r.rule = *ParseRecurrence(rule).rule;
  r.minuteOfDay = minute;
  r.noticeDays = notice;
  return r;
}

bool SameMoment(const std::optional<SystemTime>& t, int y, int m, int d, int h, int mi) {
  return t && t->wYear == y && t->wMonth == m && t->wDay == d && t->wHour == h && t->wMinute == mi && t->wSecond == 0;
}

// 中秋 2027 is 2027-09-15, 2028 is 2028-10-03; a day's notice at 09:00.
TEST(ReminderSchedule, DueMissedShownOnceAndTheNextMoment) {
  Reminder moon = Make(1, u"中秋", u"lunar 8-15", 9 * 60, 1);
  tvtest::TestClock clock(Date(2027, 9, 14, 8, 59, 59));
  ReminderSchedule s = ScheduleRemindersNow({moon});
  EXPECT_TRUE(s.dueNow.empty());
  EXPECT_TRUE(SameMoment(s.nextDue, 2027, 9, 14, 9, 0));
  EXPECT_EQ(ReminderWaitMs(clock.Now(), *s.nextDue), 1000u);

  // Due at the moment, and still due later that day and on the day itself (missed while off).
  for (const SystemTime& at : {Date(2027, 9, 14, 9, 0, 0), Date(2027, 9, 15, 23, 59, 59)}) {
    clock.Set(at);
    s = ScheduleRemindersNow({moon});
    ASSERT_EQ(s.dueNow.size(), 1u);
    EXPECT_EQ(s.dueNow[0].occurrence.date, Day::FromCivil(2027, 9, 15));
    EXPECT_FALSE(s.nextDue);
  }
  // Shown once: the next is next year's, a day ahead of 2028-10-03.
  moon.lastShown = Day::FromCivil(2027, 9, 15);
  s = ScheduleRemindersNow({moon});
  EXPECT_TRUE(s.dueNow.empty());
  EXPECT_TRUE(SameMoment(s.nextDue, 2028, 10, 2, 9, 0));
  // Missed, and the day over: not shown any more.
  moon.lastShown = {};
  clock.Set(Date(2027, 9, 16, 0, 0, 1));
  s = ScheduleRemindersNow({moon});
  EXPECT_TRUE(s.dueNow.empty());
  EXPECT_TRUE(SameMoment(s.nextDue, 2028, 10, 2, 9, 0));

  // A past one-off has nothing left; a far one waits at most the longest timer.
  s = ScheduleReminders({Make(2, u"x", u"once 2020-01-01", 0, 0)}, Date(2027, 1, 1));
  EXPECT_TRUE(s.dueNow.empty());
  EXPECT_FALSE(s.nextDue);
  EXPECT_EQ(ReminderWaitMs(Date(2027, 1, 1), Date(2028, 1, 1)), kMaxReminderWaitMs);
  EXPECT_EQ(ReminderWaitMs(Date(2027, 1, 1, 10), Date(2027, 1, 1, 9)), 1u);
  // Across a month end: the due moment is a calendar day earlier.
  s = ScheduleReminders({Make(3, u"x", u"solar 03-01", 30, 2)}, Date(2027, 2, 1));
  EXPECT_TRUE(SameMoment(s.nextDue, 2027, 2, 27, 0, 30));
}

TEST(ReminderSchedule, SeveralDueAtOnceMakeOneNotice) {
  const std::vector<Reminder> all = {Make(1, u"晚", u"lunar-monthly 1", 20 * 60, 0),
                                     Make(2, u"早", u"lunar-monthly 1", 8 * 60, 0),
                                     Make(3, u"下月", u"solar 02-20", 8 * 60, 0)};
  // 2027-02-06 is 正月初一.
  const SystemTime now = Date(2027, 2, 6, 21, 0, 0);
  ReminderSchedule s = ScheduleReminders(all, now);
  ASSERT_EQ(s.dueNow.size(), 2u);
  EXPECT_EQ(s.dueNow[0].title, u"早");
  EXPECT_TRUE(SameMoment(s.nextDue, 2027, 2, 20, 8, 0));
  const ReminderNotice n = NoticeOf(s.dueNow, now);
  EXPECT_EQ(n.title, u"早");
  EXPECT_EQ(n.day, Day::FromCivil(2027, 2, 6));
  EXPECT_EQ(n.text, u"2027年2月6日 一月初一 08:00\n另有：晚");
  EXPECT_NE(NoticeOf({{4, u"t", {Day::FromCivil(2027, 2, 8), {2027, 1, 3, 0}}, 0, 2}}, now).text.find(u"还有2天"),
            std::u16string::npos);
}

TEST(ReminderDays, MarksAndTooltipLinesOfASpan) {
  const std::vector<Reminder> all = {Make(1, u"中秋#家宴", u"lunar 8-15", 18 * 60, 0),
                                     Make(2, u"初一", u"lunar-monthly 1", 7 * 60, 0)};
  const ReminderDays days(all, Day::FromCivil(2027, 8, 29), Day::FromCivil(2027, 10, 9));
  EXPECT_TRUE(days.Has(Day::FromCivil(2027, 9, 15)));
  EXPECT_FALSE(days.Has(Day::FromCivil(2027, 9, 16)));
  EXPECT_FALSE(days.Has(Day::FromCivil(2027, 10, 31)));  // outside the span
  EXPECT_EQ(days.On(Day::FromCivil(2027, 9, 1)).size(), 1u);  // 八月初一
  EXPECT_EQ(days.Text(Day::FromCivil(2027, 9, 15)), u"18:00 中秋#家宴");
  // Into the cell's data string and back out, the "#" kept apart from the separators.
  const TooltipFields f =
      ParseTooltipFields(u"date:x" + TooltipRemindersPart(days.Text(Day::FromCivil(2027, 9, 15))) + u"#宜:y");
  EXPECT_EQ(f.reminders, u"18:00 中秋＃家宴");
  EXPECT_EQ(f.suitable, u"y");
  EXPECT_EQ(TooltipRemindersPart(u""), u"");
}

TEST(ReminderForm, FieldsFromTheDayChecksAndRoundTrips) {
  const Day moon = Day::FromCivil(2027, 9, 15);
  EXPECT_EQ(FormDateFor(RecurrenceKind::kOnce, moon), u"2027-09-15");
  EXPECT_EQ(FormDateFor(RecurrenceKind::kSolarYearly, moon), u"09-15");
  EXPECT_EQ(FormDateFor(RecurrenceKind::kLunarYearly, moon), u"8-15");
  EXPECT_EQ(FormDateFor(RecurrenceKind::kLunarMonthly, moon), u"15");
  EXPECT_EQ(FormDateFor(RecurrenceKind::kSolarTerm, Day::FromCivil(2027, 12, 22)), u"冬至");
  EXPECT_EQ(FormDateFor(RecurrenceKind::kSolarTerm, Day::FromCivil(2027, 12, 23)), u"小寒");
  EXPECT_EQ(FormDateFor(RecurrenceKind::kLunarYearly, Day::FromCivil(2025, 8, 1)), u"闰6-8");

  // Refusals, each naming what is wrong, and nothing accepted.
  ReminderForm form = NewReminderForm(Day::FromCivil(2025, 8, 1));
  EXPECT_EQ(form.date, u"闰6-8");
  EXPECT_EQ(CheckReminderForm(form).problem, u"请填写提醒内容。");
  form.title = u"  外婆生日 ";
  struct Bad {
    RecurrenceKind kind;
    std::u16string date, time, notice, says;
  };
  for (const Bad& b : {Bad{RecurrenceKind::kLunarYearly, u"13-1", u"09:00", u"0", u"不存在"},
                       Bad{RecurrenceKind::kSolarYearly, u"02-30", u"09:00", u"0", u"不存在"},
                       Bad{RecurrenceKind::kSolarTerm, u"春分节", u"09:00", u"0", u"不存在"},
                       Bad{RecurrenceKind::kLunarYearly, u"8-15", u"24:00", u"0", u"00:00 到 23:59"},
                       Bad{RecurrenceKind::kLunarYearly, u"8-15", u"", u"0", u"00:00 到 23:59"},
                       Bad{RecurrenceKind::kLunarYearly, u"8-15", u"09:00", u"-1", u"提前天数"},
                       Bad{RecurrenceKind::kLunarYearly, u"8-15", u"09:00", u"366", u"提前天数"}}) {
    ReminderForm f = form;
    f.kind = b.kind;
    f.date = b.date;
    f.time = b.time;
    f.notice = b.notice;
    EXPECT_NE(CheckReminderForm(f).problem.find(b.says), std::u16string::npos) << b.date.size() << b.time.size();
  }
  // Accepted: the leap-month date, and the stored reminder gives the same fields back.
  form.notice = u"3";
  const FormCheck ok = CheckReminderForm(form);
  ASSERT_EQ(ok.problem, u"");
  EXPECT_EQ(ok.draft.rule, u"lunar leap 6-8");
  Reminder stored;
  ASSERT_EQ(CheckReminder(ok.draft, stored), u"");
  ReminderForm back = form;
  back.title = u"外婆生日";
  EXPECT_EQ(FormOf(stored), back);
  EXPECT_EQ(ReminderListLine(stored), u"09:00 外婆生日 · 每年农历闰六月初八 · 提前3天");
}

}  // namespace

namespace {

// Beside the main window (left, else right), bottoms level, inside the work area; at 150 % too.
TEST(ReminderPlacement, BesideTheMainWindowInsideTheWorkArea) {
  const tvui::Rect work{0, 0, 1920, 1040};
  EXPECT_EQ(PlaceReminders({1500, 600, 1900, 1040}, work), (tvui::Rect{1092, 688, 1492, 1040}));
  EXPECT_EQ(PlaceReminders({20, 600, 420, 1040}, work), (tvui::Rect{428, 688, 828, 1040}));
  EXPECT_EQ(PlaceReminders({0, 0, 1900, 200}, work), (tvui::Rect{750, 0, 1150, 352}));
  EXPECT_EQ(PlaceReminders({1200, 500, 1800, 1040}, work, tvui::Scale(144)), (tvui::Rect{588, 512, 1188, 1040}));
}

}  // namespace

namespace {

// A day tooltip with a reminders line stands above the pointer by its whole height near the
// bottom, below it as before elsewhere.
TEST(ReminderPlacement, ATallerDayTooltipNeverCoversThePointer) {
  const tvui::Rect work{0, 0, 1920, 1040};
  EXPECT_EQ(PlaceDayTooltip({500, 1000}, work, tvui::Scale(), kTooltipReminderRow).y, 1000 - 120 - 18);
  EXPECT_EQ(PlaceDayTooltip({500, 300}, work, tvui::Scale(), kTooltipReminderRow).y, 330);
}

}  // namespace
