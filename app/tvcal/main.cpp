// tvcal: the lunar calendar in a terminal.
#include <cstdlib>
#include <string>
#include <ctime>
#include <string_view>
#include <vector>

#include "app/tvcal/commands.h"
#include "app/tvcal/console.h"
#include "app/tvcal/database_facts.h"
#include "app/tvcal/terminal_text.h"
#include "platform/date_time.h"
#include "platform/text_codec.h"

namespace {

// The longest tvcal waits for another program's lock on the database.
constexpr int kBusyWaitMs = 100;

class ConsoleSink : public TextSink {
 public:
  explicit ConsoleSink(Stream stream) : stream_(stream) {}
  void Write(std::string_view utf8) override { WriteText(stream_, utf8); }

 private:
  Stream stream_;
};

std::optional<Day> LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &now) != 0) return std::nullopt;
#else
  if (localtime_r(&now, &local) == nullptr) return std::nullopt;
#endif
  return Day::FromValidCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace

int main(int argc, char** argv) {
  PrepareConsole();
  const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  std::vector<std::string_view> args(arguments.begin(), arguments.end());
  TvcalOptions options;
  options.today = LocalToday();
  // TVCAL_TODAY=YYYY-MM-DD pins "today" (reproducible output); NO_COLOR turns colours off.
  if (const char* pinned = std::getenv("TVCAL_TODAY"); pinned && *pinned)
    options.today = DayOfDateText(pinned);
  const char* noColor = std::getenv("NO_COLOR");
  options.color = IsColorTerminal(Stream::kOut) && !(noColor && *noColor);
  ConsoleSink out(Stream::kOut), err(Stream::kErr);

  // Leading options: --db PATH, --no-db.
  std::u16string databasePath = DefaultDatabasePath();
  while (!args.empty() && args[0].substr(0, 2) == "--" && args[0] != "--help") {
    if (args[0] == "--no-db") {
      databasePath.clear();
      args.erase(args.begin());
    } else if (args[0] == "--db" && args.size() >= 2) {
      databasePath = Utf8ToWide(args[1]);
      args.erase(args.begin(), args.begin() + 2);
    } else {
      err.Write("tvcal: unknown or incomplete option '" + ShownArgument(args[0]) + "'\n");
      RunTvcal({"help"}, options, err, err);  // the usage text, on standard error
      return kExitUsage;
    }
  }

  // The database is needed only for the views that show days off and the almanac. It is never
  // waited for: a file locked by another program is left out (and said so), like a broken one.
  const bool wantsFacts = args.empty() || args[0] == "month" || args[0] == "day" || args[0] == "remind";
  DatabaseDayInfo databaseFacts;
  CalendarDatabase database;
  database.state = CalendarDatabase::kReady;
  bool opened = false;
  if (wantsFacts && !databasePath.empty()) {
    const int year = options.today ? options.today->Year() : 0;
    database = OpenCalendarDatabase(databasePath, year, kBusyWaitMs);
    if (database.state == CalendarDatabase::kUnusable) {
      err.Write("tvcal: database unusable: " + ShownArgument(WideToUtf8(database.problem), 300) + "\n");
      return kExitDatabase;
    }
    opened = database.state == CalendarDatabase::kReady;
    if (opened) options.provider = &databaseFacts;
    options.database = opened;
  }
  int rc = RunTvcal(args, options, out, err);
  if (database.state == CalendarDatabase::kBusy) {
    err.Write("tvcal: database busy: " + ShownArgument(WideToUtf8(database.problem), 300) +
              "; days off and the almanac are left out\n");
    if (rc == kExitOk) rc = kExitDatabase;
  }
  std::u16string problem;
  if (opened && !CloseCalendarDatabase(&problem)) {
    err.Write("tvcal: database unusable: " + ShownArgument(WideToUtf8(problem), 300) + "\n");
    if (rc == kExitOk) rc = kExitDatabase;
  }
  return rc;
}
