// Window placement by the taskbar, the month window's height, the day tooltip near the edges, and
// monitors of different scales side by side.
#include <gtest/gtest.h>

#include "app/logic/placement.h"
#include "app/logic/popup_placement.h"

namespace {

// A 1920 x 1080 screen with a 40-pixel taskbar on each side.
struct Screen {
  tvui::Rect work;
  tvui::Rect taskbar;
};
const Screen kBottom{{0, 0, 1920, 1040}, {0, 1040, 1920, 1080}};
const Screen kTop{{0, 40, 1920, 1080}, {0, 0, 1920, 40}};
const Screen kLeft{{40, 0, 1920, 1080}, {0, 0, 40, 1080}};
const Screen kRight{{0, 0, 1880, 1080}, {1880, 0, 1920, 1080}};

constexpr tvui::Rect kPrimary{0, 0, 1920, 1080};

Anchor AnchorFor(const Screen& s) {
  Anchor a;
  ComputeAnchor({kPrimary, s.work}, s.taskbar, a);
  return a;
}

TEST(Placement, AnchorSitsNextToTheTaskbarClockOnEachSide) {
  const struct {
    const Screen& screen;
    int x, y;
    TaskbarEdge edge;
  } cases[] = {
      {kBottom, 1562, 580, TaskbarEdge::kBottom},
      {kTop, 1562, 40, TaskbarEdge::kTop},
      {kLeft, 40, 620, TaskbarEdge::kLeft},
      {kRight, 1522, 620, TaskbarEdge::kRight},
  };
  for (const auto& c : cases) {
    const Anchor a = AnchorFor(c.screen);
    EXPECT_EQ(a.x, c.x) << static_cast<int>(c.edge);
    EXPECT_EQ(a.y, c.y) << static_cast<int>(c.edge);
    EXPECT_EQ(a.edge, c.edge);
  }
}

TEST(Placement, SixRowMonthGrowsAwayFromTheTaskbar) {
  Anchor bottom = AnchorFor(kBottom);
  MonthWindowPlacement five = PlaceMonthWindow(bottom, 5);
  EXPECT_EQ(five.rect, (tvui::Rect{1562, 580, 1562 + 358, 580 + 460}));
  EXPECT_EQ(five.background, u"bgshort.png");
  MonthWindowPlacement six = PlaceMonthWindow(bottom, 6);
  EXPECT_EQ(six.rect, (tvui::Rect{1562, 534, 1562 + 358, 534 + 506}));
  EXPECT_EQ(six.background, u"bglong.png");
  EXPECT_EQ(six.rect.bottom, five.rect.bottom) << "the bottom edge stays by the taskbar";
  EXPECT_EQ(PlaceMonthWindow(bottom, 4).rect, five.rect);
  EXPECT_EQ(PlaceMonthWindow(bottom, 4).background, u"bgshort.png");

  // With the taskbar at the top the top edge stays and the window grows downward.
  Anchor top = AnchorFor(kTop);
  EXPECT_EQ(PlaceMonthWindow(top, 6).rect, (tvui::Rect{1562, 40, 1562 + 358, 40 + 506}));
  EXPECT_EQ(PlaceMonthWindow(AnchorFor(kLeft), 6).rect.top, 620 - 46);
}

TEST(Placement, RulesThatDoNotApplyKeepThePreviousAnchor) {
  Anchor a = AnchorFor(kBottom);
  // A taskbar floating in the middle of the monitor touches none of its edges: no rule applies.
  ComputeAnchor({kPrimary, {0, 0, 1920, 1080}}, {600, 500, 1300, 540}, a);
  EXPECT_EQ(a.x, 1562);
  EXPECT_EQ(a.y, 580);
  EXPECT_EQ(a.edge, TaskbarEdge::kBottom);

  Anchor fresh;
  EXPECT_FALSE(fresh.ruleApplied);
  EXPECT_EQ(fresh.edge, TaskbarEdge::kBottom);
  // No taskbar window at all (an empty rectangle): the bottom-right corner of the work area.
  ComputeAnchor({{0, 0, 1280, 800}, {0, 0, 1280, 800}}, {}, fresh);
  EXPECT_TRUE(fresh.ruleApplied);
  EXPECT_EQ(fresh.x, 1280 - 358);
  EXPECT_EQ(fresh.y, 800 - 460);
  EXPECT_EQ(fresh.edge, TaskbarEdge::kBottom);
}

// The taskbar on a 150 % monitor (2880 x 1620) right of a 100 % primary, or on a 200 % monitor
// above it: the taskbar's side is read against that monitor's corner, the window takes that
// monitor's scale, and the edge tolerance (5 units) scales with it.
TEST(Placement, TheTaskbarsMonitorGivesTheCornerAndTheScale) {
  const MonitorArea right{{1920, 0, 4800, 1620}, {1920, 0, 4800, 1560}, 144};
  Anchor a = AnchorFor(kBottom);
  ComputeAnchor(right, {1920, 1560, 4800, 1620}, a);
  EXPECT_EQ(a.edge, TaskbarEdge::kBottom);
  EXPECT_EQ(a.dpi, 144);
  EXPECT_EQ(PlaceMonthWindow(a, 5).rect, (tvui::Rect{4800 - 537, 1560 - 690, 4800, 1560}));
  EXPECT_EQ(PlaceMonthWindow(a, 6).rect, (tvui::Rect{4800 - 537, 1560 - 759, 4800, 1560}));
  // Left-hand taskbar there: its left edge is the monitor's, not the origin's.
  ComputeAnchor({right.monitor, {1920 + 90, 0, 4800, 1620}, 144}, {1920, 0, 1920 + 90, 1620}, a);
  EXPECT_EQ(a.edge, TaskbarEdge::kLeft);
  EXPECT_EQ((tvui::Point{a.x, a.y}), (tvui::Point{2010, 1620 - 690}));

  // A monitor above the primary (negative coordinates) at 200 %, taskbar at its top.
  const MonitorArea above{{0, -2160, 3840, 0}, {0, -2160 + 80, 3840, 0}, 192};
  ComputeAnchor(above, {0, -2160, 3840, -2160 + 80}, a);
  EXPECT_EQ(a.edge, TaskbarEdge::kTop);
  EXPECT_EQ(PlaceMonthWindow(a, 6).rect, (tvui::Rect{3840 - 716, -2080, 3840, -2080 + 1012}));

  // A top taskbar starting 8 pixels right of the corner: within 5 units at 200 %, not at 100 %.
  const tvui::Rect work{0, 40, 1920, 1080}, offTop{8, 0, 1920, 40};
  Anchor at100, at200;
  ComputeAnchor({kPrimary, work, 96}, offTop, at100);
  ComputeAnchor({kPrimary, work, 192}, offTop, at200);
  EXPECT_FALSE(at100.ruleApplied);
  EXPECT_TRUE(at200.ruleApplied);
  EXPECT_EQ(at200.edge, TaskbarEdge::kTop);
  EXPECT_EQ((tvui::Point{at200.x, at200.y}), (tvui::Point{1920 - 716, 40}));
}

TEST(Placement, TooltipStaysInsideTheWorkArea) {
  tvui::Rect work{0, 0, 1920, 1040};
  EXPECT_EQ(PlaceDayTooltip({100, 100}, work), (tvui::Point{100, 130}));
  // Near the right edge its right edge lies on the work area's right edge.
  EXPECT_EQ(PlaceDayTooltip({1800, 100}, work), (tvui::Point{1920 - 230, 130}));
  EXPECT_EQ(PlaceDayTooltip({1700, 100}, work).x, 1700) << "1700 + 220 is not beyond 1920";
  EXPECT_EQ(PlaceDayTooltip({1701, 100}, work).x, 1690);
  // Near the bottom it opens above the pointer.
  EXPECT_EQ(PlaceDayTooltip({100, 900}, work), (tvui::Point{100, 780}));
  EXPECT_EQ(PlaceDayTooltip({100, 890}, work).y, 920);
  EXPECT_EQ(PlaceDayTooltip({1900, 1000}, work), (tvui::Point{1690, 880}));
}

// The taskbar the calendar stands by: the clicked clock's, else a visible one with a clock; and
// the work area without a taskbar's strip where the system left it in (Wine, an auto-hidden bar).
TEST(Placement, StandsByTheClickedTaskbarAndOffItsStrip) {
  const std::vector<TaskbarWindow> bars = {
      {{0, 0, 0, 0}, false, false},                // a desktop's own hidden taskbar, found first
      {{0, 1040, 1920, 1080}, true, true},         // the primary one along the bottom
      {{-1920, -300, 0, -260}, true, true},        // a second monitor's along its top
      {{1920, 0, 3840, 40}, true, false},          // one without a clock
  };
  EXPECT_EQ(ChooseAnchorTaskbar(bars, tvui::Point{-260, -280}), 2);
  EXPECT_EQ(ChooseAnchorTaskbar(bars, tvui::Point{1740, 1060}), 1);
  EXPECT_EQ(ChooseAnchorTaskbar(bars, std::nullopt), 1) << "no click: the first visible one with a clock";
  EXPECT_EQ(ChooseAnchorTaskbar(bars, tvui::Point{500, 500}), 1) << "a click off every taskbar";
  EXPECT_EQ(ChooseAnchorTaskbar({bars[0], bars[3]}, std::nullopt), 1);
  EXPECT_EQ(ChooseAnchorTaskbar({bars[0]}, std::nullopt), 0) << "only the hidden one: as before";
  EXPECT_EQ(ChooseAnchorTaskbar({}, tvui::Point{1, 1}), -1);

  const tvui::Rect full{0, 0, 1920, 1080};
  EXPECT_EQ(WorkAreaBeside(full, kBottom.taskbar), kBottom.work);
  EXPECT_EQ(WorkAreaBeside(full, kTop.taskbar), kTop.work);
  EXPECT_EQ(WorkAreaBeside(full, kLeft.taskbar), kLeft.work);
  EXPECT_EQ(WorkAreaBeside(full, kRight.taskbar), kRight.work);
  EXPECT_EQ(WorkAreaBeside(kBottom.work, kBottom.taskbar), kBottom.work) << "already left out";
  EXPECT_EQ(WorkAreaBeside(full, {0, 1078, 1920, 1118}), (tvui::Rect{0, 0, 1920, 1078})) << "auto-hidden";
  EXPECT_EQ(WorkAreaBeside(full, {600, 1040, 900, 1080}), full) << "spans no whole edge";
  EXPECT_EQ(WorkAreaBeside(full, {}), full);

  // The window by the top taskbar of the second monitor stays inside that monitor, below the bar.
  Anchor a;
  const tvui::Rect second{-1920, -300, 0, 780};
  ComputeAnchor({second, WorkAreaBeside(second, bars[2].rect)}, bars[2].rect, a);
  EXPECT_EQ(a.edge, TaskbarEdge::kTop);
  EXPECT_EQ(PlaceMonthWindow(a, 6).rect, (tvui::Rect{-358, -260, 0, -260 + 506}));
}

// On a 150 % display (2880 x 1620, 60-pixel taskbar) the same rules hold in 96-DPI units: the
// window is 537 x 690 (759 for six rows), the anchor keeps it flush with the work area's corner,
// and the tooltip's distances grow with the scale.
TEST(Placement, At150PercentSizesAndDistancesScale) {
  const tvui::Scale scale(144);
  const tvui::Rect screen{0, 0, 2880, 1620};
  const tvui::Rect work{0, 0, 2880, 1560};
  Anchor a;
  ComputeAnchor({screen, work, 144}, {0, 1560, 2880, 1620}, a);
  EXPECT_EQ(a.x, 2880 - 537);
  EXPECT_EQ(a.y, 1560 - 690);
  EXPECT_EQ(PlaceMonthWindow(a, 5).rect, (tvui::Rect{2343, 870, 2880, 1560}));
  EXPECT_EQ(PlaceMonthWindow(a, 6).rect, (tvui::Rect{2343, 801, 2880, 1560})) << "grows upward, bottom stays";
  Anchor top;
  ComputeAnchor({screen, {0, 60, 2880, 1620}, 144}, {0, 0, 2880, 60}, top);
  EXPECT_EQ(PlaceMonthWindow(top, 6).rect, (tvui::Rect{2343, 60, 2880, 819}));
  EXPECT_EQ(PlaceDayTooltip({100, 100}, work, scale), (tvui::Point{100, 145}));
  EXPECT_EQ(PlaceDayTooltip({2600, 1400}, work, scale), (tvui::Point{2880 - 345, 1400 - 180}));
  EXPECT_EQ(PlaceDayTooltip({2550, 100}, work, scale).x, 2550) << "2550 + 330 is not beyond 2880";
  // The pop-ups below their buttons (client places in 96-DPI units) and the feedback window.
  const tvui::Rect main = PlaceMonthWindow(a, 5).rect;
  EXPECT_EQ(PlaceSkinChooser(main, {274, 4, 298, 28}, scale), (tvui::Rect{2343 + 141, 870 + 230, 2343 + 141 + 297, 870 + 230 + 210}));
  EXPECT_EQ(PlaceFeedback(a, 870, 290, scale), (tvui::Rect{2343 - 360, 870, 2343, 870 + 435}));
}

}  // namespace
