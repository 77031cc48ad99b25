#include <chrono>

#include "platform/thread.h"

Event::Event(bool manualReset, bool initiallySet) : manual_(manualReset), set_(initiallySet) {}

Event::~Event() = default;

void Event::Set() {
  // Notify under the lock: a waiter that owns this event may destroy it as soon as it wakes.
  std::lock_guard<std::mutex> lock(mutex_);
  set_.store(true);
  if (manual_) cv_.notify_all();
  else cv_.notify_one();
}

void Event::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  set_.store(false);
}

bool Event::IsSet() const {
  return set_.load();
}

bool Event::Wait(int timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (timeoutMs < 0) {
    cv_.wait(lock, [this] { return set_.load(); });
  } else if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return set_.load(); })) {
    return false;
  }
  if (!manual_) set_.store(false);
  return true;
}
