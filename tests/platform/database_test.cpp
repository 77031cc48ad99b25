#include "platform/database.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <sqlite3.h>

#include "platform/clock.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "platform/user_config.h"
#include "platform/user_data.h"
#include "tests/support/dates.h"
#include "tests/support/temp_dir.h"
#include "tests/support/db_text.h"
#include "tests/support/test_clock.h"

using tvtest::TempDir;

namespace {

// Opens a fresh database in a temporary directory for one test and closes it after.
class Db : public ::testing::Test {
 protected:
  void SetUp() override { OpenDatabase(temp_.Dir() + u"user.dat", DbOpenMode::kCreate); }
  void TearDown() override { CloseDatabase(); }
  TempDir temp_;
};

std::u16string Num(int64_t n) { return IntToText(n); }

}  // namespace

TEST_F(Db, QueryRowsJoinsWithSeparatorsBetweenRowsOnly) {
  tvtest::Sql(u"create table t (k integer, v text)");
  EXPECT_EQ(tvtest::RowsText(u"select v from t order by k"), u"");
  tvtest::Sql(u"insert into t values (1, 'a')");
  EXPECT_EQ(tvtest::RowsText(u"select v from t order by k"), u"a");
  tvtest::Sql(u"insert into t values (2, '上海')");
  tvtest::Sql(u"insert into t values (3, 'c')");
  EXPECT_EQ(tvtest::RowsText(u"select v from t order by k"), u"a\r\n上海\r\nc");
  // An empty value while nothing is gathered yet adds nothing, not even a separator.
  tvtest::Sql(u"insert into t values (0, '')");
  EXPECT_EQ(tvtest::RowsText(u"select v from t order by k"), u"a\r\n上海\r\nc");
  tvtest::Sql(u"insert into t values (2, '')");
  EXPECT_EQ(tvtest::RowsText(u"select v from t order by k, v"), u"a\r\n\r\n上海\r\nc");

  EXPECT_EQ(tvtest::FirstText(u"select v from t where k = 2 order by v desc"), u"上海");
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from t"), u"5");
  EXPECT_EQ(tvtest::FirstText(u"select null"), u"");
  EXPECT_EQ(tvtest::FirstText(u"select v from t where k = 99"), u"");
  EXPECT_EQ(tvtest::FirstText(u""), u"");
  EXPECT_EQ(tvtest::FirstText(u"this is not sql"), u"");
  EXPECT_EQ(Exec(u"insert into missing_table values (1)"), DbOutcome::kFailed);
  EXPECT_EQ(tvtest::FirstText(u"select v from t where k = 1"), u"a");
}

TEST_F(Db, UserConfigKeepsOneRowPerNameAndSurvivesApostrophes) {
  tvtest::Sql(u"create table userconfig (name text primary key, value text)");
  EXPECT_EQ(GetUserConfig(u"skin"), u"");
  SetUserConfig(u"bg3", u"skin");
  EXPECT_EQ(GetUserConfig(u"skin"), u"bg3");
  SetUserConfig(u"bg5", u"skin");
  EXPECT_EQ(GetUserConfig(u"skin"), u"bg5");
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from userconfig where name = 'skin'"), u"1");

  // An apostrophe in a value or name is doubled: the write is not lost.
  SetUserConfig(u"http://127.0.0.1:8731/it's", u"uu");
  EXPECT_EQ(GetUserConfig(u"uu"), u"http://127.0.0.1:8731/it's");
  SetUserConfig(u"x", u"o'clock");
  EXPECT_EQ(GetUserConfig(u"o'clock"), u"x");
  EXPECT_EQ(GetUserConfig(u"' or '1'='1"), u"");  // no statement injection
  EXPECT_EQ(tvtest::RowsText(u"select name from userconfig order by name"), u"o'clock\r\nskin\r\nuu");

  SetUserConfig(u"上海", u"province");
  EXPECT_EQ(GetUserConfigA("province"), ToNarrow(u"上海", kCodePageAnsi));
  EXPECT_EQ(GetUserConfigA("absent"), "");
}

