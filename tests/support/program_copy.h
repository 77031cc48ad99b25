#pragma once
// A scratch copy of the built program's folder for the program's window tests and the
// whole-program benchmarks: the program as tavrino.exe, user.dat and skin15, in a fresh temporary
// folder removed with the object (bin/'s own user.dat is never touched). Windows only.
#include <windows.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "tests/support/temp_dir.h"

namespace tvtest {

// The program copied: the test build (it answers the test hook) or the shipped one.
inline constexpr const wchar_t* kTestBuild = L"tavrino_testable.exe";
inline constexpr const wchar_t* kShipped = L"tavrino.exe";

class ProgramCopy {
 public:
  explicit ProgramCopy(std::string_view prefix, const wchar_t* program = kTestBuild) : temp_(prefix) {
    namespace fs = std::filesystem;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::path bin = fs::path(self).parent_path();
    fs::copy_file(bin / program, Dir() / "tavrino.exe");
    fs::copy_file(bin / "user.dat", Dir() / "user.dat");
    fs::copy(bin / "skin15", Dir() / "skin15", fs::copy_options::recursive);
  }
  ProgramCopy(const ProgramCopy&) = delete;
  ProgramCopy& operator=(const ProgramCopy&) = delete;

  const std::filesystem::path& Dir() const { return temp_.Path(); }

  // Starts the copy in its folder with the arguments; false when it cannot be started. The
  // caller closes pi's two handles.
  bool Start(PROCESS_INFORMATION& pi, const std::wstring& args = L"") const {
    std::wstring exe = (Dir() / "tavrino.exe").wstring();
    std::wstring command = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    pi = {};
    return CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, Dir().wstring().c_str(),
                          &si, &pi) != FALSE;
  }

  // Sets a "userconfig" value of the copied user.dat (before the program starts).
  bool SetConfig(const std::string& name, const std::string& value) const {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(UserData().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    for (const char* sql : {"delete from userconfig where name = ?1", "insert into userconfig (name,value) values (?1,?2)"}) {
      sqlite3_stmt* st = nullptr;
      ok = ok && sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK;
      if (ok) {
        sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_bind_parameter_count(st) > 1) sqlite3_bind_text(st, 2, value.c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(st) == SQLITE_DONE;
      }
      sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return ok;
  }

  // The first column of the first row of a query on the copied user.dat, "" when none.
  std::string QueryValue(const char* sql) const {
    sqlite3* db = nullptr;
    std::string value;
    if (sqlite3_open_v2(UserData().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
      sqlite3_stmt* st = nullptr;
      if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(st, 0);
        if (text) value = reinterpret_cast<const char*>(text);
      }
      sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return value;
  }

  // A file of the copy's folder, as bytes ("" when missing).
  std::string ReadFile(const char* name) const {
    std::ifstream in(Dir() / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

 private:
  // The copied user.dat's path as SQLite takes it (UTF-8).
  std::string UserData() const {
    const std::u8string path = (Dir() / "user.dat").u8string();
    return std::string(path.begin(), path.end());
  }

  TempDir temp_;
};

}  // namespace tvtest
