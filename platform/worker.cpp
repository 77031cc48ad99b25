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

Worker::~Worker() {
  RequestStop();
  Join();
}

Worker& Worker::operator=(Worker&& other) noexcept {
  if (this != &other) {
    RequestStop();
    Join();
    end_ = std::move(other.end_);
    wake_ = std::move(other.wake_);
    other.wake_ = nullptr;
    thread_ = std::move(other.thread_);
  }
  return *this;
}

bool Worker::Start(Body body, Wake wake) {
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
  wake_ = std::move(wake);
  return true;
}

void Worker::RequestStop() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  if (wake_) wake_();
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
  wake_ = nullptr;
}

bool Worker::Stop(int waitMs) {
  if (!thread_.joinable()) return true;
  RequestStop();
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
  wake_ = nullptr;
}
