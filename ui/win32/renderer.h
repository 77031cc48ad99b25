#pragma once
// Paints a control tree into a device context (the window's back buffer): background colours and
// gradients, images (nine-grid, source/dest parts; faded ones through GDI+), text through GDI with
// ClearType, borders. Positions and sizes come in logical (96-DPI) units and are drawn at the
// window's scale: edges are converted (so touching controls stay touching), fonts are made for the
// DPI and pictures are taken from their drawing nearest to it (1x, 1.5x or 2x).
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/win32/scoped_gdi.h"
#include "ui/contrast_picture.h"
#include "ui/control.h"
#include "ui/dpi_scale.h"
#include "ui/win32/dib_section.h"
#include "ui/win32/high_contrast.h"
#include "ui/window_info.h"

namespace Gdiplus {
class Bitmap;
class Graphics;
}

namespace tvui {

class FontCache;
struct ImageSpec;

class Renderer {
 public:
  // fonts must make its fonts for scale's DPI. backBuffer: the surface dc draws into, when it is
  // one of ours; pictures are then blended and translucent text mixed in its pixels directly.
  Renderer(HDC dc, const WindowInfo& info, FontCache& fonts, std::u16string skinFolder,
           Scale scale = Scale(), const DibPixels& backBuffer = DibPixels());
  ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // With the system's high-contrast palette on: no skin backgrounds, icons as silhouettes in the
  // system's colours (contrast_picture.h), text and frames in those colours, chosen items highlighted.
  void SetPalette(const SystemPalette& palette) { palette_ = palette; }
  // Fills the clip (device pixels) with the window background and paints the tree over it.
  void PaintWindow(Control* root, const Rect& deviceClip);
  // Draws an image attribute text into rect; false when the image is missing or malformed.
  bool DrawImage(const std::u16string& imageText, const Rect& rect);
  void PaintString(const std::u16string& text, const Rect& rect, Color color, int font, HAlign align,
                VAlign valign, bool wordBreak, bool endEllipsis);
  void FillRect(const Rect& rect, Color color);
  // A frame `width` logical pixels wide just inside the rectangle (logical units).
  void FrameRect(const Rect& rect, int width, Color color);

 private:
  // clip and the rectangles below are device pixels.
  void Paint(Control* control, const Rect& clip);
  // One of a control's pictures (fore: its fore image), in high contrast as ContrastPictureFor says.
  void PaintPicture(Control* control, const std::u16string& image, bool foreground);
  struct Contrast {
    PictureUse use;
    Color color;  // of a silhouette
  };
  bool DrawImage(const std::u16string& imageText, const Rect& rect, const Contrast* contrast);
  static bool PictureIsOpaque(const std::u16string& path);
  // Blend for a picture's silhouette in color, made once under key.
  void BlendSilhouette(std::u16string key, const DibPixels& picture, int sx, int sy, const Rect& dst, Color color);
  void SetClip(const Rect& clip);
  void PaintBackground(Control* c, const Rect& r);
  void PaintText(Control* c);
  void PaintComboArrow(Control* c, const Rect& r);
  Size DeviceRound(Size round) const { return scale_.ToDevice(round); }
  // Alpha-blends dst's size of a premultiplied DIB section, from (sx, sy), at dst, inside the clip.
  void Blend(const DibPixels& picture, int sx, int sy, const Rect& dst);
  // Draws an image's parts (nine-grid, stretch, fade) into dst of g; the nine-grid's corners are
  // srcCorner in the picture and dstCorner on the device.
  static void ComposeImage(Gdiplus::Graphics& g, Gdiplus::Bitmap* bmp, const ImageSpec& image,
                           const Rect& src, const Rect& dst, const Rect& srcCorner, const Rect& dstCorner);

  // High contrast: whether the control is drawn as chosen (highlighted).
  bool Highlighted(Control* c) const;

  HDC dc_;
  SystemPalette palette_;
  const WindowInfo& info_;
  FontCache& fonts_;
  std::u16string folder_;
  Scale scale_;
  std::unique_ptr<Gdiplus::Graphics> g_;
  ScopedMemoryDc memDc_;  // holds the DIB being blended
  DibPixels target_;
  Rect clip_;  // device pixels
  // A font stays selected from one text to the next (each selection costs a trip through the
  // display driver); the device context's own font goes back at the end.
  HFONT font_ = nullptr;
  std::optional<ScopedSelection> fontSelection_;
};

}  // namespace tvui
