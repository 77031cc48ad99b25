#include "service/usage_recorder.h"

#include <chrono>
#include <thread>
#include <utility>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/loop_slot.h"
#include "platform/program_dir.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"

namespace {

constexpr int kStopWaitMs = 3000;   // how long shutdown waits for the last write
constexpr int kDeleteAttempts = 10;  // deleting the uploaded file: tries, and the pause between them
constexpr int kDeleteRetryMs = 50;

std::mutex g_uploaderLock;
UsageUploader g_uploader;

UsageUploader CurrentUploader() {
  std::lock_guard<std::mutex> guard(g_uploaderLock);
  return g_uploader;
}

// The recorder in the background loop while it runs.
LoopSlot<UserBehaviorAgent> g_agent;

}  // namespace

std::u16string UsageEventLine(int code, const SystemTime& when, std::u16string_view text) {
  std::u16string line = IntToText(code);
  line += u',';
  line += FormatTimestamp(when).substr(0, 19);
  if (!text.empty()) {
    line += u',';
    for (char16_t c : text) line += (c == u'\r' || c == u'\n') ? u' ' : c;
  }
  return line;
}

UserBehaviorAgent::UserBehaviorAgent(std::u16string filePath, int cycleMs)
    : path_(std::move(filePath)), cycleMs_(cycleMs > 0 ? cycleMs : kDefaultCycleMs) {}

void UserBehaviorAgent::Append(std::u16string line) {
  std::lock_guard<std::mutex> guard(incomingLock_);
  incoming_.push_back(std::move(line));
}

size_t UserBehaviorAgent::PendingLines() {
  std::lock_guard<std::mutex> in(incomingLock_);
  std::lock_guard<std::mutex> out(writeLock_);
  return incoming_.size() + writing_.size();
}

void SetUsageUploader(UsageUploader uploader) {
  std::lock_guard<std::mutex> guard(g_uploaderLock);
  g_uploader = std::move(uploader);
}

UserBehaviorAgent::~UserBehaviorAgent() { upload_->stop.store(true); }

bool UserBehaviorAgent::StartUploadIfDue() {
  if (uploadAttempted_) return false;
  const UsageUploader uploader = CurrentUploader();
  if (!uploader.ready || !uploader.send || !uploader.ready()) return false;
  uploadAttempted_ = true;
  // The body holds only what it shares; the recorder is named only to wake its turn, which finds
  // nothing once the recorder is gone.
  const LoopTask* self = this;
  upload_->holdsFile.store(true);
  const bool started = uploader_.Start([share = upload_, path = path_, send = uploader.send, self](std::stop_token) {
    std::string bytes;
    if (ReadWholeFile(path, bytes) && !bytes.empty() && send(bytes, share->stop)) {  // the sender logs a failure
      // Another reader (a scanner, a backup) may hold the file for a moment; on Windows it cannot
      // be deleted meanwhile, and lines left in it would be uploaded again next run.
      bool deleted = false;
      for (int attempt = 0; attempt < kDeleteAttempts && !deleted; ++attempt) {
        deleted = RemoveFile(path);
        if (!deleted) std::this_thread::sleep_for(std::chrono::milliseconds(kDeleteRetryMs));
      }
      if (!deleted) LogError(u"usage file uploaded but not deleted:" + path);
    }
    share->holdsFile.store(false);
    background_loop::Wake(self);  // the writes it held back
  });
  if (!started) {
    upload_->holdsFile.store(false);
    LogError(u"usage recorder: the upload's thread cannot start; the file stays for the next run");
  }
  return started;
}

void UserBehaviorAgent::MoveIncoming() {
  // Always the incoming lock before the write lock.
  std::lock_guard<std::mutex> in(incomingLock_);
  if (incoming_.empty()) return;
  std::lock_guard<std::mutex> out(writeLock_);
  for (auto& line : incoming_) writing_.push_back(std::move(line));
  incoming_.clear();
}

bool UserBehaviorAgent::WritePending() {
  std::lock_guard<std::mutex> guard(writeLock_);
  if (writing_.empty()) return true;
  std::u16string text;
  for (const auto& line : writing_) {
    text += u"\r\n";
    text += line;
  }
  if (AppendToFile(path_, WideToUtf8(text))) {
    writing_.clear();
    failing_ = false;
    return true;
  }
  if (!failing_) {
    failing_ = true;
    LogError(u"write usage file error:" + path_ + u" (" + IntToText(static_cast<int64_t>(writing_.size())) +
             u" events kept)");
  }
  return false;
}

uint64_t UserBehaviorAgent::CycleBegins() {
  std::lock_guard<std::mutex> guard(cycleLock_);
  return requested_;
}

void UserBehaviorAgent::CycleEnded(uint64_t served) {
  {
    std::lock_guard<std::mutex> guard(cycleLock_);
    served_ = served;
  }
  cycleEnded_.notify_all();
}

bool UserBehaviorAgent::WriteNow(int timeoutMs) {
  std::unique_lock<std::mutex> guard(cycleLock_);
  if (ended_) return false;
  const uint64_t request = ++requested_;
  background_loop::Wake(this);
  return cycleEnded_.wait_for(guard, std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs),
                              [&] { return served_ >= request || ended_; }) &&
         served_ >= request;
}

int UserBehaviorAgent::Turn() {
  // While an upload has the file no cycle begins; its end wakes the next turn.
  if (StartUploadIfDue() || upload_->holdsFile.load()) return cycleMs_;
  const uint64_t serving = CycleBegins();
  MoveIncoming();
  WritePending();
  CycleEnded(serving);
  return cycleMs_;
}

void UserBehaviorAgent::Finish() {
  upload_->stop.store(true);
  if (!uploader_.Stop(kStopWaitMs)) LogError(u"usage recorder: the upload did not end in time; left to end on its own");
  WriteWhatIsLeft();
}

void UserBehaviorAgent::WriteWhatIsLeft() {
  // Stopping: whatever was recorded up to now goes to the file, unless an upload left running
  // still holds it (the loop does not wait for a request).
  const uint64_t serving = CycleBegins();
  MoveIncoming();
  if (upload_->holdsFile.load() || !WritePending()) {
    LogError(u"usage events lost:" + IntToText(static_cast<int64_t>(PendingLines())));
  }
  {
    std::lock_guard<std::mutex> guard(cycleLock_);
    served_ = serving;
    ended_ = true;
  }
  cycleEnded_.notify_all();
}

void RecordUsageEvent(int code, std::u16string_view text) {
  g_agent.With([&](UserBehaviorAgent& agent) { agent.Append(UsageEventLine(code, LocalNow(), text)); });
}

bool WriteUsageEventsNow(int timeoutMs) {
  bool written = false;
  g_agent.With([&](UserBehaviorAgent& agent) { written = agent.WriteNow(timeoutMs); });
  return written;
}

bool StartUsageRecorder() { return StartUsageRecorderAt(ProgramDirectory() + u"ubd.dat"); }

bool StartUsageRecorderAt(std::u16string filePath, int cycleMs) {
  return g_agent.Start([&] { return std::make_shared<UserBehaviorAgent>(std::move(filePath), cycleMs); });
}

void StopUsageRecorder() {
  // From here on RecordUsageEvent finds no recorder, so no line can arrive after the last write.
  if (!g_agent.Stop(kStopWaitMs)) LogError(u"usage recorder did not end in time");
}
