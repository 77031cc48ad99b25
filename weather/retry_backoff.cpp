#include "weather/retry_backoff.h"

#include <algorithm>

namespace {
constexpr std::chrono::minutes kFirstWait{1};
constexpr std::chrono::minutes kLongestWait{60};
}  // namespace

bool RetryBackoff::Allowed(Clock::time_point now) const {
  std::lock_guard<std::mutex> guard(lock_);
  return wait_.count() == 0 || now >= until_;
}

void RetryBackoff::Failed(Clock::time_point now) {
  std::lock_guard<std::mutex> guard(lock_);
  wait_ = wait_.count() == 0 ? kFirstWait : std::min(wait_ * 2, kLongestWait);
  until_ = now + wait_;
}

void RetryBackoff::Succeeded() {
  std::lock_guard<std::mutex> guard(lock_);
  wait_ = std::chrono::minutes{0};
}

std::chrono::minutes RetryBackoff::Wait() const {
  std::lock_guard<std::mutex> guard(lock_);
  return wait_;
}
