#include "app/logic/reminder_form.h"

#include "calendar/ccalendar.h"
#include "calendar/lunar_dates.h"
#include "platform/date_time.h"
#include "platform/gregorian.h"
#include "platform/text_utils.h"

namespace {

// The solar term of a day, or the next one after it.
int TermOnOrAfter(Day day) {
  const int year = day.Year();
  for (int n = 0; n < 24; ++n) {
    if (Day::FromCivil(year, n / 2 + 1, SolarTermDay(n, year)) >= day) return n;
  }
  return 0;  // 小寒 of the next year
}

std::u16string RuleOf(const ReminderForm& form) {
  const std::u16string date = TrimText(form.date);
  switch (form.kind) {
    case RecurrenceKind::kOnce: return u"once " + date;
    case RecurrenceKind::kSolarYearly: return u"solar " + date;
    case RecurrenceKind::kLunarYearly:
      if (date.rfind(u"闰", 0) == 0) return u"lunar leap " + date.substr(1);
      return u"lunar " + date;
    case RecurrenceKind::kLunarMonthly: return u"lunar-monthly " + date;
    case RecurrenceKind::kSolarTerm: return u"term " + date;
  }
  return {};
}

// Whole decimal number 0 ... 9999 of a text; -1 otherwise.
int SmallNumber(const std::u16string& text) { return static_cast<int>(DecimalValue(text, 4).value_or(-1)); }

bool TitleFits(const std::u16string& title) {
  for (char16_t c : title)
    if (c < u' ' || c == 0x7f) return false;
  return title.size() <= kMaxReminderTitle;
}

}  // namespace

int FormKindIndex(RecurrenceKind kind) {
  for (int i = 0; i < kReminderFormKindCount; ++i)
    if (kReminderFormKinds[i] == kind) return i;
  return 0;
}

std::u16string FormDateFor(RecurrenceKind kind, Day day) {
  switch (kind) {
    case RecurrenceKind::kOnce: return FormatDate(day);
    case RecurrenceKind::kSolarYearly: return FormatDate(day).substr(5);
    case RecurrenceKind::kLunarYearly:
    case RecurrenceKind::kLunarMonthly: {
      CCalendar c;
      c.Calculate(day);
      if (!c.IsValid()) return {};
      if (kind == RecurrenceKind::kLunarMonthly) return IntToText(c.lunarDay);
      return std::u16string(c.leapFlag ? u"闰" : u"") + IntToText(c.lunarMonth) + u"-" + IntToText(c.lunarDay);
    }
    case RecurrenceKind::kSolarTerm: return std::u16string(SolarTermName(TermOnOrAfter(day)));
  }
  return {};
}

ReminderForm NewReminderForm(Day day) {
  ReminderForm form;
  form.kind = RecurrenceKind::kLunarYearly;
  form.date = FormDateFor(form.kind, day);
  form.time = u"09:00";
  form.notice = u"0";
  return form;
}

ReminderForm FormOf(const Reminder& reminder) {
  ReminderForm form;
  form.title = reminder.title;
  form.kind = reminder.rule.kind;
  const std::u16string rule = RecurrenceText(reminder.rule);
  const size_t blank = rule.rfind(u' ');
  form.date = blank == std::u16string::npos ? rule : rule.substr(blank + 1);
  if (reminder.rule.kind == RecurrenceKind::kLunarYearly && reminder.rule.leap) form.date = u"闰" + form.date;
  form.time = TimeOfDayText(reminder.minuteOfDay);
  form.notice = IntToText(reminder.noticeDays);
  return form;
}

std::u16string FormDateHint(RecurrenceKind kind) {
  switch (kind) {
    case RecurrenceKind::kOnce: return u"年-月-日，如 2027-09-15";
    case RecurrenceKind::kSolarYearly: return u"月-日，如 09-15";
    case RecurrenceKind::kLunarYearly: return u"农历月-日，如 8-15；闰月写 闰4-10";
    case RecurrenceKind::kLunarMonthly: return u"农历日，如 1 为初一，15 为十五";
    case RecurrenceKind::kSolarTerm: return u"节气名，如 冬至";
  }
  return {};
}

FormCheck CheckReminderForm(const ReminderForm& form) {
  FormCheck check;
  check.draft.title = form.title;
  check.draft.rule = RuleOf(form);
  check.draft.time = TrimText(form.time);
  const int notice = SmallNumber(TrimText(form.notice));
  check.draft.noticeDays = notice;
  Reminder accepted;
  if (CheckReminder(check.draft, accepted).empty()) return check;
  // Refused: say why in the order the store checks.
  const std::u16string title = TrimText(form.title);
  if (title.empty()) check.problem = u"请填写提醒内容。";
  else if (!TitleFits(title)) check.problem = u"提醒内容须为一行，最多 200 个字。";
  else if (!ParseRecurrence(check.draft.rule).rule) check.problem = u"日期“" + TrimText(form.date) + u"”不存在：" + FormDateHint(form.kind) + u"。";
  else if (check.draft.time.empty() || !CheckReminder({u"x", u"solar 01-01", check.draft.time, 0}, accepted).empty())
    check.problem = u"时间须在 00:00 到 23:59 之间，如 08:30。";
  else check.problem = u"提前天数须为 0 到 365 之间的整数。";
  return check;
}

std::u16string ReminderListLine(const Reminder& reminder) {
  std::u16string line = TimeOfDayText(reminder.minuteOfDay) + u" " + reminder.title + u" · " +
                        RecurrenceDescription(reminder.rule);
  if (reminder.noticeDays > 0) line += u" · 提前" + IntToText(reminder.noticeDays) + u"天";
  return line;
}
