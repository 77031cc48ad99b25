#include "calendar/reminder_store.h"

#include <cstdint>
#include <optional>

#include "platform/clock.h"
#include "platform/data_steps.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/log.h"
#include "platform/text_utils.h"

namespace {

// "H:MM" or "HH:MM" into minutes of the day; -1 when it is no time of day.
int ParseTimeOfDay(std::u16string_view text) {
  const size_t colon = text.find(u':');
  if (colon == std::u16string_view::npos || colon > 2 || text.size() - colon != 3) return -1;
  const std::optional<int64_t> hour = DecimalValue(text.substr(0, colon), 2);
  const std::optional<int64_t> minute = DecimalValue(text.substr(colon + 1), 2);
  if (!hour || !minute || *hour > 23 || *minute > 59) return -1;
  return static_cast<int>(*hour * 60 + *minute);
}

// The reminders layout of the open file: 0 when it has none (or cannot be read, as `outcome` says).
int StoredSchemaVersion(DbOutcome* outcome = nullptr) {
  std::optional<DbRow> row;
  const DbOutcome read = QueryFirst(u"select max(version) from reminders_schema", {}, row);
  if (outcome) *outcome = read;
  const std::optional<int64_t> version = row ? row->Int(0) : std::nullopt;
  return version && *version > 0 && *version <= INT32_MAX ? static_cast<int>(*version) : 0;
}

bool Writable(std::u16string& problem) {
  const int version = StoredSchemaVersion();
  if (version == kReminderSchemaVersion) return true;
  problem = version > kReminderSchemaVersion
                ? u"the reminders were saved by a newer version of the program; they are left unchanged"
                : u"the reminders cannot be stored: the data file is not usable";
  LogError(u"reminders: " + problem);
  return false;
}

std::u16string DatabaseProblem(const char16_t* what) {
  LogError(std::u16string(u"reminders: ") + what + u" failed");
  return std::u16string(what) + u" failed: the data file could not be written";
}

}  // namespace

std::u16string TimeOfDayText(int minuteOfDay) {
  const int h = minuteOfDay / 60, m = minuteOfDay % 60;
  return std::u16string{static_cast<char16_t>(u'0' + h / 10), static_cast<char16_t>(u'0' + h % 10), u':',
                        static_cast<char16_t>(u'0' + m / 10), static_cast<char16_t>(u'0' + m % 10)};
}

std::u16string CheckReminder(const ReminderDraft& draft, Reminder& out) {
  const std::u16string title = TrimText(draft.title);
  if (title.empty()) return u"the reminder needs a title";
  if (title.size() > kMaxReminderTitle) return u"the title is too long (200 characters at most)";
  for (char16_t c : title)
    if (c < u' ' || c == 0x7f) return u"the title must be one line without control characters";
  const RecurrenceParse parsed = ParseRecurrence(draft.rule);
  if (!parsed.rule) return parsed.problem;
  const int minute = ParseTimeOfDay(TrimText(draft.time));
  if (minute < 0) return u"the time of day must lie between 00:00 and 23:59";
  if (draft.noticeDays < 0 || draft.noticeDays > kMaxNoticeDays) return u"days of notice must be 0 to 365";
  out.title = title;
  out.rule = *parsed.rule;
  out.minuteOfDay = minute;
  out.noticeDays = draft.noticeDays;
  return {};
}

bool PrepareReminderTables() {
  DbOutcome read = DbOutcome::kOk;
  if (StoredSchemaVersion(&read) == 0 && read != DbOutcome::kUnusable) {
    // A file from before reminders: the tables of data/schema.sql. A failure is logged by the
    // database worker and found by the check below.
    (void)ExecTransaction({
        {u"create table if not exists reminders (id INTEGER PRIMARY KEY, title TEXT NOT NULL, rule TEXT NOT NULL,"
         u" time TEXT NOT NULL, notice INTEGER NOT NULL DEFAULT 0, created TEXT NOT NULL,"
         u" lastshown TEXT NOT NULL DEFAULT '')", {}},
        {u"create table if not exists reminders_schema (version INTEGER NOT NULL)", {}},
        {u"insert into reminders_schema (version) select 1 where not exists (select 1 from reminders_schema)", {}},
    });
  }
  std::u16string problem;
  return Writable(problem);
}

