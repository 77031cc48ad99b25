#pragma once
// Test surroundings: a private copy of the shipped user.dat opened by the database worker, the
// devservice port, and a poster that records what the weather worker posts.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "platform/database.h"
#include "tests/support/temp_dir.h"
#include "weather/weather_worker.h"

class ScratchUserData {
 public:
  ScratchUserData() : dir_("tvwx") {
    std::error_code error;
    std::filesystem::copy_file("user.dat", dir_.Path() / "user.dat", error);  // the tests run in bin/
    copied_ = !error;
    OpenDatabase(dir_.Dir() + u"user.dat");
  }
  ~ScratchUserData() {
    WaitForWeatherIdle(60000);
    CloseDatabase();
  }
  bool Copied() const { return copied_; }
  // The directory stays after the database closes; the caller removes it.
  std::filesystem::path Keep() { return dir_.Keep(); }

 private:
  tvtest::TempDir dir_;
  bool copied_ = false;
};

// Port of the devservice started by the CTest fixture for this build tree; 0 when none runs.
inline int DevServicePort() {
  std::ifstream in("wx_devservice.port");
  int port = 0;
  in >> port;
  return port;
}

class PostedMessages {
 public:
  PostedMessages() {
    SetWeatherPoster([this](uint32_t message) {
      std::lock_guard<std::mutex> lock(mutex_);
      messages_.push_back(message);
      cv_.notify_all();
    });
  }
  ~PostedMessages() { SetWeatherPoster(nullptr); }
  bool WaitFor(size_t count, int timeoutMs = 60000) {
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return messages_.size() >= count; });
  }
  std::vector<uint32_t> Messages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<uint32_t> messages_;
};
