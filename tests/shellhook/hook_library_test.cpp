// The hook library ("tvrshell64.dll") against the stand-in shell: this test program plays the
// caller's part (the program or the companion) and holds the events the library sets.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <random>

#include "tests/shellhook/shell_fixture.h"
#include "tests/support/display.h"

namespace fs = std::filesystem;
using tvtest::StandInShell;
using tvtest::W;

namespace {

using HookCall = void (*)(int);

class HookLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display (set DISPLAY, e.g. with tools/xvfb.sh)");
    ASSERT_TRUE(tvtest::WaitUntil([] { return !tvtest::FindClock(); }))
        << "another taskbar is on this desktop: " << fs::path(tvtest::OwnerOf(L"Shell_TrayWnd")).string();
    library_ = LoadLibraryW((tvtest::BinDir() / "tvrshell64.dll").wstring().c_str());
    ASSERT_NE(library_, nullptr);
    install_ = reinterpret_cast<HookCall>(reinterpret_cast<void*>(GetProcAddress(library_, "dosomething")));
    remove_ = reinterpret_cast<HookCall>(reinterpret_cast<void*>(GetProcAddress(library_, "undosomething")));
    ASSERT_TRUE(install_ && remove_);
    // The program's events, as its listener would make them.
    hit_ = CreateEventW(nullptr, FALSE, FALSE, W(ipc::kClockHitEvent));
    left_ = CreateEventW(nullptr, FALSE, FALSE, W(ipc::kClockLeftClickEvent));
    right_ = CreateEventW(nullptr, FALSE, FALSE, W(ipc::kClockRightClickEvent));
    unhooked_ = CreateEventW(nullptr, FALSE, FALSE, W(ipc::kUnhookEvent));
  }
  void TearDown() override {
    if (remove_) remove_(static_cast<int>(ipc::kHookKey));
    shell_.End();
    for (HANDLE h : {hit_, left_, right_, unhooked_}) {
      if (h) CloseHandle(h);
    }
  }
  static bool IsSet(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }
  void Install(uint32_t key) { install_(static_cast<int>(key)); }
  void Remove(uint32_t key) { remove_(static_cast<int>(key)); }

  StandInShell shell_;
  HMODULE library_ = nullptr;
  HookCall install_ = nullptr;
  HookCall remove_ = nullptr;
  HANDLE hit_ = nullptr, left_ = nullptr, right_ = nullptr, unhooked_ = nullptr;
};

