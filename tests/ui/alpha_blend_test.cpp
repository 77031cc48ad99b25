// Drawing premultiplied pictures over a surface: the result GDI's per-pixel alpha blend gives, for
// every alpha, colour and background, and nothing drawn outside the picture's place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/alpha_blend.h"

namespace tvui {
namespace {

std::uint32_t Pixel(unsigned a, unsigned r, unsigned g, unsigned b) { return a << 24 | r << 16 | g << 8 | b; }

// s + d * (255 - a) / 255 rounded to the nearest (the quotient is never a half).
unsigned Over(unsigned s, unsigned d, unsigned a) {
  return s + static_cast<unsigned>(std::lround(d * (255.0 - a) / 255.0));
}

TEST(AlphaBlend, EveryChannelIsTheSourceOverTheBackgroundRoundedLikeGdi) {
  // One row per (alpha, colour) pair: the same source pixel over all 256 background values.
  std::vector<std::uint32_t> src(256), dst(256);
  for (unsigned a = 0; a <= 255; ++a) {
    for (unsigned s = 0; s <= a; ++s) {
      // Premultiplied channels in different proportions of the alpha.
      const unsigned r = s, g = a - s, b = s / 2;
      for (unsigned d = 0; d <= 255; ++d) {
        src[d] = Pixel(a, r, g, b);
        dst[d] = Pixel(255 - d, d, 255 - d, d);
      }
      BlendPremultiplied(src.data(), 0, dst.data(), 0, 256, 1);
      for (unsigned d = 0; d <= 255; ++d) {
        const std::uint32_t want = Pixel(Over(a, 255 - d, a), Over(r, d, a), Over(g, 255 - d, a), Over(b, d, a));
        if (dst[d] != want) {
          ADD_FAILURE() << std::hex << "alpha " << a << " colour " << s << " over " << d << ": got " << dst[d]
                        << ", want " << want;
          return;
        }
      }
    }
  }
}

TEST(AlphaBlend, OnlyThePicturesPlaceChangesAndItsRunsEndWhereTheyShould) {
  // A 5 x 3 picture drawn into an 8 x 6 surface at (2, 1); rows of the picture mix transparent,
  // opaque and translucent pixels, with opaque runs that start, end and fill a row.
  const std::uint32_t T = 0, O1 = Pixel(255, 10, 20, 30), O2 = Pixel(255, 200, 100, 0), H = Pixel(128, 64, 0, 128);
  const std::uint32_t picture[3][5] = {{T, O1, O2, H, O1}, {O1, O2, O1, O2, O1}, {H, T, T, O2, O2}};
  const std::uint32_t background = Pixel(255, 90, 180, 40);
  std::vector<std::uint32_t> surface(8 * 6, background);
  BlendPremultiplied(&picture[0][0], 5, surface.data() + 1 * 8 + 2, 8, 5, 3);
  const std::uint32_t half = Pixel(255, 64 + Over(0, 90, 128), Over(0, 180, 128), 128 + Over(0, 40, 128));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      std::uint32_t want = background;
      if (y >= 1 && y < 4 && x >= 2 && x < 7) {
        const std::uint32_t p = picture[y - 1][x - 2];
        want = p == T ? background : p == H ? half : p;
      }
      EXPECT_EQ(surface[y * 8 + x], want) << "at " << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace tvui
