#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "ui/contrast_picture.h"
#include "ui/png_decode.h"

using namespace tvui;

namespace {

DecodedPixels SkinPicture(const std::string& name) {
  std::ifstream in(TAVRINO_SOURCE_DIR "/skin15/" + name, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  DecodedPixels out;
  EXPECT_TRUE(DecodePngPremultiplied(bytes, out)) << name;
  return out;
}

PixelSource SourceOf(const DecodedPixels& p) { return {p.pixels.data(), p.width, p.height, p.width}; }

}  // namespace

// The skin's white icons vanish on a white high-contrast window unless drawn as shapes; its
// backgrounds must go; its colour samples are what the skin chooser offers, so they stay.
TEST(ContrastPicture, SkinIconsBecomeLegibleShapesAndBackgroundsGo) {
  struct Case {
    const char* file;
    bool foreground, clickable, framing;
    ContrastPicture expected;
  } cases[] = {
      {"ico_close.png", true, true, false, ContrastPicture::Silhouette},        // title button's icon
      {"r0.png", false, true, false, ContrastPicture::Silhouette},              // weather refresh
      {"weather/day/cloudy.png", false, true, false, ContrastPicture::Silhouette},  // weather icon
      {"skin_t1.png", false, true, false, ContrastPicture::AsIs},                // a skin's sample
      {"bg1.png", false, false, true, ContrastPicture::Hidden},                 // the window's background
      {"bg1.png", false, false, false, ContrastPicture::Hidden},                // a painted band
      {"r0.png", false, true, true, ContrastPicture::Hidden},                   // behind a text
  };
  for (const Case& c : cases) {
    const DecodedPixels picture = SkinPicture(c.file);
    const PictureUse use{c.foreground, c.clickable, c.framing, IsMostlyOpaque(SourceOf(picture))};
    EXPECT_EQ(ContrastPictureFor(use), c.expected) << c.file;
  }

  // The close icon's shape in black on white: dark where the icon is, at its own edges' alpha.
  const DecodedPixels icon = SkinPicture("ico_close.png");
  std::vector<std::uint32_t> shape(icon.pixels.size(), 0xDEADBEEF);
  PixelSurface surface{shape.data(), icon.width, icon.height, icon.width};
  PaintSilhouette(SourceOf(icon), surface, 0xFF000000);
  int drawn = 0;
  for (size_t i = 0; i < shape.size(); ++i) {
    EXPECT_EQ(shape[i] >> 24, icon.pixels[i] >> 24);
    EXPECT_EQ(shape[i] & 0xFFFFFF, 0u);  // black, premultiplied
    drawn += (shape[i] >> 24) >= 0x80;
  }
  EXPECT_GT(drawn, icon.width);  // more than a line's worth of the icon shows

  // Premultiplied rounding and a surface stride wider than the picture.
  const std::uint32_t half[2] = {0x80FFFFFF, 0x00000000};
  std::uint32_t out[4] = {1, 1, 7, 7};
  PixelSurface two{out, 2, 1, 4};
  PaintSilhouette({half, 2, 1, 2}, two, 0xFFFF8000);
  EXPECT_EQ(out[0], 0x80804000u);
  EXPECT_EQ(out[1], 0u);
  EXPECT_EQ(out[2], 7u);
}
