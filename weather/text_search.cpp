#include "weather/text_search.h"

namespace {

std::u16string InnerTextBeforeChar(std::u16string_view text, size_t end, size_t lower, char16_t stop) {
  if (end == kNotFound || end > text.size() || lower == kNotFound || lower >= end) return {};
  size_t start = lower;
  for (size_t p = end - 1; p > lower; --p) {
    if (text[p] == stop) {
      start = p + 1;
      break;
    }
  }
  return std::u16string(text.substr(start, end - start));
}

}  // namespace

size_t FindText(std::u16string_view text, std::u16string_view marker, size_t from) {
  if (from == kNotFound || from > text.size()) return kNotFound;
  return text.find(marker, from);
}

std::u16string Trim(std::u16string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] <= 32) ++b;
  while (e > b && text[e - 1] <= 32) --e;
  if (b == e) return std::u16string(text);  // empty, or blanks only: unchanged
  return std::u16string(text.substr(b, e - b));
}

std::u16string InnerTextBefore(std::u16string_view text, size_t end, size_t lower) {
  return InnerTextBeforeChar(text, end, lower, u'>');
}

std::u16string InnerTextBeforeQuote(std::u16string_view text, size_t end, size_t lower) {
  return InnerTextBeforeChar(text, end, lower, u'"');
}

std::u16string TextBetween(std::u16string_view text, size_t begin, size_t end) {
  if (begin == kNotFound || end == kNotFound || begin >= text.size() || end <= begin) return {};
  if (end > text.size()) end = text.size();
  return std::u16string(text.substr(begin, end - begin));
}
