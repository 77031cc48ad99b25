#pragma once
// The program's local clock held at a moment the test sets, for the life of one object. Threads of
// the code under test may read it while the test moves it.
#include <mutex>

#include "platform/clock.h"
#include "platform/system_time.h"

namespace tvtest {

class TestClock {
 public:
  explicit TestClock(const SystemTime& at) {
    Set(at);
    SetLocalClock(&Read);
  }
  ~TestClock() { SetLocalClock(nullptr); }
  TestClock(const TestClock&) = delete;
  TestClock& operator=(const TestClock&) = delete;

  void Set(const SystemTime& at) {
    std::lock_guard<std::mutex> guard(Lock());
    Slot() = at;
  }
  SystemTime Now() const { return Read(); }

 private:
  static SystemTime Read() {
    std::lock_guard<std::mutex> guard(Lock());
    return Slot();
  }
  static std::mutex& Lock() {
    static std::mutex lock;
    return lock;
  }
  static SystemTime& Slot() {
    static SystemTime now;
    return now;
  }
};

}  // namespace tvtest
