// tavrino.exe (64-bit: it hooks the clock itself) against the stand-in shell, with real clicks:
// the clock toggles the calendar, a second start shows it, closing gives the clock back, a quick
// restart and a taskbar restart take it again.
#include <gtest/gtest.h>

#include <windows.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/logic/window_messages.h"
#include "tests/shellhook/shell11_fixture.h"
#include "tests/shellhook/shell_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/display.h"

namespace fs = std::filesystem;
using tvtest::StandInShell;
using tvtest::WaitUntil;

namespace {

// The program's folder, copied: program, hook library, data and skins.
class ProgramCopy {
 public:
  ProgramCopy() : dir_(scratch_.Path()) {
    fs::path bin = tvtest::BinDir();
    for (const char* file : {"tavrino.exe", "tvrshell64.dll", "user.dat"}) fs::copy_file(bin / file, dir_ / file);
    fs::copy(bin / "skin15", dir_ / "skin15", fs::copy_options::recursive);
  }
  ~ProgramCopy() { End(); }  // before the folder goes
  // Starts the program; its window once it exists (null if it ended first).
  HWND Start(const std::wstring& args = L"") {
    HANDLE process = tvtest::StartProcess(dir_ / "tavrino.exe", args);
    if (!process) return nullptr;
    processes_.push_back(process);
    HWND window = nullptr;
    WaitUntil([&] {
      window = tvtest::WindowOf(process, L"TavrinoMain");
      return window || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    }, 20000);
    if (window) running_ = process;
    return window;
  }
  // Exit code of the last process started (or of the running program), -1 when it is still
  // running after timeoutMs.
  int WaitExit(int timeoutMs, bool program = false) const {
    HANDLE process = program ? running_ : processes_.back();
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
  }
  void End() {
    for (HANDLE& p : processes_) tvtest::EndProcess(p);
    processes_.clear();
  }
  // Stores the settings switch "clock_click" in the copy's user.dat, as the settings window does.
  bool SetClockSwitch(bool on) const {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2((dir_ / "user.dat").string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    if (ok) sqlite3_busy_timeout(db, 5000);
    ok = ok && sqlite3_exec(db, on ? "delete from userconfig where name = 'clock_click'"
                                   : "delete from userconfig where name = 'clock_click';"
                                     "insert into userconfig (name,value) values ('clock_click','false')",
                            nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
  }
  std::string Read(const char* name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

 private:
  tvtest::TempDir scratch_{"tavrino-clock"};
  fs::path dir_;
  std::vector<HANDLE> processes_;
  HANDLE running_ = nullptr;  // the one that made a window
};

class ClockProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display (set DISPLAY, e.g. with tools/xvfb.sh)");
    ASSERT_TRUE(WaitUntil([] { return !FindWindowW(L"TavrinoMain", nullptr) && !tvtest::FindClock(); }))
        << "another tavrino.exe or taskbar is on this desktop";
    ASSERT_TRUE(shell_.Start());
  }
  // Closes the program as its quit command does; true when it ended with 0.
  bool Quit(HWND window) {
    PostMessageW(window, WM_COMMAND, app::kCommandQuit, 0);
    return program_.WaitExit(15000, true) == 0;
  }
  bool Visible(HWND window, bool want) {
    return WaitUntil([&] { return (IsWindowVisible(window) != FALSE) == want; }, 5000);
  }

  StandInShell shell_;
  ProgramCopy program_;
};

TEST_F(ClockProgramTest, ClickingTheClockTogglesTheCalendarAndClosingGivesTheClockBack) {
  HWND window = program_.Start();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Visible(window, true));
  ASSERT_TRUE(shell_.WaitSubclassed(true)) << "the program did not take the clock";
  EXPECT_EQ(shell_.HitTest(), HTCAPTION);
  // Held by this test, the event outlives the program: it must be set when the program ends.
  HANDLE unhooked = OpenEventW(SYNCHRONIZE, FALSE, tvtest::W(ipc::kUnhookEvent));
  ASSERT_TRUE(WaitUntil([&] { return (unhooked = unhooked ? unhooked : OpenEventW(SYNCHRONIZE, FALSE,
                                          tvtest::W(ipc::kUnhookEvent))) != nullptr; }));

