#pragma once
// Image attribute texts: a bare file name ("bg1.png") or key='value' pairs
// ("file='bg1.png' corner='1,1,1,1' source='0,0,47,46' dest='2,2,45,44' fade='200'").
#include <string>
#include <string_view>

#include "ui/geometry.h"

namespace tvui {

struct ImageSpec {
  std::u16string file;   // relative to the skin folder, separators as written
  Rect corner;           // nine-grid margins; all zero = plain stretch
  Rect source;           // part of the file; used when hasSource
  bool hasSource = false;
  Rect dest;             // where inside the control; used when hasDest
  bool hasDest = false;
  int fade = 255;        // 0 … 255
};

// Empty text parses to an empty ImageSpec (no image). Returns false for malformed text (unbalanced
// quotes, bad numbers, a list without file=); out is then left empty.
bool ParseImageSpec(std::u16string_view text, ImageSpec& out);

// Joins the skin folder and a relative file, using '/' between parts and turning every
// backslash into '/', so the same text works natively and on Windows. Absolute files stay as given.
std::u16string JoinSkinPath(std::u16string_view folder, std::u16string_view file);

}  // namespace tvui
