#pragma once
// Drives a real tavrino.exe under Windows (wine64 + Xvfb here) for the program's window tests:
// a scratch copy of bin/ (program, user.dat, skin15) per test, the program's state read through
// its test hook message (see app/README.md), real pointer moves and clicks.
#include <gtest/gtest.h>

#include <windows.h>

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/logic/month_layout.h"
#include "app/logic/placement.h"
#include "app/logic/window_messages.h"
#include "app/win32/main_window_test_hook.h"
#include "platform/win32/scoped_handle.h"
#include "tests/support/display.h"
#include "tests/support/program_copy.h"
#include "tests/support/program_state.h"
#include "tests/support/screen_input.h"
#include "tests/support/temp_dir.h"

namespace tvprog {

namespace fs = std::filesystem;

using tvtest::Narrow;
using tvtest::State;
using tvtest::StateReader;

using tvtest::MovePointer;
using tvtest::WaitFor;

namespace detail {

struct WindowSearch {
  DWORD pid;
  const wchar_t* cls;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectWindow(HWND h, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  wchar_t name[64];
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  if (owner == s->pid && GetClassNameW(h, name, 64) && std::wcscmp(name, s->cls) == 0) s->found.push_back(h);
  return TRUE;
}

inline BOOL CALLBACK AppendChildText(HWND child, LPARAM l) {
  wchar_t buffer[2048] = {};
  // The message box's text control does not always give its text by GetWindowText.
  if (SendMessageW(child, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer)) == 0) GetWindowTextW(child, buffer, 2048);
  *reinterpret_cast<std::u16string*>(l) += reinterpret_cast<const char16_t*>(buffer);
  *reinterpret_cast<std::u16string*>(l) += u"\n";
  return TRUE;
}

}  // namespace detail

// Runs a program of the X side (xdotool, import) with its arguments and waits for it, bounded;
// false when it cannot be started.
inline bool RunXProgram(const std::wstring& commandLine, DWORD waitMs = 15000) {
  std::wstring line = L"Z:\\usr\\bin\\" + commandLine;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  const ScopedHandle process(pi.hProcess), thread(pi.hThread);
  WaitForSingleObject(process.get(), waitMs);
  return true;
}

// The top-level windows of a class that belong to a process.
inline std::vector<HWND> WindowsOf(HANDLE process, const wchar_t* windowClass) {
  detail::WindowSearch search{GetProcessId(process), windowClass, {}};
  EnumWindows(&detail::CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A top-level window of the process with the class name, or nullptr.
inline HWND WindowOf(HANDLE process, const wchar_t* className) {
  std::vector<HWND> found = WindowsOf(process, className);
  return found.empty() ? nullptr : found[0];
}

// The texts of a dialog's controls.
inline std::u16string DialogText(HWND dialog) {
  std::u16string text;
  EnumChildWindows(dialog, &detail::AppendChildText, reinterpret_cast<LPARAM>(&text));
  return text;
}

// The program's log files in a folder, as text.
inline std::u16string LogText(const fs::path& dir) {
  std::u16string text;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".log") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    }
  }
  return text;
}

// A scratch copy of the program folder (the test build unless the shipped one is asked for) and the
// processes started from it, ended with it.
using tvtest::kShipped;
using tvtest::kTestBuild;

