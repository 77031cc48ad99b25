#pragma once
// Owning types for GDI resources: each releases what it holds when it goes out of scope, so no
// caller pairs a create with a delete by hand. Move-only; `get()` lends the handle, `release()`
// hands it over (to the system, say, which owns a region once SetWindowRgn took it). GDI objects
// take the shape of the scoped handles (scoped_handle.h).
#include <windows.h>

#include <utility>

#include "platform/win32/scoped_handle.h"

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static bool Holds(T object) { return object != nullptr; }
  static bool Close(T object) { return DeleteObject(object) != FALSE; }
};

// A GDI object (bitmap, brush, font, pen, region) deleted with DeleteObject.
template <typename T>
using ScopedGdiObject = ScopedHandleOf<GdiObjectTraits<T>>;

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedRegion = ScopedGdiObject<HRGN>;

// A memory device context (CreateCompatibleDC), deleted with DeleteDC.
class ScopedMemoryDc {
 public:
  ScopedMemoryDc() = default;
  explicit ScopedMemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ScopedMemoryDc(ScopedMemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  ScopedMemoryDc& operator=(ScopedMemoryDc&& other) noexcept {
    std::swap(dc_, other.dc_);
    return *this;
  }
  ScopedMemoryDc(const ScopedMemoryDc&) = delete;
  ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
  ~ScopedMemoryDc() {
    if (dc_) DeleteDC(dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_ = nullptr;
};

// A window's (or the screen's, for nullptr) device context from GetDC, given back with ReleaseDC.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
  ~ScopedWindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// An object selected into a device context for a scope; the one it replaced goes back at the end.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ScopedSelection(ScopedSelection&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), old_(std::exchange(other.old_, nullptr)) {}
  ScopedSelection& operator=(ScopedSelection&& other) noexcept {
    std::swap(dc_, other.dc_);
    std::swap(old_, other.old_);
    return *this;
  }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (dc_ && old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};
