#pragma once
// GDI fonts of one window, made from the skin's <Font> list (ClearType quality).
#include <windows.h>

#include <map>

#include "ui/window_info.h"

namespace tvui {

class FontCache {
 public:
  explicit FontCache(const WindowInfo* info = nullptr) : info_(info) {}
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  void SetInfo(const WindowInfo* info);
  // The font for a skin font id (-1 or unknown ids: the default font). Never null.
  HFONT Get(int id);

 private:
  void Clear();
  const WindowInfo* info_;
  std::map<int, HFONT> fonts_;
};

}  // namespace tvui
