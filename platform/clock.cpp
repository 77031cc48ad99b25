#include "platform/clock.h"

#include <atomic>

namespace {
std::atomic<LocalClock> g_clock{nullptr};
}

SystemTime LocalNow() {
  LocalClock clock = g_clock.load();
  return clock ? clock() : SystemLocalNow();
}

void SetLocalClock(LocalClock clock) { g_clock.store(clock); }
