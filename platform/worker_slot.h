#pragma once
// The one process-wide instance of a background worker (the log writer, the usage recorder):
// started once, used from any thread, stopped once. Users reach it under a shared lock, so a stop
// never races a user: from the moment Stop begins, With finds no worker.
#include <shared_mutex>
#include <utility>

#include "platform/thread.h"

// Worker: a TThread with Wake() (ends its wait early once a stop is requested).
template <class Worker>
class WorkerSlot {
 public:
  // Runs make() (returns a new Worker) and starts it unless one runs already. True when a worker
  // runs afterwards; a worker that cannot start is deleted.
  template <class Make>
  bool Start(Make&& make) {
    std::unique_lock<std::shared_mutex> guard(lock_);
    if (worker_) return true;
    Worker* worker = std::forward<Make>(make)();
    if (!worker || !worker->Start()) {
      delete worker;
      return false;
    }
    worker_ = worker;
    return true;
  }

  // Calls use(Worker&) while the worker runs; false when none does.
  template <class Use>
  bool With(Use&& use) {
    std::shared_lock<std::shared_mutex> guard(lock_);
    if (!worker_) return false;
    std::forward<Use>(use)(*worker_);
    return true;
  }

  // Asks the worker to end and waits up to waitMs for it. False when it did not end in time: it
  // then deletes itself when it does. True as well when no worker ran.
  bool Stop(int waitMs) {
    Worker* worker = nullptr;
    {
      std::unique_lock<std::shared_mutex> guard(lock_);
      worker = std::exchange(worker_, nullptr);
    }
    if (!worker) return true;
    worker->RequestStop();
    worker->Wake();
    if (worker->WaitForEnd(waitMs) || worker->ReleaseWhenDone()) {
      delete worker;
      return true;
    }
    return false;
  }

 private:
  std::shared_mutex lock_;
  Worker* worker_ = nullptr;
};
