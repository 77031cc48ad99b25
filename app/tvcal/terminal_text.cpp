#include "app/tvcal/terminal_text.h"

namespace {

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Calls f(code point) for each character; unpaired surrogates come out as U+FFFD.
template <typename F>
void ForEachCodePoint(std::u16string_view text, F f) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    f(c);
  }
}

}  // namespace

void AppendUtf8(std::string& out, std::u16string_view text) {
  ForEachCodePoint(text, [&out](char32_t c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  });
}

std::string Utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  AppendUtf8(out, text);
  return out;
}

int DisplayWidth(std::u16string_view text) {
  int width = 0;
  ForEachCodePoint(text, [&width](char32_t c) { width += IsWide(c) ? 2 : 1; });
  return width;
}

void AppendPadded(std::string& out, std::u16string_view text, int width) {
  AppendUtf8(out, text);
  for (int w = DisplayWidth(text); w < width; ++w) out += ' ';
}

void AppendPaddedLeft(std::string& out, std::u16string_view text, int width) {
  for (int w = DisplayWidth(text); w < width; ++w) out += ' ';
  AppendUtf8(out, text);
}
