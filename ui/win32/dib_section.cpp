#include "ui/win32/dib_section.h"

#include <cstring>

namespace tvui {

HBITMAP CreateTopDownDib(int cx, int cy, void** bits) {
  if (cx <= 0 || cy <= 0) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = -cy;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
  if (dib && *bits) std::memset(*bits, 0, static_cast<size_t>(cx) * static_cast<size_t>(cy) * 4);
  return dib;
}

}  // namespace tvui
