// The floor under any worker round trip: one hand-off to another thread and back through Event.
#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

#include "platform/thread.h"

namespace {

void BM_EventPingPong(benchmark::State& state) {
  Event ping(false), pong(false);
  std::atomic<bool> done{false};
  std::thread partner([&] {
    for (;;) {
      ping.Wait();
      if (done) break;
      pong.Set();
    }
  });
  for (auto _ : state) {
    ping.Set();
    pong.Wait();
  }
  done = true;
  ping.Set();
  partner.join();
}
BENCHMARK(BM_EventPingPong);

}  // namespace
