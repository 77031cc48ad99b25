// tavrino_testable.exe: tavrino.exe plus the test hook (main_window_test_hook.h) through which the
// program tests and the start-up benchmark drive it. Built beside the program, never shipped.
#include <windows.h>

#include "app/win32/main_window_test_hook.h"
#include "app/win32/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  app::MainWindowTestHook::Install();
  return app::RunTavrino(instance, &app::MainWindowTestHook::Answer);
}
