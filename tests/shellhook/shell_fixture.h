#pragma once
// Test helpers around the stand-in shell (stand_in_shell.h): start and end it, ask it about its
// clock, click the clock with real input.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/ipc_events.h"
#include "platform/win32/message_loop_waits.h"
#include "tests/shellhook/stand_in_shell.h"
#include "tests/support/screen_input.h"

namespace tvtest {

inline std::filesystem::path BinDir() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path();
}

// Waits until done() holds, handling this thread's messages and its loop's waits (the listener's
// events) meanwhile; false after timeoutMs.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    PumpMessagesAndWaits();
    Sleep(15);
  }
}

inline const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

// Starts a process, without waiting for it; null on failure.
inline HANDLE StartProcess(const std::filesystem::path& exe, const std::wstring& args = L"") {
  std::wstring command = L"\"" + exe.wstring() + L"\"" + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe.wstring().c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      exe.parent_path().wstring().c_str(), &si, &pi)) {
    return nullptr;
  }
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

inline void EndProcess(HANDLE& process) {
  if (!process) return;
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
  }
  CloseHandle(process);
  process = nullptr;
}

// The top-level window of a class that belongs to the process, once it exists.
inline HWND WindowOf(HANDLE process, const wchar_t* cls) {
  DWORD pid = GetProcessId(process);
  for (HWND h = FindWindowW(cls, nullptr); h; h = FindWindowExW(nullptr, h, cls, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (owner == pid) return h;
  }
  return nullptr;
}

// The clock of the first taskbar on the desktop (Wine's own desktop program keeps a hidden
// "Shell_TrayWnd" without one); null when there is none.
inline HWND FindClock() {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  HWND notify = tray ? FindWindowExW(tray, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
  return notify ? FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr) : nullptr;
}

// Which program owns the first top-level window of a class ("" when there is none).
inline std::wstring OwnerOf(const wchar_t* cls) {
  HWND h = FindWindowW(cls, nullptr);
  DWORD pid = 0;
  if (h) GetWindowThreadProcessId(h, &pid);
  HANDLE p = pid ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid) : nullptr;
  wchar_t path[MAX_PATH] = L"";
  DWORD n = MAX_PATH;
  if (p) {
    QueryFullProcessImageNameW(p, 0, path, &n);
    CloseHandle(p);
  }
  return h ? std::wstring(path) + L" (" + std::to_wstring(pid) + L")" : std::wstring();
}

// Top-level windows of a class on the desktop.
inline int CountWindows(const wchar_t* cls) {
  int n = 0;
  for (HWND h = FindWindowW(cls, nullptr); h; h = FindWindowExW(nullptr, h, cls, nullptr)) ++n;
  return n;
}

// A real click (input queue) at a screen point. Each button event carries the point itself
// (PointerInput): after a SetCursorPos the system may still hold the pointer where it was, and a
// bare button event would go there.
inline void RealClick(POINT at, bool right = false, bool twice = false) {
  SetCursorPos(at.x, at.y);
  Sleep(50);
  INPUT in[2] = {PointerInput(at, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                 PointerInput(at, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
  for (int i = 0; i < (twice ? 2 : 1); ++i) SendInput(2, in, sizeof(INPUT));
}

class StandInShell {
 public:
  StandInShell() = default;
  StandInShell(const StandInShell&) = delete;
  StandInShell& operator=(const StandInShell&) = delete;
  ~StandInShell() { End(); }

  static std::filesystem::path DefaultProgram() { return BinDir() / "standin" / "explorer.exe"; }

  // Starts the stand-in and waits for its taskbar; false when it does not come up.
  bool Start(const std::filesystem::path& program = DefaultProgram(), const std::wstring& args = L"") {
    End();
    process_ = StartProcess(program, args);
    if (!process_) return false;
    return WaitUntil([&] {
      taskbar_ = WindowOf(process_, L"Shell_TrayWnd");
      HWND notify = taskbar_ ? FindWindowExW(taskbar_, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
      clock_ = notify ? FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr) : nullptr;
      return clock_ && IsWindowVisible(taskbar_);
    }, 15000);
  }
  // Closes the stand-in as a user would end the shell (ended by force when it does not go).
  void End() {
    if (process_ && IsWindow(taskbar_)) {
      PostMessageW(taskbar_, WM_CLOSE, 0, 0);
      WaitForSingleObject(process_, 5000);
    }
    EndProcess(process_);
    HWND gone = taskbar_;
    WaitUntil([&] { return !IsWindow(gone); });
    taskbar_ = clock_ = nullptr;
  }
  bool Alive() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
  HWND Clock() const { return clock_; }
  HANDLE Process() const { return process_; }

  LRESULT Ask(UINT question, WPARAM wParam = 0) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(taskbar_, question, wParam, 0, SMTO_ABORTIFHUNG, 5000, &answer)) return -1;
    return static_cast<LRESULT>(answer);
  }
  bool Subclassed() const { return Ask(standin::kIsSubclassed) == 1; }
  bool WaitSubclassed(bool want, int timeoutMs = 5000) const {
    return WaitUntil([&] { return Subclassed() == want; }, timeoutMs);
  }
  int Received(UINT message) const { return static_cast<int>(Ask(standin::kReceived, message)); }
  void ClearReceived() const { Ask(standin::kClearReceived); }
  // Every button message, client or non-client, that reached the stand-in's own clock procedure.
  int ClicksReceived() const {
    int n = 0;
    for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK,
                   WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCRBUTTONUP,
                   WM_NCRBUTTONDBLCLK}) {
      n += Received(m);
    }
    return n;
  }
  // What the clock answers to a hit test at its centre.
  LRESULT HitTest() const {
    POINT c = ClockCentre();
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(clock_, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y), SMTO_ABORTIFHUNG, 5000, &answer);
    return static_cast<LRESULT>(answer);
  }
  // One message sent to the taskbar's thread, passing through any hook on it; then the pointer
  // over the clock, as a user would move it.
  void Disturb() const {
    SendMessageTimeoutW(clock_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    POINT c = ClockCentre();
    SetCursorPos(c.x - 5, c.y);
    SetCursorPos(c.x, c.y);
    Ask(WM_NULL);
  }
  POINT ClockCentre() const {
    RECT rc{};
    GetWindowRect(clock_, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }

 private:
  HANDLE process_ = nullptr;
  HWND taskbar_ = nullptr;
  HWND clock_ = nullptr;
};

}  // namespace tvtest
