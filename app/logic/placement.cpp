#include "app/logic/placement.h"

namespace {
// A coordinate within this many pixels of the screen origin counts as touching it.
constexpr int kEdgeSlack = 5;
bool Touches(int coordinate) { return coordinate <= kEdgeSlack; }
}  // namespace

void ComputeAnchor(const ScreenRect& w, const ScreenRect& t, Anchor& a, const tvui::Scale& scale) {
  const int width = scale.ToDevice(kMainWindowWidth);
  const int height = scale.ToDevice(kMainWindowShortHeight);
  // Later rules overwrite earlier ones.
  if (Touches(t.top) && Touches(t.left)) {
    if (Touches(w.top)) {
      a = {w.left, w.bottom - height, TaskbarEdge::kLeft, true};
    }
    if (Touches(w.left)) {
      a = {w.right - width, w.top, TaskbarEdge::kTop, true};
    }
  }
  if (Touches(w.top) && Touches(w.left)) {
    if (Touches(t.top)) {
      a = {w.right - width, w.bottom - height, TaskbarEdge::kRight, true};
    }
    if (Touches(t.left)) {
      a = {w.right - width, w.bottom - height, TaskbarEdge::kBottom, true};
    }
  }
}

MonthWindowPlacement PlaceMonthWindow(const Anchor& anchor, int rows, const tvui::Scale& scale) {
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
