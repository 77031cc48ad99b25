#include "platform/log.h"

#include <cstring>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/loop_slot.h"
#include "platform/program_dir.h"
#include "platform/text_utils.h"
#include "platform/thread.h"

XLog::XLog(std::u16string directory, std::u16string computerName, std::u16string programFile, size_t capacity)
    : directory_(std::move(directory)),
      computerName_(std::move(computerName)),
      programFile_(std::move(programFile)),
      capacity_(capacity),
      fill_(new uint8_t[capacity]),
      write_(new uint8_t[capacity]) {}

XLog::~XLog() {
  std::lock_guard<std::mutex> append(appendLock_);
  std::lock_guard<std::mutex> flush(flushLock_);
  if (writeCount_ > 0) WriteOut();
  if (fillCount_ > 0) {
    FlushLocked();
    WriteOut();
  }
}

std::u16string XLog::FileNameFor(const SystemTime& now) const {
  return directory_ + computerName_ + u"_" + programFile_ + u"_" + FormatDate(now) + u".log";
}

void XLog::WriteOut() {
  if (writeCount_ == 0) return;
  std::string_view bytes(reinterpret_cast<const char*>(write_.get()), writeCount_);
  AppendToFile(FileNameFor(LocalNow()), bytes, std::string_view("\xFF\xFE", 2));  // lost when not writable
  writeCount_ = 0;
}

// Both locks held: write what waits, then exchange the buffers.
void XLog::FlushLocked() {
  if (writeCount_ > 0) WriteOut();
  std::swap(fill_, write_);
  writeCount_ = fillCount_;
  fillCount_ = 0;
}

void XLog::Flush() {
  // File work under the flush lock only, so appends go on meanwhile; the exchange needs both
  // locks (always the append lock first) because appends write into the fill buffer.
  {
    std::lock_guard<std::mutex> flush(flushLock_);
    WriteOut();
  }
  std::lock_guard<std::mutex> append(appendLock_);
  std::lock_guard<std::mutex> flush(flushLock_);
  FlushLocked();
}

bool XLog::Append(std::u16string_view message) {
  std::u16string line = FormatTimestamp(LocalNow());
  line += u" error ";
  line += u" ";
  line += IntToText(CurrentThreadId());
  line += u" ";
  line += message;
  line += u"\r\n";
  size_t bytes = line.size() * sizeof(char16_t);
  if (bytes > capacity_) return false;  // would never fit a buffer
  std::lock_guard<std::mutex> append(appendLock_);
  if (fillCount_ + bytes > capacity_) {
    std::lock_guard<std::mutex> flush(flushLock_);
    FlushLocked();
  }
  // Stored little-endian, whatever the host.
  uint8_t* out = fill_.get() + fillCount_;
  for (char16_t c : line) {
    *out++ = static_cast<uint8_t>(c & 0xFF);
    *out++ = static_cast<uint8_t>(c >> 8);
  }
  fillCount_ += bytes;
  return true;
}

int XLog::Turn() {
  Flush();
  return 1000;
}

namespace {
LoopSlot<XLog> g_log;
}  // namespace

void StartLogWriter(std::u16string_view directory) {
  g_log.Start([&] {
    std::u16string dir = directory.empty() ? ProgramDirectory() : std::u16string(directory);
    return std::make_shared<XLog>(dir, ComputerName(), ExecutableFileName());
  });
}

// A writer that does not end in time writes its buffers when it does.
void StopLogWriter() { g_log.Stop(2000); }

void LogError(std::u16string_view message) {
  g_log.With([&](XLog& log) { log.Append(message); });
}
