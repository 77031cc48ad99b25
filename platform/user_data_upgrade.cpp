#include "platform/user_data_upgrade.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/clock.h"
#include "platform/sqlite_pragma.h"
#include "platform/text_codec.h"

namespace fs = std::filesystem;

namespace {

// The user's rows, carried in one transaction. Deployment settings come from the release.
constexpr const char* kCarryRows =
    "BEGIN IMMEDIATE;"
    "INSERT OR REPLACE INTO main.userconfig (name,value) SELECT name,value FROM old.userconfig"
    " WHERE name NOT LIKE 'svc\\_%' ESCAPE '\\' AND name NOT IN ('contact_account','web_site');"
    "DELETE FROM main.mycity;"
    "INSERT INTO main.mycity (prov,city,addtime) SELECT prov,city,addtime FROM old.mycity;";
// The reminders, when the old file has them (files from before reminders have not). A new file
// without the table makes the carry fail, which leaves everything as it was.
constexpr const char* kCarryReminders =
    "DELETE FROM main.reminders;"
    "INSERT INTO main.reminders (id,title,rule,time,notice,created,lastshown)"
    " SELECT id,title,rule,time,notice,created,lastshown FROM old.reminders;";

bool OldHasReminders(sqlite3* db) {
  sqlite3_stmt* stmt = nullptr;
  bool found = false;
  if (sqlite3_prepare_v2(db, "SELECT 1 FROM old.sqlite_master WHERE type='table' AND name='reminders'", -1,
                         &stmt, nullptr) == SQLITE_OK)
    found = sqlite3_step(stmt) == SQLITE_ROW;
  sqlite3_finalize(stmt);
  return found;
}

std::u16string Utf16(const char* text) { return Utf8ToWide(text ? text : ""); }

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::u16string Describe(const std::u16string& step, const std::error_code& error) {
  return step + u": " + Utf16(error.message().c_str());
}

// Carries the old file's rows into target (a copy of the new file). Empty on success.
std::u16string CarryRows(const fs::path& target, const fs::path& old) {
  sqlite3* db = nullptr;
  std::u16string failure;
  // Neither file is ever created here: a missing one is a failure.
  if (sqlite3_open_v2(Utf8(target).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    failure = u"cannot open the new data: " + Utf16(sqlite3_errmsg(db));
  } else {
    std::string attach = "ATTACH DATABASE '";
    for (char c : Utf8(old)) {
      attach += c;
      if (c == '\'') attach += '\'';
    }
    attach += "' AS old;";
    char* error = nullptr;
    bool attached = sqlite3_exec(db, attach.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
    const std::string carry = std::string(kCarryRows) + (attached && OldHasReminders(db) ? kCarryReminders : "") + "COMMIT;";
    if (!attached || sqlite3_exec(db, carry.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      failure = u"cannot carry the user's settings over: " + Utf16(error);
      sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
    }
    sqlite3_free(error);
  }
  sqlite3_close(db);
  return failure;
}

// "user.dat.damaged-YYYYMMDD-HHMMSS", with "-2", "-3", ... when that name is taken.
fs::path DamagedName(const fs::path& dir) {
  const SystemTime now = LocalNow();
  char stamp[32];
  std::snprintf(stamp, sizeof(stamp), "%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  const std::u16string base = u"user.dat.damaged-" + Utf8ToWide(stamp);
  std::error_code error;
  fs::path name = dir / base;
  for (int n = 2; fs::exists(name, error); ++n) name = dir / (base + u"-" + Utf8ToWide(std::to_string(n)));
  return name;
}

// Keeps the damaged user.dat aside and puts replacement in its place: moved when it is the pending
// new file, copied (through the work file, so user.dat is never half written) when it is the
// shipped copy. On failure the damaged file is back as user.dat.
UserDataUpgrade ReplaceDamaged(const fs::path& dir, const std::u16string& damage, const fs::path& replacement,
                               bool move, std::u16string& message) {
  const fs::path current = dir / u"user.dat";
  const fs::path work = dir / u"user.dat.upgrade";
  const fs::path aside = DamagedName(dir);
  std::error_code error;
  if (!move) {
    fs::remove(work, error);
    fs::copy_file(replacement, work, fs::copy_options::overwrite_existing, error);
    if (error) {
      message = Describe(u"user.dat cannot be read (" + damage + u") and " + replacement.filename().u16string() +
                             u" cannot be copied",
                         error);
      fs::remove(work, error);
      return UserDataUpgrade::kFailed;
    }
  }
  fs::rename(current, aside, error);
  if (error) {
    message = Describe(u"user.dat cannot be read (" + damage + u") nor set aside", error);
    fs::remove(work, error);
    return UserDataUpgrade::kFailed;
  }
  fs::rename(move ? replacement : work, current, error);
  if (error) {
    message = Describe(u"user.dat cannot be read (" + damage + u"); its replacement cannot take its place", error);
    std::error_code back;
    fs::rename(aside, current, back);
    fs::remove(work, back);
    return UserDataUpgrade::kFailed;
  }
  message = u"user.dat cannot be read (" + damage + u"): kept as " + aside.filename().u16string() + u"; " +
            replacement.filename().u16string() + (move ? u" taken as it is" : u" copied in its place");
  return UserDataUpgrade::kReplacedDamaged;
}

}  // namespace

std::u16string UserDataDamage(std::u16string_view path) {
  const fs::path file{std::u16string(path)};
  sqlite3* db = nullptr;
  std::u16string damage;
  int rc = sqlite3_open_v2(Utf8(file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
  const int primary = rc & 0xff;
  if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) {
    damage = Utf16(sqlite3_errmsg(db));
  } else if (rc == SQLITE_OK) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    const int64_t pages = PragmaValue(db, "pragma page_count"), pageSize = PragmaValue(db, "pragma page_size");
    if (!error && pages > 0 && pageSize > 0 && static_cast<int64_t>(size) < pages * pageSize) {
      damage = u"cut off: shorter than its header says";
    }
  }
  sqlite3_close(db);
  return damage;
}

UserDataUpgrade ApplyPendingUserDataUpgrade(std::u16string_view directory, std::u16string& message) {
  message.clear();
  const fs::path dir{std::u16string(directory)};
  const fs::path current = dir / u"user.dat";
  const fs::path pending = dir / u"user.dat.new";
  const fs::path work = dir / u"user.dat.upgrade";
  std::error_code error;

  const bool upgrade = fs::exists(pending, error);
  const std::u16string damage = fs::exists(current, error) ? UserDataDamage(current.u16string()) : u"";
  if (!damage.empty()) {
    if (upgrade) return ReplaceDamaged(dir, damage, pending, true, message);
    const fs::path shipped = dir / kShippedUserData;
    if (fs::exists(shipped, error)) return ReplaceDamaged(dir, damage, shipped, false, message);
  }
  if (!upgrade) return UserDataUpgrade::kNothingPending;
  if (!fs::exists(current, error)) {
    fs::rename(pending, current, error);
    if (error) {
      message = Describe(u"cannot install user.dat.new as user.dat", error);
      return UserDataUpgrade::kFailed;
    }
    return UserDataUpgrade::kInstalled;
  }

  fs::remove(work, error);  // a copy left by an interrupted run
  fs::copy_file(pending, work, fs::copy_options::overwrite_existing, error);
  if (error) {
    message = Describe(u"cannot copy user.dat.new", error);
    fs::remove(work, error);
    return UserDataUpgrade::kFailed;
  }
  message = CarryRows(work, current);
  if (!message.empty()) {
    fs::remove(work, error);
    return UserDataUpgrade::kFailed;
  }
  fs::rename(work, current, error);  // one step: user.dat is the old file or the finished one
  if (error) {
    message = Describe(u"cannot replace user.dat", error);
    fs::remove(work, error);
    return UserDataUpgrade::kFailed;
  }
  fs::remove(pending, error);
  if (error) message = Describe(u"user.dat was upgraded but user.dat.new stays", error);
  return UserDataUpgrade::kCarriedOver;
}
