// Plays the program's part until it is killed, as a program that crashes would: makes the
// listener's events as the program does and takes the clock on the companion road (the 32-bit
// program on 64-bit Windows), or with "--own" on the own-library road (the x64 program).
#include <windows.h>

#include "platform/win32/clock_hook.h"
#include "platform/win32/ipc.h"
#include "platform/win32/message_loop_waits.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  StartIpcListener(window);
  bool own = commandLine && wcsstr(commandLine, L"--own");
  StartClockHookOn(own ? ClockHookRoad::kOwnLibrary : ClockHookRoad::kCompanion);
  return RunMessageLoop();  // nothing posts WM_QUIT: it runs until it is killed
}
