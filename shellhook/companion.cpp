// tavrino64.exe: the 64-bit companion of the 32-bit program on 64-bit Windows. The 64-bit shell
// takes only a 64-bit hook, so this hidden program loads "tvrshell64.dll" from its own folder and
// installs the hook for the program; it removes it and ends when
//   - the program sets the companion event (kCompanion64Event), or
//   - the program sends message 10029 (wParam 0) to its window of class "TAVRINO64", or
//   - the program that started it ends without asking (crash, kill): the clock must never stay
//     taken with no one listening.
// Without a program to watch it installs nothing and ends at once.
#include <windows.h>
#include <tlhelp32.h>

#include "platform/ipc_events.h"
#include "shellhook/owned_handle.h"

namespace {

const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

using HookCall = void (*)(int);

HMODULE g_library = nullptr;
HookCall g_undo = nullptr;
bool g_ended = false;

// Removes the hook once, whichever request comes first.
void EndHook() {
  if (g_ended) return;
  g_ended = true;
  if (g_undo) g_undo(static_cast<int>(ipc::kHookKey));
}

LRESULT CALLBACK CompanionProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ipc::kRestoreClockMessage && wParam == 0) {
    EndHook();  // before the sender's call returns, the clock is restored
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

ULONGLONG CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The process that started this one, opened for waiting; null when it is gone already (a process
// id reused since is told apart by its later creation time).
HANDLE OpenStarter() {
  DWORD self = GetCurrentProcessId(), parent = 0;
  {
    const OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return nullptr;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
      if (entry.th32ProcessID == self) {
        parent = entry.th32ParentProcessID;
        break;
      }
    }
  }
  if (!parent) return nullptr;
  OwnedHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parent));
  if (!process) return nullptr;
  ULONGLONG parentStart = CreationTime(process.get()), ownStart = CreationTime(GetCurrentProcess());
  if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0 || (parentStart && ownStart && parentStart > ownStart)) {
    return nullptr;
  }
  return process.release();
}

// At most one companion: an earlier one still running is asked to end first.
void EndEarlierCompanion() {
  HWND earlier = FindWindowW(W(ipc::kCompanionWindowClass), nullptr);
  if (!earlier) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(earlier, &pid);
  const OwnedHandle process(pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : nullptr);
  SendMessageTimeoutW(earlier, ipc::kRestoreClockMessage, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  if (process) WaitForSingleObject(process.get(), 3000);
}

// The hook library beside this program.
HMODULE LoadHookLibrary() {
  static wchar_t path[32768];
  DWORD n = GetModuleFileNameW(nullptr, path, sizeof(path) / sizeof(path[0]));
  if (n == 0 || n >= sizeof(path) / sizeof(path[0])) return nullptr;
  DWORD slash = n;
  while (slash > 0 && path[slash - 1] != L'\\' && path[slash - 1] != L'/') --slash;
  const char16_t* name = ipc::kHookLibrary64;
  DWORD i = 0;
  for (; name[i] && slash + i + 1 < sizeof(path) / sizeof(path[0]); ++i) path[slash + i] = static_cast<wchar_t>(name[i]);
  if (name[i]) return nullptr;
  path[slash + i] = 0;
  return LoadLibraryW(path);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const OwnedHandle starter(OpenStarter());
  if (!starter) return 1;
  EndEarlierCompanion();
  // Created by the program before it started us; without it only the window and the starter's
  // end can stop us.
  const OwnedHandle endEvent(OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, W(ipc::kCompanion64Event)));

  WNDCLASSW wc{};
  wc.lpfnWndProc = &CompanionProc;
  wc.hInstance = instance;
  wc.lpszClassName = W(ipc::kCompanionWindowClass);
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
  int code = window ? 0 : 1;

  g_library = window ? LoadHookLibrary() : nullptr;
  if (g_library) {
    auto install = reinterpret_cast<HookCall>(reinterpret_cast<void*>(GetProcAddress(g_library, "dosomething")));
    g_undo = reinterpret_cast<HookCall>(reinterpret_cast<void*>(GetProcAddress(g_library, "undosomething")));
    if (install && g_undo) install(static_cast<int>(ipc::kHookKey));
  } else {
    code = 1;
  }

  HANDLE waits[2] = {starter.get(), endEvent.get()};
  DWORD count = endEvent ? 2 : 1;
  for (bool running = code == 0; running;) {
    // Anything but a message (the starter's end, the end event, a failed wait) ends the hook.
    if (MsgWaitForMultipleObjects(count, waits, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0 + count) break;
    MSG msg;
    while (running && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        running = false;
      } else {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
  EndHook();
  if (window) DestroyWindow(window);
  return code;  // the end event's handle closes, then the starter's
}