// A setting is replaced as a whole or not at all: a write whose insert fails leaves the old value.
TEST_F(Db, SettingWritesAndTransactionsAreAllOrNothing) {
  tvtest::Sql(u"create table userconfig (name text primary key, value text check (length(value) < 8))");
  EXPECT_TRUE(SetUserConfig(u"bg3", u"skin"));
  EXPECT_FALSE(SetUserConfig(u"far too long", u"skin"));
  EXPECT_EQ(GetUserConfig(u"skin"), u"bg3");

  EXPECT_EQ(ExecTransaction({{u"insert into userconfig values ('a','1')", {}}, {u"this is not sql", {}}}),
            DbOutcome::kFailed);
  EXPECT_EQ(ExecTransaction({}), DbOutcome::kFailed);
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from userconfig"), u"1");
  EXPECT_EQ(ExecTransaction({{u"insert into userconfig values (?1,?2)", {u"a", u"1"}},
                             {u"insert into userconfig values ('b','2')", {}}}),
            DbOutcome::kOk);
  EXPECT_EQ(tvtest::RowsText(u"select value from userconfig where name <> 'skin' order by name"), u"1\r\n2");
  // A failed transaction leaves none open: the next write is on its own again.
  EXPECT_TRUE(SetUserConfig(u"bg5", u"skin"));
  CloseDatabase();
  EXPECT_FALSE(SetUserConfig(u"bg6", u"skin"));  // no database: reported, not pretended
}

