// Window placement by the taskbar, the month window's height, and the day tooltip near the edges.
#include <gtest/gtest.h>

#include "app/logic/placement.h"
#include "app/logic/popup_placement.h"

namespace {

// A 1920 x 1080 screen with a 40-pixel taskbar on each side.
struct Screen {
  ScreenRect work;
  ScreenRect taskbar;
};
const Screen kBottom{{0, 0, 1920, 1040}, {0, 1040, 1920, 1080}};
const Screen kTop{{0, 40, 1920, 1080}, {0, 0, 1920, 40}};
const Screen kLeft{{40, 0, 1920, 1080}, {0, 0, 40, 1080}};
const Screen kRight{{0, 0, 1880, 1080}, {1880, 0, 1920, 1080}};

Anchor AnchorFor(const Screen& s) {
  Anchor a;
  ComputeAnchor(s.work, s.taskbar, a);
  return a;
}

TEST(Placement, AnchorSitsNextToTheTaskbarClockOnEachSide) {
  Anchor bottom = AnchorFor(kBottom);
  EXPECT_EQ(bottom.x, 1562);
  EXPECT_EQ(bottom.y, 580);
  EXPECT_EQ(bottom.edge, TaskbarEdge::kBottom);

  Anchor top = AnchorFor(kTop);
  EXPECT_EQ(top.x, 1562);
  EXPECT_EQ(top.y, 40);
  EXPECT_EQ(top.edge, TaskbarEdge::kTop);

  Anchor left = AnchorFor(kLeft);
  EXPECT_EQ(left.x, 40);
  EXPECT_EQ(left.y, 620);
  EXPECT_EQ(left.edge, TaskbarEdge::kLeft);

  Anchor right = AnchorFor(kRight);
  EXPECT_EQ(right.x, 1522);
  EXPECT_EQ(right.y, 620);
  EXPECT_EQ(right.edge, TaskbarEdge::kRight);
}

TEST(Placement, SixRowMonthGrowsAwayFromTheTaskbar) {
  Anchor bottom = AnchorFor(kBottom);
  MonthWindowPlacement five = PlaceMonthWindow(bottom, 5);
  EXPECT_EQ(five.rect, (ScreenRect{1562, 580, 1562 + 358, 580 + 460}));
  EXPECT_EQ(five.background, u"bgshort.png");
  MonthWindowPlacement six = PlaceMonthWindow(bottom, 6);
  EXPECT_EQ(six.rect, (ScreenRect{1562, 534, 1562 + 358, 534 + 506}));
  EXPECT_EQ(six.background, u"bglong.png");
  EXPECT_EQ(six.rect.bottom, five.rect.bottom) << "the bottom edge stays by the taskbar";
  EXPECT_EQ(PlaceMonthWindow(bottom, 4).rect, five.rect);
  EXPECT_EQ(PlaceMonthWindow(bottom, 4).background, u"bgshort.png");

  // With the taskbar at the top the top edge stays and the window grows downward.
  Anchor top = AnchorFor(kTop);
  EXPECT_EQ(PlaceMonthWindow(top, 6).rect, (ScreenRect{1562, 40, 1562 + 358, 40 + 506}));
  EXPECT_EQ(PlaceMonthWindow(AnchorFor(kLeft), 6).rect.top, 620 - 46);
}

TEST(Placement, RulesThatDoNotApplyKeepThePreviousAnchor) {
  Anchor a = AnchorFor(kBottom);
  // A second monitor's work area away from the origin and a taskbar there: no rule applies.
  ComputeAnchor({1920, 100, 3840, 1180}, {1920, 1180, 3840, 1220}, a);
  EXPECT_EQ(a.x, 1562);
  EXPECT_EQ(a.y, 580);
  EXPECT_EQ(a.edge, TaskbarEdge::kBottom);

  Anchor fresh;
  EXPECT_FALSE(fresh.ruleApplied);
  EXPECT_EQ(fresh.edge, TaskbarEdge::kBottom);
  // No taskbar window at all (an empty rectangle): the bottom-right corner of the work area.
  ComputeAnchor({0, 0, 1280, 800}, {}, fresh);
  EXPECT_TRUE(fresh.ruleApplied);
  EXPECT_EQ(fresh.x, 1280 - 358);
  EXPECT_EQ(fresh.y, 800 - 460);
  EXPECT_EQ(fresh.edge, TaskbarEdge::kBottom);
}

TEST(Placement, TooltipStaysInsideTheWorkArea) {
  ScreenRect work{0, 0, 1920, 1040};
  EXPECT_EQ(PlaceDayTooltip({100, 100}, work), (ScreenPoint{100, 130}));
  // Near the right edge its right edge lies on the work area's right edge.
  EXPECT_EQ(PlaceDayTooltip({1800, 100}, work), (ScreenPoint{1920 - 230, 130}));
  EXPECT_EQ(PlaceDayTooltip({1700, 100}, work).x, 1700) << "1700 + 220 is not beyond 1920";
  EXPECT_EQ(PlaceDayTooltip({1701, 100}, work).x, 1690);
  // Near the bottom it opens above the pointer.
  EXPECT_EQ(PlaceDayTooltip({100, 900}, work), (ScreenPoint{100, 780}));
  EXPECT_EQ(PlaceDayTooltip({100, 890}, work).y, 920);
  EXPECT_EQ(PlaceDayTooltip({1900, 1000}, work), (ScreenPoint{1690, 880}));
}

// On a 150 % display (2880 x 1620, 60-pixel taskbar) the same rules hold in 96-DPI units: the
// window is 537 x 690 (759 for six rows), the anchor keeps it flush with the work area's corner,
// and the tooltip's distances grow with the scale.
TEST(Placement, At150PercentSizesAndDistancesScale) {
  const tvui::Scale scale(144);
  const ScreenRect work{0, 0, 2880, 1560};
  Anchor a;
  ComputeAnchor(work, {0, 1560, 2880, 1620}, a, scale);
  EXPECT_EQ(a.x, 2880 - 537);
  EXPECT_EQ(a.y, 1560 - 690);
  EXPECT_EQ(PlaceMonthWindow(a, 5, scale).rect, (ScreenRect{2343, 870, 2880, 1560}));
  EXPECT_EQ(PlaceMonthWindow(a, 6, scale).rect, (ScreenRect{2343, 801, 2880, 1560})) << "grows upward, bottom stays";
  Anchor top;
  ComputeAnchor({0, 60, 2880, 1620}, {0, 0, 2880, 60}, top, scale);
  EXPECT_EQ(PlaceMonthWindow(top, 6, scale).rect, (ScreenRect{2343, 60, 2880, 819}));
  EXPECT_EQ(PlaceDayTooltip({100, 100}, work, scale), (ScreenPoint{100, 145}));
  EXPECT_EQ(PlaceDayTooltip({2600, 1400}, work, scale), (ScreenPoint{2880 - 345, 1400 - 180}));
  EXPECT_EQ(PlaceDayTooltip({2550, 100}, work, scale).x, 2550) << "2550 + 330 is not beyond 2880";
  // The pop-ups below their buttons (client places in 96-DPI units) and the feedback window.
  const ScreenRect main = PlaceMonthWindow(a, 5, scale).rect;
  EXPECT_EQ(PlaceSkinChooser(main, {274, 4, 298, 28}, scale), (ScreenRect{2343 + 141, 870 + 230, 2343 + 141 + 297, 870 + 230 + 210}));
  EXPECT_EQ(PlaceFeedback(a, 870, 290, scale), (ScreenRect{2343 - 360, 870, 2343, 870 + 435}));
}

}  // namespace
