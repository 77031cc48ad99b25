#include "ui/win32/dpi.h"

#include "platform/win32/scoped_gdi.h"
#include "ui/dpi_scale.h"

namespace tvui {

namespace {

template <class Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int ScreenDpi() {
  static const int dpi = [] {
    int value = kBaseDpi;
    if (ScopedWindowDc screen(nullptr); screen) value = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return value > 0 ? value : kBaseDpi;
  }();
  return dpi;
}

int WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    if (UINT dpi = getDpiForWindow(hwnd)) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

int MonitorDpi(HMONITOR monitor, HWND window) {
  if (!monitor) return ScreenDpi();
  if (window && MonitorFromWindow(window, MONITOR_DEFAULTTONULL) == monitor) return WindowDpi(window);
  // GetDpiForMonitor lives in shcore.dll, loaded only when a window goes to another monitor.
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor = []() -> GetDpiForMonitorFn {
    HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  UINT x = 0, y = 0;
  if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0) {
    return static_cast<int>(y);
  }
  return ScreenDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

}  // namespace tvui
