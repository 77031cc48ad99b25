// The tray menu's place near every corner of the work area, the left click's decision under the
// toggle guard, and when the autostart prompt shows at start-up.
#include <gtest/gtest.h>

#include "app/logic/tray_rules.h"

TEST(TrayMenu, OpensAtThePointerAndFoldsBackFromTheWorkAreasEdges) {
  const tvui::Rect work{0, 0, 1920, 1040};  // a 40-pixel taskbar at the bottom
  const int w = 148, h = 141;
  // Top-left: at the pointer.
  EXPECT_EQ(PlaceTrayMenu({10, 10}, w, h, work), (tvui::Rect{10, 10, 158, 151}));
  // Top-right: to the left of the pointer.
  EXPECT_EQ(PlaceTrayMenu({1900, 10}, w, h, work), (tvui::Rect{1752, 10, 1900, 151}));
  // Bottom-left: above it.
  EXPECT_EQ(PlaceTrayMenu({10, 1030}, w, h, work), (tvui::Rect{10, 889, 158, 1030}));
  // Bottom-right (the tray itself, even on the taskbar below the work area): above and left.
  EXPECT_EQ(PlaceTrayMenu({1900, 1060}, w, h, work), (tvui::Rect{1752, 919, 1900, 1060}));
  // Exactly touching the edges stays.
  EXPECT_EQ(PlaceTrayMenu({1772, 899}, w, h, work), (tvui::Rect{1772, 899, 1920, 1040}));
  // A work area on a second monitor to the right.
  EXPECT_EQ(PlaceTrayMenu({3800, 1000}, w, h, {1920, 0, 3840, 1080}), (tvui::Rect{3652, 859, 3800, 1000}));
  // Larger than the work area: pinned to 0.
  EXPECT_EQ(PlaceTrayMenu({50, 60}, 300, 200, {0, 0, 250, 150}), (tvui::Rect{0, 0, 300, 200}));
}

TEST(TrayMenu, LeftClickHidesAtOnceButShowsOnlyOutsideTheToggleGap) {
  ToggleGuard guard;
  EXPECT_EQ(DecideTrayLeftClick(false, guard, 5), TrayClick::kShow) << "no toggle yet";
  ASSERT_TRUE(guard.Accept(1000));  // a clock click shows the window
  EXPECT_EQ(DecideTrayLeftClick(true, guard, 1050), TrayClick::kHide) << "hiding is never held back";
  EXPECT_EQ(DecideTrayLeftClick(false, guard, 1200), TrayClick::kIgnore);
  EXPECT_EQ(DecideTrayLeftClick(false, guard, 1201), TrayClick::kShow);
  // Asking does not count as a toggle: the next toggle is still measured from 1000.
  EXPECT_TRUE(guard.Accept(1201));
  // Across the tick counter's wrap.
  ToggleGuard wrap;
  ASSERT_TRUE(wrap.Accept(0xFFFFFF9Cu));  // 100 ms before the wrap
  EXPECT_EQ(DecideTrayLeftClick(false, wrap, 50), TrayClick::kIgnore);
  EXPECT_EQ(DecideTrayLeftClick(false, wrap, 101), TrayClick::kShow);
}

// What a version-3 shell sends for each gesture, and what the icon makes of it.
TEST(TrayMenu, KeyboardAndMouseGesturesActOnceEach) {
  TrayCallbackFilter f;
  using E = TrayEvent;
  using A = TrayAction;
  // A right click: the release opens the menu at the pointer, its context-menu echo nothing.
  EXPECT_EQ(f.Take(E::kRightUp, 1000), A::kMenuAtPointer);
  EXPECT_EQ(f.Take(E::kContextMenu, 1010), A::kNone);
  // Shift+F10 later: the menu by the icon, each time.
  EXPECT_EQ(f.Take(E::kContextMenu, 3000), A::kMenuAtIcon);
  EXPECT_EQ(f.Take(E::kContextMenu, 3100), A::kMenuAtIcon) << "a second key press is no echo";
  // A right click whose echo never comes (a shell of the first version), then the keyboard.
  EXPECT_EQ(f.Take(E::kRightUp, 5000), A::kMenuAtPointer);
  EXPECT_EQ(f.Take(E::kContextMenu, 5000 + kTrayEchoMs), A::kMenuAtIcon);
  // Enter: one toggle for its two key selects; Space a while later toggles again.
  EXPECT_EQ(f.Take(E::kKeySelect, 7000), A::kToggle);
  EXPECT_EQ(f.Take(E::kKeySelect, 7002), A::kNone);
  EXPECT_EQ(f.Take(E::kKeySelect, 7000 + kTrayEchoMs), A::kToggle);
  // Left presses are never dropped (the window's own guard spaces the shows), whatever else comes.
  EXPECT_EQ(f.Take(E::kLeftDown, 9000), A::kToggle);
  EXPECT_EQ(f.Take(E::kLeftDown, 9001), A::kToggle);
  EXPECT_EQ(f.Take(E::kOther, 9002), A::kNone);
  // Across the tick counter's wrap.
  TrayCallbackFilter wrap;
  EXPECT_EQ(wrap.Take(E::kKeySelect, 0xFFFFFFF0u), A::kToggle);
  EXPECT_EQ(wrap.Take(E::kKeySelect, 20), A::kNone);
}

TEST(AutostartPrompt, InstallerStartsShowItUnlessHiddenAndNeverAskThePeriodicRule) {
  int asked = 0;
  auto due = [&] { ++asked; return true; };
  auto notDue = [&] { ++asked; return false; };
  StartOptions plain, install, installHidden;
  install.install = true;
  installHidden.install = installHidden.noShow = true;

  EXPECT_TRUE(ShowAutostartPromptAtStart(false, install, due));
  EXPECT_TRUE(ShowAutostartPromptAtStart(false, install, notDue));
  EXPECT_FALSE(ShowAutostartPromptAtStart(false, installHidden, due));
  EXPECT_EQ(asked, 0) << "an installer start leaves the last-confirmation date alone";

  EXPECT_TRUE(ShowAutostartPromptAtStart(false, plain, due));
  EXPECT_FALSE(ShowAutostartPromptAtStart(false, plain, notDue));
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(ShowAutostartPromptAtStart(true, install, due));
  EXPECT_FALSE(ShowAutostartPromptAtStart(true, plain, due));
  EXPECT_EQ(asked, 2) << "registered: nothing asked";
}