  // Left clicks: hidden, then shown again (toggles closer than 200 ms count once).
  shell_.ClearReceived();
  tvtest::RealClick(shell_.ClockCentre());
  EXPECT_TRUE(Visible(window, false)) << "the first click did not hide the calendar";
  Sleep(300);
  tvtest::RealClick(shell_.ClockCentre());
  EXPECT_TRUE(Visible(window, true)) << "the second click did not show it";
  // A right click asks for the tray menu (usage event 10004, found in ubd.dat at exit).
  Sleep(300);
  tvtest::RealClick(shell_.ClockCentre(), true);
  Sleep(300);
  EXPECT_TRUE(IsWindowVisible(window)) << "a right click does not toggle";
  EXPECT_EQ(shell_.ClicksReceived(), 0) << "the shell's own clock saw a click";

  // A second start brings the hidden calendar forward and ends with 0.
  PostMessageW(window, app::UM_TOGGLE_MAIN, 0, 0);
  ASSERT_TRUE(Visible(window, false));
  HWND second = program_.Start();
  EXPECT_EQ(second, nullptr) << "the second start made a window";
  EXPECT_EQ(program_.WaitExit(15000), 0);
  EXPECT_TRUE(Visible(window, true)) << "the second start did not show the first";

  // Closing: the clock gets its own procedure back and the unhook event is set.
  ASSERT_TRUE(Quit(window));
  EXPECT_FALSE(shell_.Subclassed());
  EXPECT_EQ(WaitForSingleObject(unhooked, 0), WAIT_OBJECT_0);
  CloseHandle(unhooked);
  EXPECT_NE(program_.Read("ubd.dat").find("\r\n10004,"), std::string::npos) << program_.Read("ubd.dat");
  shell_.ClearReceived();
  tvtest::RealClick(shell_.ClockCentre());
  EXPECT_TRUE(WaitUntil([&] { return shell_.ClicksReceived() > 0; })) << "clicks still swallowed after exit";

  // Started again at once: the library's copy still mapped in the shell takes the clock again.
  window = program_.Start(L"-noshow");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(shell_.WaitSubclassed(true)) << "a quick restart left the clock to the shell";
  tvtest::RealClick(shell_.ClockCentre());
  EXPECT_TRUE(Visible(window, true)) << "a click after the restart did not show the calendar";
  ASSERT_TRUE(Quit(window));
  EXPECT_FALSE(shell_.Subclassed());
}

TEST_F(ClockProgramTest, ATaskbarRestartIsHookedAgainOnce) {
  HWND window = program_.Start(L"-noshow");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(shell_.WaitSubclassed(true));

  // The shell ends and a new one comes up, then tells every window that the taskbar is back.
  shell_.End();
  ASSERT_TRUE(shell_.Start());
  EXPECT_FALSE(shell_.Subclassed());
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_TRUE(shell_.WaitSubclassed(true)) << "the new taskbar's clock was not taken";
  tvtest::RealClick(shell_.ClockCentre());
  EXPECT_TRUE(Visible(window, true));

  // One hook: after the program ends nothing takes the clock again.
  ASSERT_TRUE(Quit(window));
  EXPECT_FALSE(shell_.Subclassed());
  shell_.Disturb();
  shell_.Disturb();
  EXPECT_FALSE(shell_.Subclassed()) << "a hook outlived the program";
}

TEST_F(ClockProgramTest, AKilledProgramLeavesTheClockWorking) {
  HWND window = program_.Start(L"-noshow");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(shell_.WaitSubclassed(true));
  program_.End();  // killed, as "End task" does
  shell_.ClearReceived();
  for (int i = 0; i < 3; ++i) {
    tvtest::RealClick(shell_.ClockCentre());
    Sleep(100);
  }
  auto presses = [&] { return shell_.Received(WM_LBUTTONDOWN) + shell_.Received(WM_LBUTTONDBLCLK); };
  EXPECT_TRUE(WaitUntil([&] { return presses() == 3; })) << presses() << " of 3 clicks reached the clock";
  EXPECT_FALSE(shell_.Subclassed());
}

// The program on a Windows 11-style taskbar (no clock window): the tray-buttons road.
class ClockProgram11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display (set DISPLAY, e.g. with tools/xvfb.sh)");
    ASSERT_TRUE(WaitUntil([] { return !FindWindowW(L"TavrinoMain", nullptr) && !tvtest::FindClock(); }))
        << "another tavrino.exe or taskbar is on this desktop";
  }
  bool Visible(HWND window, bool want) {
    return WaitUntil([&] { return (IsWindowVisible(window) != FALSE) == want; }, 5000);
  }
  // Waits until the program's locator has read every taskbar (its passes end with MSAA's locations).
  bool Located(int taskbars) {
    bool read = WaitUntil([&] {
      for (int i = 0; i < taskbars; ++i) {
        if (shell_.LocationQueries(i) <= 0) return false;
      }
      return true;
    }, 15000);
    Sleep(300);  // published right after the last location
    return read;
  }
  // A click on a clock, once the last toggle is older than the program's 200 ms guard.
  void ClickClock(int which) {
    Sleep(300);
    tvtest::RealClick(shell_.Centre(standin11::kClock, which));
  }

  tvtest::StandInShell11 shell_;
  ProgramCopy program_;
};

