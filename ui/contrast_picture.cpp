#include "ui/contrast_picture.h"

namespace tvui {

ContrastPicture ContrastPictureFor(const PictureUse& use) {
  if (use.foreground) return use.opaque ? ContrastPicture::AsIs : ContrastPicture::Silhouette;
  if (use.framing) return ContrastPicture::Hidden;
  // A clickable picture that fills its place is a thing to choose (a colour sample); filling
  // anything else, it is the skin's background.
  if (use.opaque) return use.clickable ? ContrastPicture::AsIs : ContrastPicture::Hidden;
  return ContrastPicture::Silhouette;
}

bool IsMostlyOpaque(const PixelSource& picture) {
  if (picture.width <= 0 || picture.height <= 0 || !picture.bits) return false;
  std::int64_t opaque = 0;
  for (int y = 0; y < picture.height; ++y) {
    const std::uint32_t* row = picture.bits + static_cast<std::int64_t>(y) * picture.stride;
    for (int x = 0; x < picture.width; ++x) opaque += (row[x] >> 24) >= 0xF0;
  }
  return opaque * 2 >= static_cast<std::int64_t>(picture.width) * picture.height;
}

void PaintSilhouette(const PixelSource& picture, PixelSurface& surface, Color color) {
  const int w = picture.width < surface.width ? picture.width : surface.width;
  const int h = picture.height < surface.height ? picture.height : surface.height;
  const std::uint32_t r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* from = picture.bits + static_cast<std::int64_t>(y) * picture.stride;
    std::uint32_t* to = surface.bits + static_cast<std::int64_t>(y) * surface.stride;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t a = from[x] >> 24;
      // Premultiplied, rounded: a * c / 255.
      auto scaled = [a](std::uint32_t c) { return (a * c + 127) / 255; };
      to[x] = (a << 24) | (scaled(r) << 16) | (scaled(g) << 8) | scaled(b);
    }
  }
}

}  // namespace tvui
