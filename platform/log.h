#pragma once
// The buffered error log: one UTF-16LE file per computer, program and day in a directory,
// "<computer>_<program file>_<yyyy-mm-dd>.log", written once a second by the log writer's thread.
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/system_time.h"
#include "platform/thread.h"

// The two buffers and their file; Run is the writer thread's body.
class XLog {
 public:
  static constexpr size_t kDefaultCapacity = 1048576;

  // directory ends with a path separator.
  XLog(std::u16string directory, std::u16string computerName, std::u16string programFile,
       size_t capacity = kDefaultCapacity);
  ~XLog();  // writes whatever is still buffered
  XLog(const XLog&) = delete;
  XLog& operator=(const XLog&) = delete;

  // Flushes once a second until the stop.
  void Run(std::stop_token stop);
  // Ends the wait of Run (the stop's wake).
  void Wake();
  // Appends one line; false when the line cannot be taken (larger than a buffer).
  bool Append(std::u16string_view message);
  // Writes the waiting buffer and exchanges the two buffers.
  void Flush();
  // Name of the file a flush at the given local date writes to.
  std::u16string FileNameFor(const SystemTime& now) const;

 private:
  void FlushLocked();
  void WriteOut();

  std::u16string directory_, computerName_, programFile_;
  size_t capacity_;
  std::unique_ptr<uint8_t[]> fill_, write_;
  size_t fillCount_ = 0, writeCount_ = 0;
  std::mutex appendLock_, flushLock_;
  Event wake_{false};
};

// Creates and starts the process's log writer in directory (ProgramDirectory when empty);
// does nothing when one exists.
void StartLogWriter(std::u16string_view directory = {});
// Stops the writer (waits up to 2000 ms), writes what is buffered and drops it.
void StopLogWriter();
// Appends one error line; callable from any thread. Dropped when no writer runs.
void LogError(std::u16string_view message);
