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
  // For looking at the drawing where the system cannot switch the mode on (Wine): the mode is
  // taken as on, in the system's present colours.
  wchar_t forced[4] = {};
  if (GetEnvironmentVariableW(L"TAVRINO_HIGH_CONTRAST", forced, 4) == 1 && forced[0] == L'1') palette.on = true;
  if (!palette.on) return palette;
  palette.window = SystemColor(COLOR_WINDOW);
  palette.text = SystemColor(COLOR_WINDOWTEXT);
  palette.highlight = SystemColor(COLOR_HIGHLIGHT);
  palette.highlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
  palette.grayText = SystemColor(COLOR_GRAYTEXT);
  return palette;
}

}  // namespace tvui
