// How promptly the client gives up on hostile servers (natively, libcurl). Each benchmark reports
// the measured time per iteration (manual time); the wine64 counterpart is run_hostile_probe.sh.
#include <benchmark/benchmark.h>

#include "hostile_scenarios.h"

namespace {

LoopbackServer& Server() {
  static LoopbackServer server(hostile::Streamer());
  return server;
}

void BM_DrippedHeadersPastTheDeadline(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(hostile::DeadlineOvershoot(Server(), "/drip", 300) / 1000.0);
}
BENCHMARK(BM_DrippedHeadersPastTheDeadline)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ManyHeadersUntilFailure(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime((hostile::DeadlineOvershoot(Server(), "/many", 30000) + 30000) / 1000.0);
}
BENCHMARK(BM_ManyHeadersUntilFailure)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AbandonToReturn(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(hostile::AbandonLatency(Server()) / 1000.0);
}
BENCHMARK(BM_AbandonToReturn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_EndlessBodyToLimit(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(hostile::EndlessBodyStop(Server()) / 1000.0);
}
BENCHMARK(BM_EndlessBodyToLimit)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
