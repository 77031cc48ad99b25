#pragma once
// The tray-buttons road (the Windows 11 taskbar, platform/taskbar_clock.h): two threads of the
// program, nothing in the shell.
//   locator  finds every taskbar's clock (platform/win32/clock_locator.h) and publishes an
//            immutable snapshot; each pass runs on a helper thread and is given up when one of
//            its calls into the shell stays unanswered for 1 s (or the pass passes 10 s), so a
//            hung shell keeps the last snapshot and blocks nothing. It looks again when asked
//            (below), every 30 s, and at once when the pointer hook sees the pointer come onto a
//            taskbar.
//   hook     a WH_MOUSE_LL hook with its own message loop. Its procedure only compares the point
//            with the snapshot (taskbar::ClickRules). A release that ends a taken click posts
//            10025 to the target window with wParam ipc::kClockClickedAt and lParam the clicked
//            clock's centre (x, y as signed 16-bit numbers). The hook is in place only while the
//            snapshot holds a clock; a watchdog puts it back when the system removed it. The
//            thread's hidden top-level window asks the locator to look again on
//            WM_DISPLAYCHANGE, WM_DPICHANGED and WM_SETTINGCHANGE, and so do the shell's
//            show, hide and location events of a taskbar window (WinEvents).
// Start and stop from one thread (the UI thread).
#include <windows.h>

#include <vector>

namespace taskbar {

// Starts both threads for the window `target`; whatever ran before is stopped first. False (and
// logged) when a thread cannot be started; nothing then runs.
bool StartTrayButtonRoad(HWND target);
// Ends both threads: the hook is removed before this returns. Nothing happens without a start.
void StopTrayButtonRoad();
// Asks the locator to look again (safe from any thread; nothing without a road).
void RefreshTrayButtonRoad();
// True while the hook is in place (the snapshot holds a clock).
bool TrayButtonHookActive();

// For measurements: how long the hook procedure took, in microseconds, for its last calls (up
// to 4096) since the road started.
std::vector<double> HookProcedureMicroseconds();

}  // namespace taskbar