TEST_F(ClockProgram11Test, TheClockTogglesTheCalendarBesideTheClickedTaskbar) {
  ASSERT_TRUE(shell_.Start(L"--second"));
  HWND window = program_.Start();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(Visible(window, true));
  ASSERT_TRUE(Located(2)) << "the program did not look at the taskbars";
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);

  // The bottom taskbar's clock: hidden, shown again above that taskbar, inside the screen.
  ClickClock(0);
  EXPECT_TRUE(Visible(window, false)) << "a click on the clock did not hide the calendar";
  ClickClock(0);
  ASSERT_TRUE(Visible(window, true)) << "a click on the clock did not show the calendar";
  RECT rc{};
  GetWindowRect(window, &rc);
  EXPECT_EQ(rc.right, width);
  EXPECT_EQ(rc.bottom, height - standin11::kTaskbarHeight) << "not beside the bottom taskbar";

  // The second taskbar's clock, along the top: below that taskbar.
  ClickClock(1);
  EXPECT_TRUE(Visible(window, false));
  ClickClock(1);
  ASSERT_TRUE(Visible(window, true));
  GetWindowRect(window, &rc);
  EXPECT_EQ(rc.top, standin11::kTaskbarHeight) << "not beside the clicked (top) taskbar";
  EXPECT_EQ(rc.right, width);
  EXPECT_EQ(shell_.Clicks(standin11::kClock, false, 0) + shell_.Clicks(standin11::kClock, false, 1), 0)
      << "a taken click reached a clock";

  // Ctrl+click and the bell stay the system's; the calendar stays as it is.
  Sleep(300);
  tvtest::RealCtrlClick(shell_.Centre(standin11::kClock));
  tvtest::RealClick(shell_.Centre(standin11::kBell));
  EXPECT_TRUE(WaitUntil([&] { return shell_.Clicks(standin11::kClock) == 1 && shell_.Clicks(standin11::kBell) == 1; }));
  EXPECT_TRUE(IsWindowVisible(window));

  // The settings switch, turned off and on again while the program runs: meanwhile every click is
  // the clock's, then the clock is taken again.
  auto applySwitch = [&](bool on) {
    DWORD_PTR ignored = 0;
    return program_.SetClockSwitch(on) &&
           SendMessageTimeoutW(window, app::UM_CLOCK_SWITCH, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
  };
  ASSERT_TRUE(applySwitch(false));
  shell_.ClearClicks(0);
  shell_.ClearClicks(1);
  for (int which : {0, 1}) {
    ClickClock(which);
    EXPECT_TRUE(WaitUntil([&] { return shell_.Clicks(standin11::kClock, false, which) == 1; }))
        << "the switch is off, taskbar " << which << "'s clock click was taken";
  }
  EXPECT_TRUE(IsWindowVisible(window)) << "a click toggled the calendar with the switch off";
  const int looked = shell_.LocationQueries(0);
  ASSERT_TRUE(applySwitch(true));
  ASSERT_TRUE(WaitUntil([&] { return shell_.LocationQueries(0) > looked; }, 15000)) << "the switch is on, no new look";
  Sleep(300);  // published right after the last location
  shell_.ClearClicks(0);
  ClickClock(0);
  EXPECT_TRUE(Visible(window, false)) << "the switch is on again, the clock was not taken";
  EXPECT_EQ(shell_.Clicks(standin11::kClock), 0);

  // The shell restarts and announces its taskbar: the new clock is taken.
  shell_.End();
  ASSERT_TRUE(shell_.Start(L"--announce"));
  ASSERT_TRUE(Located(1)) << "the restarted taskbar was not read";
  ClickClock(0);
  EXPECT_TRUE(Visible(window, false)) << "the restarted taskbar's clock was not taken";
  EXPECT_EQ(shell_.Clicks(standin11::kClock), 0);

  // Closed: every click is the system's again.
  PostMessageW(window, WM_COMMAND, app::kCommandQuit, 0);
  EXPECT_EQ(program_.WaitExit(15000, true), 0);
  ClickClock(0);
  EXPECT_TRUE(WaitUntil([&] { return shell_.Clicks(standin11::kClock) == 1; })) << "clicks still taken after exit";
}

}  // namespace
