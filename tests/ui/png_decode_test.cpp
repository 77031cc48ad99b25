// The skin pictures' PNG decoder: premultiplied blue-green-red-alpha pixels, top row first, from
// every PNG colour type; broken or foreign bytes give nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/png_decode.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace tvui {
namespace {

void Append(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// A PNG of width x height with the given channels (1 grey, 2 grey + alpha, 3 RGB, 4 RGBA).
std::string Png(int width, int height, int channels, const std::vector<unsigned char>& samples) {
  std::string bytes;
  stbi_write_png_to_func(&Append, &bytes, width, height, channels, samples.data(), width * channels);
  return bytes;
}

TEST(PngDecode, PixelsArePremultipliedBgraFromTheTopRowForEveryColourType) {
  DecodedPixels out;
  // 2 x 2 RGBA: opaque red, half-transparent (128) colour, fully transparent white, 1/255 alpha.
  ASSERT_TRUE(DecodePngPremultiplied(Png(2, 2, 4, {255, 0, 0, 255, 200, 100, 51, 128,  //
                                                   255, 255, 255, 0, 255, 255, 255, 1}),
                                     out));
  ASSERT_EQ(out.width, 2);
  ASSERT_EQ(out.height, 2);
  ASSERT_EQ(out.pixels.size(), 4u);
  EXPECT_EQ(out.pixels[0], 0xFFFF0000u);  // top left
  // 200 * 128 / 255 = 100.4 -> 100, 100 * 128 / 255 = 50.2 -> 50, 51 * 128 / 255 = 25.6 -> 26
  EXPECT_EQ(out.pixels[1], 0x8064321Au);
  EXPECT_EQ(out.pixels[2], 0x00000000u);  // transparent: no colour left
  EXPECT_EQ(out.pixels[3], 0x01010101u);

  ASSERT_TRUE(DecodePngPremultiplied(Png(1, 2, 3, {1, 2, 3, 250, 251, 252}), out));
  EXPECT_EQ(out.pixels, (std::vector<std::uint32_t>{0xFF010203u, 0xFFFAFBFCu}));
  ASSERT_TRUE(DecodePngPremultiplied(Png(2, 1, 1, {0, 77}), out));
  EXPECT_EQ(out.pixels, (std::vector<std::uint32_t>{0xFF000000u, 0xFF4D4D4Du}));
  ASSERT_TRUE(DecodePngPremultiplied(Png(1, 1, 2, {255, 51}), out));
  EXPECT_EQ(out.pixels, (std::vector<std::uint32_t>{0x33333333u}));
}

TEST(PngDecode, BrokenOrForeignBytesGiveNothing) {
  const std::string good = Png(3, 3, 4, std::vector<unsigned char>(36, 200));
  DecodedPixels out;
  ASSERT_TRUE(DecodePngPremultiplied(good, out));
  for (const std::string& bad : {std::string(), good.substr(0, 8), good.substr(0, good.size() / 2),
                                 std::string("BM") + good.substr(2), std::string(64, '\0')}) {
    out.width = 7;
    EXPECT_FALSE(DecodePngPremultiplied(bad, out)) << bad.size();
    EXPECT_EQ(out.width, 0);
    EXPECT_TRUE(out.pixels.empty());
  }
  // Larger than the decoder takes: the header says 9000 x 1.
  std::string wide = Png(1, 1, 4, {1, 2, 3, 4});
  wide[16] = 0, wide[17] = 0, wide[18] = 0x23, wide[19] = 0x28;
  EXPECT_FALSE(DecodePngPremultiplied(wide, out));
}

}  // namespace
}  // namespace tvui
