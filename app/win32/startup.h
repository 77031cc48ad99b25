#pragma once
// The program's entry routine: single instance, data, usage recorder, UI set-up, main window,
// listeners, message loop, then the orderly shutdown. Returns the process's exit code (0).
#include <windows.h>

namespace app {

int RunTavrino(HINSTANCE instance);

}  // namespace app
