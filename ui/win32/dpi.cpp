#include "ui/win32/dpi.h"

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
    if (HDC screen = GetDC(nullptr)) {
      value = GetDeviceCaps(screen, LOGPIXELSY);
      ReleaseDC(nullptr, screen);
    }
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

int SystemMetricForDpi(int index, int dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, ScreenDpi());
}

}  // namespace tvui