TEST_F(Db, ManyThreadsAllGetTheirOwnAnswers) {
  constexpr int kThreads = 8, kQueries = 1000;
  std::atomic<int> right{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &right] {
      for (int i = 0; i < kQueries; ++i) {
        int64_t n = int64_t{t} * 100000 + i;
        if (tvtest::FirstText(u"select " + Num(n)) == Num(n)) ++right;
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(right.load(), kThreads * kQueries);
}

TEST(Database, RequestsQueuedAtCloseAreReleasedEmpty) {
  TempDir temp;
  OpenDatabase(temp.Dir() + u"user.dat", DbOpenMode::kCreate);
  EXPECT_EQ(tvtest::FirstText(u"select 1"), u"1");
  // The worker is held inside one statement until the close is over; two requests wait behind it.
  Event entered(true), release(true);
  SetDbStatementHook([&](std::u16string_view sql) {
    if (sql != u"select 'held'") return;
    entered.Set();
    release.Wait();
  });
  std::u16string held = u"unset";
  std::thread busy([&] { held = tvtest::FirstText(u"select 'held'"); });
  ASSERT_TRUE(entered.Wait(60000));
  std::u16string queued1 = u"unset", queued2 = u"unset";
  Event aDone(true), bDone(true);
  std::thread a([&] { queued1 = tvtest::FirstText(u"select 'a'"), aDone.Set(); });
  std::thread b([&] { queued2 = tvtest::RowsText(u"select 'b'"), bDone.Set(); });
  for (int i = 0; i < 60000 && QueuedDbRequests() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(QueuedDbRequests(), 2u);
  CloseDatabase();  // gives up waiting for the held worker, releases the queue
  // Released by the close itself, while the worker is still held.
  EXPECT_TRUE(aDone.Wait(30000) && bDone.Wait(30000)) << "the close left queued requests waiting";
  release.Set();  // the held statement ends; the worker sees the stop and goes
  a.join();
  b.join();
  busy.join();
  EXPECT_EQ(queued1, u"");
  EXPECT_EQ(queued2, u"");
  SetDbStatementHook(nullptr);
  EXPECT_EQ(held, u"held");
  // After the close every call returns at once, empty.
  EXPECT_EQ(tvtest::FirstText(u"select 1"), u"");
  CloseDatabase();  // a second close is harmless
}

TEST(Database, UnopenableOrCorruptFilesGiveEmptyResultsWithoutHanging) {
  TempDir temp;
  // A directory where the file should be: the worker cannot open it, and nobody waits for it.
  std::filesystem::create_directories(temp.Path() / "user.dat");
  OpenDatabase(temp.Dir() + u"user.dat");
  for (int i = 0; i < 100; ++i) EXPECT_EQ(tvtest::FirstText(u"select 1"), u"") << i;
  EXPECT_EQ(Exec(u"create table t (x)"), DbOutcome::kUnusable);
  EXPECT_EQ(tvtest::RowsText(u"select 1"), u"");
  CloseDatabase();

  // A missing directory level: same.
  OpenDatabase(temp.Dir() + u"no" + kPathSeparator + u"such" + kPathSeparator + u"user.dat");
  EXPECT_EQ(tvtest::FirstText(u"select 1"), u"");
  CloseDatabase();

  // The narrow form (ANSI path) works as well.
  OpenDatabase(temp.Dir() + u"narrow.dat", DbOpenMode::kCreate);
  tvtest::Sql(u"create table t (x)");
  CloseDatabase();
  std::string ansi = ToNarrow(temp.Dir() + u"narrow.dat", kCodePageAnsi);
  OpenDatabase(std::string_view(ansi));
  EXPECT_EQ(tvtest::FirstText(u"select 'ok'"), u"ok");
  CloseDatabase();
}

TEST(UserData, OpenAndCloseKeepTheBookkeepingValues) {
  TempDir temp;
  std::u16string dir = temp.Dir() + u"a" + kPathSeparator + u"b" + kPathSeparator;
  // Seed a database in the not yet existing directory's place afterwards: first a plain run.
  // Registered steps run by rank, not by registration order; a second registration replaces.
  std::vector<std::string> calls;
  ClearDataSteps();
  RegisterDataStep(DataPhase::kAfterOpen, "later", 20, [&] { calls.push_back("later"); });
  RegisterDataStep(DataPhase::kAfterOpen, "first", 10, [&] { calls.push_back("replaced"); });
  RegisterDataStep(DataPhase::kAfterOpen, "first", 10,
                   [&] { calls.push_back("first:" + ToNarrow(GetUserConfig(u"city"), kCodePageUtf8)); });
  RegisterDataStep(DataPhase::kAfterOpen, "gone", 5, [&] { calls.push_back("gone"); });
  RegisterDataStep(DataPhase::kAfterOpen, "gone", 5, nullptr);
  RegisterDataStep(DataPhase::kBeforeClose, "closing", 0, [&] { calls.push_back("closing"); });
  tvtest::TestClock clock(tvtest::Date(2024, 1, 1, 23, 59, 50));
  OpenUserDataIn(dir);  // creates a/b level by level, but never user.dat
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(dir)));
  EXPECT_FALSE(FileExists(dir + u"user.dat"));
  OpenDatabase(dir + u"user.dat", DbOpenMode::kCreate);
  tvtest::Sql(u"create table userconfig (name text primary key, value text)");
  tvtest::Sql(u"insert into userconfig (name,value) values ('lv','0.0.0.0')");  // lv of this run
  EXPECT_EQ(RunStartTime().wSecond, 50);
  clock.Set(tvtest::Date(2024, 1, 2, 0, 0, 20));
  CloseUserData();

  // The next run sees "lrt" = 30 and rewrites "lv".
  clock.Set(tvtest::Date(2024, 1, 2, 8, 0, 0));
  SetUserConfig(u"", u"unused");  // no database: returns at once
  OpenUserDataIn(dir);
  EXPECT_EQ(GetUserConfig(u"lrt"), u"30");
  EXPECT_EQ(GetUserConfig(u"lv"), FileVersionText(ExecutablePath()));
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from userconfig where name = 'lv'"), u"1");
  SetUserConfig(u"上海", u"city");
  clock.Set(tvtest::Date(2024, 1, 2, 8, 0, 5));
  CloseUserData();
  ClearDataSteps();

  // The table did not exist yet in the first run; the second run's value was set after its start.
  EXPECT_EQ(calls, (std::vector<std::string>{"first:", "later", "closing", "first:", "later", "closing"}));
  EXPECT_TRUE(FileExists(dir + u"user.dat"));
}

TEST(UserData, RunSecondsCountsFieldByField) {
  SystemTime start{2024, 1, 0, 1, 23, 59, 50, 0}, end{2024, 1, 0, 2, 0, 0, 20, 0};
  EXPECT_EQ(RunSeconds(start, end), 30);
  EXPECT_EQ(RunSeconds(start, start), 0);
  SystemTime invalid = start;
  invalid.wMonth = 13;
  EXPECT_EQ(RunSeconds(invalid, end), 20 - 50);  // only the seconds term is left
}

TEST(UserData, ShippedFileHoldsItsTablesAndEmptyServiceSettings) {
  std::u16string shipped = ProgramDirectory() + u"user.dat";
  ASSERT_TRUE(FileExists(shipped)) << "user.dat is built beside the programs";
  TempDir temp;
  std::filesystem::copy_file(std::filesystem::path(shipped), temp.Path() / "user.dat");
  OpenDatabase(temp.Dir() + u"user.dat");
  EXPECT_EQ(tvtest::RowsText(u"select name from sqlite_master where type = 'table' order by name"),
            u"citycoord\r\nholiday\r\nmycity\r\nprovinces\r\nreminders\r\nreminders_schema\r\nuserconfig\r\nweathercode\r\n"
            u"yijidata\r\nyijikey");
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from reminders"), u"0");
  EXPECT_EQ(tvtest::RowsText(u"select version from reminders_schema"), u"1");
  // Values reach a statement as bound parameters, quotes and all; a value without a parameter
  // for it fails the statement.
  EXPECT_EQ(Exec(u"insert into reminders (title,rule,time,created) values (?1,?2,?3,?4)",
                 {u"it's'); drop table mycity; --", u"lunar 8-15", u"09:00", u""}),
            DbOutcome::kOk);
  EXPECT_EQ(tvtest::FirstText(u"select title from reminders where rule=?1", {u"lunar 8-15"}), u"it's'); drop table mycity; --");
  std::optional<DbRow> row;
  EXPECT_EQ(QueryFirst(u"select count(*) from reminders", {u"extra"}, row), DbOutcome::kFailed);
  EXPECT_FALSE(row);
  for (const char16_t* key : {u"svc_forecast", u"svc_weather2", u"svc_air", u"svc_iplocation", u"svc_stats"}) {
    EXPECT_EQ(tvtest::FirstText(u"select count(*) from userconfig where name = '" + std::u16string(key) + u"'"), u"1");
    EXPECT_EQ(GetUserConfig(key), u"");
  }
  // The default weather source works out of the box, over HTTPS.
  EXPECT_EQ(GetUserConfig(u"svc_meteo"), u"https://api.open-meteo.com");
  EXPECT_EQ(GetUserConfig(u"svc_meteo_air"), u"https://air-quality-api.open-meteo.com");
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from mycity"), u"0");
  tvtest::Sql(u"insert into mycity (prov,city,addtime) values ('上海','上海','2024-01-01 00:00:00:000')");
  EXPECT_EQ(tvtest::RowsText(u"select prov || ',' || city from mycity order by addtime desc"), u"上海,上海");
  CloseDatabase();
}

namespace {

// Everything the log writer wrote into dir, as text.
std::u16string LogsIn(const std::filesystem::path& dir) {
  std::u16string text;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".log") continue;
    std::string bytes;
    if (!ReadWholeFile(entry.path().u16string(), bytes)) continue;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    }
  }
  return text;
}

