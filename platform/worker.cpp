#include "platform/worker.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

struct Worker::End {
  std::mutex mutex;
  std::condition_variable cv;
  bool done = false;
};

bool Worker::Start(Body body) {
  if (thread_.joinable() || !body) return false;
  auto end = std::make_shared<End>();
  try {
    thread_ = std::jthread([end, body = std::move(body)](std::stop_token stop) mutable {
      body(std::move(stop));
      body = nullptr;  // what the body held goes before its end is told
      std::lock_guard<std::mutex> lock(end->mutex);
      end->done = true;
      end->cv.notify_all();
    });
  } catch (const std::system_error&) {
    return false;
  }
  end_ = std::move(end);
  return true;
}

void Worker::RequestStop() {
  if (thread_.joinable()) thread_.request_stop();
}

bool Worker::WaitForEnd(int timeoutMs) const {
  if (!end_) return true;
  std::unique_lock<std::mutex> lock(end_->mutex);
  if (timeoutMs < 0) {
    end_->cv.wait(lock, [this] { return end_->done; });
    return true;
  }
  return end_->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return end_->done; });
}

void Worker::Join() {
  if (thread_.joinable()) thread_.join();
  end_.reset();
}

bool Worker::Stop(int waitMs) {
  if (!thread_.joinable()) return true;
  thread_.request_stop();
  if (WaitForEnd(waitMs)) {
    Join();
    return true;
  }
  Abandon();
  return false;
}

void Worker::Abandon() {
  if (thread_.joinable()) thread_.detach();
  end_.reset();
}

bool WaitForStop(const std::stop_token& stop, int ms) {
  std::mutex mutex;
  std::condition_variable_any cv;
  std::unique_lock<std::mutex> lock(mutex);
  if (ms < 0) {
    cv.wait(lock, stop, [] { return false; });
  } else {
    cv.wait_for(lock, stop, std::chrono::milliseconds(ms), [] { return false; });
  }
  return stop.stop_requested();
}
