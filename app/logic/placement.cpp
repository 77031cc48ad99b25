#include "app/logic/placement.h"

namespace {
// A coordinate within this many units of the monitor's corner counts as touching it.
constexpr int kEdgeSlack = 5;
}  // namespace

void ComputeAnchor(const MonitorArea& monitor, const ScreenRect& t, Anchor& a) {
  const tvui::Scale scale(monitor.dpi);
  const ScreenRect& w = monitor.work;
  const int slack = scale.ToDevice(kEdgeSlack);
  auto touchesLeft = [&](int x) { return x - monitor.monitor.left <= slack; };
  auto touchesTop = [&](int y) { return y - monitor.monitor.top <= slack; };
  const int width = scale.ToDevice(kMainWindowWidth);
  const int height = scale.ToDevice(kMainWindowShortHeight);
  const int dpi = scale.Dpi();
  // Later rules overwrite earlier ones.
  if (touchesTop(t.top) && touchesLeft(t.left)) {
    if (touchesTop(w.top)) {
      a = {w.left, w.bottom - height, TaskbarEdge::kLeft, true, dpi};
    }
    if (touchesLeft(w.left)) {
      a = {w.right - width, w.top, TaskbarEdge::kTop, true, dpi};
    }
  }
  if (touchesTop(w.top) && touchesLeft(w.left)) {
    if (touchesTop(t.top)) {
      a = {w.right - width, w.bottom - height, TaskbarEdge::kRight, true, dpi};
    }
    if (touchesLeft(t.left)) {
      a = {w.right - width, w.bottom - height, TaskbarEdge::kBottom, true, dpi};
    }
  }
}

MonthWindowPlacement PlaceMonthWindow(const Anchor& anchor, int rows) {
  const tvui::Scale scale(anchor.dpi);
  MonthWindowPlacement p;
  bool tall = rows >= 6;
  const int shortHeight = scale.ToDevice(kMainWindowShortHeight);
  const int longHeight = scale.ToDevice(kMainWindowLongHeight);
  int height = tall ? longHeight : shortHeight;
  // The edge next to the taskbar stays put: a taller window grows away from it, upward unless the
  // taskbar is at the top.
  int top = anchor.y;
  if (tall && anchor.edge != TaskbarEdge::kTop) top -= longHeight - shortHeight;
  p.rect = {anchor.x, top, anchor.x + scale.ToDevice(kMainWindowWidth), top + height};
  p.background = tall ? u"bglong.png" : u"bgshort.png";
  return p;
}

ScreenPoint PlaceDayTooltip(ScreenPoint pointer, const ScreenRect& work, const tvui::Scale& scale) {
  auto d = [&scale](int units) { return scale.ToDevice(units); };
  ScreenPoint p;
  p.x = pointer.x + d(220) > work.right ? work.right - d(kTooltipWidth) : pointer.x;
  p.y = pointer.y + d(150) > work.bottom ? pointer.y - d(120) : pointer.y + d(30);
  return p;
}
