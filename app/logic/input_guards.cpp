#include "app/logic/input_guards.h"

bool ToggleGuard::WouldAccept(uint32_t tick) const { return !any_ || tick - last_ > kMinimumGapMs; }

bool ToggleGuard::Accept(uint32_t tick) {
  if (!WouldAccept(tick)) return false;
  last_ = tick;
  any_ = true;
  return true;
}

void RestingPointer::Moved(int x, int y, uint32_t tick) {
  x_ = x;
  y_ = y;
  tick_ = tick;
}

bool RestingPointer::RestsAt(int x, int y, uint32_t tick) const {
  return x == x_ && y == y_ && tick - tick_ >= kRestMs;
}