class Installation : public tvtest::ProgramCopy {
 public:
  explicit Installation(const wchar_t* program = kTestBuild) : ProgramCopy("tavrino-e2e", program) {
    // The shipped user.dat names the public default weather source: a test never reaches it.
    SetConfig("svc_meteo", "");
    SetConfig("svc_meteo_air", "");
  }
  // The processes end before the folder goes.
  ~Installation() {
    for (const ScopedHandle& p : processes_) {
      if (WaitForSingleObject(p.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(p.get(), 1);
        WaitForSingleObject(p.get(), 5000);
      }
    }
  }

  // Starts the program; its process handle (kept until the installation ends), or nullptr.
  HANDLE Start(const std::wstring& args = L"") {
    PROCESS_INFORMATION pi{};
    if (!ProgramCopy::Start(pi, args)) return nullptr;
    const ScopedHandle thread(pi.hThread);
    processes_.emplace_back(pi.hProcess);
    return pi.hProcess;
  }

  // The main window of the process, once it exists.
  static HWND WaitWindow(HANDLE process, int timeoutMs = 15000) {
    HWND found = nullptr;
    WaitFor([&] {
      found = WindowOf(process, L"TavrinoMain");
      return found != nullptr || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    }, timeoutMs);
    return found;
  }

  static int WaitExit(HANDLE process, int timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
  }

 private:
  std::vector<ScopedHandle> processes_;
};

// Port of the local service stand-in that the CTest fixture started beside the test; 0 when none.
inline int DevServicePort() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::ifstream in(fs::path(self).parent_path() / "wx_devservice.port");
  int port = 0;
  in >> port;
  return port;
}

inline SYSTEMTIME Today() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t;
}


// A real mouse click at a point of the screen.
inline void ClickAt(POINT p) {
  SetCursorPos(p.x, p.y);
  Sleep(60);
  tvtest::SendClicks(p);
  Sleep(150);
}

// A real mouse click at a point of a window (client coordinates of a frameless window).
inline void ClickInWindow(HWND hwnd, int x, int y) {
  RECT rc;
  GetWindowRect(hwnd, &rc);
  ClickAt({rc.left + x, rc.top + y});
}

