#pragma once
// The one pixel surface of the Windows edge: a 32-bit top-down DIB section (rows from the top,
// BGRA), used for premultiplied images, composed images, back buffers and screenshots.
#include <windows.h>

#include <cstdint>

namespace tvui {

// A cx × cy surface, every pixel transparent black; bits receives the pixel memory (stride cx * 4).
// nullptr (and bits untouched or null) for an empty size or when the system has no room.
HBITMAP CreateTopDownDib(int cx, int cy, void** bits);

// Such a surface with its pixels (rows from the top, stride width). GDI may still hold drawing
// for it in its batch: call GdiFlush before touching the pixels.
struct DibPixels {
  HBITMAP bitmap = nullptr;
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
};

}  // namespace tvui
