#include "platform/usage_recorder.h"

#include <chrono>
#include <filesystem>
#include <shared_mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_utils.h"
#include "platform/log.h"
#include "platform/program_dir.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"

namespace {

constexpr int kWaitSlices = 20;     // the cycle is waited in slices, checking the stop flag after each
constexpr int kStopWaitMs = 3000;   // how long shutdown waits for the last write
constexpr int kDeleteAttempts = 10;  // deleting the uploaded file: tries, and the pause between them
constexpr int kDeleteRetryMs = 50;

std::shared_mutex g_agentLock;      // guards g_agent; RecordUsageEvent only reads it
UserBehaviorAgent* g_agent = nullptr;

std::mutex g_uploaderLock;
UsageUploader g_uploader;

UsageUploader CurrentUploader() {
  std::lock_guard<std::mutex> guard(g_uploaderLock);
  return g_uploader;
}

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

void UserBehaviorAgent::UploadOnce() {
  if (uploadAttempted_) return;
  const UsageUploader uploader = CurrentUploader();
  if (!uploader.ready || !uploader.send || !uploader.ready()) return;
  uploadAttempted_ = true;
  std::lock_guard<std::mutex> guard(writeLock_);
  std::string bytes;
  if (!ReadWholeFile(path_, bytes) || bytes.empty()) return;  // nothing recorded yet
  if (!uploader.send(bytes, StopFlag())) return;  // the sender logged why
  // Another reader (a scanner, a backup) may hold the file for a moment; on Windows it cannot be
  // deleted meanwhile, and lines left in it would be uploaded again next run.
  for (int attempt = 0; attempt < kDeleteAttempts; ++attempt) {
    std::error_code error;
    if (std::filesystem::remove(std::filesystem::path(path_), error) || !error) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(kDeleteRetryMs));
  }
  LogError(u"usage file uploaded but not deleted:" + path_);
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

void UserBehaviorAgent::Run() {
  const int slice = cycleMs_ >= kWaitSlices ? cycleMs_ / kWaitSlices : 1;
  for (;;) {
    UploadOnce();
    MoveIncoming();
    WritePending();
    for (int i = 0; i < kWaitSlices && !StopRequested(); ++i) wake_.Wait(slice);
    if (StopRequested()) break;
  }
  // Stopping: whatever was recorded up to now goes to the file before the thread ends.
  MoveIncoming();
  if (!WritePending()) {
    LogError(u"usage events lost:" + IntToText(static_cast<int64_t>(PendingLines())));
  }
}

void RecordUsageEvent(int code, std::u16string_view text) {
  std::shared_lock<std::shared_mutex> guard(g_agentLock);
  if (!g_agent) return;
  g_agent->Append(UsageEventLine(code, LocalNow(), text));
}

bool StartUsageRecorder() { return StartUsageRecorderAt(ProgramDirectory() + u"ubd.dat"); }

bool StartUsageRecorderAt(std::u16string filePath, int cycleMs) {
  std::unique_lock<std::shared_mutex> guard(g_agentLock);
  if (g_agent) return true;
  auto* agent = new UserBehaviorAgent(std::move(filePath), cycleMs);
  if (!StartThread(agent)) {
    delete agent;
    return false;
  }
  g_agent = agent;
  return true;
}

void StopUsageRecorder() {
  UserBehaviorAgent* agent = nullptr;
  {
    // From here on RecordUsageEvent finds no recorder, so no line can arrive after the last write.
    std::unique_lock<std::shared_mutex> guard(g_agentLock);
    agent = g_agent;
    g_agent = nullptr;
  }
  if (!agent) return;
  agent->RequestStop();
  agent->Wake();
  if (agent->WaitForEnd(kStopWaitMs) || agent->ReleaseWhenDone()) {
    delete agent;
  } else {
    LogError(u"usage recorder did not end in time");
  }
}
