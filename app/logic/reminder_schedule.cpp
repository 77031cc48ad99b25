#include "app/logic/reminder_schedule.h"

#include <algorithm>

#include "calendar/lunar_dates.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/gregorian.h"
#include "platform/text_utils.h"

namespace {

constexpr long long kDaySeconds = 86400;

long long SecondsOf(const SystemTime& t) {
  return DaysSince1970(t.wYear, t.wMonth, t.wDay) * kDaySeconds + t.wHour * 3600LL + t.wMinute * 60LL + t.wSecond;
}

SystemTime TimeOfSeconds(long long seconds) {
  const long long days = seconds >= 0 ? seconds / kDaySeconds : (seconds - kDaySeconds + 1) / kDaySeconds;
  const long long rest = seconds - days * kDaySeconds;
  SystemTime t = SystemTimeOf(Day::FromDays(static_cast<int>(days)));
  t.wHour = static_cast<uint16_t>(rest / 3600);
  t.wMinute = static_cast<uint16_t>(rest / 60 % 60);
  t.wSecond = static_cast<uint16_t>(rest % 60);
  return t;
}

long long DueSeconds(const Reminder& r, Day day) {
  return (day.DaysSinceEpoch() - static_cast<long long>(r.noticeDays)) * kDaySeconds + r.minuteOfDay * 60LL;
}

}  // namespace

ReminderSchedule ScheduleReminders(const std::vector<Reminder>& reminders, const SystemTime& now) {
  ReminderSchedule s;
  const long long nowSeconds = SecondsOf(now);
  const std::optional<Day> today = DayOf(now);
  if (!today) return s;
  std::optional<long long> next;
  for (const Reminder& r : reminders) {
    // The first occurrence whose day is not over and that was not shown yet.
    const Day from = r.lastShown && *r.lastShown >= *today ? *r.lastShown + 1 : *today;
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
    const Day da = a.occurrence.date, db = b.occurrence.date;
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
  n.text = GregorianDayText(first.occurrence.date) + u" " + LunarMonthDayText(first.occurrence.lunar) + u" " +
           TimeOfDayText(first.minuteOfDay);
  const int daysAhead = first.occurrence.date.DaysSinceEpoch() - DaysSince1970(now.wYear, now.wMonth, now.wDay);
  if (daysAhead == 1) n.text += u"（明天）";
  else if (daysAhead > 1) n.text += u"（还有" + IntToText(daysAhead) + u"天）";
  if (due.size() > 1) {
    n.text += u"\n另有：";
    for (size_t i = 1; i < due.size(); ++i) n.text += (i > 1 ? u"、" : u"") + due[i].title;
  }
  return n;
}

ReminderDays::ReminderDays(const std::vector<Reminder>& reminders, Day from, Day to) {
  for (const Reminder& r : reminders) {
    for (const Occurrence& o : OccurrencesBetween(r.rule, from, to)) days_[o.date].push_back(r);
  }
  for (auto& [day, list] : days_) {
    std::stable_sort(list.begin(), list.end(),
                     [](const Reminder& a, const Reminder& b) { return a.minuteOfDay < b.minuteOfDay; });
  }
}

bool ReminderDays::Has(Day day) const { return days_.count(day) != 0; }

std::u16string ReminderDays::Text(Day day) const {
  std::u16string text;
  for (const Reminder& r : On(day)) text += (text.empty() ? u"" : u"；") + TimeOfDayText(r.minuteOfDay) + u" " + r.title;
  return text;
}

std::vector<Reminder> ReminderDays::On(Day day) const {
  auto it = days_.find(day);
  return it == days_.end() ? std::vector<Reminder>{} : it->second;
}
