#include <chrono>

#include "platform/thread.h"

Event::Event(bool manualReset, bool initiallySet) : manual_(manualReset), set_(initiallySet ? 1 : 0) {}

Event::~Event() = default;

void Event::Set() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    set_.store(1);
    cv_.notify_all();  // waiters with a time limit
  }
  // Waiters without a limit sleep on the flag itself. This call uses only the flag's address, so
  // it stays sound when a woken waiter has already destroyed the event.
  set_.notify_all();
}

void Event::Reset() { set_.store(0); }

bool Event::IsSet() const { return set_.load() != 0; }

bool Event::TryTake() {
  if (manual_) return set_.load() != 0;
  int expected = 1;
  return set_.compare_exchange_strong(expected, 0);
}

bool Event::Wait(int timeoutMs) {
  if (timeoutMs < 0) {
    while (!TryTake()) set_.wait(0);
    // The setter may still be inside its critical section; let it leave before the owner may
    // destroy the event.
    std::lock_guard<std::mutex> lock(mutex_);
    return true;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return TryTake(); });
}