void InstallReminderTables() {
  RegisterDataStep(DataPhase::kAfterOpen, "reminders", 0, [] {
    // Only a user.dat of ours gains the tables: a file without our settings table is reported at
    // start and must stay exactly as it was.
    std::optional<DbRow> tables;
    (void)QueryFirst(u"select count(*) from sqlite_master where type = 'table' and name = 'userconfig'", {}, tables);
    if (tables && tables->Int(0) == 1) PrepareReminderTables();
  });
}

std::vector<Reminder> LoadReminders(bool* read) {
  std::vector<Reminder> out;
  const DbOutcome outcome = Query(
      u"select id, title, rule, time, notice, created, lastshown from reminders order by id", [&](const DbRow& row) {
        Reminder r;
        const std::optional<int64_t> id = row.Int(0), notice = row.Int(4);
        const RecurrenceParse rule = ParseRecurrence(row.Text(2));
        r.minuteOfDay = ParseTimeOfDay(row.Text(3));
        if (row.Size() != 7 || row.IsNull(1) || !id || *id < 0 || !rule.rule || r.minuteOfDay < 0 || !notice ||
            *notice < 0 || *notice > kMaxNoticeDays) {
          LogError(u"reminders: a stored row cannot be read and is left out: " + row.Text(0) + u", " +
                   row.Text(1).substr(0, 120));
          return;
        }
        r.id = *id;
        r.title = row.Text(1);
        r.rule = *rule.rule;
        r.noticeDays = static_cast<int>(*notice);
        r.created = row.Text(5);
        r.lastShown = DayOfDateText(row.Text(6));
        out.push_back(std::move(r));
      });
  if (read) *read = outcome == DbOutcome::kOk;
  // Logged by the database worker as well, without saying what goes missing.
  if (outcome != DbOutcome::kOk && outcome != DbOutcome::kUnusable)
    LogError(u"reminders: the stored reminders cannot be read (database " + std::u16string(DbOutcomeName(outcome)) +
             u")");
  return out;
}

namespace {

// Checks the draft into `r` and the file for writing; false with save.problem saying why not.
bool CheckDraftForSaving(const ReminderDraft& draft, Reminder& r, ReminderSave& save) {
  save.problem = CheckReminder(draft, r);
  return save.problem.empty() && Writable(save.problem);
}

// ?1 ... ?4 of both statements that store a draft: title, rule, time and notice.
std::vector<DbValue> DraftValues(const Reminder& r) {
  return {r.title, RecurrenceText(r.rule), TimeOfDayText(r.minuteOfDay), r.noticeDays};
}

}  // namespace

ReminderSave AddReminder(const ReminderDraft& draft) {
  ReminderSave save;
  Reminder r;
  if (!CheckDraftForSaving(draft, r, save)) return save;
  std::vector<DbValue> values = DraftValues(r);
  values.emplace_back(FormatTimestamp(LocalNow()).substr(0, 19));
  std::optional<DbRow> row;
  const DbOutcome outcome = QueryFirst(
      u"insert into reminders (title,rule,time,notice,created,lastshown) values (?1,?2,?3,?4,?5,'') returning id",
      values, row);
  save.id = row ? row->Int(0).value_or(0) : 0;
  if (outcome != DbOutcome::kOk || save.id <= 0) {
    save.id = 0;
    save.problem = DatabaseProblem(u"saving the reminder");
  }
  return save;
}

ReminderSave UpdateReminder(int64_t id, const ReminderDraft& draft) {
  ReminderSave save;
  Reminder r;
  if (!CheckDraftForSaving(draft, r, save)) return save;
  std::vector<DbValue> values = DraftValues(r);
  values.emplace_back(id);
  std::optional<DbRow> changed;
  const DbOutcome outcome = QueryFirst(
      u"update reminders set lastshown=case when rule=?2 and time=?3 then lastshown else '' end,"
      u" title=?1, rule=?2, time=?3, notice=?4 where id=?5 returning id",
      values, changed);
  if (outcome != DbOutcome::kOk)
    save.problem = DatabaseProblem(u"saving the reminder");
  else if (!changed)
    save.problem = u"the reminder no longer exists";
  else
    save.id = id;
  return save;
}

bool DeleteReminder(int64_t id) {
  std::u16string problem;
  if (!Writable(problem)) return false;
  return Exec(u"delete from reminders where id=?1", {id}) == DbOutcome::kOk;
}

bool MarkReminderShown(int64_t id, Day day) {
  std::u16string problem;
  if (!Writable(problem)) return false;
  return Exec(u"update reminders set lastshown=?1 where id=?2", {FormatDate(day), id}) == DbOutcome::kOk;
}
