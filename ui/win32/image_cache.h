#pragma once
// Process-wide cache of decoded images (PNG with alpha), keyed by full path, and of
// images already composed at a drawing size (nine-grids, stretched or faded images), so that a
// paint draws them 1:1 instead of scaling them again. UI thread only.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/scoped_gdi.h"

namespace Gdiplus {
class Bitmap;
class Graphics;
}

namespace tvui {

struct DibPixels;
struct PixelSurface;

class ImageCache {
 public:
  static ImageCache& Instance();
  // The decoded image, or nullptr when the file is missing or not an image (remembered, and
  // listed by MissingFiles). PNG files are decoded by the program itself, anything else (or a PNG
  // it cannot read) through GDI+.
  Gdiplus::Bitmap* Get(const std::u16string& path);
  const std::vector<std::u16string>& MissingFiles() const { return missing_; }
  // The drawing of the picture at path to use in a window drawn at dpi: the picture's 1x, 1.5x or
  // 2x file ("bg1.png", "bg1@1.5x.png", "bg1@2x.png") nearest to the DPI when that file exists,
  // else path itself. variantDpi receives the drawing's own scale (96, 144 or 192). Whether a
  // variant exists is looked up once per file; a missing variant is not a missing file.
  std::u16string ResolveForDpi(const std::u16string& path, int dpi, int& variantDpi);
  // The same image as a premultiplied 32-bit top-down DIB section, for alpha blending (the very
  // pixels of the decoded image, owned by the cache); nullptr when the image is missing.
  const DibPixels* GetDib(const std::u16string& path);
  // A composed image stored under key earlier, or nullptr.
  const DibPixels* FindComposed(const std::u16string& key) const;
  // Lets draw paint the area (left, top, cx, cy) of a transparent surface through GDI+ (at those
  // device coordinates), keeps that area as a premultiplied 32-bit top-down DIB section under
  // key and returns it. The oldest ones are dropped when too many pile up (a window being resized).
  const DibPixels* Compose(const std::u16string& key, int left, int top, int cx, int cy,
                           const std::function<void(Gdiplus::Graphics&)>& draw);
  // The same for a picture the program composes itself: draw fills a transparent cx x cy surface.
  const DibPixels* ComposePixels(const std::u16string& key, int cx, int cy,
                                 const std::function<void(PixelSurface&)>& draw);
  // Forgets everything (after skin files changed on disk).
  void Clear();
  // Frees the decoded pictures whose path drop accepts, and the drawings composed from them; they
  // are decoded again when next drawn. Files found missing stay remembered. Never during a paint.
  void Forget(const std::function<bool(const std::u16string& path)>& drop);

  // The two decoders behind Get: a DIB section with the file's premultiplied pixels (bits
  // receives them), or none.
  static ScopedBitmap DecodePng(const std::u16string& path, void** bits);
  static ScopedBitmap DecodeThroughGdiplus(const std::u16string& path, void** bits);

 private:
  struct Impl;
  ImageCache();
  // Stores made under key (replacing an earlier one), dropping the oldest when too many pile up;
  // the cache owns its bitmap from now on.
  const DibPixels* Keep(const std::u16string& key, ScopedBitmap bitmap, const DibPixels& made);
  Impl* impl_;
  std::vector<std::u16string> missing_;
};

}  // namespace tvui
