#include "platform/db_value.h"

#include "platform/text_utils.h"

std::optional<int64_t> DbValue::Int() const {
  if (const auto* n = std::get_if<int64_t>(&value_)) return *n;
  const auto* text = std::get_if<std::u16string>(&value_);
  if (!text || text->empty()) return std::nullopt;
  const bool negative = (*text)[0] == u'-';
  if (text->size() == (negative ? 1u : 0u)) return std::nullopt;
  // Gathered as a negative number, so that the smallest int64 fits too.
  int64_t value = 0;
  for (size_t i = negative ? 1 : 0; i < text->size(); ++i) {
    const char16_t c = (*text)[i];
    if (c < u'0' || c > u'9') return std::nullopt;
    const int digit = c - u'0';
    if (value < (INT64_MIN + digit) / 10) return std::nullopt;
    value = value * 10 - digit;
  }
  if (!negative && value == INT64_MIN) return std::nullopt;
  return negative ? value : -value;
}

std::u16string DbValue::Text() const {
  if (const auto* n = std::get_if<int64_t>(&value_)) return IntToText(*n);
  if (const auto* text = std::get_if<std::u16string>(&value_)) return *text;
  return {};
}
