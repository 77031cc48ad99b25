#pragma once
// The monitor a point or a rectangle lies on, as the placement rules take it: its rectangle, its
// work area and its DPI. The nearest monitor when the point or rectangle lies on none.
#include <windows.h>

#include <optional>

#include "app/logic/placement.h"

namespace app {

// window: the window being placed, whose own DPI answers for the monitor it stands on.
MonitorArea MonitorAreaAt(POINT point, HWND window);
// The monitor the rectangle overlaps most; the primary one for an empty rectangle.
MonitorArea MonitorAreaOf(const tvui::Rect& rect, HWND window);

// The taskbar the calendar stands by (ChooseAnchorTaskbar over every "Shell_TrayWnd" and
// "Shell_SecondaryTrayWnd"), with its monitor; the work area is cut beside it when it is visible.
// An empty rectangle and the primary monitor when there is no taskbar.
struct AnchorTaskbar {
  tvui::Rect taskbar;
  MonitorArea monitor;
};
AnchorTaskbar FindAnchorTaskbar(const std::optional<tvui::Point>& clickedClock, HWND window);

}  // namespace app
