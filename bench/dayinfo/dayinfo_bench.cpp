// Cost of showing one month: 42 DayInfo records, each with its two almanac lookups (four
// queries through the database worker), against the user.dat beside the program.
#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "calendar/almanac.h"
#include "calendar/ccalendar.h"
#include "calendar/day_info.h"
#include "calendar/holiday_arrangement.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "tests/support/dates.h"

namespace {

using tvtest::Date;

// First cell of a Monday-first month grid.
SystemTime FirstCell(int y, int m) {
  SystemTime first = Date(y, m, 1);
  const int monday1 = (WeekdayOf(y, m, 1) + 5) % 7 + 1;  // 1 = Monday ... 7 = Sunday
  AddDays(first, -(monday1 - 1));
  return first;
}

template <bool kAlmanac>
void BM_Month(benchmark::State& state) {
  const SystemTime first = FirstCell(2025, 3);
  DayInfo cells[42];
  for (auto _ : state) {
    SystemTime day = first;
    for (DayInfo& cell : cells) {
      if (kAlmanac) BuildDayInfo(day, cell); else BuildDayInfoWithoutAlmanac(day, cell);
      AddDays(day, 1);
    }
    benchmark::DoNotOptimize(cells);
  }
}
// Process CPU time counts the database worker's share as well.
BENCHMARK(BM_Month<true>)
    ->Name("MonthOfDayInfo/with_almanac")
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Month<false>)->Name("MonthOfDayInfo/engine_only")->Unit(benchmark::kMicrosecond);

void BM_OneQuery(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(QueryValue(u"select yi from yijidata where id = '20250315'"));
  }
}
BENCHMARK(BM_OneQuery)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void BM_DayAlmanac(benchmark::State& state) {
  const SystemTime day = Date(2025, 3, 15);
  for (auto _ : state) {
    benchmark::DoNotOptimize(LookUpSuitable(day));
    benchmark::DoNotOptimize(LookUpAvoid(day));
  }
}
BENCHMARK(BM_DayAlmanac)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// The same statements a month issues, run directly on a connection of this thread: what the
// lookups cost without the hand-over to the database worker.
std::u16string RawValue(sqlite3* db, const std::u16string& sql, bool rows) {
  sqlite3_stmt* statement = nullptr;
  std::u16string result;
  if (sqlite3_prepare16_v2(db, sql.data(), static_cast<int>(sql.size() * 2), &statement,
                           nullptr) != SQLITE_OK) {
    return result;
  }
  while (sqlite3_step(statement) == SQLITE_ROW) {
    const void* text = sqlite3_column_text16(statement, 0);
    const int bytes = sqlite3_column_bytes16(statement, 0);
    if (!result.empty()) result += u"\r\n";
    if (text) result.append(static_cast<const char16_t*>(text), bytes / 2);
    if (!rows) break;
  }
  sqlite3_finalize(statement);
  return result;
}

void BM_MonthStatementsOnOwnConnection(benchmark::State& state) {
  sqlite3* db = nullptr;
  const std::string path = std::string(std::filesystem::path(ProgramDirectory() + u"user.dat").string());
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    state.SkipWithError("cannot open user.dat");
    return;
  }
  // Argument 2: only the yijidata lookups, without the name queries.
  // Argument 1: the connection keeps its file lock between statements, so SQLite need not
  // re-check the file before each one.
  if (state.range(0) == 1) sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
  const SystemTime first = FirstCell(2025, 3);
  for (auto _ : state) {
    SystemTime day = first;
    for (int i = 0; i < 42; ++i) {
      const std::u16string id = ReplaceText(FormatDate(day), u"-", u"");
      for (const char16_t* column : {u"yi", u"ji"}) {
        const std::u16string numbers =
            RawValue(db, std::u16string(u"select ") + column + u" from yijidata where id = '" + id + u"'", false);
        const std::u16string query = ActivityNameQuery(numbers);
        if (!query.empty() && state.range(0) != 2) benchmark::DoNotOptimize(RawValue(db, query, true));
      }
      AddDays(day, 1);
    }
  }
  sqlite3_close(db);
}
BENCHMARK(BM_MonthStatementsOnOwnConnection)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// What a month would cost with the almanac read per month instead of per day: one range query
// over yijidata and one read of the 142 names, through the same worker, then assembled here.
void BM_MonthInTwoQueries(benchmark::State& state) {
  const SystemTime first = FirstCell(2025, 3);
  SystemTime last = first;
  AddDays(last, 41);
  const std::u16string from = ReplaceText(FormatDate(first), u"-", u"");
  const std::u16string to = ReplaceText(FormatDate(last), u"-", u"");
  for (auto _ : state) {
    const std::u16string days = QueryRows(u"select id || ':' || yi || ':' || ji from yijidata where id between '" +
                                          from + u"' and '" + to + u"'");
    const std::u16string names = QueryRows(u"select id || ':' || key from yijikey");
    std::vector<std::u16string> byNumber(200);
    size_t start = 0;
    while (start < names.size()) {
      size_t end = names.find(u"\r\n", start);
      if (end == std::u16string::npos) end = names.size();
      const size_t colon = names.find(u':', start);
      if (colon < end) {
        const int number = std::stoi(std::string(names.begin() + start, names.begin() + colon));
        if (number >= 0 && number < 200) byNumber[number] = names.substr(colon + 1, end - colon - 1);
      }
      start = end + 2;
    }
    std::u16string lists;
    for (char16_t c : days) {
      if (c >= u'0' && c <= u'9') continue;
      lists += c;
    }
    benchmark::DoNotOptimize(byNumber);
    benchmark::DoNotOptimize(lists);
  }
}
BENCHMARK(BM_MonthInTwoQueries)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  const std::u16string path = ProgramDirectory() + u"user.dat";
  if (!FileExists(path)) {
    std::fprintf(stderr, "user.dat missing beside the benchmark\n");
    return 1;
  }
  OpenDatabase(path);
  LoadHolidayArrangementForYear(2025);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  CloseDatabase();
  return 0;
}
