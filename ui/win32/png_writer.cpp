#include "ui/win32/png_writer.h"

#include "ui/win32/gdiplus_include.h"

#include "platform/win32/scoped_gdi.h"
#include "ui/win32/dib_section.h"
#include "ui/win32/gdiplus_session.h"

namespace tvui {

bool SavePixelsAsPng(const void* bits, int width, int height, int stride, const std::u16string& path) {
  if (!bits || width <= 0 || height <= 0 || !EnsureGdiplus()) return false;
  // {557CF406-1A04-11D3-9A73-0000F81EF32E}: the PNG encoder built into GDI+.
  static const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3,
                                    {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  Gdiplus::Bitmap bitmap(width, height, stride, PixelFormat32bppRGB,
                         static_cast<BYTE*>(const_cast<void*>(bits)));
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
  return bitmap.Save(reinterpret_cast<const WCHAR*>(path.c_str()), &kPngEncoder, nullptr) ==
         Gdiplus::Ok;
}

bool SaveScreenRectPng(const RECT& rect, const std::u16string& path) {
  int w = rect.right - rect.left;
  int h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return false;
  void* bits = nullptr;
  ScopedBitmap bmp(CreateTopDownDib(w, h, &bits));
  if (!bmp) return false;
  ScopedWindowDc screen(nullptr);
  ScopedMemoryDc mem(screen.get());
  if (!screen || !mem) return false;
  ScopedSelection selected(mem.get(), bmp.get());
  BitBlt(mem.get(), 0, 0, w, h, screen.get(), rect.left, rect.top, SRCCOPY);
  GdiFlush();
  return SavePixelsAsPng(bits, w, h, w * 4, path);
}

}  // namespace tvui
