#pragma once
// The program's entry routine: single instance, data, usage recorder, UI set-up, main window,
// listeners, message loop, then the orderly shutdown. Returns the process's exit code: 0, or
// kExitSkinUnusable when the main window's skin cannot be built (a message box said why).
#include <windows.h>

namespace app {

inline constexpr int kExitSkinUnusable = 3;

int RunTavrino(HINSTANCE instance);

}  // namespace app
