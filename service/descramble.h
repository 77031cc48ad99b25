#pragma once
// The scrambling of the statistics service's answer and of the channel file "bsc.dat": the text
// is base64 of bytes enciphered with RC4, whose key is the SHA-256 digest of a fixed key text.
#include <string>
#include <string_view>

// The key text compiled into the program (32 ASCII characters).
inline constexpr std::string_view kScrambleKeyText = "7C2D41E9B0A63e8F1D5C9720AB4E61D5";

// Base64 with the standard alphabet. Decoding stops at the first "=" or at the first character
// that is not a letter, a digit, "+" or "/"; a last group of 2 or 3 characters yields 1 or 2
// bytes, a lone last character nothing.
std::string DecodeBase64Prefix(std::string_view text);

// DecodeBase64Prefix, then RC4 with SHA-256(kScrambleKeyText). The bytes are the text; empty for
// empty input, and empty (logged) when the system's cryptography cannot be used.
std::string DescrambleText(std::string_view text);
