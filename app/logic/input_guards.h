#pragma once
// Two small timing rules of the main window, on the system's millisecond tick (which wraps).
#include <cstdint>

// The show/hide toggle acts at most once per 200 ms: a toggle whose tick is 200 ms or less after
// the last accepted one is ignored.
class ToggleGuard {
 public:
  static constexpr uint32_t kMinimumGapMs = 200;
  // True (and remembered) when the toggle at `tick` may act.
  bool Accept(uint32_t tick);
  // The same question without remembering anything (the tray icon's click asks it).
  bool WouldAccept(uint32_t tick) const;

 private:
  uint32_t last_ = 0;
  bool any_ = false;
};

// The pointer rests on the month grid when it has not moved for 250 ms: the window records every
// pointer move, and the hover timer asks whether the pointer still stands there long enough.
class RestingPointer {
 public:
  static constexpr uint32_t kRestMs = 250;
  void Moved(int x, int y, uint32_t tick);
  // True when (x, y) is the recorded position and at least 250 ms passed since the move.
  bool RestsAt(int x, int y, uint32_t tick) const;

 private:
  int x_ = 0;
  int y_ = 0;
  uint32_t tick_ = 0;
};
