// One request's round trip through the database worker: post, run on the worker, wake the poster.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/database.h"

namespace {

struct OpenDb {
  OpenDb() {
    std::random_device random;
    dir = std::filesystem::temp_directory_path() / ("tvbench-" + std::to_string(random()));
    std::filesystem::create_directories(dir);
    OpenDatabase((dir / "user.dat").u16string(), DbOpenMode::kCreate);
    ExecSql(u"create table userconfig (name text primary key, value text)");
    ExecSql(u"insert into userconfig (name,value) values ('skin','bg3')");
  }
  ~OpenDb() {
    CloseDatabase();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  std::filesystem::path dir;
};

void BM_QueryValueRoundTrip(benchmark::State& state) {
  static OpenDb db;
  for (auto _ : state) {
    benchmark::DoNotOptimize(QueryValue(u"select 1"));
  }
}
BENCHMARK(BM_QueryValueRoundTrip);

void BM_GetUserConfigRoundTrip(benchmark::State& state) {
  static OpenDb db;
  for (auto _ : state) {
    benchmark::DoNotOptimize(QueryValue(u"select value from userconfig where name = 'skin'"));
  }
}
BENCHMARK(BM_GetUserConfigRoundTrip);

}  // namespace
