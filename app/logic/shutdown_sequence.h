#pragma once
// The program's orderly shutdown after the message loop ends. Each step may be empty.
#include <functional>

struct ShutdownSteps {
  std::function<void()> recordExit;         // usage event 90002
  std::function<void()> stopClockHook;
  std::function<void()> stopIpcListener;
  std::function<void()> stopUsageRecorder;  // writes the recorder's pending lines (90002 among them)
  std::function<void()> closeUserData;      // "lrt", database, log writer
};

// Runs the steps in this order: exit event, clock hook, listener, usage recorder, user data. The
// recorder stops after the last event is recorded and before the log writer goes, so that the
// exit event reaches its file and a failure to write it can still be logged.
void RunShutdown(const ShutdownSteps& steps);
