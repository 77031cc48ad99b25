#pragma once
// The local wall clock. Tests may replace it to stand at any moment (e.g. just before midnight).
#include "platform/system_time.h"

SystemTime LocalNow();

using LocalClock = SystemTime (*)();
// nullptr restores the system clock.
void SetLocalClock(LocalClock clock);

// The system clock itself (edge-specific).
SystemTime SystemLocalNow();
