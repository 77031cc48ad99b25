#include "platform/thread.h"

#include <chrono>
#include <system_error>
#include <thread>

// Shared between the object and its running thread, so that the thread can report its end
// even after the owner has deleted the object.
struct TThread::State {
  std::mutex mutex;
  std::condition_variable cv;
  bool finished = false;
  bool deleteWhenDone = false;
};

TThread::TThread() : state_(std::make_shared<State>()) {}

TThread::~TThread() = default;

void TThread::SetDeleteWhenDone(bool on) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->deleteWhenDone = on;
}

bool TThread::DeleteWhenDone() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->deleteWhenDone;
}

bool TThread::Start() {
  if (started_) return false;
  // Marked before the thread exists: a thread that deletes itself may be gone by the time the
  // creation call returns, and then this object must not be touched any more.
  started_ = true;
  try {
    std::thread thread(&TThread::Entry, this, state_);
    thread.detach();
  } catch (const std::system_error&) {
    started_ = false;
    return false;
  }
  return true;
}

void TThread::Entry(TThread* self, std::shared_ptr<State> state) {
  self->threadId_.store(CurrentThreadId());
  self->Run();
  bool remove = false;
  {
    std::lock_guard<std::mutex> lock(state->mutex);
    remove = state->deleteWhenDone;
    state->finished = true;
    state->cv.notify_all();
  }
  // From here on the owner may have deleted a thread that is not delete-when-done.
  if (remove) delete self;
}

bool TThread::WaitForEnd(int timeoutMs) {
  if (!started_) return true;
  std::shared_ptr<State> state = state_;
  std::unique_lock<std::mutex> lock(state->mutex);
  if (timeoutMs < 0) {
    state->cv.wait(lock, [&] { return state->finished; });
    return true;
  }
  return state->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return state->finished; });
}

bool TThread::ReleaseWhenDone() {
  if (!started_) return true;
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->finished) return true;
  state_->deleteWhenDone = true;
  return false;
}
