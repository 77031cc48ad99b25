#include "ui/win32/back_buffer.h"

#include <algorithm>

namespace tvui {

bool BackBuffer::Ensure(int cx, int cy) {
  if (dc_ && cx_ >= cx && cy_ >= cy) return true;
  cx = std::max(cx, cx_);
  cy = std::max(cy, cy_);
  selection_.reset();
  dc_ = ScopedMemoryDc();
  bitmap_.reset();
  bits_ = nullptr;
  cx_ = cy_ = 0;
  ScopedBitmap bitmap(CreateTopDownDib(cx, cy, &bits_));
  ScopedMemoryDc dc(nullptr);
  if (!bitmap || !dc) {
    bits_ = nullptr;
    return false;
  }
  bitmap_ = std::move(bitmap);
  dc_ = std::move(dc);
  selection_.emplace(dc_.get(), bitmap_.get());
  cx_ = cx;
  cy_ = cy;
  return true;
}

}  // namespace tvui