TEST_F(HookLibraryTest, TakesTheClockWithTheKeyOnlyAndGivesItBack) {
  ASSERT_TRUE(shell_.Start());
  Install(0);
  Install(ipc::kHookKeyRestore);
  shell_.Disturb();
  EXPECT_FALSE(shell_.Subclassed()) << "only the key installs the hook";

  Install(ipc::kHookKey);
  ASSERT_TRUE(shell_.WaitSubclassed(true)) << "the clock was not taken over";
  shell_.ClearReceived();
  // A hit test anywhere answers "caption"; clicks set their events and never reach the clock.
  EXPECT_EQ(shell_.HitTest(), HTCAPTION);
  EXPECT_TRUE(IsSet(hit_));
  POINT c = shell_.ClockCentre();
  EXPECT_EQ(SendMessageW(shell_.Clock(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(c.x, c.y)), 0);
  EXPECT_TRUE(IsSet(left_));
  EXPECT_FALSE(IsSet(right_));
  SendMessageW(shell_.Clock(), WM_NCRBUTTONDBLCLK, HTCAPTION, MAKELPARAM(c.x, c.y));
  EXPECT_TRUE(IsSet(right_));
  EXPECT_FALSE(IsSet(right_)) << "a double click sets the event once";
  EXPECT_EQ(shell_.ClicksReceived(), 0);
  // 10029 restores only with a hook key; with any other wParam the clock's own procedure has it.
  SendMessageW(shell_.Clock(), ipc::kRestoreClockMessage, 0, 0);
  EXPECT_EQ(shell_.Received(ipc::kRestoreClockMessage), 1);
  EXPECT_TRUE(shell_.Subclassed());
  Remove(0);
  EXPECT_TRUE(shell_.Subclassed()) << "undosomething without the key does nothing";

  Remove(ipc::kHookKey);
  EXPECT_FALSE(shell_.Subclassed()) << "restored before undosomething returns";
  EXPECT_TRUE(IsSet(unhooked_));
  EXPECT_EQ(shell_.HitTest(), HTCLIENT) << "the clock's own procedure answers again";
  shell_.ClearReceived();
  shell_.Disturb();
  tvtest::RealClick(shell_.ClockCentre());
  EXPECT_TRUE(tvtest::WaitUntil([&] { return shell_.ClicksReceived() > 0; })) << "a click reaches the clock again";
  EXPECT_FALSE(IsSet(left_));
}

TEST_F(HookLibraryTest, OneHookAtATimeAndACopyStillMappedTakesTheClockAgain) {
  ASSERT_TRUE(shell_.Start());
  Install(ipc::kHookKey);
  ASSERT_TRUE(shell_.WaitSubclassed(true));
  Install(ipc::kHookKey);  // while hooked: nothing, no second hook
  Remove(ipc::kHookKey);
  EXPECT_FALSE(shell_.Subclassed());
  // A hook left behind would take the clock again at the next message through it.
  shell_.Disturb();
  shell_.Disturb();
  EXPECT_FALSE(shell_.Subclassed()) << "a hook survived undosomething";

  // The library's copy stays mapped in the stand-in (Wine keeps it): a new hook must still make it
  // take the clock, although its attach does not run again.
  for (int round = 0; round < 2; ++round) {
    Install(ipc::kHookKey);
    EXPECT_TRUE(shell_.WaitSubclassed(true)) << "round " << round;
    Remove(ipc::kHookKey);
    EXPECT_FALSE(shell_.Subclassed()) << "round " << round;
  }
}

TEST_F(HookLibraryTest, WithoutATaskbarNothingIsHooked) {
  // Wine's desktop program keeps a hidden taskbar window of its own; it is ended for this case (Wine
  // starts it again when it is next needed).
  if (HWND own = FindWindowW(L"Shell_TrayWnd", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(own, &pid);
    HANDLE desktop = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(desktop, nullptr);
    TerminateProcess(desktop, 0);
    WaitForSingleObject(desktop, 5000);
    CloseHandle(desktop);
  }
  ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), nullptr);
  Install(ipc::kHookKey);
  ASSERT_TRUE(shell_.Start());
  shell_.Disturb();
  shell_.Disturb();
  EXPECT_FALSE(shell_.Subclassed()) << "a hook on every thread reached the new shell";
  // Asked again once the taskbar exists (the program does so on "TaskbarCreated").
  Install(ipc::kHookKey);
  EXPECT_TRUE(shell_.WaitSubclassed(true));
}

// Copies the stand-in under another name or into a long path; the library is loaded by the
// stand-in itself, so only its own file name decides.
TEST_F(HookLibraryTest, OnlyAProcessNamedExplorerTakesTheClockAndGivesItBackWhenUnloaded) {
  fs::path scratch = fs::temp_directory_path() / ("tvrshell-" + std::to_string(std::random_device{}()));
  fs::path longDir = scratch / std::string(60, 'd') / std::string(60, 'e');
  fs::create_directories(longDir);
  fs::copy_file(StandInShell::DefaultProgram(), scratch / "notexplorer.exe");
  fs::copy_file(StandInShell::DefaultProgram(), longDir / "Explorer.EXE");
  std::wstring load = L"--load \"" + (tvtest::BinDir() / "tvrshell64.dll").wstring() + L"\"";

  ASSERT_TRUE(shell_.Start(scratch / "notexplorer.exe", load));
  shell_.Disturb();
  EXPECT_FALSE(shell_.Subclassed()) << "notexplorer.exe is not the shell";
  shell_.End();

  ASSERT_GT(longDir.wstring().size(), 100u);
  ASSERT_TRUE(shell_.Start(longDir / "Explorer.EXE", load));
  EXPECT_TRUE(shell_.WaitSubclassed(true)) << "the shell, however long its path";
  EXPECT_EQ(shell_.HitTest(), HTCAPTION);
  // Unloaded while it holds the clock: the clock gets its own procedure back first.
  EXPECT_EQ(shell_.Ask(standin::kUnloadLibrary), 1);
  EXPECT_FALSE(shell_.Subclassed());
  EXPECT_EQ(shell_.HitTest(), HTCLIENT);
  shell_.Disturb();
  EXPECT_TRUE(shell_.Alive());
  shell_.End();
  std::error_code ignored;
  fs::remove_all(scratch, ignored);
}

}  // namespace
