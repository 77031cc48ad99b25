// The taskbar clock's hook library, "tvrshell.dll" (32-bit) and "tvrshell64.dll" (64-bit) from
// this one source. It exports dosomething/undosomething (tvrshell.def).
//
// In the caller (the program, or the 64-bit companion): dosomething puts a window-procedure-call
// hook on the shell's taskbar thread, which makes the system map this library into the shell;
// undosomething removes it. In the shell: the copy of the library subclasses the taskbar clock and
// turns hit tests and clicks on it into named events for the program (platform/ipc_events.h).
//
// This code runs inside another program's process: no allocation, no runtime beyond the system's,
// every wait bounded.
#include <windows.h>

#include "platform/ipc_events.h"
#include "shellhook/owned_handle.h"

namespace {

const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

// State of this copy of the library (one per process it is mapped into).
HMODULE g_module = nullptr;
bool g_inShell = false;        // the host process is the shell ("explorer.exe")
HWND g_clock = nullptr;        // the clock window this copy subclasses
WNDPROC g_previous = nullptr;  // its procedure before; empty while not subclassing
HHOOK g_hook = nullptr;  // the caller's hook; empty when none

HWND FindClock() {
  HWND tray = FindWindowW(W(ipc::kTaskbarClass), nullptr);
  HWND notify = tray ? FindWindowExW(tray, nullptr, W(ipc::kNotifyAreaClass), nullptr) : nullptr;
  return notify ? FindWindowExW(notify, nullptr, W(ipc::kClockClass), nullptr) : nullptr;
}

// Sets a named event of the program's. Opened afresh each time and closed at once: a handle kept
// here would keep the event alive after the program is gone, and its absence is how this copy
// learns that nobody listens any more.
bool Signal(const char16_t* name) {
  const OwnedHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, W(name)));
  if (!event) return false;
  SetEvent(event.get());
  return true;
}

// True while the program that took the clock lives: its listener's left-click event exists.
bool ProgramListens() {
  const OwnedHandle event(OpenEventW(SYNCHRONIZE, FALSE, W(ipc::kClockLeftClickEvent)));
  return static_cast<bool>(event);
}

void Restore() {
  if (!g_previous) return;
  OutputDebugStringA("unsub");
  if (IsWindow(g_clock)) SetWindowLongPtrW(g_clock, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
  g_previous = nullptr;
  g_clock = nullptr;
}

LRESULT CALLBACK ClockProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = g_previous;
  switch (message) {
    case WM_NCHITTEST:
      if (!ProgramListens()) break;  // handled below: the clock is given back
      // With Ctrl held the click is the shell's (its calendar and notifications stay one step away).
      if (GetKeyState(VK_CONTROL) < 0) break;
      // The whole clock answers "caption": every click on it arrives as a non-client message,
      // which the clock's own click handling (the shell's calendar) never sees.
      Signal(ipc::kClockHitEvent);
      return HTCAPTION;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (!Signal(ipc::kClockLeftClickEvent)) break;
      return 0;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
      if (!Signal(ipc::kClockRightClickEvent)) break;
      return 0;
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
      // The release half of a click we took: the shell's own handling (a right release opens its
      // context menu) must not see it either.
      return 0;
    case ipc::kRestoreClockMessage:
      if (wParam == ipc::kHookKey || wParam == ipc::kHookKeyRestore) {
        Restore();
        return 0;
      }
      break;
    case ipc::kForegroundMessage:
      SetForegroundWindow(reinterpret_cast<HWND>(wParam));
      return 0;
    default:
      break;
  }
  // The program died without its orderly exit (a crash, "End task"): nobody listens, so the clock
  // gets its own procedure back and this message goes on to it.
  bool click = message == WM_NCHITTEST || (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK);
  if (click && !ProgramListens()) {
    Restore();
  }
  return previous ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                  : DefWindowProcW(hwnd, message, wParam, lParam);
}

void Subclass() {
  Restore();  // never twice
  HWND clock = FindClock();
  if (!clock) return;
  LONG_PTR previous = SetWindowLongPtrW(clock, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ClockProc));
  if (!previous) return;
  g_clock = clock;
  g_previous = reinterpret_cast<WNDPROC>(previous);
}

// Runs in the shell for every message sent to its taskbar thread while a hook of ours is
// installed. A copy that stayed mapped after an earlier hook never runs its attach again, so this
// is where it takes the clock back when a new hook arrives (once the program listens).
LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_inShell && !g_previous && ProgramListens()) Subclass();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool HostIsShell() {
  // Any length of path: the file name is what counts.
  static wchar_t path[32768];
  DWORD n = GetModuleFileNameW(nullptr, path, sizeof(path) / sizeof(path[0]));
  if (n == 0 || n >= sizeof(path) / sizeof(path[0])) return false;
  return ipc::IsShellExecutablePath(reinterpret_cast<const char16_t*>(path));
}

}  // namespace

extern "C" {

void dosomething(int key) {
  if (static_cast<uint32_t>(key) != ipc::kHookKey || g_hook) return;  // one hook at a time
  // Only the taskbar's own thread: without a taskbar there is nothing to hook (a hook on every
  // thread of the desktop would map this library into every process). The caller tries again
  // when the taskbar is created.
  HWND tray = FindWindowW(W(ipc::kTaskbarClass), nullptr);
  DWORD thread = tray ? GetWindowThreadProcessId(tray, nullptr) : 0;
  if (!thread) return;
  g_hook = SetWindowsHookExW(WH_CALLWNDPROC, &HookProc, g_module, thread);
  if (!g_hook) return;
  // One message through the hook maps the library into the shell (or wakes a copy that is still
  // mapped there), so the clock is taken over now rather than at the next pointer move.
  if (HWND clock = FindClock()) SendMessageTimeoutW(clock, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
}

void undosomething(int key) {
  if (static_cast<uint32_t>(key) != ipc::kHookKey || !g_hook) return;
  // The hook goes first, so that no later hook call takes the clock again after it is restored.
  UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  if (HWND clock = FindClock()) {
    SendMessageTimeoutW(clock, ipc::kRestoreClockMessage, ipc::kHookKey, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  }
  if (const OwnedHandle unhooked{OpenEventW(EVENT_ALL_ACCESS, FALSE, W(ipc::kUnhookEvent))}) {
    SetEvent(unhooked.get());
  }
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
    g_inShell = HostIsShell();
    if (g_inShell) Subclass();
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded while the process lives on: the clock must never call into an unmapped library.
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    Restore();
  }
  return TRUE;
}
