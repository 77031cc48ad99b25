// One request's round trip through the database worker: post, run on the worker, wake the poster.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/database.h"
#include "tests/support/temp_dir.h"

namespace {

struct OpenDb {
  OpenDb() {
    OpenDatabase(dir.Dir() + u"user.dat", DbOpenMode::kCreate);
    ExecSql(u"create table userconfig (name text primary key, value text)");
    ExecSql(u"insert into userconfig (name,value) values ('skin','bg3')");
  }
  ~OpenDb() { CloseDatabase(); }
  tvtest::TempDir dir{"tvbench"};
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
