#include "app/tvcal/remind_command.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/tvcal/occurs_command.h"
#include "app/tvcal/terminal_text.h"
#include "calendar/reminder_ical.h"
#include "calendar/reminder_store.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/text_codec.h"

namespace {

int Refuse(TextSink& err, const std::string& problem) {
  err.Write("tvcal: " + problem +
            "\nusage: tvcal [--db PATH] remind list [FROM TO]   (dates as YYYY-MM-DD)\n"
            "       tvcal [--db PATH] remind export FILE.ics [FROM]\n");
  return kExitUsage;
}

std::string UtcStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &now);
#else
  gmtime_r(&now, &utc);
#endif
  char text[20];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

// Written beside the target and renamed over it: a failed export never leaves half a file.
int Export(std::string_view file, const std::vector<Reminder>& reminders, Day from, TextSink& err) {
  const std::filesystem::path target(Utf8ToWide(file));
  std::filesystem::path work = target;
  work += u".tmp";
  std::error_code error;
  if (!WriteWholeFile(work.u16string(), RemindersToICalendar(reminders, {from, UtcStamp()})) ||
      (std::filesystem::rename(work, target, error), error)) {
    std::filesystem::remove(work, error);
    err.Write("tvcal: cannot write " + ShownArgument(file, 200) + "\n");
    return kExitUsage;
  }
  return kExitOk;
}

struct Line {
  Occurrence occurrence;
  const Reminder* reminder;
};

}  // namespace

int RunRemind(const std::vector<std::string_view>& args, const TvcalOptions& options, TextSink& out,
              TextSink& err) {
  const bool exporting = !args.empty() && args[0] == "export";
  if (exporting ? (args.size() != 2 && args.size() != 3) : (args.empty() || args[0] != "list" || (args.size() != 1 && args.size() != 3)))
    return Refuse(err, "remind takes 'list' with optionally FROM and TO, or 'export' with a file name");
  std::optional<Day> from = options.today, to;
  if (exporting) {
    if (args.size() == 3) from = DayOfDateText(args[2]);
    if (!from) return Refuse(err, "bad or unknown FROM date, expected YYYY-MM-DD");
  } else if (args.size() == 3) {
    from = DayOfDateText(args[1]);
    to = DayOfDateText(args[2]);
    if (!from || !to) return Refuse(err, "bad dates, expected YYYY-MM-DD YYYY-MM-DD");
    if (*from > *to) return Refuse(err, "FROM is after TO");
  } else {
    if (!from) return Refuse(err, "today's date is unknown; give FROM and TO");
    to = *from + 365;
  }
  if (!options.database) {
    err.Write("tvcal: remind needs user.dat (give it with --db PATH)\n");
    return kExitDatabase;
  }
  // A user.dat from before reminders has no table and no reminders.
  std::optional<DbRow> tables;
  const DbOutcome read =
      QueryFirst(u"select count(*) from sqlite_master where type='table' and name='reminders'", {}, tables);
  const bool hasTable = tables && tables->Int(0) == 1;
  bool readAll = true;
  const std::vector<Reminder> reminders = hasTable ? LoadReminders(&readAll) : std::vector<Reminder>{};
  if (read != DbOutcome::kOk || !readAll) {
    err.Write("tvcal: database unusable: the reminders cannot be read\n");
    return kExitDatabase;
  }
  if (exporting) return Export(args[1], reminders, *from, err);
  std::vector<Line> lines;
  for (const Reminder& r : reminders)
    for (const Occurrence& o : OccurrencesBetween(r.rule, *from, *to)) lines.push_back({o, &r});
  std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
    const Day da = a.occurrence.date, db = b.occurrence.date;
    return da != db ? da < db : a.reminder->minuteOfDay < b.reminder->minuteOfDay;
  });
  std::string text;
  for (const Line& line : lines) {
    AppendOccurrence(text, line.occurrence);
    text += '\t';
    AppendUtf8(text, TimeOfDayText(line.reminder->minuteOfDay));
    text += '\t';
    AppendUtf8(text, line.reminder->title);
    text += '\t';
    AppendUtf8(text, RecurrenceText(line.reminder->rule));
    text += '\n';
  }
  out.Write(text);
  return kExitOk;
}
