#pragma once
// Helpers of the holiday, almanac and day-information tests: a scratch directory, the shipped
// user.dat of the build tree, and dates.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/database.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"
#include "platform/system_time.h"

namespace holiday_test {

inline SystemTime Date(int y, int m, int d) {
  SystemTime t;
  t.wYear = static_cast<uint16_t>(y);
  t.wMonth = static_cast<uint16_t>(m);
  t.wDay = static_cast<uint16_t>(d);
  return t;
}

class ScratchDir {
 public:
  ScratchDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("tvhol-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::u16string Dir() const { return path_.u16string() + kPathSeparator; }
  size_t FileCount() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path_)) ++n;
    return n;
  }

 private:
  std::filesystem::path path_;
};

// Opens the user.dat that the build places beside the test program, closes it afterwards.
class ShippedUserDat : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::u16string path = ProgramDirectory() + u"user.dat";
    ASSERT_TRUE(FileExists(path)) << "user.dat missing beside the test program (target tv_user_dat)";
    OpenDatabase(path);
  }
  void TearDown() override { CloseDatabase(); }
};

}  // namespace holiday_test
