#include "ui/alpha_blend.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// Two pixels widened to 16 bits a channel: s + round(d * (255 - sa) / 255), with the rounded
// quotient as floor((x + 127) / 255) = (t + 1 + (t >> 8)) >> 8 for t = x + 127 <= 65152.
__m128i BlendWide(__m128i s, __m128i d) {
  __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
  __m128i keep = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
  __m128i t = _mm_add_epi16(_mm_mullo_epi16(d, keep), _mm_set1_epi16(127));
  __m128i q = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_set1_epi16(1)), _mm_srli_epi16(t, 8)), 8);
  return _mm_add_epi16(s, q);
}

// Four pixels at once: skipped when all are transparent, copied when all are opaque.
void BlendFour(const std::uint32_t* src, std::uint32_t* dst) {
  const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
  const __m128i zero = _mm_setzero_si128();
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF) return;
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alphaMask), alphaMask)) == 0xFFFF) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), s);
    return;
  }
  const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
  const __m128i low = BlendWide(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
  const __m128i high = BlendWide(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(low, high));
}
#endif

}  // namespace

void BlendPremultiplied(const std::uint32_t* src, std::ptrdiff_t srcStride, std::uint32_t* dst,
                        std::ptrdiff_t dstStride, int width, int height) {
  for (int y = 0; y < height; ++y, src += srcStride, dst += dstStride) {
    int x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= width; x += 4) BlendFour(src + x, dst + x);
#endif
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
