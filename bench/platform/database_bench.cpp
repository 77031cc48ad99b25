// One request's round trip through the database worker: post, run on the worker, wake the poster.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "platform/database.h"
#include "tests/support/temp_dir.h"

namespace {

struct OpenDb {
  OpenDb() {
    OpenDatabase(dir.Dir() + u"user.dat", DbOpenMode::kCreate);
    (void)Exec(u"create table userconfig (name text primary key, value text)");
    (void)Exec(u"insert into userconfig (name,value) values ('skin','bg3')");
  }
  ~OpenDb() { CloseDatabase(); }
  tvtest::TempDir dir{"tvbench"};
};

void BM_QueryValueRoundTrip(benchmark::State& state) {
  static OpenDb db;
  for (auto _ : state) {
    std::optional<DbRow> row;
    benchmark::DoNotOptimize(QueryFirst(u"select 1", {}, row));
  }
}
BENCHMARK(BM_QueryValueRoundTrip);

void BM_GetUserConfigRoundTrip(benchmark::State& state) {
  static OpenDb db;
  for (auto _ : state) {
    std::optional<DbRow> row;
    benchmark::DoNotOptimize(QueryFirst(u"select value from userconfig where name = ?1", {u"skin"}, row));
  }
}
BENCHMARK(BM_GetUserConfigRoundTrip);

}  // namespace
