#pragma once
// Does, on a thread of its own, what a low-level input hook procedure must not wait for: every
// call that goes to the window server (posting a message, setting an event, reading the keyboard,
// sending input). The procedure only records its errands and wakes the courier: an atomic update
// and an address wake (WaitOnAddress), which is no window-server round trip on Windows nor under
// Wine. Where the system has no address waits (before Windows 8) an event stands in.
#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/thread.h"

class HookCourier : public TThread {
 public:
  // Runs on the courier's thread with the errands (bits) gathered since its last run, in the
  // order they were sent when they come together.
  using Handler = std::function<void(uint32_t errands)>;
  explicit HookCourier(Handler handler) : handler_(std::move(handler)) {}

  // From the hook procedure: never blocks.
  void Send(uint32_t errands);
  // Ends the thread after the errands already sent are done.
  void Stop();
  void Run() override;

 private:
  Handler handler_;
  std::atomic<uint32_t> pending_{0};
  std::atomic<uint32_t> wakes_{0};  // the address the courier sleeps on
  Event fallback_{false};
};
