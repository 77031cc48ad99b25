#pragma once
// What the probes of this folder share: a scratch copy of the built program's folder (user.dat in
// bin/ is never touched), starting the copy, finding its visible main window and reading the main
// window's state through the program's test hook.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "app/win32/test_hook_reader.h"

namespace probe {

namespace fs = std::filesystem;

// A copy of the test build tavrino_testable.exe (it answers the test hook) as tavrino.exe, with
// user.dat and skin15, from the probe's own folder; removed with the object.
class ProgramCopy {
 public:
  explicit ProgramCopy(const char* prefix) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::path bin = fs::path(self).parent_path();
    dir_ = fs::temp_directory_path() / (prefix + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
    fs::copy_file(bin / "tavrino_testable.exe", dir_ / "tavrino.exe");
    fs::copy_file(bin / "user.dat", dir_ / "user.dat");
    fs::copy(bin / "skin15", dir_ / "skin15", fs::copy_options::recursive);
  }
  ~ProgramCopy() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  ProgramCopy(const ProgramCopy&) = delete;
  ProgramCopy& operator=(const ProgramCopy&) = delete;
  const fs::path& Dir() const { return dir_; }

  // Starts the copy in its folder; false when it cannot be started.
  bool Start(PROCESS_INFORMATION& pi) const {
    std::wstring exe = (dir_ / "tavrino.exe").wstring();
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    pi = {};
    return CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.wstring().c_str(),
                          &si, &pi) != FALSE;
  }

 private:
  fs::path dir_;
};

// The main window once it is visible, or nullptr after about ten seconds.
inline HWND WaitForVisibleMainWindow() {
  for (int i = 0; i < 5000; ++i) {
    HWND h = FindWindowW(L"TavrinoMain", nullptr);
    if (h && IsWindowVisible(h)) return h;
    Sleep(2);
  }
  return nullptr;
}

// The main window's state read through the program's test hook, with its numbers picked out.
class StateReader {
 public:
  // Asks the main window for its state; the text ("" when it did not answer).
  const std::u16string& Read(HWND main) { return hook_.Read(main); }
  const std::u16string& Last() const { return hook_.Last(); }

  // The number after "key=" in the last state read, or -1.
  long long Value(const char16_t* key) const {
    const std::u16string& state = hook_.Last();
    std::u16string k = std::u16string(key) + u"=";
    size_t at = state.find(u"\n" + k);
    if (at == std::u16string::npos) {
      if (state.rfind(k, 0) != 0) return -1;
      at = 0;
    } else {
      at += 1;
    }
    std::string digits;
    for (size_t i = at + k.size(); i < state.size() && (state[i] == u'-' || (state[i] >= u'0' && state[i] <= u'9')); ++i)
      digits += static_cast<char>(state[i]);
    return digits.empty() ? -1 : std::atoll(digits.c_str());
  }

  static UINT HookMessage() { return app::TestHookReader::HookMessage(); }

 private:
  app::TestHookReader hook_;
};

}  // namespace probe
