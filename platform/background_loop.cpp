#include "platform/background_loop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/thread.h"
#include "platform/worker.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Entry {
  std::shared_ptr<LoopTask> task;
  Clock::time_point due;
  bool woken = false;    // Wake came during the task's turn: the next one is due at once
  bool leaving = false;  // only its Finish is left
  std::shared_ptr<Event> finished = std::make_shared<Event>(true);
};

class Loop {
 public:
  bool Join(std::shared_ptr<LoopTask> task) {
    if (!task) return false;
    {
      std::lock_guard<std::mutex> guard(lock_);
      if (Find(task.get()) != entries_.end()) return false;
      entries_.push_back(Entry{std::move(task), Clock::now()});
      if (!worker_.Running() &&
          !worker_.Start([this](std::stop_token stop) { Run(stop); }, [this] { wake_.Set(); })) {
        entries_.pop_back();
        return false;
      }
    }
    wake_.Set();
    return true;
  }

  void Wake(const LoopTask* task) {
    {
      std::lock_guard<std::mutex> guard(lock_);
      auto it = Find(task);
      if (it == entries_.end()) return;
      it->due = Clock::now();
      it->woken = true;
    }
    wake_.Set();
  }

  bool Leave(const LoopTask* task, int waitMs) {
    std::shared_ptr<Event> finished;
    {
      std::lock_guard<std::mutex> guard(lock_);
      auto it = Find(task);
      if (it == entries_.end()) return true;
      it->leaving = true;
      finished = it->finished;
    }
    wake_.Set();
    return finished->Wait(waitMs);
  }

  bool OnThread() const { return thread_.load() == std::this_thread::get_id(); }

 private:
  std::vector<Entry>::iterator Find(const LoopTask* task) {
    return std::find_if(entries_.begin(), entries_.end(), [task](const Entry& e) { return e.task.get() == task; });
  }

  void Run(const std::stop_token& stop) {
    thread_.store(std::this_thread::get_id());
    while (!stop.stop_requested()) {
      std::shared_ptr<LoopTask> task;
      std::shared_ptr<Event> finished;
      Clock::time_point next = Clock::time_point::max();
      {
        std::lock_guard<std::mutex> guard(lock_);
        const Clock::time_point now = Clock::now();
        auto chosen = entries_.end();
        // A leaving task first; else the one longest due, so that every task gets its turn.
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
          if (it->leaving) {
            chosen = it;
            break;
          }
          if (it->due <= now && (chosen == entries_.end() || it->due < chosen->due)) chosen = it;
          next = std::min(next, it->due);
        }
        if (chosen != entries_.end()) {
          task = chosen->task;
          if (chosen->leaving) {
            finished = chosen->finished;
            entries_.erase(chosen);
          } else {
            chosen->woken = false;
          }
        }
      }
      if (finished) {
        task->Finish();
        task.reset();
        finished->Set();
      } else if (task) {
        const int ms = task->Turn();
        std::lock_guard<std::mutex> guard(lock_);
        auto it = Find(task.get());
        if (it != entries_.end()) {
          it->due = it->woken ? Clock::now()
                    : ms < 0  ? Clock::time_point::max()
                              : Clock::now() + std::chrono::milliseconds(ms);
        }
      } else if (next == Clock::time_point::max()) {
        wake_.Wait();
      } else {
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
        if (ms > 0) wake_.Wait(static_cast<int>(std::min<long long>(ms, 24LL * 3600 * 1000)));
      }
    }
    // The process's end: the tasks still here get their last turn.
    std::vector<Entry> left;
    {
      std::lock_guard<std::mutex> guard(lock_);
      left.swap(entries_);
    }
    for (Entry& entry : left) {
      entry.task->Finish();
      entry.finished->Set();
    }
  }

  std::mutex lock_;  // guards entries_
  std::vector<Entry> entries_;
  Event wake_{false};
  std::atomic<std::thread::id> thread_{};
  Worker worker_;  // last: at the process's end it is stopped and joined before the rest goes
};

Loop& TheLoop() {
  static Loop loop;
  return loop;
}

}  // namespace

namespace background_loop {

bool Join(std::shared_ptr<LoopTask> task) { return TheLoop().Join(std::move(task)); }
void Wake(const LoopTask* task) { TheLoop().Wake(task); }
bool Leave(const LoopTask* task, int waitMs) { return TheLoop().Leave(task, waitMs); }
bool OnLoopThread() { return TheLoop().OnThread(); }

}  // namespace background_loop
