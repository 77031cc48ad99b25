#pragma once
// Thread base of every background worker, and a small event with manual or automatic reset.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
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

// Base of every worker: the subclass implements Run and polls StopRequested().
// A thread marked delete-when-done deletes its object after Run returns; its owner must not
// touch the object after the thread ends.
class TThread {
 public:
  TThread();
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  virtual void Run() = 0;

  // Starts the system thread once; false when already started or the thread cannot be made.
  bool Start();

  void RequestStop() { stop_.store(true); }
  bool StopRequested() const { return stop_.load(); }
  // The stop flag itself, for what watches it directly (an HttpScope's abandon flag).
  const std::atomic<bool>& StopFlag() const { return stop_; }

  void SetDeleteWhenDone(bool on);
  bool DeleteWhenDone() const;

  // Waits up to timeoutMs (< 0: no limit) for Run to return. True when it has returned
  // (or the thread was never started).
  bool WaitForEnd(int timeoutMs);

  // For an owner that gave up waiting: true when Run has already returned, so the owner may
  // delete the object now; otherwise the thread deletes the object itself when Run returns.
  bool ReleaseWhenDone();

  bool Started() const { return started_; }
  uint32_t ThreadId() const { return threadId_.load(); }

 private:
  struct State;
  static void Entry(TThread* self, std::shared_ptr<State> state);

  std::shared_ptr<State> state_;
  std::atomic<bool> stop_{false};
  std::atomic<uint32_t> threadId_{0};
  bool started_ = false;
};

// Starts the thread (the free-function form used by owners); true when it runs.
inline bool StartThread(TThread* thread) { return thread && thread->Start(); }

// The system's id of the calling thread (GetCurrentThreadId on Windows, gettid on Linux).
uint32_t CurrentThreadId();
