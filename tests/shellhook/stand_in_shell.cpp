// A stand-in for the shell's taskbar, for tests under Wine: a top-level "Shell_TrayWnd" along the
// bottom of the screen, its "TrayNotifyWnd" and in that the "TrayClockWClass" clock. The clock's
// own procedure counts every message it receives, so a test can tell which clicks the shell
// itself would have seen. Answers the questions of stand_in_shell.h.
//   explorer.exe [--load PATH]   PATH: a library to load into this process at start
#include <windows.h>
#include <shellapi.h>

#include <map>

#include "tests/shellhook/stand_in_shell.h"
#include "tests/shellhook/stand_in_window.h"

namespace {

HWND g_clock = nullptr;
HMODULE g_loaded = nullptr;
std::map<UINT, int> g_received;

LRESULT CALLBACK OwnClockProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ++g_received[message];
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    DrawTextW(dc, L"12:34", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TaskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case standin::kIsSubclassed:
      return GetWindowLongPtrW(g_clock, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&OwnClockProc);
    case standin::kReceived: {
      auto it = g_received.find(static_cast<UINT>(wParam));
      return it == g_received.end() ? 0 : it->second;
    }
    case standin::kClearReceived:
      g_received.clear();
      return 0;
    case standin::kUnloadLibrary:
      if (!g_loaded) return 0;
      FreeLibrary(g_loaded);
      g_loaded = nullptr;
      return 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

HWND Make(const wchar_t* cls, WNDPROC proc, UINT style, DWORD ws, DWORD ex, int x, int y, int w, int h, HWND parent) {
  standin::RegisterWindowClass(cls, proc, style);
  return CreateWindowExW(ex, cls, L"", ws, x, y, w, h, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HWND taskbar = Make(L"Shell_TrayWnd", &TaskbarProc, 0, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 0,
                      height - standin::kTaskbarHeight, width, standin::kTaskbarHeight, nullptr);
  HWND notify = Make(L"TrayNotifyWnd", &DefWindowProcW, 0, WS_CHILD | WS_VISIBLE, 0, standin::kClockLeft - 20, 0,
                     standin::kClockWidth + 40, standin::kTaskbarHeight, taskbar);
  g_clock = Make(L"TrayClockWClass", &OwnClockProc, CS_DBLCLKS, WS_CHILD | WS_VISIBLE, 0, 20, 4, standin::kClockWidth,
                 standin::kTaskbarHeight - 8, notify);
  if (!taskbar || !notify || !g_clock) return 1;

  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i + 1 < argc; ++i) {
    if (lstrcmpW(argv[i], L"--load") == 0) g_loaded = LoadLibraryW(argv[i + 1]);
  }
  if (argv) LocalFree(argv);

  ShowWindow(taskbar, SW_SHOWNOACTIVATE);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
