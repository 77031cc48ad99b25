#pragma once
// A small event with manual or automatic reset, and the calling thread's id. Threads themselves
// are Workers (platform/worker.h).
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// An event in the manner of the system's: manual reset stays set until Reset; automatic reset
// releases exactly one waiter and clears itself. Windows uses a system event (much cheaper to
// wait on there than a condition variable), elsewhere an atomic flag (untimed waits sleep on it
// directly) with a condition variable for timed waits.
class Event {
 public:
  explicit Event(bool manualReset, bool initiallySet = false);
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Set();
  void Reset();
  // Waits until set; timeoutMs < 0 waits without a limit. True when the event was set.
  bool Wait(int timeoutMs = -1);
  bool IsSet() const;
  ~Event();

 private:
#ifdef _WIN32
  void* handle_;
#else
  bool TryTake();  // true when set; an automatic event is cleared by taking it

  std::mutex mutex_;
  std::condition_variable cv_;
  const bool manual_;
  std::atomic<int> set_;
#endif
};

// The system's id of the calling thread (GetCurrentThreadId on Windows, gettid on Linux).
uint32_t CurrentThreadId();
