// Plays the 32-bit program's part on the companion road: makes the listener's events as the
// program does, starts the companion (which installs the hook for it) and then waits to be
// killed, as a program that crashes would.
#include <windows.h>

#include "platform/win32/clock_hook.h"
#include "platform/win32/ipc.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  StartIpcListener(window);
  StartClockHookOn(ClockHookRoad::kCompanion);
  for (;;) Sleep(1000);
}
