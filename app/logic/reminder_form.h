#pragma once
// The reminders dialog's rules apart from drawing: the five kinds of repetition it offers, the
// date field each kind takes (filled from the chosen day), what the user typed turned into a
// reminder or refused with a sentence for the user, and the list lines.
#include <string>

#include "calendar/reminder_store.h"

// The dialog's kinds, in the order of its options "kind0" ... "kind4".
inline constexpr RecurrenceKind kReminderFormKinds[] = {RecurrenceKind::kOnce, RecurrenceKind::kSolarYearly,
                                                        RecurrenceKind::kLunarYearly, RecurrenceKind::kLunarMonthly,
                                                        RecurrenceKind::kSolarTerm};
inline constexpr int kReminderFormKindCount = 5;
int FormKindIndex(RecurrenceKind kind);

// What the dialog's fields hold.
struct ReminderForm {
  std::u16string title;
  RecurrenceKind kind = RecurrenceKind::kLunarYearly;
  std::u16string date;    // "2027-09-15", "09-15", "8-15" / "闰4-10", "15", "冬至" by kind
  std::u16string time;    // "HH:MM"
  std::u16string notice;  // days, decimal

  friend bool operator==(const ReminderForm&, const ReminderForm&) = default;
};

// The date field of a kind for a day: the day itself, its month and day, its lunar month and
// day, its lunar day, or its solar term (the next one when the day has none).
std::u16string FormDateFor(RecurrenceKind kind, Day day);
// A new reminder on a day: every year on its lunar date, at 09:00, no notice.
ReminderForm NewReminderForm(Day day);
// The fields of a stored reminder.
ReminderForm FormOf(const Reminder& reminder);
// The hint beside the date field for a kind ("如 八月十五 写 8-15，闰月写 闰4-10").
std::u16string FormDateHint(RecurrenceKind kind);

struct FormCheck {
  ReminderDraft draft;
  std::u16string problem;  // empty when the draft is accepted; otherwise a sentence for the user
};
// The fields as a draft for the store, checked by the store's own rules; a refusal says in the
// user's language what is wrong (an empty title, a date that no year has, a time outside the day,
// days of notice that are no number from 0 to 365).
FormCheck CheckReminderForm(const ReminderForm& form);

// A line of the dialog's list: "09:00 妈妈生日 · 每年农历八月十五 · 提前1天".
std::u16string ReminderListLine(const Reminder& reminder);
