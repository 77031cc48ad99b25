#include "app/win32/monitor_area.h"

#include "ui/win32/dpi.h"

namespace app {

namespace {

MonitorArea AreaOf(HMONITOR monitor, HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!monitor || !GetMonitorInfoW(monitor, &info)) {
    const ScreenRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {screen, screen, tvui::ScreenDpi()};
  }
  const RECT& m = info.rcMonitor;
  const RECT& w = info.rcWork;
  return {{m.left, m.top, m.right, m.bottom}, {w.left, w.top, w.right, w.bottom}, tvui::MonitorDpi(monitor, window)};
}

}  // namespace

MonitorArea MonitorAreaAt(POINT point, HWND window) {
  return AreaOf(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), window);
}

MonitorArea MonitorAreaOf(const ScreenRect& rect, HWND window) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return AreaOf(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), window);
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  return AreaOf(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), window);
}

}  // namespace app
