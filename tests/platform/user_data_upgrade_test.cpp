#include "platform/user_data_upgrade.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>
#include <sstream>
#include <string>

#include "platform/clock.h"
#include "tests/support/temp_dir.h"

using tvtest::TempDir;

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Makes a database with the shipped schema and the given rows.
void MakeDb(const fs::path& path, const std::string& rows) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
  const std::string sql = ReadAll(TAVRINO_SOURCE_DIR "/data/schema.sql") + rows;
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

// Rows of a query, "|" between columns and ";" after each row.
std::string Rows(const fs::path& path, const char* query) {
  sqlite3* db = nullptr;
  std::string out;
  if (sqlite3_open_v2(path.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_exec(
        db, query,
        [](void* o, int n, char** values, char**) {
          auto& text = *static_cast<std::string*>(o);
          for (int i = 0; i < n; ++i) text += std::string(i ? "|" : "") + (values[i] ? values[i] : "");
          text += ";";
          return 0;
        },
        &out, nullptr);
  }
  sqlite3_close(db);
  return out;
}

const char* kOldRows =
    "INSERT INTO userconfig VALUES ('city','杭州'),('code','101210101'),('skin','bg3'),"
    "('lastconfirm','2026-12-01 10:00:00:000'),('svc_forecast','http://old'),('web_site','http://old');"
    "INSERT INTO mycity VALUES ('浙江','杭州','2026-12-01 10:00:00:000'),('上海','上海','2026-11-01 09:00:00:000');"
    "INSERT INTO holiday VALUES ('2026','国庆','','10-01','','10-01');";
const char* kNewRows =
    "INSERT INTO userconfig VALUES ('skin','bg1'),('svc_forecast','http://new'),('web_site','http://new'),"
    "('new_key','on');"
    "INSERT INTO holiday VALUES ('2027','春节','','02-06','','02-06');";

class UserDataUpgradeTest : public ::testing::Test {
 protected:
  fs::path Path(const char16_t* name) { return fs::path(temp_.Dir()) / name; }
  UserDataUpgrade Run() { return ApplyPendingUserDataUpgrade(temp_.Dir(), message_); }
  TempDir temp_;
  std::u16string message_;
};

}  // namespace

TEST_F(UserDataUpgradeTest, CarriesTheUsersRowsIntoTheNewDataAndNothingElse) {
  MakeDb(Path(u"user.dat"), kOldRows);
  MakeDb(Path(u"user.dat.new"), kNewRows);
  ASSERT_EQ(Run(), UserDataUpgrade::kCarriedOver);
  EXPECT_TRUE(message_.empty());
  const fs::path dat = Path(u"user.dat");
  EXPECT_EQ(Rows(dat, "select name,value from userconfig order by name"),
            "city|杭州;code|101210101;lastconfirm|2026-12-01 10:00:00:000;new_key|on;skin|bg3;"
            "svc_forecast|http://new;web_site|http://new;");
  EXPECT_EQ(Rows(dat, "select prov,city from mycity order by addtime"), "上海|上海;浙江|杭州;");
  EXPECT_EQ(Rows(dat, "select year,name from holiday"), "2027|春节;");
  EXPECT_FALSE(fs::exists(Path(u"user.dat.new")));
  EXPECT_FALSE(fs::exists(Path(u"user.dat.upgrade")));

  // Nothing pending afterwards; running again after an interruption between the rename and the
  // removal of user.dat.new (the new file is there again) gives the same rows.
  EXPECT_EQ(Run(), UserDataUpgrade::kNothingPending);
  const std::string before = Rows(dat, "select * from userconfig order by name") + Rows(dat, "select * from mycity");
  MakeDb(Path(u"user.dat.new"), kNewRows);
  std::ofstream(Path(u"user.dat.upgrade")) << "left by a run that was killed";
  ASSERT_EQ(Run(), UserDataUpgrade::kCarriedOver);
  EXPECT_EQ(Rows(dat, "select * from userconfig order by name") + Rows(dat, "select * from mycity"), before);
  EXPECT_FALSE(fs::exists(Path(u"user.dat.upgrade")));
}

TEST_F(UserDataUpgradeTest, AFailureLeavesUserDatAsItWasAndTheNewFileForTheNextStart) {
  // The user's file is a database, but not the program's: nothing can be carried, nothing is
  // replaced or lost.
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(Path(u"user.dat").string().c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "create table unrelated (x); insert into unrelated values ('the user''s row')", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
  }
  MakeDb(Path(u"user.dat.shipped"), kNewRows);
  MakeDb(Path(u"user.dat.new"), kNewRows);
  const std::string bytes = ReadAll(Path(u"user.dat"));
  EXPECT_EQ(Run(), UserDataUpgrade::kFailed);
  EXPECT_FALSE(message_.empty());
  EXPECT_EQ(ReadAll(Path(u"user.dat")), bytes);
  EXPECT_TRUE(fs::exists(Path(u"user.dat.new")));
  EXPECT_FALSE(fs::exists(Path(u"user.dat.upgrade")));
}

