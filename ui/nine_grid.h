#pragma once
// Stretching a premultiplied picture into a surface the program owns: a part of it, or a nine-grid
// (corners kept, edges stretched along one axis, the middle along both). Stretched parts are
// interpolated bilinearly between pixel centres and sample only their own part of the picture (its
// edge pixels repeat beyond it), so no neighbouring part bleeds in and joints show no seam; a part
// that keeps its size is copied as it is. Done here, a window's large background costs a few
// milliseconds instead of the system's general-purpose resampling.
#include <cstdint>

#include "ui/geometry.h"

namespace tvui {

// Premultiplied 32-bit pixels (alpha in the top byte), rows from the top, stride in pixels.
struct PixelSource {
  const std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

struct PixelSurface {
  std::uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// Draws src of picture into dst of surface (replacing what is there). Parts outside the picture or
// the surface are cut off; an empty one draws nothing.
void StretchPart(const PixelSource& picture, const Rect& src, PixelSurface& surface, const Rect& dst);

// Draws src of picture into dst of surface as a nine-grid: srcCorner gives the corner sizes in the
// picture (left and right widths, top and bottom heights), dstCorner on the surface.
void DrawNineGrid(const PixelSource& picture, const Rect& src, const Rect& srcCorner, PixelSurface& surface,
                  const Rect& dst, const Rect& dstCorner);

}  // namespace tvui
