#pragma once
// Conversions between the program's UTF-16 text and narrow text in an explicit code page.
// Windows: MultiByteToWideChar / WideCharToMultiByte. POSIX: iconv, where the ANSI code page is 936.
#include <string>
#include <string_view>

constexpr unsigned kCodePageAnsi = 0;      // CP_ACP
constexpr unsigned kCodePageGbk = 936;
constexpr unsigned kCodePageUtf8 = 65001;  // CP_UTF8

// Invalid input sequences become U+FFFD (decoding) or '?' (encoding); never throws.
std::u16string ToWide(std::string_view text, unsigned codePage);
std::string ToNarrow(std::u16string_view text, unsigned codePage);

inline std::u16string Utf8ToWide(std::string_view text) { return ToWide(text, kCodePageUtf8); }
inline std::string WideToUtf8(std::u16string_view text) { return ToNarrow(text, kCodePageUtf8); }
