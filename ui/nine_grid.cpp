#include "ui/nine_grid.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace tvui {

namespace {

// a + (b - a) * f / 256 on each channel, rounded to the nearest (f from 0 to 256); two channels at
// a time, each in 16 bits: 255 * 256 + 128 never carries into its neighbour. Every channel of a
// premultiplied pixel stays at most its alpha.
std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t f) {
  const std::uint32_t g = 256 - f;
  const std::uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f + 0x00800080u) >> 8) & 0x00FF00FFu;
  const std::uint32_t ag = (((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f + 0x00800080u) & 0xFF00FF00u;
  return rb | ag;
}

// Where the centre of each of count surface pixels, from first on, falls in a part of the picture
// from `from` to `to` that is drawn over `length` surface pixels from `start`: the pixel before it,
// the one after it and how far (0..255) it is from the first to the second, clamped to the part.
struct Tap {
  int lo = 0;
  int hi = 0;
  std::uint32_t weight = 0;
};

std::vector<Tap> Taps(int from, int to, int start, int length, int first, int count) {
  std::vector<Tap> taps(static_cast<std::size_t>(count));
  const std::int64_t span = to - from;
  const std::int64_t last = (span - 1) * 256;
  for (int k = 0; k < count; ++k) {
    const std::int64_t i = first + k - start;
    std::int64_t pos = (2 * i + 1) * span * 256 / (2 * static_cast<std::int64_t>(length)) - 128;
    pos = std::clamp<std::int64_t>(pos, 0, last);
    Tap& t = taps[static_cast<std::size_t>(k)];
    t.lo = from + static_cast<int>(pos >> 8);
    t.hi = std::min(t.lo + 1, to - 1);
    t.weight = static_cast<std::uint32_t>(pos & 255);
  }
  return taps;
}

}  // namespace

void StretchPart(const PixelSource& picture, const Rect& wanted, PixelSurface& surface, const Rect& dst) {
  const Rect src = wanted.Intersect({0, 0, picture.width, picture.height});
  const Rect area = dst.Intersect({0, 0, surface.width, surface.height});
  if (src.IsEmpty() || dst.IsEmpty() || area.IsEmpty() || !picture.bits || !surface.bits) return;
  auto sourceRow = [&](int y) { return picture.bits + static_cast<std::ptrdiff_t>(y) * picture.stride; };
  auto surfaceRow = [&](int y) { return surface.bits + static_cast<std::ptrdiff_t>(y) * surface.stride; };
  if (src.Width() == dst.Width() && src.Height() == dst.Height()) {
    for (int y = area.top; y < area.bottom; ++y) {
      std::memcpy(surfaceRow(y) + area.left, sourceRow(src.top + y - dst.top) + src.left + area.left - dst.left,
                  static_cast<std::size_t>(area.Width()) * sizeof(std::uint32_t));
    }
    return;
  }
  const std::vector<Tap> columns = Taps(src.left, src.right, dst.left, dst.Width(), area.left, area.Width());
  const std::vector<Tap> rows = Taps(src.top, src.bottom, dst.top, dst.Height(), area.top, area.Height());
  for (int y = area.top; y < area.bottom; ++y) {
    const Tap& r = rows[static_cast<std::size_t>(y - area.top)];
    const std::uint32_t* upper = sourceRow(r.lo);
    const std::uint32_t* lower = sourceRow(r.hi);
    std::uint32_t* out = surfaceRow(y) + area.left;
    for (const Tap& c : columns) {
      const std::uint32_t top = Lerp(upper[c.lo], upper[c.hi], c.weight);
      *out++ = r.weight ? Lerp(top, Lerp(lower[c.lo], lower[c.hi], c.weight), r.weight) : top;
    }
  }
}

void DrawNineGrid(const PixelSource& picture, const Rect& src, const Rect& k, PixelSurface& surface,
                  const Rect& dst, const Rect& kd) {
  if (k.left == 0 && k.top == 0 && k.right == 0 && k.bottom == 0) {
    StretchPart(picture, src, surface, dst);
    return;
  }
  const int xs[4] = {src.left, src.left + k.left, src.right - k.right, src.right};
  const int ys[4] = {src.top, src.top + k.top, src.bottom - k.bottom, src.bottom};
  const int xd[4] = {dst.left, dst.left + kd.left, dst.right - kd.right, dst.right};
  const int yd[4] = {dst.top, dst.top + kd.top, dst.bottom - kd.bottom, dst.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      StretchPart(picture, {xs[col], ys[row], xs[col + 1], ys[row + 1]}, surface,
                  {xd[col], yd[row], xd[col + 1], yd[row + 1]});
    }
  }
}

}  // namespace tvui
