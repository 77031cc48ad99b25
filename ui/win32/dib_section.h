#pragma once
// The one pixel surface of the Windows edge: a 32-bit top-down DIB section (rows from the top,
// BGRA), used for premultiplied images, composed images, back buffers and screenshots.
#include <windows.h>

namespace tvui {

// A cx × cy surface, every pixel transparent black; bits receives the pixel memory (stride cx * 4).
// nullptr (and bits untouched or null) for an empty size or when the system has no room.
HBITMAP CreateTopDownDib(int cx, int cy, void** bits);

}  // namespace tvui
