// tvcal's use of user.dat: a file locked by another program is not waited for, and a file
// without its tables is reported, not shown as a calendar without days off.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>

#include "app/tvcal/database_facts.h"
#include "platform/database.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"
#include "tests/support/temp_dir.h"
#include "tests/support/db_text.h"

using tvtest::TempDir;

TEST(TvcalDatabase, LockedOrTablelessFilesAreSaidAndNotUsed) {
  TempDir temp;
  std::u16string copy = temp.Dir() + u"user.dat";
  std::filesystem::copy_file(std::filesystem::path(ProgramDirectory() + u"user.dat"), temp.Path() / "user.dat");

  CalendarDatabase ready = OpenCalendarDatabase(copy, 2024, 100);
  EXPECT_EQ(ready.state, CalendarDatabase::kReady) << std::string(ready.problem.begin(), ready.problem.end());
  std::u16string problem;
  EXPECT_TRUE(CloseCalendarDatabase(&problem));

  // Another program holds the lock for the whole of the call: tvcal answers without it.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2((temp.Path() / "user.dat").string().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
  CalendarDatabase busy = OpenCalendarDatabase(copy, 2024, 100);
  EXPECT_EQ(busy.state, CalendarDatabase::kBusy);
  EXPECT_NE(busy.problem.find(u"locked by another program"), std::u16string::npos);
  EXPECT_EQ(tvtest::FirstText(u"select 1"), u"") << "a busy database is not left open";
  ASSERT_EQ(sqlite3_exec(other, "drop table holiday; drop table yijidata; drop table yijikey; commit", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(other);

  // Without the tables the calendar needs: unusable, with SQLite's reason.
  CalendarDatabase tableless = OpenCalendarDatabase(copy, 2024, 100);
  EXPECT_EQ(tableless.state, CalendarDatabase::kUnusable);
  EXPECT_NE(tableless.problem.find(u"no such table: holiday"), std::u16string::npos);
  EXPECT_EQ(tvtest::FirstText(u"select 1"), u"");
}
