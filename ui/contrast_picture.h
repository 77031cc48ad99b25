#pragma once
// Pictures in the system's high-contrast mode. The skin's pictures are drawn for its own colours: a
// white icon vanishes on the white of a high-contrast window, and a background in the skin's colour
// is what the mode exists to take away. So each picture is either left out (backgrounds), drawn as
// it is (a picture that is itself the content, such as a skin's colour sample), or drawn as a
// silhouette: its shape, from its alpha, in one of the system's colours.
#include <cstdint>

#include "ui/geometry.h"
#include "ui/nine_grid.h"

namespace tvui {

enum class ContrastPicture { Hidden, AsIs, Silhouette };

// Where on a control a picture sits, and what the control is.
struct PictureUse {
  bool foreground = false;  // a fore image (an icon over the control), not its background or state
  bool clickable = false;   // the control takes clicks
  bool framing = false;     // a container, an option (a frame for what it holds) or a control with text
  bool opaque = false;      // the picture is mostly opaque (IsMostlyOpaque)
};

ContrastPicture ContrastPictureFor(const PictureUse& use);

// Whether at least half of the picture's pixels are (nearly) opaque: a picture rather than a shape.
bool IsMostlyOpaque(const PixelSource& picture);

// Writes the picture's shape into surface (same size): color (straight, alpha ignored) at each
// pixel's own alpha, premultiplied.
void PaintSilhouette(const PixelSource& picture, PixelSurface& surface, Color color);

}  // namespace tvui
