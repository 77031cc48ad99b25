#pragma once
// Small text routines shared by every layer.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Two upper-case hexadecimal digits per byte, no separators.
std::u16string HexText(std::string_view bytes);
std::string HexTextA(std::string_view bytes);

// Every byte other than an ASCII letter or digit becomes "%" and two upper-case hex digits, so
// the result stands safely as a query value or a form field whatever the text holds.
std::string PercentEncode(std::string_view bytes);

std::u16string IntToText(int64_t value);
std::string IntToTextA(int64_t value);

// The value of a text of 1 ... maxDigits decimal digits and nothing else (no sign, no blanks);
// nothing otherwise. maxDigits is at most 18, so the value always fits.
std::optional<int64_t> DecimalValue(std::u16string_view text, size_t maxDigits);
std::optional<int64_t> DecimalValue(std::string_view text, size_t maxDigits);

// Drops characters with codes up to 32 at both ends.
std::u16string TrimText(std::u16string_view text);
std::string TrimText(std::string_view text);

// A..Z become a..z; every other character stays (paths and names compared without case).
std::u16string LowerAsciiText(std::u16string_view text);

// Replaces every occurrence of from (non-empty) by to.
std::u16string ReplaceText(std::u16string_view text, std::u16string_view from, std::u16string_view to);
std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to);

// ASCII letters compared without case (names, keys, header fields); every other character,
// CJK included, must match exactly.
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix);

// A new GUID, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}".
std::u16string MakeGuidText();
