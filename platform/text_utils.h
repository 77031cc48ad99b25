#pragma once
// Small text routines shared by every layer.
#include <cstdint>
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

// Drops characters with codes up to 32 at both ends.
std::u16string TrimText(std::u16string_view text);
std::string TrimText(std::string_view text);

// True when a and b are equal with ASCII letters compared ignoring case (other characters as they are).
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

// A..Z become a..z; every other character stays (paths and names compared without case).
std::u16string LowerAsciiText(std::u16string_view text);

// Replaces every occurrence of from (non-empty) by to.
std::u16string ReplaceText(std::u16string_view text, std::u16string_view from, std::u16string_view to);
std::string ReplaceText(std::string_view text, std::string_view from, std::string_view to);

// A new GUID, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}".
std::u16string MakeGuidText();
