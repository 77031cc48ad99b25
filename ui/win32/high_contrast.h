#pragma once
// The system's high-contrast mode: whether it is on and the system colours windows are then drawn
// with (skins' pictures and colours give way to them).
#include "ui/geometry.h"

namespace tvui {

struct SystemPalette {
  bool on = false;
  Color window = 0xFFFFFFFF;
  Color text = 0xFF000000;
  Color highlight = 0xFF0078D7;
  Color highlightText = 0xFFFFFFFF;
  Color grayText = 0xFF808080;
};

// Read now (SPI_GETHIGHCONTRAST, GetSysColor); windows read it again on WM_SETTINGCHANGE.
SystemPalette ReadSystemPalette();

}  // namespace tvui
