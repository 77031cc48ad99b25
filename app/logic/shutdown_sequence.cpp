#include "app/logic/shutdown_sequence.h"

void RunShutdown(const ShutdownSteps& steps) {
  for (const std::function<void()>* step : {&steps.recordExit, &steps.stopClockHook, &steps.stopIpcListener,
                                           &steps.stopUsageRecorder, &steps.closeUserData}) {
    if (*step) (*step)();
  }
}
