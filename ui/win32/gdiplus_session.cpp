#include "ui/win32/gdiplus_session.h"

#include "ui/win32/gdiplus_include.h"

namespace tvui {

bool EnsureGdiplus() {
  static const bool started = [] {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

}  // namespace tvui
