#pragma once
// The buffered error log: one UTF-16LE file per computer, program and day in a directory,
// "<computer>_<program file>_<yyyy-mm-dd>.log", written once a second by the log writer, a task of
// the background loop.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/background_loop.h"
#include "platform/system_time.h"

// The two buffers and their file; its turns in the background loop flush them.
class XLog : public LoopTask {
 public:
  static constexpr size_t kDefaultCapacity = 1048576;

  // directory ends with a path separator.
  XLog(std::u16string directory, std::u16string computerName, std::u16string programFile,
       size_t capacity = kDefaultCapacity);
  ~XLog() override;  // writes whatever is still buffered
  XLog(const XLog&) = delete;
  XLog& operator=(const XLog&) = delete;

  // Flushes, and asks for the next turn a second later.
  int Turn() override;
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
};

// Creates and starts the process's log writer in directory (ProgramDirectory when empty);
// does nothing when one exists.
void StartLogWriter(std::u16string_view directory = {});
// Stops the writer (waits up to 2000 ms), writes what is buffered and drops it.
void StopLogWriter();
// Appends one error line; callable from any thread. Dropped when no writer runs.
void LogError(std::u16string_view message);
