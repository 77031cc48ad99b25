// Stretching pictures and nine-grids into a surface: pixel-centre interpolation, exact copies where
// nothing stretches, no part bleeding into its neighbour, premultiplied pixels kept valid.
#include "ui/nine_grid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tvui {
namespace {

struct Picture {
  int width, height;
  std::vector<std::uint32_t> pixels;
  Picture(int w, int h, std::uint32_t fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w * h), fill) {}
  std::uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }
  PixelSource Source() const { return {pixels.data(), width, height, width}; }
  PixelSurface Surface() { return {pixels.data(), width, height, width}; }
};

TEST(NineGrid, StretchingInterpolatesBetweenPixelCentresAndCopiesWhatKeepsItsSize) {
  Picture ramp(2, 1);
  ramp.At(0, 0) = 0xFF000000u;
  ramp.At(1, 0) = 0xFFFFFFFFu;
  Picture wide(4, 1);
  PixelSurface s = wide.Surface();
  StretchPart(ramp.Source(), {0, 0, 2, 1}, s, {0, 0, 4, 1});
  // Centres at -0.25 (clamped), 0.25, 0.75 and 1.25 (clamped) of the two source pixels.
  EXPECT_EQ(wide.pixels, (std::vector<std::uint32_t>{0xFF000000u, 0xFF404040u, 0xFFBFBFBFu, 0xFFFFFFFFu}));

  // Cut off by the surface's left edge: what remains keeps the same scale.
  Picture cut(2, 1);
  PixelSurface c = cut.Surface();
  StretchPart(ramp.Source(), {0, 0, 2, 1}, c, {-2, 0, 2, 1});
  EXPECT_EQ(cut.pixels, (std::vector<std::uint32_t>{0xFFBFBFBFu, 0xFFFFFFFFu}));

  // Same size: the very pixels, translucent ones included, at the place asked for.
  Picture art(3, 2);
  for (int i = 0; i < 6; ++i) art.pixels[static_cast<size_t>(i)] = 0x80000000u | static_cast<std::uint32_t>(i * 0x10);
  Picture copy(5, 4, 0x12345678u);
  PixelSurface cs = copy.Surface();
  StretchPart(art.Source(), {0, 0, 3, 2}, cs, {1, 1, 4, 3});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 5; ++x) {
      const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
      EXPECT_EQ(copy.At(x, y), inside ? art.At(x - 1, y - 1) : 0x12345678u) << x << "," << y;
    }
  }
}

TEST(NineGrid, EveryPartStaysInItsOwnPlaceWithoutBleedingIntoItsNeighbours) {
  // A 6 x 6 picture of nine flat parts (corners 2 pixels), each its own colour.
  const std::uint32_t colour[3][3] = {{0xFF110000u, 0xFF220000u, 0xFF330000u},
                                      {0xFF001100u, 0xFF002200u, 0xFF003300u},
                                      {0xFF000011u, 0xFF000022u, 0xFF000033u}};
  auto part = [](int v, int size, int low, int high) { return v < low ? 0 : v >= size - high ? 2 : 1; };
  Picture grid(6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) grid.At(x, y) = colour[part(y, 6, 2, 2)][part(x, 6, 2, 2)];

  struct Case {
    int width, height;
    Rect corner;  // on the surface
  };
  for (const Case& k : {Case{10, 12, {2, 2, 2, 2}}, Case{7, 6, {2, 2, 2, 2}}, Case{16, 9, {3, 3, 3, 3}},
                        Case{13, 17, {4, 1, 3, 4}}}) {
    Picture out(k.width, k.height);
    PixelSurface s = out.Surface();
    DrawNineGrid(grid.Source(), {0, 0, 6, 6}, {2, 2, 2, 2}, s, {0, 0, k.width, k.height}, k.corner);
    for (int y = 0; y < k.height; ++y) {
      for (int x = 0; x < k.width; ++x) {
        const std::uint32_t want =
            colour[part(y, k.height, k.corner.top, k.corner.bottom)][part(x, k.width, k.corner.left, k.corner.right)];
        ASSERT_EQ(out.At(x, y), want) << k.width << "x" << k.height << " at " << x << "," << y;
      }
    }
  }
}

TEST(NineGrid, StretchedPremultipliedPixelsNeverGetAChannelAboveTheirAlpha) {
  Picture noisy(7, 5);
  std::uint32_t seed = 12345;
  for (std::uint32_t& p : noisy.pixels) {
    seed = seed * 1103515245u + 12345u;
    const std::uint32_t a = (seed >> 16) & 0xFF;
    std::uint32_t v = a << 24;
    for (int shift = 0; shift < 24; shift += 8) {
      seed = seed * 1103515245u + 12345u;
      v |= (a ? ((seed >> 16) % (a + 1)) : 0) << shift;
    }
    p = v;
  }
  for (int w : {3, 8, 19}) {
    for (int h : {2, 5, 11}) {
      Picture out(w, h);
      PixelSurface s = out.Surface();
      StretchPart(noisy.Source(), {0, 0, 7, 5}, s, {0, 0, w, h});
      for (std::uint32_t p : out.pixels) {
        const std::uint32_t a = p >> 24;
        for (int shift = 0; shift < 24; shift += 8) ASSERT_LE((p >> shift) & 0xFF, a) << w << "x" << h;
      }
    }
  }
}

}  // namespace
}  // namespace tvui
