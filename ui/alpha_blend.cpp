#include "ui/alpha_blend.h"

#include <cstring>

namespace tvui {

namespace {

std::uint32_t BlendPixel(std::uint32_t d, std::uint32_t s) {
  const std::uint32_t keep = 255 - (s >> 24);
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t channel = ((s >> shift) & 0xFF) + (((d >> shift) & 0xFF) * keep + 127) / 255;
    out |= (channel > 255 ? 255 : channel) << shift;
  }
  return out;
}

}  // namespace

void BlendPremultiplied(const std::uint32_t* src, std::ptrdiff_t srcStride, std::uint32_t* dst,
                        std::ptrdiff_t dstStride, int width, int height) {
  for (int y = 0; y < height; ++y, src += srcStride, dst += dstStride) {
    int x = 0;
    while (x < width) {
      const std::uint32_t s = src[x];
      if (s == 0) {  // transparent: what lies underneath stays
        ++x;
      } else if (s >> 24 == 0xFF) {  // opaque: the run is copied
        int end = x + 1;
        while (end < width && src[end] >> 24 == 0xFF) ++end;
        std::memcpy(dst + x, src + x, static_cast<std::size_t>(end - x) * sizeof(std::uint32_t));
        x = end;
      } else {
        dst[x] = BlendPixel(dst[x], s);
        ++x;
      }
    }
  }
}

}  // namespace tvui
