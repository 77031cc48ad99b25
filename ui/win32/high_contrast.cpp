#include "ui/win32/high_contrast.h"

#include <windows.h>

namespace tvui {

namespace {

Color SystemColor(int index) {
  const COLORREF c = GetSysColor(index);
  return 0xFF000000u | (static_cast<Color>(GetRValue(c)) << 16) | (static_cast<Color>(GetGValue(c)) << 8) |
         GetBValue(c);
}

}  // namespace

SystemPalette ReadSystemPalette() {
  SystemPalette palette;
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof(hc);
  palette.on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
  if (!palette.on) return palette;
  palette.window = SystemColor(COLOR_WINDOW);
  palette.text = SystemColor(COLOR_WINDOWTEXT);
  palette.highlight = SystemColor(COLOR_HIGHLIGHT);
  palette.highlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
  palette.grayText = SystemColor(COLOR_GRAYTEXT);
  return palette;
}

}  // namespace tvui
