#pragma once
// The user's reminders in table "reminders" of user.dat (layout: data/schema.sql). Every value
// the user typed reaches SQLite as a bound parameter. Calls go through the database worker
// (platform/database.h) and may come from any thread.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calendar/recurrence.h"

inline constexpr int kReminderSchemaVersion = 1;
inline constexpr int kMaxNoticeDays = 365;
inline constexpr size_t kMaxReminderTitle = 200;  // characters (UTF-16 units)

struct Reminder {
  int64_t id = 0;
  std::u16string title;
  Recurrence rule;
  int minuteOfDay = 0;       // 0 ... 1439: when on the day it is due
  int noticeDays = 0;        // shown this many days before the day (0 ... kMaxNoticeDays)
  std::u16string created;    // "yyyy-mm-dd hh:mm:ss" local time
  std::optional<Day> lastShown;  // the occurrence last shown; nothing before the first
};

// What the user typed, before it is checked.
struct ReminderDraft {
  std::u16string title;
  std::u16string rule;   // the text form of calendar/recurrence.h
  std::u16string time;   // "H:MM" or "HH:MM"
  int noticeDays = 0;
};

// The draft as a reminder, or why it is refused (a sentence for the user; empty when accepted):
// an empty or blank title, one with control characters (line breaks included) or longer than
// kMaxReminderTitle, a rule ParseRecurrence refuses, a time outside 00:00 ... 23:59, notice days
// outside 0 ... kMaxNoticeDays. The title is kept without its leading and trailing blanks.
std::u16string CheckReminder(const ReminderDraft& draft, Reminder& out);

// "HH:MM" of a minute of the day.
std::u16string TimeOfDayText(int minuteOfDay);

// Creates the tables in a user.dat made before reminders existed. False when the database is not
// usable or the file's reminders are of a newer layout than this program's (then nothing is
// written to them).
bool PrepareReminderTables();
// Runs PrepareReminderTables each time the program's data opens (platform/data_steps.h).
void InstallReminderTables();

// Every stored reminder, in the order they were made. A row whose rule or time cannot be read
// (written by something else) is logged and left out. When the table cannot be read at all (no
// database, a lock, no table) the list is empty, and *read (when given) is false.
std::vector<Reminder> LoadReminders(bool* read = nullptr);

struct ReminderSave {
  int64_t id = 0;          // the stored row; 0 when nothing was stored
  std::u16string problem;  // why not: the draft's fault or the database's
};
// Stores a new reminder; created is the local time now.
ReminderSave AddReminder(const ReminderDraft& draft);
// Replaces title, rule, time and notice of reminder id; a changed rule or time forgets lastshown.
ReminderSave UpdateReminder(int64_t id, const ReminderDraft& draft);
bool DeleteReminder(int64_t id);
// Records that the occurrence on `day` was shown.
bool MarkReminderShown(int64_t id, Day day);
