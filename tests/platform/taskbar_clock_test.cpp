// The taskbar clock's decisions: which road, which tray button is the clock, and what the pointer
// hook does with each event, in physical pixels of a virtual screen with monitors left of and
// above the primary one.
#include <gtest/gtest.h>

#include <climits>

#include "platform/taskbar_clock.h"

using namespace taskbar;

namespace {

const std::vector<std::u16string> kTexts = {u"9:41", u"9:42", u"9:43", u"2026/12/8"};

TrayButton Button(std::u16string name, std::u16string cls, PixelRect rect = {},
                  std::u16string id = kTrayButtonId) {
  return {std::move(name), std::move(cls), std::move(id), rect};
}

TEST(TaskbarClock, RoadRectanglesAndTheClockAmongTheButtons) {
  EXPECT_EQ(ChooseClockRoad(true, true), ClockRoad::kHookLibrary);
  EXPECT_EQ(ChooseClockRoad(false, true), ClockRoad::kTrayButtons);
  EXPECT_EQ(ChooseClockRoad(false, false), ClockRoad::kNone);

  // MSAA's (left, top, width, height): edges held left and top, not right and bottom; negative
  // coordinates of a monitor left of the primary one; no overflow at the far edge.
  PixelRect r = RectFromLocation(-1500, -200, 80, 40);
  EXPECT_EQ(r, (PixelRect{-1500, -200, -1420, -160}));
  EXPECT_TRUE(r.Contains(-1500, -200));
  EXPECT_TRUE(r.Contains(-1421, -161));
  EXPECT_FALSE(r.Contains(-1420, -180));
  EXPECT_FALSE(r.Contains(-1450, -160));
  EXPECT_TRUE(RectFromLocation(10, 10, -5, 4).Empty());
  EXPECT_EQ(RectFromLocation(INT_MAX - 10, 0, 80, 40).right, INT_MAX);

  // The clock: the OmniButton (or its left part) whose Name shows the time or the date, a minute
  // either side; the bell is the right part. The time inside a longer name counts.
  std::vector<TrayButton> buttons = {
      Button(u"网络 已连接", u"SystemTray.NormalButton"),
      Button(u"9:40 2026/12/7", kClockButtonLeftClass),          // yesterday, a minute early: not now
      Button(u"时钟 9:43 2026/12/8", kClockButtonLeftClass),       // a minute late: the clock
      Button(u"通知", kBellButtonClass),
  };
  ClockButtons found = FindClockButtons(buttons, kTexts);
  EXPECT_EQ(found.clock, 2);
  EXPECT_EQ(found.bell, 3);
  // By its date alone (a clock that shows no time), and the plain OmniButton (no bell part).
  found = FindClockButtons({Button(u"2026/12/8", kClockButtonClass)}, kTexts);
  EXPECT_EQ(found.clock, 0);
  EXPECT_EQ(found.bell, -1);
  // Not the clock: another automation id, another class, a name without the time, empty texts.
  EXPECT_EQ(FindClockButtons({Button(u"9:42", kClockButtonClass, {}, u"Other")}, kTexts).clock, -1);
  EXPECT_EQ(FindClockButtons({Button(u"9:42", u"SystemTray.NormalButton")}, kTexts).clock, -1);
  EXPECT_EQ(FindClockButtons({Button(u"9:45", kClockButtonClass)}, kTexts).clock, -1);
  EXPECT_EQ(FindClockButtons({Button(u"9:42", kClockButtonClass)}, {u"", u""}).clock, -1);
  // A bell without its clock is nobody's business.
  EXPECT_EQ(FindClockButtons({Button(u"通知", kBellButtonClass)}, kTexts).bell, -1);
}

// Two taskbars: the primary one along the bottom of 0..1920 x 0..1080, a second monitor's along
// the top of -1920..0 x -300..780; the primary clock has the bell's part at its right.
ClockSnapshot TwoTaskbars() {
  ClockSnapshot s;
  s.clocks.push_back({{1700, 1044, 1780, 1076}, {1780, 1044, 1810, 1076}, 1, 11, {0, 1040, 1920, 1080}});
  s.clocks.push_back({{-300, -296, -220, -264}, {}, 2, 12, {-1920, -300, 0, -260}});
  s.taskbars = {{{0, 1040, 1920, 1080}, 1}, {{-1920, -300, 0, -260}, 2}};
  return s;
}

TEST(TaskbarClock, PointerRulesTakeTheClocksLeftClicksOnly) {
  const ClockSnapshot s = TwoTaskbars();
  EXPECT_EQ(ClockAt(s, 1700, 1044), 0);
  EXPECT_EQ(ClockAt(s, 1790, 1050), -1) << "the bell's part";
  EXPECT_EQ(ClockAt(s, -260, -280), 1);
  EXPECT_EQ(TaskbarAt(s, -5, -261), 1);
  EXPECT_EQ(TaskbarAt(s, 0, -261), -1);

  ClickRules rules;
  auto on = [&](PointerEvent e, int x, int y, bool ctrl = false) { return rules.OnEvent(s, e, x, y, ctrl); };
  // Press and release on a clock: both swallowed, the toggle on the release, by that clock.
  EXPECT_EQ(on(PointerEvent::kLeftDown, 1710, 1050), (PointerVerdict{true, false, 0, 0, false}));
  EXPECT_EQ(on(PointerEvent::kLeftUp, 1710, 1050), (PointerVerdict{true, true, 1740, 1060, false}));
  // The release of a taken press is taken wherever it ends, and toggles by the pressed clock
  // even when a new snapshot came in between.
  on(PointerEvent::kLeftDown, -250, -270);
  PointerVerdict up = rules.OnEvent(ClockSnapshot{}, PointerEvent::kLeftUp, 500, 500, false);
  EXPECT_TRUE(up.swallow && up.toggle);
  EXPECT_EQ(up.clockX, -260);
  EXPECT_EQ(up.clockY, -280);
  // Passed through: Ctrl held, the bell's part, outside; and the release of a passed press, even
  // when it ends on the clock.
  for (auto [x, y, ctrl] : {std::tuple{1710, 1050, true}, {1790, 1050, false}, {100, 1050, false}}) {
    EXPECT_EQ(on(PointerEvent::kLeftDown, x, y, ctrl), PointerVerdict{}) << x;
    EXPECT_EQ(on(PointerEvent::kLeftUp, 1710, 1050), PointerVerdict{}) << x;
  }
  // Right and other buttons are never taken, not even between a taken press and its release.
  EXPECT_EQ(on(PointerEvent::kOtherButton, 1710, 1050), PointerVerdict{});
  on(PointerEvent::kLeftDown, 1710, 1050);
  EXPECT_EQ(on(PointerEvent::kOtherButton, 1710, 1050), PointerVerdict{});
  EXPECT_TRUE(on(PointerEvent::kLeftUp, 1710, 1050).toggle);

  // Coming onto a taskbar asks for a fresh look once, until the pointer leaves.
  EXPECT_TRUE(on(PointerEvent::kMove, 10, 1041).enteredTaskbar);
  EXPECT_FALSE(on(PointerEvent::kMove, 20, 1041).enteredTaskbar);
  EXPECT_FALSE(on(PointerEvent::kMove, 20, 500).enteredTaskbar);
  EXPECT_TRUE(on(PointerEvent::kMove, 30, 1041).enteredTaskbar);
  EXPECT_TRUE(on(PointerEvent::kMove, 30, 500).leftTaskbar);
  EXPECT_FALSE(on(PointerEvent::kMove, 40, 500).leftTaskbar);
  EXPECT_TRUE(on(PointerEvent::kMove, -20, -280).enteredTaskbar);
}

}  // namespace
