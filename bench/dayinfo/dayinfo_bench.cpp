// Cost of showing one month: 42 DayInfo records with the almanac lists and the holiday marks,
// against the user.dat beside the program: as a month view reads them (the month's data read
// once), and day by day (four queries per day through the database worker).
#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calendar/almanac.h"
#include "calendar/ccalendar.h"
#include "calendar/day_info.h"
#include "calendar/holiday_arrangement.h"
#include "calendar/month_data.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "tests/support/dates.h"

namespace {

using tvtest::Date;

// First cell of a Monday-first month grid.
Day FirstCell(int y, int m) {
  const Day first = Day::FromCivil(y, m, 1);
  return first - (IsoNumber(first.DayOfWeek()) - 1);  // 1 = Monday ... 7 = Sunday
}

enum class Source { kMonthData, kSingleDays, kEngineOnly };

template <Source kSource>
void BM_Month(benchmark::State& state) {
  const Day first = FirstCell(2025, 3);
  DayInfo cells[42];
  for (auto _ : state) {
    Day day = first;
    MonthData data;
    if (kSource == Source::kMonthData) data.Load(first, 42);
    for (DayInfo& cell : cells) {
      if (kSource == Source::kMonthData) BuildDayInfo(day, cell, data);
      else if (kSource == Source::kSingleDays) BuildDayInfo(day, cell);
      else BuildDayInfoWithoutAlmanac(day, cell);
      day += 1;
    }
    benchmark::DoNotOptimize(cells);
  }
}
// Process CPU time counts the database worker's share as well.
BENCHMARK(BM_Month<Source::kMonthData>)
    ->Name("MonthOfDayInfo/with_almanac")
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Month<Source::kSingleDays>)
    ->Name("MonthOfDayInfo/day_by_day")
    ->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Month<Source::kEngineOnly>)->Name("MonthOfDayInfo/engine_only")->Unit(benchmark::kMicrosecond);

void BM_OneQuery(benchmark::State& state) {
  for (auto _ : state) {
    std::optional<DbRow> row;
    benchmark::DoNotOptimize(QueryFirst(u"select yi from yijidata where id = ?1", {u"20250315"}, row));
  }
}
BENCHMARK(BM_OneQuery)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void BM_DayAlmanac(benchmark::State& state) {
  const Day day = Day::FromCivil(2025, 3, 15);
  for (auto _ : state) {
    benchmark::DoNotOptimize(LookUpSuitable(day));
    benchmark::DoNotOptimize(LookUpAvoid(day));
  }
}
BENCHMARK(BM_DayAlmanac)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// The same statements a month issues, run directly on a connection of this thread: what the
// lookups cost without the hand-over to the database worker.
std::u16string RawValue(sqlite3* db, const DbStatement& sql, bool rows) {
  sqlite3_stmt* statement = nullptr;
  std::u16string result;
  if (sqlite3_prepare16_v2(db, sql.sql.data(), static_cast<int>(sql.sql.size() * 2), &statement,
                           nullptr) != SQLITE_OK) {
    return result;
  }
  for (size_t i = 0; i < sql.binds.size(); ++i) {
    const std::u16string value = sql.binds[i].Text();
    sqlite3_bind_text16(statement, static_cast<int>(i + 1), value.data(), static_cast<int>(value.size() * 2),
                        SQLITE_TRANSIENT);
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
  const Day first = FirstCell(2025, 3);
  for (auto _ : state) {
    Day day = first;
    for (int i = 0; i < 42; ++i) {
      const std::u16string id = DateIdText(day);
      for (const char16_t* sql : {u"select yi from yijidata where id = ?1", u"select ji from yijidata where id = ?1"}) {
        const std::u16string numbers = RawValue(db, {sql, {id}}, false);
        const DbStatement query = ActivityNameQuery(numbers);
        if (!query.sql.empty() && state.range(0) != 2) benchmark::DoNotOptimize(RawValue(db, query, true));
      }
      day += 1;
    }
  }
  sqlite3_close(db);
}
BENCHMARK(BM_MonthStatementsOnOwnConnection)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);


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
