#include "platform/text_utils.h"

namespace {

template <typename Char>
std::basic_string<Char> Hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::basic_string<Char> out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out.push_back(static_cast<Char>(kDigits[b >> 4]));
    out.push_back(static_cast<Char>(kDigits[b & 15]));
  }
  return out;
}

template <typename Char>
std::basic_string<Char> Decimal(int64_t value) {
  std::basic_string<Char> out;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    out.insert(out.begin(), static_cast<Char>('0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude);
  if (value < 0) out.insert(out.begin(), static_cast<Char>('-'));
  return out;
}

template <typename Char>
std::basic_string<Char> Trim(std::basic_string_view<Char> text) {
  size_t b = 0, e = text.size();
  while (b < e && static_cast<uint32_t>(text[b]) <= 32) ++b;
  while (e > b && static_cast<uint32_t>(text[e - 1]) <= 32) --e;
  return std::basic_string<Char>(text.substr(b, e - b));
}


template <typename Char>
std::basic_string<Char> Replace(std::basic_string_view<Char> text, std::basic_string_view<Char> from,
                                std::basic_string_view<Char> to) {
  if (from.empty()) return std::basic_string<Char>(text);
  std::basic_string<Char> out;
  size_t pos = 0;
  for (;;) {
    size_t hit = text.find(from, pos);
    if (hit == text.npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

template <typename Char>
bool SameNoCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(static_cast<char16_t>(a[i])) != AsciiLower(static_cast<char16_t>(b[i]))) return false;
  }
  return true;
}

}  // namespace

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) { return SameNoCase(a, b); }
bool EqualsNoCase(std::string_view a, std::string_view b) { return SameNoCase(a, b); }
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && SameNoCase(text.substr(0, prefix.size()), prefix);
}

std::u16string HexText(std::string_view bytes) { return Hex<char16_t>(bytes); }
std::string HexTextA(std::string_view bytes) { return Hex<char>(bytes); }
std::string PercentEncode(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char ch : bytes) {
    bool plain = (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
    if (plain) {
      out += static_cast<char>(ch);
    } else {
      out += '%';
      out += kHex[ch >> 4];
      out += kHex[ch & 15];
    }
  }
  return out;
}

std::u16string IntToText(int64_t value) { return Decimal<char16_t>(value); }

namespace {

template <typename Char>
std::optional<int64_t> ValueOfDigits(std::basic_string_view<Char> text, size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits || text.size() > 18) return std::nullopt;
  int64_t value = 0;
  for (Char c : text) {
    if (c < Char('0') || c > Char('9')) return std::nullopt;
    value = value * 10 + (c - Char('0'));
  }
  return value;
}

}  // namespace

std::optional<int64_t> DecimalValue(std::u16string_view text, size_t maxDigits) { return ValueOfDigits(text, maxDigits); }
std::optional<int64_t> DecimalValue(std::string_view text, size_t maxDigits) { return ValueOfDigits(text, maxDigits); }
std::string IntToTextA(int64_t value) { return Decimal<char>(value); }
std::u16string TrimText(std::u16string_view text) { return Trim(text); }
std::string TrimText(std::string_view text) { return Trim(text); }
std::u16string ReplaceText(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
  return Replace(text, from, to);
}
std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to) {
  return Replace(text, from, to);
}

std::u16string LowerAsciiText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = AsciiLower(c);
  return out;
}
