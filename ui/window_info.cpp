#include "ui/window_info.h"

namespace tvui {

const FontSpec& WindowInfo::Font(int id) const {
  static const FontSpec kBuiltIn{};
  const FontSpec* fallback = nullptr;
  for (const auto& f : fonts) {
    if (id >= 0 && f.id == id) return f;
    if (f.id == defaultFont) fallback = &f;
  }
  if (fallback) return *fallback;
  if (!fonts.empty()) return fonts.front();
  return kBuiltIn;
}

bool WindowInfo::InCaption(Point p, Size client) const {
  if (caption.bottom <= 0) return false;
  return p.x >= caption.left && p.x < client.cx - caption.right && p.y >= caption.top &&
         p.y < caption.bottom;
}

}  // namespace tvui
