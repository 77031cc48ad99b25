#include "ui/win32/font_cache.h"

#include <utility>

namespace tvui {

namespace {

// The font made for the skin, or the system's default font where none could be made.
HFONT FontOrDefault(const ScopedFont& font) {
  return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

FontCache::~FontCache() { Clear(); }

void FontCache::SetInfo(const WindowInfo* info) {
  Clear();
  info_ = info;
}

void FontCache::Clear() { fonts_.clear(); }

HFONT FontCache::Get(int id) {
  const auto key = std::make_pair(scale_.Dpi(), id);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return FontOrDefault(it->second);
  static const WindowInfo kEmpty;
  const FontSpec& face = (info_ ? *info_ : kEmpty).Font(id);
  // A negative height asks for the character height in pixels, as the skin gives it.
  ScopedFont font(CreateFontW(-scale_.ToDevice(face.size), 0, 0, 0, face.bold ? FW_BOLD : FW_NORMAL, face.italic,
                              face.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              reinterpret_cast<const wchar_t*>(face.name.c_str())));
  return FontOrDefault(fonts_[key] = std::move(font));
}

}  // namespace tvui
