#pragma once
// The stand-in shell's answers to a test. The stand-in (stand_in_shell.cpp, built as
// "explorer.exe") shows Shell_TrayWnd > TrayNotifyWnd > TrayClockWClass; a test sends these
// messages to its Shell_TrayWnd window.
#include <windows.h>

namespace standin {

// 1 when the clock's window procedure is no longer the stand-in's own.
inline constexpr UINT kIsSubclassed = WM_APP + 1;
// How many times the stand-in's own clock procedure received message wParam.
inline constexpr UINT kReceived = WM_APP + 2;
// Clears those counts.
inline constexpr UINT kClearReceived = WM_APP + 3;
// Unloads the library the stand-in loaded itself ("--load PATH"); 1 when it was loaded.
inline constexpr UINT kUnloadLibrary = WM_APP + 4;

// Where the clock stands on the screen: the taskbar along the bottom of a 1280 x 800 screen, the
// clock well left of where the calendar window stands (by the right edge).
inline constexpr int kTaskbarHeight = 40;
inline constexpr int kClockLeft = 600, kClockWidth = 80;

}  // namespace standin
