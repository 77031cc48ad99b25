#pragma once
// Plain substring searches over page text. Every position is an index into the text or kNotFound;
// none of these routines reads outside the text whatever positions they are given.
#include <cstddef>
#include <string>
#include <string_view>

constexpr size_t kNotFound = std::u16string_view::npos;

// First occurrence of marker at or after from; kNotFound when from is past the end or from is
// itself kNotFound.
size_t FindText(std::u16string_view text, std::u16string_view marker, size_t from);

// Removes leading and trailing characters whose code is 32 or less. A text made only of such
// characters is returned unchanged.
std::u16string Trim(std::u16string_view text);

// The text that ends at end (exclusive): scans backwards from end - 1 while the position is greater
// than lower; at the first stop character the text runs from just after it to end, otherwise from
// lower to end. Empty when end is kNotFound, past the text, or lower >= end.
std::u16string InnerTextBefore(std::u16string_view text, size_t end, size_t lower);
std::u16string InnerTextBeforeQuote(std::u16string_view text, size_t end, size_t lower);

// Text from begin up to end (exclusive), clipped to the text; empty when either is kNotFound.
std::u16string TextBetween(std::u16string_view text, size_t begin, size_t end);

// Position + n, kept at kNotFound when position is kNotFound.
inline size_t Advance(size_t position, size_t n) {
  return position == kNotFound ? kNotFound : position + n;
}
