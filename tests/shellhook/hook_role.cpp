// Plays the 32-bit program's part on the companion road: starts the companion (which installs the
// hook for it) and then waits to be killed, as a program that crashes would.
#include <windows.h>

#include "platform/win32/clock_hook.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  StartClockHookOn(ClockHookRoad::kCompanion);
  for (;;) Sleep(1000);
}
