#pragma once
// Waiting after failures before a service is asked again: 1 minute after the first failure, then
// 2, 4, … up to 60 minutes; a success ends the waiting. Thread-safe.
#include <chrono>
#include <mutex>

class RetryBackoff {
 public:
  using Clock = std::chrono::steady_clock;

  // True when the service may be asked now.
  bool Allowed(Clock::time_point now) const;
  void Failed(Clock::time_point now);
  void Succeeded();
  // The wait after the latest failure; zero after a success.
  std::chrono::minutes Wait() const;

 private:
  mutable std::mutex lock_;
  std::chrono::minutes wait_{0};
  Clock::time_point until_{};
};
