#pragma once
// Helpers of the holiday, almanac and day-information tests: the shipped user.dat of the build
// tree (scratch directories and dates come from tests/support).
#include <gtest/gtest.h>

#include <string>

#include "platform/database.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"
#include "tests/support/dates.h"
#include "tests/support/temp_dir.h"

namespace holiday_test {

using tvtest::Date;
using ScratchDir = tvtest::TempDir;

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
