#pragma once
// Drawing a premultiplied picture over a 32-bit surface the way GDI's per-pixel alpha blend does
// (source over, on every channel alpha included: d' = s + d * (255 - sa) / 255, rounded to the
// nearest), for surfaces the program owns. Done here it costs a copy where the picture is opaque
// and nothing where it is transparent, so a window drawn at 200 % does not pay four times over for
// the parts of its pictures that need no blending.
#include <cstddef>
#include <cstdint>

namespace tvui {

// Pixels are 32-bit words, alpha in the top byte; strides are in pixels. src must be premultiplied
// (no channel above its alpha), as the image cache's pictures are. width x height pixels of src are
// drawn over as many of dst.
void BlendPremultiplied(const std::uint32_t* src, std::ptrdiff_t srcStride, std::uint32_t* dst,
                        std::ptrdiff_t dstStride, int width, int height);

}  // namespace tvui
