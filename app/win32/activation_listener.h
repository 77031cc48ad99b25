#pragma once
// The running instance's side of the single-instance rule: a second start sets the named
// activation event and exits; this listener sees the event and posts UM_SHOW_MAIN to the main
// window. (The taskbar clock's events join it when the clock hook exists.)
#include <windows.h>

namespace app {

inline constexpr const wchar_t* kActivateEventName = L"{A13560C3-CFC1-4523-A6D0-19762E57FBFB}";
inline constexpr const wchar_t* kMainWindowClass = L"TavrinoMain";

// A second start: when a main window exists, sets the activation event and returns true (the
// caller then exits).
bool SignalRunningInstance();

// Creates the event and starts watching it; false when the event cannot be made (logged).
bool StartActivationListener(HWND mainWindow);
// Stops the watcher (waits up to a second) and releases the event.
void StopActivationListener();

}  // namespace app
