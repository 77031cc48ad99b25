// The tray-buttons road against the Windows 11-style stand-in shell, from this test program in the
// program's place: the locator finds every taskbar's clock through UI Automation and MSAA, and
// the pointer hook takes the clock's left clicks (real input) and nothing else.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <vector>

#include "platform/ipc_events.h"
#include "platform/win32/clock_hook.h"
#include "platform/win32/clock_interceptor.h"
#include "platform/win32/clock_locator.h"
#include "tests/shellhook/shell11_fixture.h"
#include "tests/support/display.h"

using standin11::kBell;
using standin11::kClock;
using standin11::kNetwork;
using tvtest::StandInShell11;
using tvtest::WaitUntil;

namespace {

std::vector<LPARAM> g_toggles;  // lParam of every 10025 received

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == ipc::kClockLeftClickMessage && wParam == ipc::kClockClickedAt) {
    g_toggles.push_back(lParam);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

POINT Unpack(LPARAM packed) { return {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))}; }

class TrayButtonRoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tvtest::HaveDisplay()) TV_SKIP_OR_FAIL_WITHOUT_WINDOW("no display (set DISPLAY, e.g. with tools/xvfb.sh)");
    ASSERT_TRUE(WaitUntil([] { return !tvtest::FindClock() && !FindWindowW(L"Shell_SecondaryTrayWnd", nullptr); }))
        << "another taskbar is on this desktop";
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TrayButtonRoadTarget";
    RegisterClassW(&wc);
    target_ = CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(target_, nullptr);
    g_toggles.clear();
  }
  void TearDown() override {
    StopClockHook();
    shell_.End();
    if (target_) DestroyWindow(target_);
    CoUninitialize();
  }
  // Started with the stand-in up: the road chosen for this desktop, its hook once a clock is found.
  bool StartRoad() {
    if (ChooseClockHookRoad() != ClockHookRoad::kTrayButtons) return false;
    StartClockHook(target_);
    return WaitUntil([] { return taskbar::TrayButtonHookActive(); });
  }
  // Toggles received so far, once `count` have come (false after 5 s).
  bool WaitToggles(size_t count) { return WaitUntil([&] { return g_toggles.size() >= count; }); }
  // The pointer leaves the taskbars and comes back onto one: the locator looks again (its pass
  // ends with the MSAA locations the stand-in counts).
  static void MovePointer(POINT at) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
  }
  bool LookAgainOnEntering(int which) {
    int before = shell_.LocationQueries(which);
    // Moved as real input (SendInput), which the pointer hook sees wherever the pointer is; a
    // placed cursor (SetCursorPos) reaches the hook only over a window that takes the motion.
    MovePointer({640, 400});
    Sleep(200);  // the pointer hook's thread sees the pointer leave before it comes back
    MovePointer(shell_.Centre(kNetwork, which));
    // A locator pass takes up to a second and a half a taskbar under Wine, more on a busy machine.
    if (!WaitUntil([&] { return shell_.LocationQueries(which) > before; }, 15000)) return false;
    Sleep(100);  // the pass publishes right after its last location
    return true;
  }

  StandInShell11 shell_;
  HWND target_ = nullptr;
};

TEST_F(TrayButtonRoadTest, FindsEveryTaskbarsClockThroughUiAutomationAndMsaa) {
  ASSERT_TRUE(shell_.Start(L"--second"));
  EXPECT_FALSE(taskbar::ClockWindowExists());
  EXPECT_EQ(ChooseClockHookRoad(), ClockHookRoad::kTrayButtons);
  auto reader = taskbar::MakeAutomationTrayButtonReader();
  ASSERT_NE(reader, nullptr);
  taskbar::ClockSnapshot found = taskbar::LocateClocks(*reader, taskbar::CurrentClockTexts());
  ASSERT_EQ(found.clocks.size(), 2u) << "both taskbars' clocks";
  for (int which : {0, 1}) {
    const taskbar::ClockTarget* clock = nullptr;
    for (const auto& c : found.clocks) {
      if (c.taskbar == reinterpret_cast<std::uintptr_t>(shell_.Taskbar(which))) clock = &c;
    }
    ASSERT_NE(clock, nullptr) << "taskbar " << which;
    POINT centre = shell_.Centre(kClock, which), bell = shell_.Centre(kBell, which);
    EXPECT_EQ((clock->clock.left + clock->clock.right) / 2, centre.x) << which;
    EXPECT_EQ((clock->clock.top + clock->clock.bottom) / 2, centre.y) << which;
    EXPECT_EQ(clock->clock.right - clock->clock.left, 80) << which;
    EXPECT_TRUE(clock->bell.Contains(bell.x, bell.y)) << which;
    EXPECT_NE(clock->monitor, 0u);
  }

  // Right to left: the mirrored clock, however the buttons lie.
  ASSERT_TRUE(shell_.Start(L"--rtl"));
  found = taskbar::LocateClocks(*reader, taskbar::CurrentClockTexts());
  ASSERT_EQ(found.clocks.size(), 1u);
  POINT centre = shell_.Centre(kClock);
  EXPECT_TRUE(found.clocks[0].clock.Contains(centre.x, centre.y));

  // No clock button: a taskbar, nothing to take.
  ASSERT_TRUE(shell_.Start(L"--no-clock"));
  found = taskbar::LocateClocks(*reader, taskbar::CurrentClockTexts());
  EXPECT_TRUE(found.clocks.empty());
  EXPECT_EQ(found.taskbars.size(), 1u);
}

