#include "platform/user_data_upgrade.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

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

}  // namespace

UserDataUpgrade ApplyPendingUserDataUpgrade(std::u16string_view directory, std::u16string& message) {
  message.clear();
  const fs::path dir{std::u16string(directory)};
  const fs::path current = dir / u"user.dat";
  const fs::path pending = dir / u"user.dat.new";
  const fs::path work = dir / u"user.dat.upgrade";
  std::error_code error;

  if (!fs::exists(pending, error)) return UserDataUpgrade::kNothingPending;
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
