#include "ui/dpi_scale.h"

#include <cstdint>
#include <cstdlib>

namespace tvui {

namespace {

constexpr int kMinDpi = 48;
constexpr int kMaxDpi = 960;

// Floor division (coordinates left of or above the primary monitor are negative).
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

Scale::Scale(int dpi) : dpi_(dpi >= kMinDpi && dpi <= kMaxDpi ? dpi : kBaseDpi) {}

int Scale::ToDevice(int logical) const {
  // round(v * dpi / 96), halves up: floor((v * dpi + 48) / 96).
  return static_cast<int>(FloorDiv(static_cast<std::int64_t>(logical) * dpi_ + kBaseDpi / 2, kBaseDpi));
}

int Scale::ToLogical(int device) const {
  // The largest L with ToDevice(L) <= d: L * dpi + 48 < (d + 1) * 96, i.e. L <= (96 d + 47) / dpi.
  return static_cast<int>(FloorDiv(static_cast<std::int64_t>(device) * kBaseDpi + kBaseDpi / 2 - 1, dpi_));
}

Size Scale::ToLogicalCover(Size device) const {
  // The smallest L with ToDevice(L) >= d is one past the unit that holds pixel d - 1.
  auto cover = [this](int d) { return d <= 0 ? 0 : ToLogical(d - 1) + 1; };
  return {cover(device.cx), cover(device.cy)};
}

int ImageVariantDpi(int dpi) {
  const int variants[] = {kBaseDpi, kBaseDpi * 3 / 2, kBaseDpi * 2};
  int best = variants[0];
  for (int v : variants) {
    if (std::abs(v - dpi) <= std::abs(best - dpi)) best = v;
  }
  return best;
}

std::u16string ImageVariantPath(const std::u16string& path, int variantDpi) {
  const char16_t* tag = variantDpi == kBaseDpi * 2 ? u"@2x" : variantDpi == kBaseDpi * 3 / 2 ? u"@1.5x" : nullptr;
  if (!tag) return path;
  const size_t slash = path.find_last_of(u"\\/");
  const size_t dot = path.find_last_of(u'.');
  const size_t at = dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash) ? path.size() : dot;
  return path.substr(0, at) + tag + path.substr(at);
}

}  // namespace tvui
