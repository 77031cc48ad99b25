#pragma once
// Text helpers for terminal output: UTF-16 -> UTF-8 and display widths of CJK text.
#include <string>
#include <string_view>

// Appends the UTF-8 form of UTF-16 text (an unpaired surrogate becomes U+FFFD). A plain
// encoder: tvcal writes every day of two centuries and must not pay a conversion set-up per text.
void AppendUtf8(std::string& out, std::u16string_view text);
std::string Utf8(std::u16string_view text);

// Terminal columns of text: 2 for East Asian wide and full-width characters, else 1.
int DisplayWidth(std::u16string_view text);

// Appends text and then blanks up to `width` columns (nothing is cut).
void AppendPadded(std::string& out, std::u16string_view text, int width);
// Appends blanks first so that text ends at `width` columns.
void AppendPaddedLeft(std::string& out, std::u16string_view text, int width);

// An argument as tvcal quotes it back in a message: terminal control characters (C0, DEL, C1,
// bidirectional and line/paragraph separators), stray bytes that are not UTF-8 and "\" written
// as escapes ("\x1b", "\u{202e}", "\\"), so nothing the user typed can drive the terminal; cut
// after maxCharacters characters with "…" and the full length in bytes.
std::string ShownArgument(std::string_view utf8, size_t maxCharacters = 40);
