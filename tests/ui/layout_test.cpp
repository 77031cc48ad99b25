// Layout numbers and hit testing of the control tree.
#include <gtest/gtest.h>

#include "ui/container.h"
#include "ui/label.h"
#include "ui_test_support.h"

namespace tvui {
namespace {

using testing::TestWindow;

TEST(Layout, VerticalKeepsFixedHeightsAndSharesTheRest) {
  TestWindow w(R"(<VerticalLayout inset="10,5,10,5" childpadding="4">
      <Label name="a" height="30"/>
      <Label name="b"/>
      <Label name="c" height="20" width="50" padding="3,2,0,1"/>
      <Label name="d"/>
      <Label name="hidden" height="500" visible="false"/>
    </VerticalLayout>)", {200, 150});
  // 140 inner height - 30 - 20 - 3 padding - 3 gaps of 4 = 75 shared by b and d (37 + 38).
  EXPECT_EQ(w.PosOf(u"a"), (Rect{10, 5, 190, 35}));
  EXPECT_EQ(w.PosOf(u"b"), (Rect{10, 39, 190, 76}));
  EXPECT_EQ(w.PosOf(u"c"), (Rect{13, 82, 63, 102}));
  EXPECT_EQ(w.PosOf(u"d"), (Rect{10, 107, 190, 145}));
}

TEST(Layout, HorizontalClampsStretchingChildrenToMinAndMax) {
  TestWindow w(R"(<HorizontalLayout>
      <Label name="a" width="40"/>
      <Label name="b" maxwidth="30"/>
      <Label name="c" minwidth="100"/>
      <Label name="d" height="10"/>
    </HorizontalLayout>)", {200, 50});
  EXPECT_EQ(w.PosOf(u"a"), (Rect{0, 0, 40, 50}));
  EXPECT_EQ(w.PosOf(u"b"), (Rect{40, 0, 70, 50}));
  EXPECT_EQ(w.PosOf(u"c").Width(), 100);
  EXPECT_EQ(w.PosOf(u"d").Height(), 10);
}

TEST(Layout, OverfullRowsNeverGetNegativeSizes) {
  TestWindow w(R"(<HorizontalLayout><Label name="a" width="150"/><Label name="b" width="150"/><Label name="c"/></HorizontalLayout>)",
               {200, 20});
  EXPECT_EQ(w.PosOf(u"c").Width(), 0);
  EXPECT_GE(w.PosOf(u"c").left, 300);
}

TEST(Layout, AbsurdNumbersAreRefusedOrClamped) {
  TestWindow w(R"(<TileLayout name="t" columns="2000000000" childpadding="1000000"><Label name="a" width="99999999999"/></TileLayout>)",
               {100, 100});
  ASSERT_TRUE(w.error.empty());
  auto* tile = dynamic_cast<TileLayout*>(w.Find(u"t"));
  EXPECT_EQ(tile->GetColumns(), 0);
  EXPECT_EQ(w.Find(u"a")->GetFixedWidth(), 0);
  tile->SetColumns(1 << 30);
  w.manager.Layout();
  EXPECT_EQ(w.PosOf(u"a").left, 0);
}

TEST(Layout, TileRowsOfSevenMixedWidthCells) {
  std::string xml = R"(<TileLayout name="menology" columns="7" inset="15,0,0,0">)";
  for (int i = 0; i < 10; ++i) {
    int width = (i % 7 == 6) ? 46 : 47;
    xml += "<Container name=\"cell" + std::to_string(i) + "\" width=\"" + std::to_string(width) +
           "\" height=\"46\"/>";
  }
  xml += "</TileLayout>";
  TestWindow w(xml, {358, 300});
  EXPECT_EQ(w.PosOf(u"cell0"), (Rect{15, 0, 62, 46}));
  EXPECT_EQ(w.PosOf(u"cell5"), (Rect{250, 0, 297, 46}));
  EXPECT_EQ(w.PosOf(u"cell6"), (Rect{297, 0, 343, 46}));
  EXPECT_EQ(w.PosOf(u"cell7"), (Rect{15, 46, 62, 92}));
  EXPECT_EQ(w.PosOf(u"cell9"), (Rect{109, 46, 156, 92}));
}

TEST(Layout, TileWithItemSizeFitsAsManyColumnsAsRoomAllows) {
  TestWindow w(R"(<TileLayout itemsize="60,40" childpadding="6">
      <Label name="t1"/><Label name="t2"/><Label name="t3"/><Label name="t4"/></TileLayout>)",
               {198, 140});
  // (198 + 6) / 66 = 3 columns.
  EXPECT_EQ(w.PosOf(u"t3"), (Rect{132, 0, 192, 40}));
  EXPECT_EQ(w.PosOf(u"t4"), (Rect{0, 46, 60, 86}));
}

TEST(Layout, FloatingControlsUseTheirParentsCorner) {
  TestWindow w(R"(<VerticalLayout><Label height="100"/>
      <Container name="box" inset="5,5,5,5">
        <Label name="f" float="true" pos="122,93,192,111"/>
        <Label name="fill"/>
      </Container></VerticalLayout>)", {300, 300});
  EXPECT_EQ(w.PosOf(u"box").top, 100);
  EXPECT_EQ(w.PosOf(u"f"), (Rect{122, 193, 192, 211}));
  EXPECT_EQ(w.PosOf(u"fill"), (Rect{5, 105, 295, 295}));
  // SetPos on a floating control moves it at the next layout.
  w.Find(u"f")->SetPos({122, 93, 202, 111});
  EXPECT_TRUE(w.manager.NeedsLayout());
  w.manager.Layout();
  EXPECT_EQ(w.PosOf(u"f"), (Rect{122, 193, 202, 211}));
}

TEST(Layout, ChangingSizeOrVisibilityRelaysOutAndInvalidates) {
  TestWindow w(R"(<VerticalLayout><Label name="a" height="20"/><Label name="b"/></VerticalLayout>)",
               {100, 100});
  w.host.invalidated.clear();
  w.Find(u"a")->SetFixedHeight(46);
  w.manager.Layout();
  EXPECT_EQ(w.PosOf(u"b").top, 46);
  w.Find(u"a")->SetVisible(false);
  w.manager.Layout();
  EXPECT_EQ(w.PosOf(u"b").top, 0);
  EXPECT_FALSE(w.host.invalidated.empty());
  w.host.invalidated.clear();
  w.Find(u"b")->SetText(u"新");
  ASSERT_EQ(w.host.invalidated.size(), 1u);
  EXPECT_EQ(w.host.invalidated[0], w.PosOf(u"b"));
}

TEST(HitTesting, FindsTheDeepestShownMouseControl) {
  TestWindow w(R"(<Container name="root">
      <Container name="cell" float="true" pos="10,10,57,56">
        <Option name="isSelect"/>
        <Label name="day" float="true" pos="0,4,47,24" mouse="false"/>
        <Label name="badge" float="true" pos="30,0,47,14"/>
      </Container>
      <Button name="gone" float="true" pos="100,0,150,50" visible="false"/>
    </Container>)", {200, 100});
  EXPECT_EQ(w.manager.FindControl(Point{20, 20})->GetName(), u"isSelect")
      << "the label with mouse=false lets the option underneath be found";
  EXPECT_EQ(w.manager.FindControl(Point{50, 12})->GetName(), u"badge") << "later siblings are on top";
  EXPECT_EQ(w.manager.FindControl(Point{120, 20})->GetName(), u"root") << "hidden controls are not hit";
  EXPECT_EQ(w.manager.FindControl(Point{500, 20}), nullptr);
  EXPECT_EQ(w.manager.FindControl(Point{57, 20})->GetName(), u"root") << "right edge is outside";
}

TEST(HitTesting, CaptionBandExcludesItsInsets) {
  WindowInfo info;
  info.caption = {0, 0, 40, 36};
  EXPECT_TRUE(info.InCaption({5, 35}, {358, 460}));
  EXPECT_FALSE(info.InCaption({5, 36}, {358, 460}));
  EXPECT_FALSE(info.InCaption({320, 10}, {358, 460}));
}

}  // namespace
}  // namespace tvui
