#include "app/logic/placement.h"

namespace {
// A coordinate within this many pixels of the screen origin counts as touching it.
constexpr int kEdgeSlack = 5;
bool Touches(int coordinate) { return coordinate <= kEdgeSlack; }
}  // namespace

void ComputeAnchor(const ScreenRect& w, const ScreenRect& t, Anchor& a) {
  // Later rules overwrite earlier ones.
  if (Touches(t.top) && Touches(t.left)) {
    if (Touches(w.top)) {
      a = {w.left, w.bottom - kMainWindowShortHeight, TaskbarEdge::kLeft, true};
    }
    if (Touches(w.left)) {
      a = {w.right - kMainWindowWidth, w.top, TaskbarEdge::kTop, true};
    }
  }
  if (Touches(w.top) && Touches(w.left)) {
    if (Touches(t.top)) {
      a = {w.right - kMainWindowWidth, w.bottom - kMainWindowShortHeight, TaskbarEdge::kRight, true};
    }
    if (Touches(t.left)) {
      a = {w.right - kMainWindowWidth, w.bottom - kMainWindowShortHeight, TaskbarEdge::kBottom, true};
    }
  }
}

MonthWindowPlacement PlaceMonthWindow(const Anchor& anchor, int rows) {
  MonthWindowPlacement p;
  bool tall = rows >= 6;
  int height = tall ? kMainWindowLongHeight : kMainWindowShortHeight;
  // The edge next to the taskbar stays put: a taller window grows away from it, upward unless the
  // taskbar is at the top.
  int top = anchor.y;
  if (tall && anchor.edge != TaskbarEdge::kTop) top -= kMainWindowLongHeight - kMainWindowShortHeight;
  p.rect = {anchor.x, top, anchor.x + kMainWindowWidth, top + height};
  p.background = tall ? u"bglong.png" : u"bgshort.png";
  return p;
}

ScreenPoint PlaceDayTooltip(ScreenPoint pointer, const ScreenRect& work) {
  ScreenPoint p;
  p.x = pointer.x + 220 > work.right ? work.right - kTooltipWidth : pointer.x;
  p.y = pointer.y + 150 > work.bottom ? pointer.y - 120 : pointer.y + 30;
  return p;
}
