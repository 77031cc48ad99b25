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

TrayAction TrayCallbackFilter::Take(TrayEvent event, uint32_t tick) {
  switch (event) {
    case TrayEvent::kLeftDown:
      return TrayAction::kToggle;
    case TrayEvent::kRightUp:
      menu_ = true;
      menuTick_ = tick;
      return TrayAction::kMenuAtPointer;
    case TrayEvent::kKeySelect:
      if (keyed_ && tick - keyTick_ < kTrayEchoMs) return TrayAction::kNone;
      keyed_ = true;
      keyTick_ = tick;
      return TrayAction::kToggle;
    case TrayEvent::kContextMenu:
      // After a right click it repeats the release; alone, it came from the keyboard.
      if (menu_ && tick - menuTick_ < kTrayEchoMs) {
        menu_ = false;
        return TrayAction::kNone;
      }
      return TrayAction::kMenuAtIcon;
    case TrayEvent::kOther:
      break;
  }
  return TrayAction::kNone;
}

TrayClick DecideTrayLeftClick(bool windowVisible, const ToggleGuard& guard, uint32_t tick) {
  if (windowVisible) return TrayClick::kHide;
  return guard.WouldAccept(tick) ? TrayClick::kShow : TrayClick::kIgnore;
}
