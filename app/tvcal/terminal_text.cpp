#include "app/tvcal/terminal_text.h"

#include <cstdint>

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

namespace {

// Length of the UTF-8 sequence at text[i] and its code point; 0 when the bytes there are not one.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& c) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char b = byte(i);
  size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;  // overlong or no character
  return n;
}

bool DrivesTheTerminal(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void AppendHex(std::string& out, uint32_t value, int digits) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

}  // namespace

std::string ShownArgument(std::string_view utf8, size_t maxCharacters) {
  std::string out;
  size_t shown = 0, i = 0;
  while (i < utf8.size() && shown < maxCharacters) {
    char32_t c = 0;
    size_t n = DecodeUtf8(utf8, i, c);
    if (n == 0) {
      out += "\\x";
      AppendHex(out, static_cast<unsigned char>(utf8[i]), 2);
      n = 1;
    } else if (c == U'\\') {
      out += "\\\\";
    } else if (DrivesTheTerminal(c)) {
      if (c < 0x80) {
        out += "\\x";
        AppendHex(out, c, 2);
      } else {
        out += "\\u{";
        AppendHex(out, c, 4);
        out += "}";
      }
    } else {
      out.append(utf8.substr(i, n));
    }
    i += n;
    ++shown;
  }
  if (i < utf8.size()) out += "… (" + std::to_string(utf8.size()) + " bytes)";
  return out;
}
