#pragma once
// The taskbar clock's decisions, free of Windows: which road takes the clock on a desktop, which
// of a taskbar's tray buttons is its clock, and what the low-level pointer hook does with a
// button event. The Windows edge (platform/win32/clock_locator.h, clock_interceptor.h) only
// gathers the facts and carries the verdicts out.
//
// Coordinates are physical pixels of the virtual screen throughout: the process is per-monitor
// aware, so the pointer hook's points, UI Automation's rectangles and MSAA's locations all are.
// A rectangle holds its left and top edge, not its right and bottom one.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace taskbar {

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// MSAA's accLocation (left, top, width, height) as a rectangle; empty for a negative size, and
// kept from overflowing at the far edge of the coordinate range.
PixelRect RectFromLocation(int left, int top, int width, int height);

// Which road takes the clock.
//   kHookLibrary  a "TrayClockWClass" clock window (Windows 10 and its look-alike taskbars) or a
//                 secondary taskbar's "ClockButton" exists: the hook library subclasses it;
//   kTrayButtons  a taskbar with a content bridge (the Windows 11 taskbar, whose clock is a button
//                 inside it): UI Automation finds it and a low-level pointer hook takes its clicks;
//   kNone         neither (no shell yet, or one with no clock at all): nothing runs and nothing is
//                 swallowed until the next "TaskbarCreated"; the tray icon opens the calendar.
enum class ClockRoad { kHookLibrary, kTrayButtons, kNone };
ClockRoad ChooseClockRoad(bool clockWindowFound, bool contentBridgeFound);

// One of a tray's buttons as UI Automation shows it (MSAA fills the rectangle where UI Automation
// gives none).
struct TrayButton {
  std::u16string name;
  std::u16string className;
  std::u16string automationId;
  PixelRect rect;
};

inline constexpr char16_t kTrayButtonId[] = u"SystemTrayIcon";
inline constexpr char16_t kClockButtonClass[] = u"SystemTray.OmniButton";
inline constexpr char16_t kClockButtonLeftClass[] = u"SystemTray.OmniButtonLeft";
inline constexpr char16_t kBellButtonClass[] = u"SystemTray.OmniButtonRight";

// True when a button's Name contains one of the texts the clock shows (the current time and the
// short date as the system formats them, and the time a minute either side: the locator may run
// across a minute's turn). Empty texts never match.
bool NameShowsClock(std::u16string_view name, const std::vector<std::u16string>& clockTexts);

// The clock among a taskbar's tray buttons: the first "SystemTrayIcon" button of class
// "SystemTray.OmniButton" or "SystemTray.OmniButtonLeft" whose Name shows the clock; and the bell's
// part of the same button ("SystemTray.OmniButtonRight"), if any. -1 for none.
struct ClockButtons {
  int clock = -1;
  int bell = -1;
};
ClockButtons FindClockButtons(const std::vector<TrayButton>& buttons, const std::vector<std::u16string>& clockTexts);

// One taskbar's clock, as the pointer hook compares points with it. Handles are carried as
// numbers; the hook never uses them.
struct ClockTarget {
  PixelRect clock;
  PixelRect bell;  // the notification bell's own part of the button: its clicks stay the system's
  std::uintptr_t taskbar = 0;
  std::uintptr_t monitor = 0;
  PixelRect taskbarRect;
};

// A taskbar holding a content bridge, clock or not: the pointer entering one asks for a fresh
// look (a clock that widened, a badge that came), and so do its window's moves.
struct TaskbarArea {
  PixelRect rect;
  std::uintptr_t window = 0;
};

// Everything the pointer hook knows: published whole by the locator, never changed afterwards.
struct ClockSnapshot {
  std::vector<ClockTarget> clocks;
  std::vector<TaskbarArea> taskbars;
};
using SharedSnapshot = std::shared_ptr<const ClockSnapshot>;

// The index of the clock whose rectangle holds the point outside its bell's part; -1 for none.
int ClockAt(const ClockSnapshot& snapshot, int x, int y);
// The index of the taskbar that holds the point; -1 for none.
int TaskbarAt(const ClockSnapshot& snapshot, int x, int y);

enum class PointerEvent { kMove, kLeftDown, kLeftUp, kOtherButton };

struct PointerVerdict {
  bool swallow = false;
  bool toggle = false;          // toggle the calendar by the clock whose centre is (clockX, clockY)
  int clockX = 0;
  int clockY = 0;
  bool enteredTaskbar = false;  // the pointer just came onto a taskbar: look again
  bool leftTaskbar = false;     // the pointer just went off every taskbar
  friend bool operator==(const PointerVerdict&, const PointerVerdict&) = default;
};

// The pointer hook's rules, in the order events come. A left press inside a clock is swallowed
// and so is its release, wherever it happens, which toggles the calendar (a toggle on the press
// would show the window while the release is still in flight). A press with Ctrl held, a press on
// the bell's part and every other button pass through, and so
// does the release of any press that passed. Constant time for a handful of clocks: this runs
// inside the hook procedure.
class ClickRules {
 public:
  PointerVerdict OnEvent(const ClockSnapshot& snapshot, PointerEvent event, int x, int y, bool ctrlHeld);

 private:
  bool pressTaken_ = false;  // a press was swallowed: its release is too
  int pressX_ = 0, pressY_ = 0;  // the centre of the pressed clock
  bool onTaskbar_ = false;
};

}  // namespace taskbar
