#include "ui/win32/image_cache.h"

#include "ui/win32/gdiplus_include.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>

#include "platform/file_utils.h"
#include "ui/dpi_scale.h"
#include "ui/nine_grid.h"
#include "ui/png_decode.h"
#include "ui/win32/dib_section.h"
#include "ui/win32/gdiplus_session.h"

namespace tvui {

namespace {

// A DIB section of the cache's, and the view of its pixels that the cache lends out.
struct OwnedDib {
  ScopedBitmap bitmap;
  DibPixels pixels;
};

}  // namespace

struct ImageCache::Impl {
  // The sections before the GDI+ images that are views of them: the views go first.
  std::map<std::u16string, OwnedDib> dibs;
  std::map<std::u16string, OwnedDib> composed;
  std::map<std::u16string, std::unique_ptr<Gdiplus::Bitmap>> images;
  std::deque<std::u16string> composedOrder;  // oldest first
  std::map<std::u16string, bool> variantExists;

  void DropDibs() {
    dibs.clear();
    composed.clear();
    composedOrder.clear();
  }
};

namespace {

constexpr size_t kMaxComposed = 512;

std::u16string NormalPath(const std::u16string& rawPath) {
  std::u16string path = rawPath;
  for (auto& c : path) {
    if (c == u'/') c = u'\\';
  }
  return path;
}

}  // namespace

ImageCache::ImageCache() : impl_(new Impl) {}

ImageCache& ImageCache::Instance() {
  static ImageCache* cache = new ImageCache;  // lives until exit, after every window
  return *cache;
}

Gdiplus::Bitmap* ImageCache::Get(const std::u16string& rawPath) {
  if (rawPath.empty() || !EnsureGdiplus()) return nullptr;
  std::u16string path = NormalPath(rawPath);
  auto it = impl_->images.find(path);
  if (it != impl_->images.end()) return it->second.get();
  // Decoded once, into the premultiplied DIB section that GDI blends from; the GDI+ image is a view
  // of the same pixels (one copy of each picture in memory). The file is not kept open.
  void* bits = nullptr;
  ScopedBitmap dib = DecodePng(path, &bits);
  if (!dib) dib = DecodeThroughGdiplus(path, &bits);
  std::unique_ptr<Gdiplus::Bitmap> bitmap;
  if (dib) {
    BITMAP info{};
    GetObjectW(dib.get(), sizeof(info), &info);
    bitmap.reset(new Gdiplus::Bitmap(info.bmWidth, info.bmHeight, info.bmWidth * 4, PixelFormat32bppPARGB,
                                     static_cast<BYTE*>(bits)));
    if (bitmap->GetLastStatus() == Gdiplus::Ok) {
      const DibPixels pixels{dib.get(), static_cast<std::uint32_t*>(bits), info.bmWidth, info.bmHeight};
      impl_->dibs[path] = {std::move(dib), pixels};
    } else {
      bitmap.reset();
      dib.reset();
    }
  }
  if (!bitmap) missing_.push_back(path);
  Gdiplus::Bitmap* raw = bitmap.get();
  impl_->images[path] = std::move(bitmap);
  return raw;
}

ScopedBitmap ImageCache::DecodePng(const std::u16string& path, void** bits) {
  std::string bytes;
  DecodedPixels decoded;
  if (!ReadWholeFile(path, bytes) || !DecodePngPremultiplied(bytes, decoded)) return {};
  ScopedBitmap dib(CreateTopDownDib(decoded.width, decoded.height, bits));
  if (dib) std::memcpy(*bits, decoded.pixels.data(), decoded.pixels.size() * sizeof(decoded.pixels[0]));
  return dib;
}

ScopedBitmap ImageCache::DecodeThroughGdiplus(const std::u16string& path, void** bits) {
  Gdiplus::Bitmap file(reinterpret_cast<const WCHAR*>(path.c_str()));
  const int cx = file.GetLastStatus() == Gdiplus::Ok ? static_cast<int>(file.GetWidth()) : 0;
  const int cy = cx > 0 ? static_cast<int>(file.GetHeight()) : 0;
  ScopedBitmap dib(cx > 0 && cy > 0 ? CreateTopDownDib(cx, cy, bits) : nullptr);
  if (!dib) return {};
  Gdiplus::Bitmap view(cx, cy, cx * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(*bits));
  if (view.GetLastStatus() != Gdiplus::Ok) return {};
  Gdiplus::Graphics g(&view);
  g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  g.DrawImage(&file, 0, 0, cx, cy);
  g.Flush(Gdiplus::FlushIntentionSync);
  return dib;
}

std::u16string ImageCache::ResolveForDpi(const std::u16string& path, int dpi, int& variantDpi) {
  variantDpi = ImageVariantDpi(dpi);
  if (variantDpi == kBaseDpi) return path;
  std::u16string variant = NormalPath(ImageVariantPath(path, variantDpi));
  auto it = impl_->variantExists.find(variant);
  if (it == impl_->variantExists.end()) {
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(variant.c_str()));
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    it = impl_->variantExists.emplace(variant, exists).first;
  }
  if (it->second) return variant;
  variantDpi = kBaseDpi;
  return path;
}

