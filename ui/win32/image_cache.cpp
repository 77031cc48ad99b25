#include "ui/win32/image_cache.h"

#include "ui/win32/gdiplus_include.h"

#include <map>
#include <memory>

#include "ui/win32/gdiplus_session.h"

namespace tvui {

struct ImageCache::Impl {
  std::map<std::u16string, std::unique_ptr<Gdiplus::Bitmap>> images;
};

ImageCache::ImageCache() : impl_(new Impl) {}

ImageCache& ImageCache::Instance() {
  static ImageCache* cache = new ImageCache;  // lives until exit, after every window
  return *cache;
}

Gdiplus::Bitmap* ImageCache::Get(const std::u16string& rawPath) {
  if (rawPath.empty() || !EnsureGdiplus()) return nullptr;
  std::u16string path = rawPath;
  for (auto& c : path) {
    if (c == u'/') c = u'\\';
  }
  auto it = impl_->images.find(path);
  if (it != impl_->images.end()) return it->second.get();
  std::unique_ptr<Gdiplus::Bitmap> bitmap;
  // Decode into memory so the file is not kept open.
  Gdiplus::Bitmap file(reinterpret_cast<const WCHAR*>(path.c_str()));
  if (file.GetLastStatus() == Gdiplus::Ok && file.GetWidth() > 0) {
    bitmap.reset(new Gdiplus::Bitmap(file.GetWidth(), file.GetHeight(), PixelFormat32bppPARGB));
    Gdiplus::Graphics g(bitmap.get());
    g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    g.DrawImage(&file, 0, 0, file.GetWidth(), file.GetHeight());
  } else {
    missing_.push_back(path);
  }
  Gdiplus::Bitmap* raw = bitmap.get();
  impl_->images[path] = std::move(bitmap);
  return raw;
}

void ImageCache::Clear() {
  impl_->images.clear();
  missing_.clear();
}

}  // namespace tvui
