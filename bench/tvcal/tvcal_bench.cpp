// tvcal's output produced in the process: twelve `month` views of a year with days off, make-up
// working days and the almanac from the user.dat beside the benchmark, and `dump` of the whole
// supported range (the sink drops the text, so only producing it is measured).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/tvcal/commands.h"
#include "app/tvcal/database_facts.h"
#include "platform/file_utils.h"

namespace {

class CountingSink : public TextSink {
 public:
  void Write(std::string_view utf8) override { bytes += utf8.size(); }
  size_t bytes = 0;
};

void BM_YearOfMonths(benchmark::State& state) {
  DatabaseDayInfo facts;
  TvcalOptions options;
  options.today = Day::FromCivil(2025, 10, 1);
  options.provider = &facts;
  std::vector<std::string> months;
  for (int m = 1; m <= 12; ++m) {
    months.push_back(std::string(m < 10 ? "2025-0" : "2025-") + std::to_string(m));
  }
  CountingSink out, err;
  for (auto _ : state) {
    for (const std::string& month : months) RunTvcal({"month", month}, options, out, err);
  }
  benchmark::DoNotOptimize(out.bytes);
}
// Process CPU time counts the database worker's share as well.
BENCHMARK(BM_YearOfMonths)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_DumpWholeRange(benchmark::State& state) {
  TvcalOptions options;
  CountingSink out, err;
  for (auto _ : state) RunTvcal({"dump", "1900-01-31", "2100-12-31"}, options, out, err);
  benchmark::DoNotOptimize(out.bytes);
}
BENCHMARK(BM_DumpWholeRange)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const std::u16string path = DefaultDatabasePath();
  if (!FileExists(path) || OpenCalendarDatabase(path, 2025, 1000).state != CalendarDatabase::kReady) {
    std::fprintf(stderr, "user.dat missing beside the benchmark\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  CloseCalendarDatabase(nullptr);
  return 0;
}
