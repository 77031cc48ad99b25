#pragma once
// Decoding a skin picture's PNG bytes into the pixels the Windows edge blends from: 32-bit, rows
// from the top, blue-green-red-alpha in memory, colours premultiplied by alpha. Portable (the
// system's image codecs are slow to start and to decode under Wine, and the window's first
// painting waits for every picture on show).
#include <cstdint>
#include <string_view>
#include <vector>

namespace tvui {

struct DecodedPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height, row after row from the top
};

// False (out left empty) when bytes are not a PNG picture this decoder reads, or the picture is
// larger than kMaxDecodedSide on a side.
bool DecodePngPremultiplied(std::string_view bytes, DecodedPixels& out);

inline constexpr int kMaxDecodedSide = 8192;

}  // namespace tvui
