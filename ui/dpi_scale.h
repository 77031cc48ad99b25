#pragma once
// Display scale. Skin files, layouts and the program's geometry rules are written in 96-DPI units
// ("logical" units); a window on a monitor of another scale draws, sizes and hit-tests in device
// pixels. Scale converts between the two for one DPI.
//
// Rounding: a coordinate maps to the nearest device pixel, halves up. Rectangles convert their
// edges, never their widths, so rectangles that touch in logical units touch on the device (a row
// of 47-unit day cells at 150 % alternates 70 and 71 pixels, with no gap and no overlap), and a
// rectangle's device pixels are exactly those whose logical unit lies inside it.
#include <string>

#include "ui/geometry.h"

namespace tvui {

inline constexpr int kBaseDpi = 96;

class Scale {
 public:
  Scale() = default;
  // Values outside 48…960 DPI (0 for "unknown" included) count as 96.
  explicit Scale(int dpi);

  int Dpi() const { return dpi_; }
  bool IsIdentity() const { return dpi_ == kBaseDpi; }
  bool operator==(const Scale&) const = default;

  // Logical -> device.
  int ToDevice(int logical) const;
  Point ToDevice(Point p) const { return {ToDevice(p.x), ToDevice(p.y)}; }
  // Sizes are lengths from the origin (window, font and image sizes).
  Size ToDevice(Size s) const { return {ToDevice(s.cx), ToDevice(s.cy)}; }
  Rect ToDevice(const Rect& r) const {
    return {ToDevice(r.left), ToDevice(r.top), ToDevice(r.right), ToDevice(r.bottom)};
  }
  // A length that is not tied to a position (a pen width, a radius), unrounded.
  float ToDeviceF(float logical) const { return logical * static_cast<float>(dpi_) / kBaseDpi; }

  // Device -> logical, for hit tests: the logical unit whose device span holds device pixel d.
  // Exact inverse of the edges: ToDevice(a) <= d < ToDevice(b) exactly when a <= ToLogical(d) < b.
  int ToLogical(int device) const;
  Point ToLogical(Point p) const { return {ToLogical(p.x), ToLogical(p.y)}; }
  // The smallest logical size whose device size covers a device size (a window's client area).
  Size ToLogicalCover(Size device) const;

 private:
  int dpi_ = kBaseDpi;
};

// Pictures are drawn at 1x, 1.5x and 2x ("bg1.png", "bg1@1.5x.png", "bg1@2x.png"). The variant
// for a DPI is the nearest of the three, the larger one on a tie (a picture shrinks better than it
// grows); its scale as a DPI: 96, 144 or 192.
int ImageVariantDpi(int dpi);
// The variant's file name: "weather\day\sunny.png" at 192 -> "weather\day\sunny@2x.png".
std::u16string ImageVariantPath(const std::u16string& path, int variantDpi);

}  // namespace tvui
