#pragma once
// The main window's handle for the whole process: set once at start-up, read by whoever posts to
// the main window.
#include <windows.h>

namespace app {

void SetMainWindowHandle(HWND hwnd);
HWND MainWindowHandle();

}  // namespace app
