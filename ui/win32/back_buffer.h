#pragma once
// A window's back buffer: one 32-bit top-down DIB section selected into a memory DC, which the
// window draws into and then copies to the screen in one blit.
#include <windows.h>

#include <optional>

#include "platform/win32/scoped_gdi.h"
#include "ui/win32/dib_section.h"

namespace tvui {

class BackBuffer {
 public:
  // Makes the buffer at least cx × cy. It only grows: a window that changes height with the month
  // keeps one buffer for both sizes. False when the system has no room (the old buffer is gone
  // then too).
  bool Ensure(int cx, int cy);

  bool Empty() const { return !dc_; }
  HDC Dc() const { return dc_.get(); }
  // The pixels, rows from the top, stride Width() * 4.
  DibPixels Pixels() const { return {bitmap_.get(), static_cast<std::uint32_t*>(bits_), cx_, cy_}; }
  int Width() const { return cx_; }
  int Height() const { return cy_; }

 private:
  // Released in the reverse order: the selection, then the DC, then the bitmap.
  ScopedBitmap bitmap_;
  ScopedMemoryDc dc_;
  std::optional<ScopedSelection> selection_;
  void* bits_ = nullptr;
  int cx_ = 0;
  int cy_ = 0;
};

}  // namespace tvui
