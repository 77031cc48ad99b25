#pragma once
// GDI fonts of one window, made from the skin's <Font> list (ClearType quality) for the DPI the
// window is drawn at; skin font sizes are 96-DPI pixels. Fonts made for another DPI stay cached, so
// a window that moves between monitors and back makes each font once.
#include <windows.h>

#include <map>
#include <utility>

#include "platform/win32/scoped_gdi.h"
#include "ui/dpi_scale.h"
#include "ui/window_info.h"

namespace tvui {

class FontCache {
 public:
  explicit FontCache(const WindowInfo* info = nullptr) : info_(info) {}
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  void SetInfo(const WindowInfo* info);
  // The DPI that Get makes fonts for (96 until set).
  void SetDpi(int dpi) { scale_ = Scale(dpi); }
  // The font for a skin font id (-1 or unknown ids: the default font) at the current DPI. Never null.
  HFONT Get(int id);

 private:
  void Clear();
  const WindowInfo* info_;
  Scale scale_;
  // (dpi, id); empty where the skin's font could not be made (the default font stands in)
  std::map<std::pair<int, int>, ScopedFont> fonts_;
};

}  // namespace tvui
