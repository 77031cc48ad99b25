#include "platform/taskbar_clock.h"

#include <climits>

namespace taskbar {

PixelRect RectFromLocation(int left, int top, int width, int height) {
  if (width < 0 || height < 0) return {left, top, left, top};
  auto far = [](int from, int size) { return from > INT_MAX - size ? INT_MAX : from + size; };
  return {left, top, far(left, width), far(top, height)};
}

ClockRoad ChooseClockRoad(bool clockWindowFound, bool contentBridgeFound) {
  if (clockWindowFound) return ClockRoad::kHookLibrary;
  return contentBridgeFound ? ClockRoad::kTrayButtons : ClockRoad::kNone;
}

bool NameShowsClock(std::u16string_view name, const std::vector<std::u16string>& clockTexts) {
  for (const std::u16string& text : clockTexts) {
    if (!text.empty() && name.find(text) != std::u16string_view::npos) return true;
  }
  return false;
}

ClockButtons FindClockButtons(const std::vector<TrayButton>& buttons, const std::vector<std::u16string>& clockTexts) {
  ClockButtons found;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
    const TrayButton& b = buttons[i];
    if (b.automationId != kTrayButtonId) continue;
    if (found.clock < 0 && (b.className == kClockButtonClass || b.className == kClockButtonLeftClass) &&
        NameShowsClock(b.name, clockTexts)) {
      found.clock = i;
    } else if (found.bell < 0 && b.className == kBellButtonClass) {
      found.bell = i;
    }
  }
  if (found.clock < 0) found.bell = -1;  // a bell without its clock concerns nobody
  return found;
}

int ClockAt(const ClockSnapshot& snapshot, int x, int y) {
  for (int i = 0; i < static_cast<int>(snapshot.clocks.size()); ++i) {
    const ClockTarget& c = snapshot.clocks[i];
    if (c.clock.Contains(x, y) && !c.bell.Contains(x, y)) return i;
  }
  return -1;
}

int TaskbarAt(const ClockSnapshot& snapshot, int x, int y) {
  for (int i = 0; i < static_cast<int>(snapshot.taskbars.size()); ++i) {
    if (snapshot.taskbars[i].rect.Contains(x, y)) return i;
  }
  return -1;
}

PointerVerdict ClickRules::OnEvent(const ClockSnapshot& snapshot, PointerEvent event, int x, int y, bool ctrlHeld) {
  PointerVerdict verdict;
  switch (event) {
    case PointerEvent::kMove: {
      bool onTaskbar = TaskbarAt(snapshot, x, y) >= 0;
      verdict.enteredTaskbar = onTaskbar && !onTaskbar_;
      verdict.leftTaskbar = !onTaskbar && onTaskbar_;
      onTaskbar_ = onTaskbar;
      break;
    }
    case PointerEvent::kLeftDown: {
      int clock = ctrlHeld ? -1 : ClockAt(snapshot, x, y);
      pressTaken_ = clock >= 0;
      if (pressTaken_) {
        // Kept from the press: a new snapshot may come before the release.
        const PixelRect& r = snapshot.clocks[clock].clock;
        pressX_ = r.left + (r.right - r.left) / 2;
        pressY_ = r.top + (r.bottom - r.top) / 2;
      }
      verdict.swallow = pressTaken_;
      break;
    }
    case PointerEvent::kLeftUp:
      verdict.swallow = verdict.toggle = pressTaken_;
      if (pressTaken_) {
        verdict.clockX = pressX_;
        verdict.clockY = pressY_;
      }
      pressTaken_ = false;
      break;
    case PointerEvent::kOtherButton:
      break;
  }
  return verdict;
}

}  // namespace taskbar
