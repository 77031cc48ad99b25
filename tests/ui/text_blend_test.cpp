// Text in a colour whose alpha lies between 01 and FE is mixed with what is already drawn in the
// back buffer; alpha FF, and 00 by the skins' convention, draw it opaque.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ui/win32/dib_section.h"
#include "ui/win32/font_cache.h"
#include "ui/win32/gdiplus_session.h"
#include "ui/win32/renderer.h"
#include "ui/window_info.h"

namespace tvui {
namespace {

// The brightest blue level in a black 120 x 40 back buffer once bold text is drawn in color.
int BrightestAfterText(Color color) {
  constexpr int kWidth = 120, kHeight = 40;
  void* bits = nullptr;
  HBITMAP dib = CreateTopDownDib(kWidth, kHeight, &bits);
  if (!dib) return -1;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  auto* px = static_cast<std::uint32_t*>(bits);
  std::fill(px, px + kWidth * kHeight, 0xFF000000u);
  WindowInfo info;
  FontSpec bold;
  bold.name = u"Tahoma";
  bold.size = 28;
  bold.bold = true;
  info.fonts.push_back(bold);
  FontCache fonts(&info);
  {
    Renderer renderer(dc, info, fonts, u"", Scale(), DibPixels{dib, px, kWidth, kHeight});
    renderer.PaintString(u"MWM", {0, 0, kWidth, kHeight}, color, 0, HAlign::kCenter, VAlign::kCenter, false, false);
  }
  GdiFlush();
  int brightest = 0;
  for (int i = 0; i < kWidth * kHeight; ++i) brightest = std::max(brightest, static_cast<int>(px[i] & 0xFF));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
  return brightest;
}

TEST(TextColour, AnAlphaBetweenNoneAndFullMixesTheTextWithWhatIsUnderIt) {
  ASSERT_TRUE(EnsureGdiplus());
  EXPECT_EQ(BrightestAfterText(0xFFFFFFFF), 255);
  EXPECT_EQ(BrightestAfterText(0x00FFFFFF), 255);
  // White at B3 (70 %) over black: a fully covered pixel is 255 * 0xB3 / 255.
  EXPECT_EQ(BrightestAfterText(0xB3FFFFFF), 0xB3);
  EXPECT_EQ(BrightestAfterText(0x33FFFFFF), 0x33);
}

}  // namespace
}  // namespace tvui
