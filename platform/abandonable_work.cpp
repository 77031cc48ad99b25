#include "platform/abandonable_work.h"

#include <memory>
#include <utility>

#include "platform/worker.h"

namespace {
constexpr int kPollMs = 50;
}  // namespace

bool RunUnlessStopped(std::function<void()> work, const std::function<bool()>& stopRequested) {
  auto shared = std::make_shared<std::function<void()>>(std::move(work));
  Worker helper;
  if (!helper.Start([shared](std::stop_token) { (*shared)(); })) {
    (*shared)();  // no thread: the work runs here
    return true;
  }
  while (!helper.WaitForEnd(kPollMs)) {
    if (stopRequested && stopRequested()) {
      helper.Abandon();  // runs to its end on its own, with what its work owns
      return false;
    }
  }
  helper.Join();
  return true;
}
