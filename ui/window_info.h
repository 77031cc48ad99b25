#pragma once
// Window-level settings of a skin file (the <Window> element and its <Font> list).
#include <string>
#include <vector>

#include "ui/geometry.h"

namespace tvui {

struct FontSpec {
  int id = 0;
  std::u16string name = u"Microsoft YaHei";
  int size = 12;  // pixels (character height)
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

struct WindowInfo {
  Size size;            // initial client size; 0,0 = as created
  Rect caption;         // l,t,r,b: the band at the top (b pixels high) that drags the window
  Size roundCorner;     // x,y radii; 0 = square
  Size minInfo;
  Size maxInfo;
  Color bkColor = 0xFFFFFFFF;
  Color textColor = 0xFF333333;
  Color disabledTextColor = 0xFFA7A6AA;
  std::vector<FontSpec> fonts;
  int defaultFont = -1;  // id of the font marked default (else the first, else a built-in one)

  // The font with that id; falls back to the default font, then a built-in 12 px font.
  const FontSpec& Font(int id) const;
  // True when the point lies in the caption band (left/right insets excluded).
  bool InCaption(Point p, Size client) const;
};

}  // namespace tvui
