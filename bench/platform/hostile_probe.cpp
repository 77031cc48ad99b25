// The hostile-server timings of hostile_http_bench.cpp for the Windows edge (WinHTTP), printed as
// plain lines; run under wine64 by run_hostile_probe.sh.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "hostile_scenarios.h"

namespace {

template <typename F>
void Report(const char* name, int runs, F measure) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) ms.push_back(measure());
  std::sort(ms.begin(), ms.end());
  std::printf("%-40s median %8.1f ms  max %8.1f ms  (%d runs)\n", name, ms[ms.size() / 2], ms.back(), runs);
}

}  // namespace

int main() {
  LoopbackServer server(hostile::Streamer());
  Report("dripped headers: past the 300 ms deadline", 5, [&] { return hostile::DeadlineOvershoot(server, "/drip", 300); });
  Report("200,000 headers: until the failure", 3, [&] { return hostile::DeadlineOvershoot(server, "/many", 30000) + 30000; });
  Report("abandon: flag set to return", 10, [&] { return hostile::AbandonLatency(server); });
  Report("endless body: until stopped at 4 MB", 3, [&] { return hostile::EndlessBodyStop(server); });
  return 0;
}
