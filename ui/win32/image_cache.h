#pragma once
// Process-wide cache of decoded images (PNG with alpha through GDI+), keyed by full path.
// UI thread only.
#include <windows.h>

#include <string>
#include <vector>

namespace Gdiplus {
class Bitmap;
}

namespace tvui {

class ImageCache {
 public:
  static ImageCache& Instance();
  // The decoded image, or nullptr when the file is missing or not an image (remembered, and
  // listed by MissingFiles).
  Gdiplus::Bitmap* Get(const std::u16string& path);
  const std::vector<std::u16string>& MissingFiles() const { return missing_; }
  // Forgets everything (after skin files changed on disk).
  void Clear();

 private:
  struct Impl;
  ImageCache();
  Impl* impl_;
  std::vector<std::u16string> missing_;
};

}  // namespace tvui
