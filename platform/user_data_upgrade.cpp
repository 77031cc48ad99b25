#include "platform/user_data_upgrade.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "platform/file_utils.h"
#include "platform/sqlite_pragma.h"
#include "platform/text_codec.h"

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

std::string Utf8(const std::u16string& path) { return WideToUtf8(path); }

std::u16string Describe(const std::u16string& step, const std::u16string& reason) { return step + u": " + reason; }

// A file of the folder (either separator may end it).
std::u16string InFolder(const std::u16string& dir, std::u16string_view name) {
  std::u16string path = dir;
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'/';
  return path.append(name);
}

std::u16string NameOf(const std::u16string& path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == path.npos ? path : path.substr(slash + 1);
}

// Carries the old file's rows into target (a copy of the new file). Empty on success.
std::u16string CarryRows(const std::u16string& target, const std::u16string& old) {
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
std::u16string DamagedName(const std::u16string& dir) {
  const SystemTime now = LocalNow();
  char stamp[32];
  std::snprintf(stamp, sizeof(stamp), "%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  const std::u16string base = u"user.dat.damaged-" + Utf8ToWide(stamp);
  std::u16string name = InFolder(dir, base);
  for (int n = 2; FileExists(name); ++n) name = InFolder(dir, base + u"-" + Utf8ToWide(std::to_string(n)));
  return name;
}

// Keeps the damaged user.dat aside and puts replacement in its place: moved when it is the pending
// new file, copied (through the work file, so user.dat is never half written) when it is the
// shipped copy. On failure the damaged file is back as user.dat.
UserDataUpgrade ReplaceDamaged(const std::u16string& dir, const std::u16string& damage,
                               const std::u16string& replacement, bool move, std::u16string& message) {
  const std::u16string current = InFolder(dir, u"user.dat");
  const std::u16string work = InFolder(dir, u"user.dat.upgrade");
  const std::u16string aside = DamagedName(dir);
  std::u16string reason;
  if (!move) {
    RemoveFile(work);
    if (!CopyFileReplacing(replacement, work, &reason)) {
      message = Describe(u"user.dat cannot be read (" + damage + u") and " + NameOf(replacement) +
                             u" cannot be copied",
                         reason);
      RemoveFile(work);
      return UserDataUpgrade::kFailed;
    }
  }
  if (!MoveFileReplacing(current, aside, &reason)) {
    message = Describe(u"user.dat cannot be read (" + damage + u") nor set aside", reason);
    RemoveFile(work);
    return UserDataUpgrade::kFailed;
  }
  if (!MoveFileReplacing(move ? replacement : work, current, &reason)) {
    message = Describe(u"user.dat cannot be read (" + damage + u"); its replacement cannot take its place", reason);
    MoveFileReplacing(aside, current);
    RemoveFile(work);
    return UserDataUpgrade::kFailed;
  }
  message = u"user.dat cannot be read (" + damage + u"): kept as " + NameOf(aside) + u"; " + NameOf(replacement) +
            (move ? u" taken as it is" : u" copied in its place");
  return UserDataUpgrade::kReplacedDamaged;
}

}  // namespace

std::u16string UserDataDamage(std::u16string_view path) {
  const std::u16string file{path};
  sqlite3* db = nullptr;
  std::u16string damage;
  int rc = sqlite3_open_v2(Utf8(file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
  const int primary = rc & 0xff;
  if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) {
    damage = Utf16(sqlite3_errmsg(db));
  } else if (rc == SQLITE_OK) {
    const long long size = FileSize(file);
    const int64_t pages = PragmaValue(db, "pragma page_count"), pageSize = PragmaValue(db, "pragma page_size");
    if (size >= 0 && pages > 0 && pageSize > 0 && static_cast<int64_t>(size) < pages * pageSize) {
      damage = u"cut off: shorter than its header says";
    }
  }
  sqlite3_close(db);
  return damage;
}

UserDataUpgrade ApplyPendingUserDataUpgrade(std::u16string_view directory, std::u16string& message) {
  message.clear();
  const std::u16string dir{directory};
  const std::u16string current = InFolder(dir, u"user.dat");
  const std::u16string pending = InFolder(dir, u"user.dat.new");
  const std::u16string work = InFolder(dir, u"user.dat.upgrade");
  std::u16string reason;

  const bool upgrade = FileExists(pending);
  const std::u16string damage = FileExists(current) ? UserDataDamage(current) : u"";
  if (!damage.empty()) {
    if (upgrade) return ReplaceDamaged(dir, damage, pending, true, message);
    const std::u16string shipped = InFolder(dir, kShippedUserData);
    if (FileExists(shipped)) return ReplaceDamaged(dir, damage, shipped, false, message);
  }
  if (!upgrade) return UserDataUpgrade::kNothingPending;
  if (!FileExists(current)) {
    if (!MoveFileReplacing(pending, current, &reason)) {
      message = Describe(u"cannot install user.dat.new as user.dat", reason);
      return UserDataUpgrade::kFailed;
    }
    return UserDataUpgrade::kInstalled;
  }

  RemoveFile(work);  // a copy left by an interrupted run
  if (!CopyFileReplacing(pending, work, &reason)) {
    message = Describe(u"cannot copy user.dat.new", reason);
    RemoveFile(work);
    return UserDataUpgrade::kFailed;
  }
  message = CarryRows(work, current);
  if (!message.empty()) {
    RemoveFile(work);
    return UserDataUpgrade::kFailed;
  }
  if (!MoveFileReplacing(work, current, &reason)) {  // one step: user.dat is the old file or the finished one
    message = Describe(u"cannot replace user.dat", reason);
    RemoveFile(work);
    return UserDataUpgrade::kFailed;
  }
  if (!RemoveFile(pending, &reason)) message = Describe(u"user.dat was upgraded but user.dat.new stays", reason);
  return UserDataUpgrade::kCarriedOver;
}