size_t Count(std::u16string_view text, std::u16string_view part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::u16string_view::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string Shipped() {
  std::string bytes;
  ReadWholeFile(ProgramDirectory() + u"user.dat", bytes);
  return bytes;
}

}  // namespace

// A user.dat that is missing, not a database, cut off or without its tables: the program runs on
// without settings, says so once in the log, and leaves the file exactly as it was.
TEST(UserData, MissingOrDamagedFilesAreReportedAndNeverWritten) {
  std::string shipped = Shipped();
  ASSERT_GT(shipped.size(), 65536u) << "user.dat is built beside the programs";
  std::string tableless;
  {
    TempDir scratch;
    OpenDatabase(scratch.Dir() + u"t.dat", DbOpenMode::kCreate);
    tvtest::Sql(u"create table unrelated (x)");
    CloseDatabase();
    ASSERT_TRUE(ReadWholeFile(scratch.Dir() + u"t.dat", tableless));
  }
  struct Case {
    const char* name;
    std::string bytes;  // empty: no file at all
    std::u16string logged;
    size_t lines;  // a failed open once; failing statements once for each kind
  } cases[] = {
      {"missing", "", u"user.dat is missing", 1},
      {"random", std::string(40000, '\x5A'), u"is damaged: file is not a database", 1},
      {"cut off", shipped.substr(0, shipped.size() / 2), u"is damaged", 1},
      {"no tables", tableless, u"no such table: userconfig", 2},
  };
  ClearDataSteps();
  RegisterDataStep(DataPhase::kAfterOpen, "city", 10, [] { GetUserConfig(u"city"); });
  for (const Case& c : cases) {
    TempDir temp;
    std::u16string file = temp.Dir() + u"user.dat";
    if (!c.bytes.empty()) {
      ASSERT_TRUE(WriteWholeFile(file, c.bytes));
    }
    OpenUserDataIn(temp.Dir());
    SetUserConfig(u"北京", u"city");
    EXPECT_EQ(GetUserConfig(u"city"), u"") << c.name;
    DbStatus status = DatabaseStatus();
    EXPECT_FALSE(status.problem.empty()) << c.name;
    CloseUserData();

    std::u16string log = LogsIn(temp.Path());
    EXPECT_NE(log.find(c.logged), std::u16string::npos) << c.name << ": " << ToNarrow(log, kCodePageUtf8);
    EXPECT_EQ(Count(log, u"database: "), c.lines) << c.name << ": each failure once: " << ToNarrow(log, kCodePageUtf8);
    std::string after;
    if (c.bytes.empty()) {
      EXPECT_FALSE(FileExists(file)) << "a missing user.dat was created";
    } else {
      ASSERT_TRUE(ReadWholeFile(file, after));
      EXPECT_TRUE(after == c.bytes) << c.name << ": the file was changed";
    }
    for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
      std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "user.dat" || entry.path().extension() == ".log") << c.name << ": left " << name;
    }
  }
  ClearDataSteps();
}

