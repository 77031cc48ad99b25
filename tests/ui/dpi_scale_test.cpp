// Display scale arithmetic: what is painted where, and which control a device pixel hits, at the
// scales laptops ship with.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "ui/dpi_scale.h"

namespace tvui {
namespace {

constexpr int kScales[] = {96, 120, 144, 168, 192};  // 100 %, 125 %, 150 %, 175 %, 200 %

TEST(DpiScale, AdjacentCellsStayTouchingAndHitTestsFindThePaintedCell) {
  // The month grid: 7 columns of 47 units and 6 rows of 46 starting at an odd offset.
  for (int dpi : kScales) {
    SCOPED_TRACE(dpi);
    const Scale s(dpi);
    std::vector<Rect> cells;
    for (int row = 0; row < 6; ++row) {
      for (int col = 0; col < 7; ++col) cells.push_back(Rect{5 + 47 * col, 93 + 46 * row, 52 + 47 * col, 139 + 46 * row});
    }
    for (size_t i = 0; i + 1 < cells.size(); ++i) {
      const Rect a = s.ToDevice(cells[i]);
      const Rect b = s.ToDevice(cells[i + 1]);
      if (i % 7 != 6) {
        EXPECT_EQ(a.right, b.left) << "gap or overlap after cell " << i;
      }
      // No cell is more than a pixel off its exact size.
      EXPECT_LE(std::abs(a.Width() * 96 - 47 * dpi), 96) << i;
      EXPECT_LE(std::abs(a.Height() * 96 - 46 * dpi), 96) << i;
    }
    EXPECT_EQ(s.ToDevice(cells[0]).bottom, s.ToDevice(cells[7]).top);
    // Every device pixel of the grid hits exactly the cell it was painted for.
    const Rect grid = s.ToDevice(Rect{5, 93, 5 + 7 * 47, 93 + 6 * 46});
    for (int y = grid.top; y < grid.bottom; ++y) {
      for (int x = grid.left; x < grid.right; ++x) {
        const Point logical = s.ToLogical(Point{x, y});
        int painted = -1, hit = -1;
        for (size_t i = 0; i < cells.size(); ++i) {
          if (s.ToDevice(cells[i]).Contains({x, y})) painted = static_cast<int>(i);
          if (cells[i].Contains(logical)) hit = static_cast<int>(i);
        }
        ASSERT_EQ(hit, painted) << x << "," << y;
        ASSERT_GE(hit, 0);
      }
    }
  }
}

TEST(DpiScale, InverseAndCoverAreExactAlsoLeftOfThePrimaryMonitor) {
  for (int dpi : kScales) {
    const Scale s(dpi);
    for (int d = -500; d <= 1500; ++d) {
      const int l = s.ToLogical(d);
      ASSERT_LE(s.ToDevice(l), d) << dpi << " " << d;
      ASSERT_GT(s.ToDevice(l + 1), d) << dpi << " " << d;
      if (d >= 0) {
        const Size cover = s.ToLogicalCover({d, d});
        ASSERT_GE(s.ToDevice(cover.cx), d) << dpi << " " << d;
        ASSERT_LT(s.ToDevice(cover.cx - 1), d) << dpi << " " << d;
      }
    }
  }
}

TEST(DpiScale, WindowSizesFontsAndUnknownDpi) {
  // The 358 x 460/506 calendar window at 100/125/150/200 %.
  EXPECT_EQ(Scale(96).ToDevice(Size{358, 460}), (Size{358, 460}));
  EXPECT_EQ(Scale(120).ToDevice(Size{358, 506}), (Size{448, 633}));
  EXPECT_EQ(Scale(144).ToDevice(Size{358, 460}), (Size{537, 690}));
  EXPECT_EQ(Scale(144).ToDevice(Size{358, 506}), (Size{537, 759}));
  EXPECT_EQ(Scale(192).ToDevice(Size{358, 460}), (Size{716, 920}));
  EXPECT_EQ(Scale(144).ToDevice(Point{-3, -1}), (Point{-4, -1}));  // halves up, also below zero
  EXPECT_EQ(Scale(144).ToDevice(12), 18);                           // a 12-pixel font
  for (int bad : {0, -96, 20, 100000}) EXPECT_TRUE(Scale(bad).IsIdentity()) << bad;
}

TEST(DpiScale, PicturesUseTheNearestDrawingTheLargerOnATie) {
  const std::pair<int, int> choices[] = {{72, 96}, {96, 96},   {110, 96},  {120, 144}, {144, 144},
                                         {160, 144}, {168, 192}, {192, 192}, {288, 192}};
  for (auto [dpi, variant] : choices) EXPECT_EQ(ImageVariantDpi(dpi), variant) << dpi;
  EXPECT_EQ(ImageVariantPath(u"C:\\p\\skin15\\bg1.png", 96), u"C:\\p\\skin15\\bg1.png");
  EXPECT_EQ(ImageVariantPath(u"C:\\p\\skin15\\weather\\day\\sunny.png", 192), u"C:\\p\\skin15\\weather\\day\\sunny@2x.png");
  EXPECT_EQ(ImageVariantPath(u"C:\\p.q\\skin15/logo", 144), u"C:\\p.q\\skin15/logo@1.5x");
}

}  // namespace
}  // namespace tvui
