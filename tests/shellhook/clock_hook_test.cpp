// The companion road from this 64-bit test program in the 32-bit program's place: the companion
// "tavrino64.exe" installs the hook, ends when asked and when its program dies, and there is never
// more than one.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/clock_hook.h"
#include "tests/shellhook/shell_fixture.h"
#include "tests/support/display.h"

using tvtest::StandInShell;
using tvtest::WaitUntil;

namespace {

const wchar_t* const kCompanionClass = tvtest::W(ipc::kCompanionWindowClass);

class CompanionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display (set DISPLAY, e.g. with tools/xvfb.sh)");
    ASSERT_TRUE(WaitUntil([] { return !tvtest::FindClock() && tvtest::CountWindows(kCompanionClass) == 0; }))
        << "another taskbar or companion is on this desktop";
    ASSERT_TRUE(shell_.Start());
    // The program's listener event: the library in the shell takes clicks only while it exists.
    listening_ = CreateEventW(nullptr, FALSE, FALSE, tvtest::W(ipc::kClockLeftClickEvent));
  }
  void TearDown() override {
    StopClockHook();
    tvtest::EndProcess(role_);
    if (listening_) CloseHandle(listening_);
  }

  StandInShell shell_;
  HANDLE listening_ = nullptr;
  HANDLE role_ = nullptr;
};

TEST_F(CompanionTest, HooksForTheProgramOneAtATimeAndEndsWhenAsked) {
  StartClockHookOn(ClockHookRoad::kCompanion);
  ASSERT_TRUE(WaitUntil([] { return tvtest::CountWindows(kCompanionClass) == 1; })) << "no companion";
  ASSERT_TRUE(shell_.WaitSubclassed(true)) << "the companion did not take the clock";
  HWND first = FindWindowW(kCompanionClass, nullptr);

  // The taskbar came back: the old companion ends before the new one starts.
  StartClockHookOn(ClockHookRoad::kCompanion);
  EXPECT_FALSE(IsWindow(first)) << "the first companion still runs";
  ASSERT_TRUE(WaitUntil([] { return FindWindowW(kCompanionClass, nullptr) != nullptr; }));
  EXPECT_TRUE(shell_.WaitSubclassed(true));
  EXPECT_EQ(tvtest::CountWindows(kCompanionClass), 1);

  // Stopped: by the time StopClockHook returns the companion is gone and the clock restored.
  StopClockHook();
  EXPECT_EQ(tvtest::CountWindows(kCompanionClass), 0);
  EXPECT_FALSE(shell_.Subclassed());
  shell_.Disturb();
  EXPECT_FALSE(shell_.Subclassed()) << "the companion's hook outlived it";
}

TEST_F(CompanionTest, EndsWhenItsProgramDiesWithoutAsking) {
  role_ = tvtest::StartProcess(tvtest::BinDir() / "clock_hook_role.exe");
  ASSERT_NE(role_, nullptr);
  ASSERT_TRUE(shell_.WaitSubclassed(true, 10000)) << "the companion did not take the clock";
  HWND companion = FindWindowW(kCompanionClass, nullptr);
  ASSERT_NE(companion, nullptr);

  TerminateProcess(role_, 1);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(companion); }, 5000)) << "the companion outlived its program";
  EXPECT_FALSE(shell_.Subclassed()) << "the clock stays taken with no one listening";
}

// The program killed while it holds the clock, on both roads: the clock comes back, and clicks on
// it reach the shell from the first one on.
TEST_F(CompanionTest, TheClockComesBackWhenItsProgramIsKilledOnEitherRoad) {
  CloseHandle(listening_);  // only the killed program listens
  listening_ = nullptr;
  for (const wchar_t* road : {L"--own", L"--companion"}) {
    role_ = tvtest::StartProcess(tvtest::BinDir() / "clock_hook_role.exe", road);
    ASSERT_NE(role_, nullptr);
    ASSERT_TRUE(shell_.WaitSubclassed(true, 10000)) << "the clock was not taken";
    TerminateProcess(role_, 1);
    WaitForSingleObject(role_, 5000);
    tvtest::EndProcess(role_);
    shell_.ClearReceived();
    for (int i = 0; i < 3; ++i) {
      tvtest::RealClick(shell_.ClockCentre());
      Sleep(100);
    }
    const char* name = road[2] == L'o' ? "own library" : "companion";
    auto presses = [&] { return shell_.Received(WM_LBUTTONDOWN) + shell_.Received(WM_LBUTTONDBLCLK); };
    EXPECT_TRUE(WaitUntil([&] { return presses() == 3; })) << name << ": " << presses() << " of 3 clicks reached the clock";
    EXPECT_FALSE(shell_.Subclassed()) << name << ": the clock stays taken with no one listening";
    shell_.Disturb();
    EXPECT_FALSE(shell_.Subclassed()) << name << ": taken again with no one listening";
  }
}

}  // namespace