TEST_F(UserDataUpgradeTest, AFirstInstallationTakesTheNewFileAsItIs) {
  MakeDb(Path(u"user.dat.new"), kNewRows);
  EXPECT_EQ(Run(), UserDataUpgrade::kInstalled);
  EXPECT_EQ(Rows(Path(u"user.dat"), "select value from userconfig where name='new_key'"), "on;");
  EXPECT_FALSE(fs::exists(Path(u"user.dat.new")));
  EXPECT_EQ(Run(), UserDataUpgrade::kNothingPending);
}

namespace {
SystemTime Noon() {
  SystemTime t;
  t.wYear = 2026;
  t.wMonth = 12;
  t.wDay = 8;
  t.wHour = 12;
  t.wMinute = 30;
  t.wSecond = 5;
  return t;
}

std::vector<std::string> DamagedFiles(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("user.dat.damaged-", 0) == 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}
}  // namespace

// A user.dat SQLite cannot read (random bytes, a cut-off copy) is kept aside under a dated name and
// replaced: by the pending new file as it is, else by a copy of the shipped data, which stays.
TEST_F(UserDataUpgradeTest, AnUnreadableUserDatIsKeptAsideAndReplaced) {
  SetLocalClock(&Noon);
  const std::string random(40000, '\x5A');
  std::ofstream(Path(u"user.dat"), std::ios::binary) << random;
  EXPECT_EQ(UserDataDamage(Path(u"user.dat").u16string()), u"file is not a database");
  MakeDb(Path(u"user.dat.new"), kNewRows);
  ASSERT_EQ(Run(), UserDataUpgrade::kReplacedDamaged);
  EXPECT_EQ(message_, u"user.dat cannot be read (file is not a database): kept as user.dat.damaged-20261208-123005; "
                      u"user.dat.new taken as it is");
  EXPECT_EQ(ReadAll(Path(u"user.dat.damaged-20261208-123005")), random);
  EXPECT_EQ(Rows(Path(u"user.dat"), "select value from userconfig where name='new_key'"), "on;");
  EXPECT_FALSE(fs::exists(Path(u"user.dat.new")));

  // Damaged again in the same second, no upgrade pending: the shipped copy, and a second name.
  MakeDb(Path(u"user.dat.shipped"), "INSERT INTO userconfig VALUES ('shipped','yes');");
  const std::string shipped = ReadAll(Path(u"user.dat.shipped"));
  const std::string cut = shipped.substr(0, shipped.size() / 2);
  std::ofstream(Path(u"user.dat"), std::ios::binary | std::ios::trunc) << cut;
  EXPECT_NE(UserDataDamage(Path(u"user.dat").u16string()), u"");
  ASSERT_EQ(Run(), UserDataUpgrade::kReplacedDamaged) << std::string(message_.begin(), message_.end());
  EXPECT_NE(message_.find(u"kept as user.dat.damaged-20261208-123005-2; user.dat.shipped copied in its place"),
            std::u16string::npos);
  EXPECT_EQ(ReadAll(Path(u"user.dat.damaged-20261208-123005-2")), cut);
  EXPECT_EQ(ReadAll(Path(u"user.dat")), shipped);
  EXPECT_EQ(ReadAll(Path(u"user.dat.shipped")), shipped) << "the shipped copy stays for another time";
  EXPECT_FALSE(fs::exists(Path(u"user.dat.upgrade")));
  EXPECT_EQ(DamagedFiles(temp_.Dir()).size(), 2u);

  // A readable user.dat is never replaced, and nothing is pending.
  EXPECT_EQ(Run(), UserDataUpgrade::kNothingPending);
  EXPECT_EQ(DamagedFiles(temp_.Dir()).size(), 2u);
  SetLocalClock(nullptr);
}

TEST_F(UserDataUpgradeTest, WithNothingToTakeItsPlaceADamagedUserDatStays) {
  std::ofstream(Path(u"user.dat"), std::ios::binary) << std::string(5000, '\x5A');
  EXPECT_EQ(Run(), UserDataUpgrade::kNothingPending);
  EXPECT_EQ(ReadAll(Path(u"user.dat")), std::string(5000, '\x5A'));
  EXPECT_TRUE(DamagedFiles(temp_.Dir()).empty());
  // Missing stays missing, even with the shipped copy there.
  fs::remove(Path(u"user.dat"));
  MakeDb(Path(u"user.dat.shipped"), kNewRows);
  EXPECT_EQ(Run(), UserDataUpgrade::kNothingPending);
  EXPECT_FALSE(fs::exists(Path(u"user.dat")));
}
