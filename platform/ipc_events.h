#pragma once
// What crosses process boundaries between the program, the taskbar clock's hook library inside the
// shell, the 64-bit companion and a second start of the program: named events and the instance
// mutex, the hook key, the few window messages and class names. Header only and free of any
// library, so that the hook library (which must import nothing but system DLLs) shares this one
// table with the program.
//
// Events are auto-reset, created unsignalled by the program's listener (platform/win32/ipc.h) or
// its hook control (platform/win32/clock_hook.h) with an access list for the logged-on user and
// SYSTEM only; the hook library and the companion only ever open them.
#include <cstdint>

namespace ipc {

// Set by the hook library on every hit test of the clock; nothing in the program waits on it.
inline constexpr char16_t kClockHitEvent[] = u"{A2528A6D-FFC8-44f4-B8F3-209E67ABAD85}";
// Set on a left button down or double click on the clock: the listener posts 10025.
inline constexpr char16_t kClockLeftClickEvent[] = u"{A40214BF-0F17-4da2-8347-857A26920579}";
// Set on a right button down or double click on the clock: the listener posts 10026.
inline constexpr char16_t kClockRightClickEvent[] = u"{733AFC7D-D285-4296-AB70-05B3D7781301}";
// Set when the hook goes away (the listener's stop, the library's undosomething).
inline constexpr char16_t kUnhookEvent[] = u"{4E60B566-F0B7-419e-B23A-EA8F8984C99F}";
// Set by a second start of the program: the listener posts 10030.
inline constexpr char16_t kActivateEvent[] = u"{A13560C3-CFC1-4523-A6D0-19762E57FBFB}";
// Created by the program before it starts the companion, set when the companion is to end.
inline constexpr char16_t kCompanion64Event[] = u"{D97A95A1-9099-4b82-9B2F-A6042468B62C}";

// The single-instance claim's mutex, in the session's own namespace: one instance per logged-on
// user session. Held by the running program until it ends.
inline constexpr char16_t kInstanceMutex[] = u"Local\\Tavrino.Instance.{5C0B27E4-3F61-4D8A-9B52-71E0D6A4C9F3}";

// The listener's events in creation order (the companion's event belongs to the hook control).
inline constexpr const char16_t* kListenerEvents[] = {kClockHitEvent, kClockLeftClickEvent, kClockRightClickEvent,
                                                      kUnhookEvent, kActivateEvent};

// dosomething/undosomething act only on this key; the subclassed clock also restores itself on
// message 10029 with kHookKeyRestore.
inline constexpr uint32_t kHookKey = 20090415;
inline constexpr uint32_t kHookKeyRestore = 20090416;

// Messages understood by the subclassed clock: 10029 (wParam a hook key) restores it; 10031 makes
// the window whose handle is wParam the foreground window. 10029 with wParam 0 is also what the
// companion's window takes as the request to remove the hook and end.
inline constexpr uint32_t kRestoreClockMessage = 10029;
inline constexpr uint32_t kForegroundMessage = 10031;

// Messages the listener posts to the main window (wParam and lParam 0).
inline constexpr uint32_t kClockLeftClickMessage = 10025;   // toggle the calendar
inline constexpr uint32_t kClockRightClickMessage = 10026;  // the tray menu
inline constexpr uint32_t kActivateMessage = 10030;         // show the calendar
// 10025 with this wParam comes from the program's own pointer hook (the Windows 11 taskbar): its
// lParam holds the clicked clock's centre in physical pixels (x low, y high, signed 16-bit).
inline constexpr uint32_t kClockClickedAt = 1;

// The shell's windows, top-level first: taskbar > notification area > clock.
inline constexpr char16_t kTaskbarClass[] = u"Shell_TrayWnd";
inline constexpr char16_t kNotifyAreaClass[] = u"TrayNotifyWnd";
inline constexpr char16_t kClockClass[] = u"TrayClockWClass";
// Only a copy of the library inside a process of this file name takes over the clock.
inline constexpr char16_t kShellFileName[] = u"explorer.exe";

// The program's main window class (the single-instance probe) and the companion's window class.
inline constexpr char16_t kMainWindowClass[] = u"TavrinoMain";
inline constexpr char16_t kCompanionWindowClass[] = u"TAVRINO64";

// Files beside the program.
inline constexpr char16_t kHookLibrary32[] = u"tvrshell.dll";
inline constexpr char16_t kHookLibrary64[] = u"tvrshell64.dll";
inline constexpr char16_t kCompanionProgram[] = u"tavrino64.exe";

// True when the file name of an executable path (the part after the last '\' or '/') is
// "explorer.exe", ignoring ASCII letter case. Path of any length; plain loops only, so that the
// hook library can use it without a runtime.
inline bool IsShellExecutablePath(const char16_t* path) {
  if (!path) return false;
  const char16_t* name = path;
  for (const char16_t* p = path; *p; ++p) {
    if (*p == u'\\' || *p == u'/') name = p + 1;
  }
  const char16_t* want = kShellFileName;
  for (; *name && *want; ++name, ++want) {
    char16_t c = *name;
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != *want) return false;
  }
  return *name == 0 && *want == 0;
}

}  // namespace ipc
