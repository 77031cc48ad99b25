#include "app/win32/monitor_area.h"

#include <algorithm>
#include <vector>

#include "ui/win32/dpi.h"

namespace app {

namespace {

MonitorArea AreaOf(HMONITOR monitor, HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) {
    const tvui::Rect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {screen, screen, tvui::ScreenDpi()};
  }
  const RECT& m = info.rcMonitor;
  const RECT& w = info.rcWork;
  return {{m.left, m.top, m.right, m.bottom}, {w.left, w.top, w.right, w.bottom}, tvui::MonitorDpi(monitor, window)};
}

bool HasClass(HWND window, const wchar_t* cls) {
  wchar_t name[64];
  return GetClassNameW(window, name, 64) > 0 && lstrcmpW(name, cls) == 0;
}

BOOL CALLBACK CollectTaskbar(HWND window, LPARAM list) {
  if (HasClass(window, L"Shell_TrayWnd") || HasClass(window, L"Shell_SecondaryTrayWnd")) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK FindClockWindow(HWND child, LPARAM found) {
  if (!HasClass(child, L"TrayClockWClass") && !HasClass(child, L"ClockButton") &&
      !HasClass(child, L"Windows.UI.Composition.DesktopWindowContentBridge")) {
    return TRUE;
  }
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

}  // namespace

AnchorTaskbar FindAnchorTaskbar(const std::optional<tvui::Point>& clickedClock, HWND window) {
  std::vector<HWND> windows;
  EnumWindows(&CollectTaskbar, reinterpret_cast<LPARAM>(&windows));
  // The main taskbars before the secondary ones: without a click the calendar stands by the main one.
  std::stable_partition(windows.begin(), windows.end(), [](HWND h) { return HasClass(h, L"Shell_TrayWnd"); });
  std::vector<TaskbarWindow> taskbars;
  for (HWND h : windows) {
    TaskbarWindow t;
    RECT rc{};
    if (GetWindowRect(h, &rc)) t.rect = {rc.left, rc.top, rc.right, rc.bottom};
    t.visible = IsWindowVisible(h) != FALSE;
    EnumChildWindows(h, &FindClockWindow, reinterpret_cast<LPARAM>(&t.holdsClock));
    taskbars.push_back(t);
  }
  const int chosen = ChooseAnchorTaskbar(taskbars, clickedClock);
  AnchorTaskbar result;
  if (chosen >= 0) result.taskbar = taskbars[chosen].rect;
  result.monitor = MonitorAreaOf(result.taskbar, window);
  if (chosen >= 0 && taskbars[chosen].visible) result.monitor.work = WorkAreaBeside(result.monitor.work, result.taskbar);
  return result;
}

MonitorArea MonitorAreaAt(POINT point, HWND window) {
  return AreaOf(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), window);
}

MonitorArea MonitorAreaOf(const tvui::Rect& rect, HWND window) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return AreaOf(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), window);
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  return AreaOf(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), window);
}

}  // namespace app