// Another program holds user.dat's lock: a thread that may not wait gives up at once, even with a
// patient thread's statement ahead of it in the queue; the start-up leaves its reads for later and
// does them once the lock is gone; the lock is logged once.
TEST(UserData, ALockedFileHoldsNoImpatientThreadAndFillsInLater) {
  TempDir temp;
  ASSERT_TRUE(WriteWholeFile(temp.Dir() + u"user.dat", Shipped()));
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2((temp.Path() / "user.dat").string().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);

  std::atomic<int> loads{0};
  ClearDataSteps();
  RegisterDataStep(DataPhase::kAfterOpen, "city", 10, [&] { ++loads; });
  SetDbBusyWait(0);
  OpenUserDataIn(temp.Dir());
  EXPECT_TRUE(UserDataDeferred());
  EXPECT_EQ(loads.load(), 0) << "the start-up read through the lock";

  // A patient statement is waiting for the lock; an impatient one queued behind it ends both waits.
  DbOutcome patient = DbOutcome::kOk;
  std::atomic<bool> posting{false};
  std::thread worker([&] {
    SetDbBusyWait(600000);
    posting = true;
    patient = Exec(u"select count(*) from holiday");
  });
  while (!posting) std::this_thread::yield();
  // Only orders the two posts (the patient one first); nothing is timed.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(GetUserConfig(u"svc_forecast"), u"");
  std::optional<DbRow> impatient;
  EXPECT_EQ(QueryFirst(u"select value from userconfig where name = 'svc_forecast'", {}, impatient), DbOutcome::kBusy);
  worker.join();
  EXPECT_EQ(patient, DbOutcome::kBusy);
  EXPECT_TRUE(DatabaseStatus().busySeen);

  Event ready(true);
  CompleteDeferredUserData([&] { ready.Set(); });
  EXPECT_FALSE(ready.IsSet());
  ASSERT_EQ(sqlite3_exec(other, "commit", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  ASSERT_TRUE(ready.Wait(120000)) << "the deferred reads never ran";
  EXPECT_EQ(loads.load(), 1);
  std::optional<DbRow> lv;
  EXPECT_EQ(QueryFirst(u"select count(*) from userconfig where name = 'lv'", {}, lv), DbOutcome::kOk);
  EXPECT_EQ(lv ? lv->Int(0) : std::nullopt, 1);
  CloseUserData();
  SetDbBusyWait(kDbDefaultBusyWaitMs);
  ClearDataSteps();

  std::u16string log = LogsIn(temp.Path());
  EXPECT_EQ(Count(log, u"database: user.dat is locked by another program"), 1u) << ToNarrow(log, kCodePageUtf8);
}
