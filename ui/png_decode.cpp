#include "ui/png_decode.h"

#include <cstdlib>
#include <limits>

// stb_image (Debian's libstb-dev), its PNG reader only, without file access or failure texts.
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 8192
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wtype-limits"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wsign-conversion"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

static_assert(tvui::kMaxDecodedSide == STBI_MAX_DIMENSIONS, "one limit for the decoder and its callers");

namespace tvui {

bool DecodePngPremultiplied(std::string_view bytes, DecodedPixels& out) {
  out = {};
  if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return false;
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int size = static_cast<int>(bytes.size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, size, &width, &height, &channels)) return false;
  stbi_uc* rgba = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
  if (!rgba) return false;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  const stbi_uc* p = rgba;
  for (std::uint32_t& px : out.pixels) {
    const std::uint32_t a = p[3];
    // Premultiplied and rounded to the nearest value, as the system's image codecs do.
    const std::uint32_t r = (p[0] * a + 127) / 255, g = (p[1] * a + 127) / 255, b = (p[2] * a + 127) / 255;
    px = (a << 24) | (r << 16) | (g << 8) | b;
    p += 4;
  }
  stbi_image_free(rgba);
  return true;
}

}  // namespace tvui
