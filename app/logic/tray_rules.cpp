#include "app/logic/tray_rules.h"

tvui::Rect PlaceTrayMenu(tvui::Point cursor, int width, int height, const tvui::Rect& workArea) {
  tvui::Rect r{cursor.x, cursor.y, cursor.x + width, cursor.y + height};
  if (workArea.bottom < r.bottom) {
    r.top = height < workArea.Height() ? cursor.y - height : 0;
    r.bottom = r.top + height;
  }
  if (workArea.right < r.right) {
    r.left = width < workArea.Width() ? cursor.x - width : 0;
    r.right = r.left + width;
  }
  return r;
}

TrayClick DecideTrayLeftClick(bool windowVisible, const ToggleGuard& guard, uint32_t tick) {
  if (windowVisible) return TrayClick::kHide;
  return guard.WouldAccept(tick) ? TrayClick::kShow : TrayClick::kIgnore;
}
