#include "platform/abandonable_work.h"

#include <memory>
#include <system_error>
#include <thread>

#include "platform/thread.h"

namespace {
constexpr int kPollMs = 50;
}  // namespace

bool RunUnlessStopped(std::function<void()> work, const std::function<bool()>& stopRequested) {
  auto shared = std::make_shared<std::function<void()>>(std::move(work));
  auto done = std::make_shared<Event>(true);
  try {
    std::thread([shared, done] {
      (*shared)();
      done->Set();
    }).detach();
  } catch (const std::system_error&) {
    (*shared)();
    return true;
  }
  while (!done->Wait(kPollMs)) {
    if (stopRequested && stopRequested()) return false;
  }
  return true;
}
