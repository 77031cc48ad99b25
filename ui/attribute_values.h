#pragma once
// Parsing of the small value syntaxes used by skin attributes: integers, "l,t,r,b" rectangles,
// "w,h" sizes, "#AARRGGBB" colours and true/false. Every parser returns false on malformed text and
// leaves its output untouched.
#include <string>
#include <string_view>

#include "platform/text_utils.h"
#include "ui/geometry.h"

namespace tvui {

bool ParseInt(std::u16string_view text, int& out);
bool ParseRect(std::u16string_view text, Rect& out);   // "l,t,r,b"
bool ParseSize(std::u16string_view text, Size& out);   // "w,h"
bool ParsePoint(std::u16string_view text, Point& out); // "x,y"
// "#AARRGGBB", "#RRGGBB" (opaque), "0xAARRGGBB" or a decimal number.
bool ParseColor(std::u16string_view text, Color& out);
bool ParseBool(std::u16string_view text, bool& out);   // "true"/"false"/"1"/"0", any case

// ASCII case-insensitive comparison (control names, group names, notification types).
using ::EqualsNoCase;

std::u16string Trim(std::u16string_view text);

}  // namespace tvui