const DibPixels* ImageCache::GetDib(const std::u16string& rawPath) {
  std::u16string path = NormalPath(rawPath);
  if (!Get(path)) return nullptr;
  auto it = impl_->dibs.find(path);
  return it == impl_->dibs.end() ? nullptr : &it->second.pixels;
}

const DibPixels* ImageCache::FindComposed(const std::u16string& key) const {
  auto it = impl_->composed.find(key);
  return it == impl_->composed.end() ? nullptr : &it->second.pixels;
}

const DibPixels* ImageCache::Compose(const std::u16string& key, int left, int top, int cx, int cy,
                            const std::function<void(Gdiplus::Graphics&)>& draw) {
  if (!EnsureGdiplus() || left < 0 || top < 0) return nullptr;
  void* bits = nullptr;
  ScopedBitmap dib(CreateTopDownDib(cx, cy, &bits));
  if (!dib) return nullptr;
  // Drawn at the same device coordinates as in the window's back buffer, so that stretched parts
  // sample their pixels exactly as a direct draw would, into a premultiplied surface (which keeps
  // the alpha); then the area is cut out.
  void* wholeBits = nullptr;
  ScopedBitmap whole(CreateTopDownDib(left + cx, top + cy, &wholeBits));
  if (!whole) return nullptr;
  {
    Gdiplus::Bitmap surface(left + cx, top + cy, (left + cx) * 4, PixelFormat32bppPARGB,
                            static_cast<BYTE*>(wholeBits));
    if (surface.GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::Graphics g(&surface);
    draw(g);
    g.Flush(Gdiplus::FlushIntentionSync);
  }
  size_t wholeStride = static_cast<size_t>(left + cx) * 4;
  for (int y = 0; y < cy; ++y) {
    std::memcpy(static_cast<char*>(bits) + static_cast<size_t>(y) * cx * 4,
                static_cast<const char*>(wholeBits) + (top + y) * wholeStride + left * 4,
                static_cast<size_t>(cx) * 4);
  }
  whole.reset();
  const DibPixels pixels{dib.get(), static_cast<std::uint32_t*>(bits), cx, cy};
  return Keep(key, std::move(dib), pixels);
}

const DibPixels* ImageCache::ComposePixels(const std::u16string& key, int cx, int cy,
                                           const std::function<void(PixelSurface&)>& draw) {
  void* bits = nullptr;
  ScopedBitmap dib(CreateTopDownDib(cx, cy, &bits));
  if (!dib) return nullptr;
  PixelSurface surface{static_cast<std::uint32_t*>(bits), cx, cy, cx};
  draw(surface);
  const DibPixels pixels{dib.get(), surface.bits, cx, cy};
  return Keep(key, std::move(dib), pixels);
}

const DibPixels* ImageCache::Keep(const std::u16string& key, ScopedBitmap bitmap, const DibPixels& made) {
  auto it = impl_->composed.find(key);
  if (it != impl_->composed.end()) {
    it->second = {std::move(bitmap), made};
    return &it->second.pixels;
  }
  while (impl_->composed.size() >= kMaxComposed && !impl_->composedOrder.empty()) {
    auto old = impl_->composed.find(impl_->composedOrder.front());
    if (old != impl_->composed.end()) impl_->composed.erase(old);
    impl_->composedOrder.pop_front();
  }
  impl_->composedOrder.push_back(key);
  return &(impl_->composed[key] = {std::move(bitmap), made}).pixels;
}

void ImageCache::Forget(const std::function<bool(const std::u16string& path)>& drop) {
  for (auto it = impl_->images.begin(); it != impl_->images.end();) {
    if (!it->second || !drop(it->first)) {
      ++it;
      continue;
    }
    it->second.reset();  // the view of the DIB section goes before the section itself
    impl_->dibs.erase(it->first);
    it = impl_->images.erase(it);
  }
  // A composed drawing's key is its picture's path followed by "|" and the drawing's sizes.
  auto pathOf = [](const std::u16string& key) { return key.substr(0, key.find(u'|')); };
  for (auto it = impl_->composed.begin(); it != impl_->composed.end();) {
    if (!drop(pathOf(it->first))) {
      ++it;
      continue;
    }
    it = impl_->composed.erase(it);
  }
  std::erase_if(impl_->composedOrder, [this](const std::u16string& key) { return !impl_->composed.count(key); });
}

void ImageCache::Clear() {
  impl_->images.clear();  // views of the DIB sections: gone first
  impl_->DropDibs();
  impl_->variantExists.clear();
  missing_.clear();
}

}  // namespace tvui
