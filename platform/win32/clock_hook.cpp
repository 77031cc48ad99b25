#include "platform/win32/clock_hook.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/ipc_events.h"
#include "platform/log.h"
#include "platform/program_dir.h"
#include "platform/taskbar_clock.h"
#include "platform/text_utils.h"
#include "platform/win32/clock_interceptor.h"
#include "platform/win32/clock_locator.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/user_event.h"

namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
const wchar_t* W(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

using HookCall = void (*)(int);

constexpr DWORD kCompanionEndMs = 3000;

// What the last StartClockHookOn put in place.
struct HookState {
  HMODULE library = nullptr;  // stays loaded for the rest of the run once loaded
  HookCall install = nullptr;
  HookCall remove = nullptr;
  bool hooked = false;
  ScopedHandle companionEvent;
  ScopedHandle companion;  // the companion's process
  bool saidNoTaskbar = false;  // "no clock" is logged once until a road is taken again
};
HookState g_hook;

const char16_t* OwnLibraryName() { return sizeof(void*) == 8 ? ipc::kHookLibrary64 : ipc::kHookLibrary32; }

void LogFailure(const std::u16string& what) {
  LogError(u"clock hook: " + what + u" (error " + IntToText(GetLastError()) + u")");
}

void StartOwnLibrary() {
  if (!g_hook.library) {
    std::u16string path = ProgramDirectory() + OwnLibraryName();
    g_hook.library = LoadLibraryW(W(path));
    if (!g_hook.library) {
      LogFailure(u"cannot load " + path);
      return;
    }
    g_hook.install = reinterpret_cast<HookCall>(reinterpret_cast<void*>(GetProcAddress(g_hook.library, "dosomething")));
    g_hook.remove = reinterpret_cast<HookCall>(reinterpret_cast<void*>(GetProcAddress(g_hook.library, "undosomething")));
  }
  if (!g_hook.install || !g_hook.remove) {
    LogError(std::u16string(u"clock hook: ") + OwnLibraryName() + u" lacks dosomething or undosomething");
    return;
  }
  g_hook.install(static_cast<int>(ipc::kHookKey));
  g_hook.hooked = true;
}

void StartCompanion() {
  g_hook.companionEvent.reset(CreateUserEvent(ipc::kCompanion64Event));
  if (!g_hook.companionEvent) {
    LogError(u"create tvr64 event error:" + IntToText(GetLastError()));
  } else {
    ResetEvent(g_hook.companionEvent.get());  // an old companion's signal must not end the new one
  }
  std::u16string directory = ProgramDirectory();
  std::u16string path = directory + ipc::kCompanionProgram;
  if (GetFileAttributesW(W(path)) == INVALID_FILE_ATTRIBUTES) {
    LogFailure(u"no companion " + path);
    return;
  }
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = W(path);
  info.lpDirectory = W(directory);
  info.nShow = SW_HIDE;
  if (!ShellExecuteExW(&info)) {
    LogFailure(u"cannot start " + path);
    return;
  }
  g_hook.companion.reset(info.hProcess);
}

void StopCompanion() {
  if (g_hook.companionEvent) SetEvent(g_hook.companionEvent.get());
  if (HWND window = FindWindowW(W(ipc::kCompanionWindowClass), nullptr)) {
    // Synchronous: when it returns, the companion has restored the clock.
    SendMessageTimeoutW(window, ipc::kRestoreClockMessage, 0, 0, SMTO_ABORTIFHUNG, kCompanionEndMs, nullptr);
  }
  if (g_hook.companion) {
    const HANDLE companion = g_hook.companion.get();
    if (WaitForSingleObject(companion, kCompanionEndMs) != WAIT_OBJECT_0) {
      LogError(u"clock hook: the companion did not end; it is ended");
      TerminateProcess(companion, 1);
      WaitForSingleObject(companion, kCompanionEndMs);
    }
    g_hook.companion.reset();
  }
  g_hook.companionEvent.reset();
}

}  // namespace

bool Is64BitWindows() {
  if (sizeof(void*) == 8) return true;
  HMODULE kernel = GetModuleHandleW(L"KERNEL32.DLL");
  if (!kernel) kernel = LoadLibraryW(L"KERNEL32.DLL");
  if (!kernel) return false;
  using IsWow64Call = BOOL(WINAPI*)(HANDLE, PBOOL);
  using NativeInfoCall = void(WINAPI*)(LPSYSTEM_INFO);
  auto isWow64 = reinterpret_cast<IsWow64Call>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  auto nativeInfo =
      reinterpret_cast<NativeInfoCall>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetNativeSystemInfo")));
  if (!isWow64) return false;
  BOOL wow64 = FALSE;
  if (!isWow64(GetCurrentProcess(), &wow64) || !wow64 || !nativeInfo) return false;
  SYSTEM_INFO info{};
  nativeInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
}

ClockHookRoad DefaultClockHookRoad() {
  if (sizeof(void*) == 8) return ClockHookRoad::kOwnLibrary;
  return Is64BitWindows() ? ClockHookRoad::kCompanion : ClockHookRoad::kOwnLibrary;
}

ClockHookRoad ChooseClockHookRoad() {
  switch (taskbar::ChooseClockRoad(taskbar::ClockWindowExists(), taskbar::ContentBridgeExists())) {
    case taskbar::ClockRoad::kHookLibrary:
      return DefaultClockHookRoad();
    case taskbar::ClockRoad::kTrayButtons:
      return ClockHookRoad::kTrayButtons;
    case taskbar::ClockRoad::kNone:
      break;
  }
  return ClockHookRoad::kNone;
}

void StartClockHook(HWND target) { StartClockHookOn(ChooseClockHookRoad(), target); }

void StartClockHookOn(ClockHookRoad road, HWND target) {
  StopClockHook();  // one hook, at most one companion
  switch (road) {
    case ClockHookRoad::kOwnLibrary:
      StartOwnLibrary();
      break;
    case ClockHookRoad::kCompanion:
      StartCompanion();
      break;
    case ClockHookRoad::kTrayButtons:
      taskbar::StartTrayButtonRoad(target ? target : FindWindowW(W(ipc::kMainWindowClass), nullptr));
      break;
    case ClockHookRoad::kNone:
      if (!g_hook.saidNoTaskbar) {
        LogError(u"clock: no taskbar clock found (no clock window, no clock button); the tray icon opens the calendar");
      }
      g_hook.saidNoTaskbar = true;
      return;
  }
  g_hook.saidNoTaskbar = false;
}

void StopClockHook() {
  if (g_hook.hooked) {
    g_hook.remove(static_cast<int>(ipc::kHookKey));
    g_hook.hooked = false;
  }
  if (g_hook.companionEvent || g_hook.companion) StopCompanion();
  taskbar::StopTrayButtonRoad();
}
