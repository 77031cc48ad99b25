#pragma once
// Worker: the one way this program runs something on a thread of its own. A Worker owns its
// thread (a std::jthread): the body gets the thread's stop token, and the owner stops and joins
// it. A body that sleeps on something of its own (an event, a message queue) is given a wake at
// Start, which every stop runs right after the token has turned. (No std::stop_callback: with the
// MinGW runtime, one that goes while another thread runs it can wait forever.) Nothing a body
// touches may belong to an object that can go away first: what the body shares with its owner
// lives in a shared_ptr the body holds, so no worker object ever deletes itself.
//
// A body that may sit in a call nothing can cancel (a request to a slow server, the shell's
// answer) is stopped with a bounded wait: Stop(ms) joins when the body returned in time and
// otherwise abandons the thread, which runs to its end on its own, keeping alive what its shared
// state holds; the owner never hangs. The destructor asks for a stop and joins.
//
// The program's threads besides the user-interface thread: each one's owner (what stops it, and
// its bounded wait), and what the thread touches.
// | thread                | owner, stop                                        | touches                                |
// |-----------------------|----------------------------------------------------|----------------------------------------|
// | background loop       | background_loop.cpp, at the process's end; its     | each task's own: the log's buffers and |
// |                       | tasks leave with StopLogWriter (2 s), CloseDatabase| file, DbShared and user.dat, the usage |
// |                       | (3 s), StopUsageRecorder (3 s)                     | recorder's lines and "ubd.dat"         |
// | deferred data loader  | user_data.cpp: CloseUserData (1.5 s)               | the database, the kAfterOpen steps     |
// | usage upload          | the usage recorder's last turn (3 s)               | its share: "ubd.dat" held, stop flag   |
// | statistics exchange   | service/statistics_exchange.cpp:                   | its partners (service document, city,  |
// |                       | StopStatisticsExchange, kBeforeClose step (1.5 s)  | window), HTTP, "uu"                    |
// | weather refresh       | weather_worker.cpp: the next start joins it;       | published reports, the poster, HTTP    |
// |                       | StopWeatherWorker at the exit (1.5 s)              |                                        |
// | tray-button hook      | the road, win32/clock_interceptor.cpp (2 s)        | the road's Shared, pointer/key hooks   |
// | tray-button locator   | the road, win32/clock_interceptor.cpp (1.5 s)      | the road's Shared, a helper per pass   |
// | helper of a call      | RunUnlessStopped's caller: left at its stop        | only what its work owns                |
// | IP lookup (test hook) | app/win32/main_window_test_hook.cpp: joined once   | HTTP, the IP location                  |
// |                       | ended, stopped at the exit                         |                                        |
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>

class Worker {
 public:
  using Body = std::function<void(std::stop_token stop)>;
  using Wake = std::function<void()>;

  Worker() = default;
  // Asks for a stop and joins (a worker that may be stuck is stopped with Stop(ms) before).
  ~Worker();
  Worker(Worker&&) noexcept = default;
  // A running worker being replaced is asked to stop and joined first.
  Worker& operator=(Worker&& other) noexcept;

  // Runs body on a new thread; wake (may be empty) is what a stop runs to end the body's waits.
  // False when a thread runs already (until Join, Stop or Abandon), when body is empty, or when
  // no thread can be made.
  bool Start(Body body, Wake wake = {});
  // True from a successful Start until Join, Stop or Abandon.
  bool Running() const { return thread_.joinable(); }

  // Turns the body's stop token, then runs the wake on the calling thread.
  void RequestStop();
  // Waits up to timeoutMs (< 0: no limit) for the body to return. True when it has returned
  // (or no thread runs); the thread is not joined.
  bool WaitForEnd(int timeoutMs) const;
  // Waits for the thread's end without asking it to stop.
  void Join();
  // Asks for a stop and waits up to waitMs: true when the thread ended and was joined; false when
  // it was abandoned to end on its own.
  bool Stop(int waitMs);
  // Leaves the thread to end on its own; what its body holds stays alive until then.
  void Abandon();

 private:
  struct End;
  std::shared_ptr<End> end_;  // set by the thread once the body returned and released what it held
  Wake wake_;
  std::jthread thread_;
};
