#pragma once
// The one process-wide instance of a task of the background loop (the log writer, the usage
// recorder): started once, used from any thread, stopped once. Users reach it under a shared lock,
// so a stop never races a user: from the moment Stop begins, With finds no task.
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <utility>

#include "platform/background_loop.h"

// Object: a LoopTask. It lives in a shared_ptr shared by the slot and the loop, so it outlives a
// stop that does not wait for its last turn.
template <class Object>
class LoopSlot {
 public:
  // Runs make() (returns a new shared_ptr<Object>) and adds it to the background loop unless one
  // is there already. True when the task is in the loop afterwards.
  template <class Make>
  bool Start(Make&& make) {
    std::unique_lock<std::shared_mutex> guard(lock_);
    if (object_) return true;
    std::shared_ptr<Object> object = std::forward<Make>(make)();
    if (!object || !background_loop::Join(object)) return false;
    object_ = std::move(object);
    return true;
  }

  // Calls use(Object&) while the task is in the loop; false when it is not.
  template <class Use>
  bool With(Use&& use) {
    std::shared_lock<std::shared_mutex> guard(lock_);
    if (!object_) return false;
    std::forward<Use>(use)(*object_);
    return true;
  }

  // Takes the task out of the loop and waits up to waitMs for its last turn. False when that did
  // not come in time: it comes later, and the object goes after it. True as well when none ran.
  bool Stop(int waitMs) {
    std::shared_ptr<Object> object;
    {
      std::unique_lock<std::shared_mutex> guard(lock_);
      object = std::move(object_);
    }
    return !object || background_loop::Leave(object.get(), waitMs);
  }

 private:
  std::shared_mutex lock_;
  std::shared_ptr<Object> object_;
};
