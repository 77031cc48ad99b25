#include "app/logic/reminder_schedule.h"

#include <algorithm>

#include "calendar/lunar_dates.h"
#include "platform/clock.h"
#include "platform/gregorian.h"
#include "platform/text_utils.h"

namespace {

constexpr long long kDaySeconds = 86400;

int DayNumber(const CalendarDate& d) { return DaysSince1970(d.year, d.month, d.day); }

CalendarDate DateOfDayNumber(long long n) {
  const CivilDate c = DateFromDays1970(n);
  return CalendarDate::Of(c.year, c.month, c.day);
}

long long SecondsOf(const SystemTime& t) {
  return DaysSince1970(t.wYear, t.wMonth, t.wDay) * kDaySeconds + t.wHour * 3600LL + t.wMinute * 60LL + t.wSecond;
}

SystemTime TimeOfSeconds(long long seconds) {
  const long long days = seconds >= 0 ? seconds / kDaySeconds : (seconds - kDaySeconds + 1) / kDaySeconds;
  const long long rest = seconds - days * kDaySeconds;
  const CivilDate c = DateFromDays1970(days);
  SystemTime t;
  t.wYear = static_cast<uint16_t>(c.year);
  t.wMonth = static_cast<uint16_t>(c.month);
  t.wDay = static_cast<uint16_t>(c.day);
  t.wDayOfWeek = static_cast<uint16_t>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  t.wHour = static_cast<uint16_t>(rest / 3600);
  t.wMinute = static_cast<uint16_t>(rest / 60 % 60);
  t.wSecond = static_cast<uint16_t>(rest % 60);
  return t;
}

long long DueSeconds(const Reminder& r, const CalendarDate& day) {
  return (DayNumber(day) - static_cast<long long>(r.noticeDays)) * kDaySeconds + r.minuteOfDay * 60LL;
}

std::u16string DateText(const CalendarDate& d) {
  return IntToText(d.year) + u"年" + IntToText(d.month) + u"月" + IntToText(d.day) + u"日";
}

}  // namespace

ReminderSchedule ScheduleReminders(const std::vector<Reminder>& reminders, const SystemTime& now) {
  ReminderSchedule s;
  const long long nowSeconds = SecondsOf(now);
  const CalendarDate today = CalendarDate::FromSystemTime(now);
  std::optional<long long> next;
  for (const Reminder& r : reminders) {
    // The first occurrence whose day is not over and that was not shown yet.
    CalendarDate from = today;
    if (r.lastShown.valid && DayNumber(r.lastShown) >= DayNumber(today)) {
      from = DateOfDayNumber(DayNumber(r.lastShown) + 1LL);
    }
    const std::optional<Occurrence> o = NextOccurrence(r.rule, from);
    if (!o) continue;
    const long long due = DueSeconds(r, o->date);
    if (due <= nowSeconds) {
      s.dueNow.push_back(DueReminder{r.id, r.title, *o, r.minuteOfDay, r.noticeDays});
    } else if (!next || due < *next) {
      next = due;
    }
  }
  std::stable_sort(s.dueNow.begin(), s.dueNow.end(), [](const DueReminder& a, const DueReminder& b) {
    const int da = DayNumber(a.occurrence.date), db = DayNumber(b.occurrence.date);
    return da != db ? da < db : a.minuteOfDay < b.minuteOfDay;
  });
  if (next) s.nextDue = TimeOfSeconds(*next);
  return s;
}

ReminderSchedule ScheduleRemindersNow(const std::vector<Reminder>& reminders) {
  return ScheduleReminders(reminders, LocalNow());
}

uint32_t ReminderWaitMs(const SystemTime& now, const SystemTime& at) {
  const long long ms = (SecondsOf(at) - SecondsOf(now)) * 1000 - now.wMilliseconds;
  if (ms < 1) return 1;
  if (ms > kMaxReminderWaitMs) return kMaxReminderWaitMs;
  return static_cast<uint32_t>(ms);
}

ReminderNotice NoticeOf(const std::vector<DueReminder>& due, const SystemTime& now) {
  ReminderNotice n;
  if (due.empty()) return n;
  const DueReminder& first = due.front();
  n.title = first.title;
  n.day = first.occurrence.date;
  n.text = DateText(first.occurrence.date) + u" " + LunarMonthDayText(first.occurrence.lunar) + u" " +
           TimeOfDayText(first.minuteOfDay);
  const int daysAhead = DayNumber(first.occurrence.date) - DaysSince1970(now.wYear, now.wMonth, now.wDay);
  if (daysAhead == 1) n.text += u"（明天）";
  else if (daysAhead > 1) n.text += u"（还有" + IntToText(daysAhead) + u"天）";
  if (due.size() > 1) {
    n.text += u"\n另有：";
    for (size_t i = 1; i < due.size(); ++i) n.text += (i > 1 ? u"、" : u"") + due[i].title;
  }
  return n;
}

ReminderDays::ReminderDays(const std::vector<Reminder>& reminders, const CalendarDate& from, const CalendarDate& to) {
  for (const Reminder& r : reminders) {
    for (const Occurrence& o : OccurrencesBetween(r.rule, from, to)) days_[DayNumber(o.date)].push_back(r);
  }
  for (auto& [day, list] : days_) {
    std::stable_sort(list.begin(), list.end(),
                     [](const Reminder& a, const Reminder& b) { return a.minuteOfDay < b.minuteOfDay; });
  }
}

bool ReminderDays::Has(const CalendarDate& day) const { return day.valid && days_.count(DayNumber(day)) != 0; }

std::u16string ReminderDays::Text(const CalendarDate& day) const {
  std::u16string text;
  for (const Reminder& r : On(day)) text += (text.empty() ? u"" : u"；") + TimeOfDayText(r.minuteOfDay) + u" " + r.title;
  return text;
}

std::vector<Reminder> ReminderDays::On(const CalendarDate& day) const {
  if (!day.valid) return {};
  auto it = days_.find(DayNumber(day));
  return it == days_.end() ? std::vector<Reminder>{} : it->second;
}