// The current user's autostart entry "tavrino", empty when absent.
inline constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline std::wstring RunValue() {
  wchar_t value[2048] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"tavrino", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return {};
  return value;
}
// Deletes the entry; the Run key itself is made when missing (the program never creates it).
inline void ClearRunValue() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    RegDeleteValueW(key, L"tavrino");
    RegCloseKey(key);
  }
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display (set DISPLAY, e.g. with tools/xvfb.sh)");
    if (FindWindowW(L"TavrinoMain", nullptr)) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("another tavrino.exe is running on this desktop");
    install_ = std::make_unique<Installation>();
    // Confirmed today: the periodic autostart prompt stays away unless a case asks for it.
    SYSTEMTIME now = Today();
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "%04d-%02d-%02d 00:00:00:000", now.wYear, now.wMonth, now.wDay);
    ASSERT_TRUE(install_->SetConfig("lastconfirm", stamp));
    ClearRunValue();  // autostart off
  }
  void TearDown() override {
    if (process_ && hwnd_ && IsWindow(hwnd_)) {
      Press(u"closebtn");
      Installation::WaitExit(process_, 10000);
    }
    install_.reset();
    ClearRunValue();
  }

  // Starts the program and waits for its window (and, unless hidden, for it to be shown).
  void Launch(const std::wstring& args = L"", bool expectVisible = true) {
    process_ = install_->Start(args);
    ASSERT_NE(process_, nullptr);
    hwnd_ = Installation::WaitWindow(process_);
    ASSERT_NE(hwnd_, nullptr) << "no main window";
    if (expectVisible) {
      ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(hwnd_) != FALSE; }, 10000));
    }
    ASSERT_TRUE(WaitFor([&] { return Read().Int(u"started") == 1; }, 10000)) << "the program does not finish its start";
  }
  State Read() { return reader_.Read(hwnd_); }
  LRESULT Click(WPARAM command, LPARAM arg) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd_, StateReader::Hook(), command, arg, SMTO_NORMAL, 10000, &result)) {
      ADD_FAILURE() << "test hook command " << command << "(" << arg << ") not delivered: error " << GetLastError()
                    << ", window " << (IsWindow(hwnd_) ? "exists" : "gone");
    }
    return static_cast<LRESULT>(result);
  }
  // A real mouse click at a point of the window's client area.
  void RealClick(int x, int y) { ClickInWindow(hwnd_, x, y); }
  // Waits until the shown month (year, month, today, selected) is the expected one.
  ::testing::AssertionResult ShowsMonth(int year, int month, int todayDay, int selectedDay) {
    State s = Read();
    WaitFor([&] {
      s = Read();
      return s.Field(u"shown", 0) == year && s.Field(u"shown", 1) == month;
    }, 3000);
    if (s.Field(u"shown", 0) != year || s.Field(u"shown", 1) != month || s.Field(u"shown", 2) != todayDay ||
        s.Field(u"shown", 3) != selectedDay) {
      return ::testing::AssertionFailure() << "shown " << s[u"shown"] << ", expected " << year << "," << month
                                           << "," << todayDay << "," << selectedDay;
    }
    int rows = ShapeOfMonth(year, month).rows;
    if (s.Int(u"rows") != rows || s.Int(u"cells") != rows * 7) {
      return ::testing::AssertionFailure() << "rows " << s[u"rows"] << " cells " << s[u"cells"];
    }
    if (s.Field(u"selectors", 0) != year - 1950 || s.Field(u"selectors", 1) != month - 1) {
      return ::testing::AssertionFailure() << "selectors " << s[u"selectors"];
    }
    return ::testing::AssertionSuccess();
  }

  // Points the copy's weather sources at the local stand-in service that the CTest fixture started
  // and gives its address ("http://127.0.0.1:port"); "" when it is not running.
  std::string WeatherFromDevService() {
    const int port = DevServicePort();
    if (port == 0) return {};
    const std::string root = "http://127.0.0.1:" + std::to_string(port);
    EXPECT_TRUE(install_->SetConfig("svc_forecast", root + "/_/daytime"));
    EXPECT_TRUE(install_->SetConfig("svc_weather2", root));
    EXPECT_TRUE(install_->SetConfig("svc_air", root));
    return root;
  }
  // A "click" of a button of the test hook's list (kTestHookButtons), by its name in the skin.
  LRESULT Press(std::u16string_view name) {
    for (size_t i = 0; i < std::size(app::kTestHookButtons); ++i) {
      if (name == app::kTestHookButtons[i]) return Click(app::kHookClick, static_cast<LPARAM>(i));
    }
    ADD_FAILURE() << "no button " << Narrow(std::u16string(name)) << " in the test hook's list";
    return 0;
  }
  // A real mouse click on the middle of a control of the main window, found by its name in the
  // copy's DlgMain.xml: a floating control whose "pos" counts from the window's corner.
  void RealClickOn(std::u16string_view name) {
    const tvui::Rect r = SkinPos(name);
    ASSERT_FALSE(r.IsEmpty()) << "no floating control " << Narrow(std::u16string(name)) << " in DlgMain.xml";
    RealClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  // The "pos" of a control of DlgMain.xml by its name (empty when it has none).
  tvui::Rect SkinPos(std::u16string_view name) const {
    const std::string xml = install_->ReadFile("skin15/DlgMain.xml");
    const size_t at = xml.find("name=\"" + Narrow(std::u16string(name)) + "\"");
    if (at == std::string::npos) return {};
    const size_t end = xml.find('>', at);
    const size_t pos = xml.find("pos=\"", at);
    tvui::Rect r;
    if (pos == std::string::npos || pos > end ||
        std::sscanf(xml.c_str() + pos + 5, "%d,%d,%d,%d", &r.left, &r.top, &r.right, &r.bottom) != 4) {
      return {};
    }
    return r;
  }
  // Sets the program's local clock to `at` (local time; it runs on from there) through the test
  // hook, for a case whose outcome hangs on the date; the window follows to that day's month.
  void PinClock(const SYSTEMTIME& at) {
    auto seconds = [](const SYSTEMTIME& t) {
      FILETIME f{};
      SystemTimeToFileTime(&t, &f);
      return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32 | f.dwLowDateTime) /
                                    10000000ULL);
    };
    ASSERT_EQ(Click(app::kHookClock, static_cast<LPARAM>(seconds(at) - seconds(Today()))), 1);
    ASSERT_TRUE(ShowsMonth(at.wYear, at.wMonth, at.wDay, 0)) << "the window did not follow the moved clock";
  }

  StateReader reader_;
  std::unique_ptr<Installation> install_;
  HANDLE process_ = nullptr;
  HWND hwnd_ = nullptr;
};

}  // namespace tvprog