TEST_F(TrayButtonRoadTest, TakesTheClocksLeftClicksOnlyOnEveryTaskbarAndKeepsUp) {
  ASSERT_TRUE(shell_.Start());
  ASSERT_TRUE(StartRoad()) << "the road found no clock";
  const POINT clock = shell_.Centre(kClock);

  // A left click toggles by that clock, on the release, and never reaches it.
  tvtest::RealClick(clock);
  ASSERT_TRUE(WaitToggles(1));
  EXPECT_EQ(Unpack(g_toggles[0]).x, clock.x);
  EXPECT_EQ(Unpack(g_toggles[0]).y, clock.y);
  // A right click, the other buttons, the bell's part and Ctrl+click are the shell's.
  tvtest::RealClick(clock, true);
  tvtest::RealClick(shell_.Centre(kNetwork));
  tvtest::RealClick(shell_.Centre(kBell));
  tvtest::RealCtrlClick(clock);
  EXPECT_TRUE(WaitUntil([&] { return shell_.Clicks(kClock, false) == 1; })) << "Ctrl+click did not reach the clock";
  EXPECT_EQ(shell_.Clicks(kClock, true), 1) << "the right click did not reach the clock";
  EXPECT_EQ(shell_.Clicks(kNetwork), 1);
  EXPECT_EQ(shell_.Clicks(kBell), 1);
  EXPECT_EQ(g_toggles.size(), 1u) << "only the plain left click toggles";

  // The clock widens (seconds shown): once the pointer comes onto the taskbar, its new part is taken.
  ASSERT_EQ(shell_.Ask(0, standin11::kWidenClock, 40), 1);
  ASSERT_TRUE(LookAgainOnEntering(0));
  shell_.ClearClicks();
  tvtest::RealClick({clock.x - 50, clock.y});
  EXPECT_TRUE(WaitToggles(2)) << "the widened clock's new part was not taken";
  EXPECT_EQ(shell_.Clicks(kClock), 0);

  // The shell restarts with a second taskbar, right to left, and announces itself: the road looks
  // again ("TaskbarCreated" restarts it in the program) and takes both clocks.
  ASSERT_TRUE(shell_.Start(L"--second --rtl"));
  StartClockHook(target_);
  ASSERT_TRUE(WaitUntil([&] { return taskbar::TrayButtonHookActive() && shell_.LocationQueries(1) > 0; }));
  Sleep(100);
  for (int which : {1, 0}) {
    size_t before = g_toggles.size();
    POINT at = shell_.Centre(kClock, which);
    tvtest::RealClick(at);
    ASSERT_TRUE(WaitToggles(before + 1)) << "taskbar " << which;
    EXPECT_EQ(Unpack(g_toggles.back()).y, at.y) << "toggled by another taskbar's clock";
    EXPECT_EQ(shell_.Clicks(kClock, false, which), 0);
  }

  // Turned off (the settings switch stops the road): every click is the shell's again.
  StopClockHook();
  EXPECT_FALSE(taskbar::TrayButtonHookActive());
  tvtest::RealClick(shell_.Centre(kClock));
  EXPECT_TRUE(WaitUntil([&] { return shell_.Clicks(kClock) == 1; }));
}

TEST_F(TrayButtonRoadTest, WithoutAClockNothingIsTaken) {
  ASSERT_TRUE(shell_.Start(L"--no-clock"));
  StartClockHook(target_);
  ASSERT_TRUE(WaitUntil([&] { return shell_.LocationQueries() > 0; }));
  Sleep(200);
  EXPECT_FALSE(taskbar::TrayButtonHookActive()) << "a pointer hook with nothing to take";
  tvtest::RealClick(shell_.Centre(kBell));
  tvtest::RealClick(shell_.Centre(kNetwork));
  EXPECT_TRUE(WaitUntil([&] { return shell_.Clicks(kBell) == 1 && shell_.Clicks(kNetwork) == 1; }));
  EXPECT_TRUE(g_toggles.empty());
}

}  // namespace
