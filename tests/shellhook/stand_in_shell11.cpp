// A stand-in for the Windows 11 taskbar, for tests under Wine: see stand_in_shell11.h. Its windows
// (a taskbar and the bridge inside it, whose tray buttons are drawn and counted when clicked) and
// the test's messages to them; the buttons are shown to UI Automation by stand_in_uia11.cpp and to
// MSAA by stand_in_msaa11.cpp, as the real taskbar's are: neither is a window.
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "tests/shellhook/stand_in_shell11.h"
#include "tests/shellhook/stand_in_tray11.h"
#include "tests/shellhook/stand_in_window.h"

namespace standin11 {

std::wstring ClockName() {
  wchar_t time[64] = L"", date[64] = L"";
  GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, 64);
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 64, nullptr);
  return std::wstring(time) + L" " + date;
}

namespace {

Tray g_trays[2];
int g_trayCount = 0;

Tray* TrayOf(HWND hwnd) {
  for (int i = 0; i < g_trayCount; ++i) {
    if (g_trays[i].taskbar == hwnd || g_trays[i].bridge == hwnd) return &g_trays[i];
  }
  return nullptr;
}

LRESULT CALLBACK BridgeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Tray* tray = TrayOf(hwnd);
  switch (message) {
    case WM_GETOBJECT:
      if (!tray) break;
      if (std::optional<LRESULT> answer = ServeUiaRoot(hwnd, wParam, lParam, *tray)) return *answer;
      if (static_cast<long>(lParam) == OBJID_CLIENT) return LresultFromObject(IID_IAccessible, wParam, tray->accessible);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(hwnd, &at);
      int b = tray ? tray->ButtonAt(at) : -1;
      if (b >= 0) ++tray->clicks[b][message == WM_RBUTTONDOWN ? 1 : 0];
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (tray) {
        for (int b : tray->Shown()) {
          RECT r = tray->buttons[b];
          MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
          FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
          std::wstring text = b == kClock ? ClockName() : tray->NameOf(b);
          DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TaskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Tray* tray = TrayOf(hwnd);
  switch (message) {
    case kClicksOn:
      return tray && wParam < kButtonCount && lParam >= 0 && lParam < 2 ? tray->clicks[wParam][lParam] : -1;
    case kClearClicks:
      if (tray) ZeroMemory(tray->clicks, sizeof(tray->clicks));
      return 0;
    case kWidenClock:
      if (!tray || !tray->present[kClock]) return 0;
      tray->buttons[kClock].left -= static_cast<int>(wParam);
      InvalidateRect(tray->bridge, nullptr, TRUE);
      return 1;
    case kButtonCentre: {
      if (!tray || wParam >= kButtonCount || !tray->present[wParam]) return -1;
      const RECT& r = tray->buttons[wParam];
      return MAKELONG((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    case kLocationQueries:
      return tray ? tray->locationQueries : -1;
    case WM_DESTROY:
      if (tray == &g_trays[0]) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// A taskbar at (0, top) across the screen, its buttons from `x`: the network button, a gap, the
// clock and the bell right after it; mirrored across the screen when rtl.
bool MakeTray(Tray& tray, const wchar_t* cls, int top, int x, bool rtl, bool clock) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  const int h = kTaskbarHeight;
  tray.taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls, L"", WS_POPUP, 0, top, width, h, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
  tray.bridge = CreateWindowExW(0, L"Windows.UI.Composition.DesktopWindowContentBridge", L"DesktopWindowXamlSource",
                                WS_CHILD | WS_VISIBLE, 0, 0, width, h, tray.taskbar, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
  if (!tray.taskbar || !tray.bridge) return false;
  RECT spans[kButtonCount] = {{x, top + 4, x + 40, top + h - 4},
                              {x + 100, top + 4, x + 180, top + h - 4},
                              {x + 180, top + 4, x + 210, top + h - 4}};
  for (int b = 0; b < kButtonCount; ++b) {
    RECT r = spans[b];
    if (rtl) r = {width - spans[b].right, r.top, width - spans[b].left, r.bottom};
    tray.buttons[b] = r;
  }
  tray.present[kClock] = clock;
  tray.index = static_cast<int>(&tray - g_trays);
  tray.root = NewTrayProvider(&tray);
  tray.accessible = NewTrayAccessible(&tray);
  return true;
}

// Shows the taskbars the command line asks for and runs until the first one is destroyed.
int RunTaskbars() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  LoadUiaServer();
  bool rtl = false, clock = true, second = false, announce = false;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i < argc; ++i) {
    if (lstrcmpW(argv[i], L"--rtl") == 0) rtl = true;
    if (lstrcmpW(argv[i], L"--no-clock") == 0) clock = false;
    if (lstrcmpW(argv[i], L"--second") == 0) second = true;
    if (lstrcmpW(argv[i], L"--announce") == 0) announce = true;
  }
  if (argv) LocalFree(argv);

  standin::RegisterWindowClass(L"Shell_TrayWnd", &TaskbarProc);
  standin::RegisterWindowClass(L"Shell_SecondaryTrayWnd", &TaskbarProc);
  standin::RegisterWindowClass(L"Windows.UI.Composition.DesktopWindowContentBridge", &BridgeProc);
  int height = GetSystemMetrics(SM_CYSCREEN);
  // The clock well left of where the calendar window stands (by the right edge).
  if (!MakeTray(g_trays[0], L"Shell_TrayWnd", height - kTaskbarHeight, 560, rtl, clock)) return 1;
  g_trayCount = 1;
  if (second) {
    if (!MakeTray(g_trays[1], L"Shell_SecondaryTrayWnd", 0, 200, rtl, clock)) return 1;
    g_trayCount = 2;
  }
  for (int i = 0; i < g_trayCount; ++i) ShowWindow(g_trays[i].taskbar, SW_SHOWNOACTIVATE);
  if (announce) PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  CoUninitialize();
  return 0;
}

}  // namespace
}  // namespace standin11

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return standin11::RunTaskbars(); }
