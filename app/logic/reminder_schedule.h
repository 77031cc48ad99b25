#pragma once
// When the stored reminders are due, and which days of a span carry one.
//
// An occurrence of a reminder is due at its time of day minus its days of notice, and stays due
// until its own day is over: a reminder missed while the program was not running still shows at
// the next start within that span, and not after it. Each occurrence shows once (the reminder's
// lastShown names the occurrence last shown).
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calendar/reminder_store.h"
#include "platform/system_time.h"

// The longest wait the reminder timer is set for; it is set again when it fires.
inline constexpr uint32_t kMaxReminderWaitMs = 24u * 60 * 60 * 1000;

// One occurrence to show now.
struct DueReminder {
  int64_t id = 0;
  std::u16string title;
  Occurrence occurrence;
  int minuteOfDay = 0;
  int noticeDays = 0;
};

struct ReminderSchedule {
  std::vector<DueReminder> dueNow;      // in date order, then time of day
  std::optional<SystemTime> nextDue;    // the earliest due moment after now (seconds 0)
};

// What is due at `now`, and when the next one is.
ReminderSchedule ScheduleReminders(const std::vector<Reminder>& reminders, const SystemTime& now);

// The same at the program's local clock (platform/clock.h).
ReminderSchedule ScheduleRemindersNow(const std::vector<Reminder>& reminders);

// Milliseconds from `now` to `at` for a timer: at least 1, at most kMaxReminderWaitMs.
uint32_t ReminderWaitMs(const SystemTime& now, const SystemTime& at);

// The tray notification for what is due: its title and its text (the day, its lunar date and the
// time; further reminders named on a second line).
struct ReminderNotice {
  std::u16string title;
  std::u16string text;
  std::optional<Day> day;  // the day a click on it opens
};
ReminderNotice NoticeOf(const std::vector<DueReminder>& due, const SystemTime& now);

// The reminders falling on each day of a span (the month grid's 42 days), worked out once.
class ReminderDays {
 public:
  ReminderDays() = default;
  ReminderDays(const std::vector<Reminder>& reminders, Day from, Day to);
  bool Has(Day day) const;
  // "08:00 title；09:30 title" in time order; empty for a day without one.
  std::u16string Text(Day day) const;
  // The reminders of the day, in time order.
  std::vector<Reminder> On(Day day) const;

 private:
  std::map<Day, std::vector<Reminder>> days_;
};
