#include "app/logic/placement.h"

namespace {
// A coordinate within this many units of the monitor's corner counts as touching it.
constexpr int kEdgeSlack = 5;
}  // namespace

int ChooseAnchorTaskbar(const std::vector<TaskbarWindow>& taskbars, const std::optional<tvui::Point>& clickedClock) {
  auto first = [&](auto&& wanted) {
    for (int i = 0; i < static_cast<int>(taskbars.size()); ++i) {
      if (wanted(taskbars[i])) return i;
    }
    return -1;
  };
  int chosen = -1;
  if (clickedClock) {
    const tvui::Point p = *clickedClock;
    chosen = first([&](const TaskbarWindow& t) {
      return p.x >= t.rect.left && p.x < t.rect.right && p.y >= t.rect.top && p.y < t.rect.bottom;
    });
  }
  if (chosen < 0) chosen = first([](const TaskbarWindow& t) { return t.visible && t.holdsClock; });
  if (chosen < 0) chosen = first([](const TaskbarWindow& t) { return t.visible; });
  return chosen < 0 && !taskbars.empty() ? 0 : chosen;
}

tvui::Rect WorkAreaBeside(const tvui::Rect& work, const tvui::Rect& t) {
  tvui::Rect w = work;
  const bool overlaps = t.left < w.right && t.right > w.left && t.top < w.bottom && t.bottom > w.top;
  if (!overlaps || t.Width() <= 0 || t.Height() <= 0) return w;
  const bool spansWidth = t.left <= w.left && t.right >= w.right;
  const bool spansHeight = t.top <= w.top && t.bottom >= w.bottom;
  if (spansWidth && !spansHeight) {
    // Along the top or the bottom: by which half its middle lies in.
    if (t.top + t.bottom < w.top + w.bottom) w.top = t.bottom;
    else w.bottom = t.top;
  } else if (spansHeight && !spansWidth) {
    if (t.left + t.right < w.left + w.right) w.left = t.right;
    else w.right = t.left;
  }
  return w;
}

void ComputeAnchor(const MonitorArea& monitor, const tvui::Rect& t, Anchor& a) {
  const tvui::Scale scale(monitor.dpi);
  const tvui::Rect& w = monitor.work;
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

tvui::Point PlaceDayTooltip(tvui::Point pointer, const tvui::Rect& work, const tvui::Scale& scale) {
  auto d = [&scale](int units) { return scale.ToDevice(units); };
  tvui::Point p;
  p.x = pointer.x + d(220) > work.right ? work.right - d(kTooltipWidth) : pointer.x;
  p.y = pointer.y + d(150) > work.bottom ? pointer.y - d(120) : pointer.y + d(30);
  return p;
}

tvui::Point PlaceDayTooltip(tvui::Point pointer, const tvui::Rect& work, const tvui::Scale& scale, int extra) {
  tvui::Point p = PlaceDayTooltip(pointer, work, scale);
  if (p.y < pointer.y) p.y -= scale.ToDevice(extra);
  return p;
}
