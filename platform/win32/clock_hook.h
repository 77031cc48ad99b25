#pragma once
// Installing and removing the taskbar clock's hook for the program (UI thread only).
//
// Where a clock window exists ("TrayClockWClass", a secondary taskbar's "ClockButton": Windows
// 10 and its look-alike taskbars), the hook library takes it, on one of two roads by the widths
// of the program and of Windows:
//   own library  the program loads the hook library of its own width from its folder
//                ("tvrshell64.dll" for a 64-bit program, "tvrshell.dll" for a 32-bit one on
//                32-bit Windows) and calls its dosomething/undosomething itself;
//   companion    a 32-bit program on 64-bit Windows starts "tavrino64.exe" from its folder,
//                hidden, after creating kCompanion64Event; the companion installs the 64-bit
//                hook and removes it when the event is set, when it is sent message 10029, or
//                when the program ends without asking.
// Elsewhere (the Windows 11 taskbar, whose clock is a button of its content bridge) nothing goes
// into the shell: the tray-buttons road (platform/win32/clock_interceptor.h) finds the clock with
// UI Automation and takes its left clicks with a low-level pointer hook in the program. With no
// taskbar of either kind (no shell yet, or one without a clock) no road is taken, and no thread
// waits for one: the shell's "TaskbarCreated" chooses again.
// A missing library, export or companion is logged once per attempt and leaves the clock to the
// shell; start-up goes on.
#include <windows.h>

enum class ClockHookRoad { kOwnLibrary, kCompanion, kTrayButtons, kNone };

// True on 64-bit Windows: always for a 64-bit program; for a 32-bit one when it runs under WOW64
// on an x64 or IA-64 processor.
bool Is64BitWindows();
// The hook library's road this build takes on this system.
ClockHookRoad DefaultClockHookRoad();
// The road for the desktop as it is now: the hook library's where a clock window exists, the tray
// buttons' where a taskbar has a content bridge, else none.
ClockHookRoad ChooseClockHookRoad();

// Installs the hook on the road chosen now, for the main window `target` (the tray-buttons road
// posts its toggles there; null: the program's "TavrinoMain" window). Called when the main window
// is created, again when the taskbar is re-created ("TaskbarCreated") and when the user turns the
// takeover back on: whatever an earlier call installed (the hook, the companion, the tray-button
// threads) is removed first, so there is at any time one hook and at most one companion.
void StartClockHook(HWND target = nullptr);
// The same on a given road (tests take the companion road from a 64-bit program).
void StartClockHookOn(ClockHookRoad road, HWND target = nullptr);

// Removes the hook: undosomething on the own-library road; the tray-button threads end; on the
// companion road sets
// kCompanion64Event, sends message 10029 to the companion's window and waits for the companion
// to end (up to 3 s, then it is ended). Does nothing when nothing was started.
void StopClockHook();
