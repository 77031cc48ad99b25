#pragma once
// The rules of the notification-area icon and its menu, and of the autostart prompt at start-up:
// where the menu stands, what a left click on the icon does, whether the prompt shows.
#include <cstdint>

#include "app/logic/input_guards.h"
#include "app/logic/placement.h"
#include "app/logic/start_options.h"
#include "service/usage_codes.h"

namespace app {

inline constexpr uint32_t kTrayIconId = 129;

}  // namespace app

// The menu's rectangle for a pointer at `cursor`: its top-left corner at the pointer, moved up by
// its height when it would reach below the work area, left by its width when it would reach past
// its right edge (to 0 when it is taller or wider than the work area).
tvui::Rect PlaceTrayMenu(tvui::Point cursor, int width, int height, const tvui::Rect& workArea);

// A left click on the icon: hide a shown window; show a hidden one unless the last accepted
// show/hide toggle is 200 ms old or less (the click itself is not a toggle and is not remembered).
enum class TrayClick { kHide, kShow, kIgnore };
TrayClick DecideTrayLeftClick(bool windowVisible, const ToggleGuard& guard, uint32_t tick);

// The icon's callback, from a shell asked for the callback's version 3: besides the mouse
// messages it sends a select after a left click, a key select for Enter or Space on the icon (twice
// for one Enter on some Windows versions), and a context-menu request for Shift+F10 or the menu key
// and after a right click's release. Each keeps the mouse's meaning; an echo of what was just done
// (within kTrayEchoMs) is dropped, so one Enter toggles once and one right click opens one menu.
enum class TrayEvent { kLeftDown, kRightUp, kKeySelect, kContextMenu, kOther };
enum class TrayAction { kNone, kToggle, kMenuAtPointer, kMenuAtIcon };
inline constexpr uint32_t kTrayEchoMs = 500;

class TrayCallbackFilter {
 public:
  TrayAction Take(TrayEvent event, uint32_t tick);

 private:
  bool keyed_ = false;  // a key select was taken at keyTick_
  uint32_t keyTick_ = 0;
  bool menu_ = false;  // a right button's release opened the menu at menuTick_
  uint32_t menuTick_ = 0;
};

// At start-up, with the autostart entry absent: an installer start shows the prompt unless
// "-noshow" came with it (and never asks the periodic rule); any other start shows it when the
// periodic rule finds it due. `periodicDue` is asked only then (it stamps the date).
template <class PeriodicDue>
bool ShowAutostartPromptAtStart(bool registered, const StartOptions& options, PeriodicDue periodicDue) {
  if (registered) return false;
  if (options.install) return !options.noShow;
  return periodicDue();
}
