#pragma once
// Where the calendar window and the day tooltip stand on the screen. Pure arithmetic on
// rectangles and points (tvui::Rect, tvui::Point) in screen coordinates, so that the four taskbar
// positions, the edges of the work area and monitors of different scales can be checked without a
// display. Screen coordinates are device pixels; the sizes and distances below are 96-DPI units,
// scaled by the display scale of the monitor the window goes to.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/dpi_scale.h"
#include "ui/geometry.h"

// Side of the screen the taskbar lies on.
enum class TaskbarEdge { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };

inline constexpr int kMainWindowWidth = 358;
inline constexpr int kMainWindowShortHeight = 460;  // four or five week rows
inline constexpr int kMainWindowLongHeight = 506;   // six week rows
inline constexpr int kRowHeight = 46;

// One monitor: its rectangle and work area (screen coordinates) and its DPI.
struct MonitorArea {
  tvui::Rect monitor;
  tvui::Rect work;
  int dpi = tvui::kBaseDpi;
};

// The anchor: the top-left corner of the 460-unit window next to the taskbar clock, on the
// taskbar's monitor and at that monitor's scale.
struct Anchor {
  int x = 0;
  int y = 0;
  // Until a rule has applied the window behaves as with a taskbar at the bottom (the most common
  // place, and the one whose window grows upward).
  TaskbarEdge edge = TaskbarEdge::kBottom;
  bool ruleApplied = false;
  int dpi = tvui::kBaseDpi;  // the scale of the monitor the anchor lies on
};

// A taskbar window on the desktop ("Shell_TrayWnd", "Shell_SecondaryTrayWnd"), as the anchor
// chooses among them (the main ones first).
struct TaskbarWindow {
  tvui::Rect rect;
  bool visible = false;
  bool holdsClock = false;  // a clock window, or a content bridge with the clock button
};
// The taskbar the calendar stands by: the one whose rectangle holds the clicked clock's centre,
// when a click says so; else the first visible one holding a clock; else the first visible one;
// else the first (Wine's own desktop keeps a hidden one). -1 when there is none.
int ChooseAnchorTaskbar(const std::vector<TaskbarWindow>& taskbars, const std::optional<tvui::Point>& clickedClock);

// The work area without the strip a visible taskbar covers of it, where the system keeps the
// taskbar's space in the work area (an auto-hidden taskbar, a taskbar not registered as the
// shell's bar): cut at the edge the taskbar spans. A taskbar that spans no whole edge of the work
// area, or misses it, leaves it as it is.
tvui::Rect WorkAreaBeside(const tvui::Rect& work, const tvui::Rect& taskbar);

// Recomputes the anchor from the taskbar rectangle and the monitor it lies on (its work area and
// its scale; which side the taskbar is on is read against the monitor's top-left corner). A rule
// that does not apply leaves the previous values in place. A missing taskbar is passed as an empty
// rectangle at the monitor's corner.
void ComputeAnchor(const MonitorArea& monitor, const tvui::Rect& taskbar, Anchor& anchor);

// Window rectangle and month-card background for a month of `rows` week rows, at the anchor's
// scale.
struct MonthWindowPlacement {
  tvui::Rect rect;
  std::u16string_view background;  // "bglong.png" for six rows, else "bgshort.png"
};
MonthWindowPlacement PlaceMonthWindow(const Anchor& anchor, int rows);

// Top-left corner of the 230 x 110 day tooltip for the pointer at `pointer` (screen coordinates),
// kept inside the right and bottom edges of the work area of the pointer's monitor, at that
// monitor's scale.
inline constexpr int kTooltipWidth = 230;
inline constexpr int kTooltipHeight = 110;
inline constexpr int kTooltipReminderRow = 18;  // added for a day with reminders
tvui::Point PlaceDayTooltip(tvui::Point pointer, const tvui::Rect& workArea,
                            const tvui::Scale& scale = tvui::Scale());
// The same for a tooltip taller than kTooltipHeight by `extra` (a day with reminders): above the
// pointer it stands that much higher, so that it never covers the pointer.
tvui::Point PlaceDayTooltip(tvui::Point pointer, const tvui::Rect& workArea, const tvui::Scale& scale, int extra);
