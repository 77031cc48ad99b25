#pragma once
// The usage recorder: numbered usage events (a click, a menu entry, a start, an exit) collected
// from every thread and appended by the UserBehaviorAgent, a task of the background loop, to "ubd.dat"
// in the program's directory about every 10 s.
//
// "ubd.dat" is UTF-8 without a byte-order mark. Each write appends "\r\n" followed by that
// write's lines joined by "\r\n"; a line is "<code>,<yyyy-mm-dd hh:mm:ss>[,<text>]".
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/background_loop.h"
#include "platform/system_time.h"
#include "platform/worker.h"
#include "service/usage_codes.h"

// One event line: "<code>,<first 19 characters of the time stamp>" and ",<text>" when text is
// not empty. Line breaks inside text become blanks so that every event stays on its own line.
std::u16string UsageEventLine(int code, const SystemTime& when, std::u16string_view text);

// The once-per-run upload of the file, offered by the statistics exchange. The recorder asks
// ready() at the start of every cycle until it says yes; then, once per run, on a thread of the
// upload's own (a request must not hold up the background loop) and holding the file (so no write
// comes between), it reads the file and hands its bytes to send(). When send() reports that the
// service took them the file is deleted; otherwise it stays for the next run. A missing or empty
// file uses up the attempt without sending. send() must return soon after the recorder's stop
// flag turns true.
struct UsageUploader {
  std::function<bool()> ready;
  std::function<bool(const std::string& bytes, const std::atomic<bool>& stop)> send;
};
// Replaces the uploader (empty members: no upload); callable from any thread.
void SetUsageUploader(UsageUploader uploader);

// The recorder's lines and file; its turns in the background loop write them.
class UserBehaviorAgent : public LoopTask {
 public:
  static constexpr int kDefaultCycleMs = 10000;

  explicit UserBehaviorAgent(std::u16string filePath, int cycleMs = kDefaultCycleMs);
  ~UserBehaviorAgent() override;
  UserBehaviorAgent(const UserBehaviorAgent&) = delete;
  UserBehaviorAgent& operator=(const UserBehaviorAgent&) = delete;

  // One write cycle (the upload first, once it is due); the next comes a cycle later.
  int Turn() override;
  // The stop: ends the upload, then writes what is left.
  void Finish() override;
  // Queues one line; never touches the file.
  void Append(std::u16string line);
  // Runs a write cycle now instead of at the end of the current one and waits up to timeoutMs
  // for it. True once a cycle that began after the call has ended (whether or not its write
  // succeeded); false on timeout or when the recorder has stopped.
  bool WriteNow(int timeoutMs);
  // Lines taken but not yet written.
  size_t PendingLines();

 private:
  // What the upload's thread shares with the recorder: whether it has the file (from before its
  // start to its end: no write comes between), and the stop flag handed to the sender.
  struct UploadShare {
    std::atomic<bool> holdsFile{false};
    std::atomic<bool> stop{false};
  };

  // Starts the once-per-run upload when the uploader is ready; true when it started.
  bool StartUploadIfDue();
  // The last cycle's write, with the file held.
  void WriteWhatIsLeft();
  void MoveIncoming();
  // Cycle bookkeeping for WriteNow: a cycle serves every request made before it began.
  uint64_t CycleBegins();
  void CycleEnded(uint64_t served);
  // Appends the write list to the file; on failure the lines stay for the next cycle.
  bool WritePending();

  const std::u16string path_;
  const int cycleMs_;
  std::mutex incomingLock_, writeLock_;
  std::deque<std::u16string> incoming_, writing_;
  bool failing_ = false;  // the last write failed (logged once per failure streak)
  bool uploadAttempted_ = false;
  std::shared_ptr<UploadShare> upload_ = std::make_shared<UploadShare>();
  Worker uploader_;
  std::mutex cycleLock_;
  std::condition_variable cycleEnded_;
  uint64_t requested_ = 0, served_ = 0;  // WriteNow requests made / served by an ended cycle
  bool ended_ = false;
};

// Records one event (the text is "0" for every caller of the program). Callable from any thread;
// returns at once and never does file work. Dropped when no recorder runs.
void RecordUsageEvent(int code, std::u16string_view text);

// Starts the recorder on ProgramDirectory() + "ubd.dat"; true when it runs (also when it already did).
bool StartUsageRecorder();
// The same on any file, with any cycle length (tests use short cycles and scratch folders).
bool StartUsageRecorderAt(std::u16string filePath, int cycleMs = UserBehaviorAgent::kDefaultCycleMs);

// Has the running recorder write everything recorded so far now (before a reader takes the file)
// and waits up to timeoutMs for that write; false when no recorder runs or it did not answer.
bool WriteUsageEventsNow(int timeoutMs);

// Orderly shutdown: events recorded from here on are dropped, every line recorded before is
// written to the file (or logged as lost when the file cannot be written), then the worker ends.
// Waits at most a few seconds; harmless when the recorder never started or was stopped already.
void StopUsageRecorder();
