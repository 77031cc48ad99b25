#pragma once
// The one process-wide instance of a background worker (the log writer, the usage recorder):
// started once, used from any thread, stopped once. Users reach it under a shared lock, so a stop
// never races a user: from the moment Stop begins, With finds no worker.
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <stop_token>
#include <utility>

#include "platform/worker.h"

// Object: what the worker's thread runs, Run(std::stop_token) returning at the stop, and Wake()
// ending its waits at the stop. It lives in a shared_ptr shared by the slot and the thread, so it
// outlives a thread that ends late.
template <class Object>
class WorkerSlot {
 public:
  // Runs make() (returns a new shared_ptr<Object>) and starts its thread unless one runs already.
  // True when a worker runs afterwards.
  template <class Make>
  bool Start(Make&& make) {
    std::unique_lock<std::shared_mutex> guard(lock_);
    if (object_) return true;
    std::shared_ptr<Object> object = std::forward<Make>(make)();
    if (!object || !worker_.Start([object](std::stop_token stop) { object->Run(std::move(stop)); },
                                  [object] { object->Wake(); })) {
      return false;
    }
    object_ = std::move(object);
    return true;
  }

  // Calls use(Object&) while the worker runs; false when none does.
  template <class Use>
  bool With(Use&& use) {
    std::shared_lock<std::shared_mutex> guard(lock_);
    if (!object_) return false;
    std::forward<Use>(use)(*object_);
    return true;
  }

  // Asks the worker to stop and waits up to waitMs for it. False when it did not end in time: it
  // then ends on its own, and its object goes with it. True as well when no worker ran.
  bool Stop(int waitMs) {
    Worker worker;
    std::shared_ptr<Object> object;
    {
      std::unique_lock<std::shared_mutex> guard(lock_);
      worker = std::move(worker_);
      object = std::move(object_);
    }
    return worker.Stop(waitMs);
  }

 private:
  std::shared_mutex lock_;
  std::shared_ptr<Object> object_;
  Worker worker_;  // last: a slot that goes at the process's end stops and joins it first
};
