#pragma once
// Plain geometry and colour values of the UI model (client coordinates, pixels).
#include <cstdint>

namespace tvui {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Half-open rectangle: left/top inside, right/bottom outside.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  // Shrinks by per-side margins (a Rect used as l,t,r,b insets).
  Rect Deflate(const Rect& m) const {
    return {left + m.left, top + m.top, right - m.right, bottom - m.bottom};
  }
  Rect Intersect(const Rect& o) const;
  Rect Union(const Rect& o) const;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Colours are 0xAARRGGBB. 0 means "no colour" for backgrounds.
using Color = std::uint32_t;

}  // namespace tvui
