#include "ui/attribute_values.h"

#include <algorithm>
#include <vector>

namespace tvui {

Rect Rect::Intersect(const Rect& o) const {
  Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
         std::min(bottom, o.bottom)};
  if (r.IsEmpty()) return {};
  return r;
}

Rect Rect::Union(const Rect& o) const {
  if (IsEmpty()) return o;
  if (o.IsEmpty()) return *this;
  return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
          std::max(bottom, o.bottom)};
}

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

bool ParseList(std::u16string_view text, std::vector<int>& values, size_t count) {
  values.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(u',', start);
    if (comma == std::u16string_view::npos) comma = text.size();
    int v = 0;
    if (!ParseInt(text.substr(start, comma - start), v)) return false;
    values.push_back(v);
    start = comma + 1;
    if (comma == text.size()) break;
  }
  return values.size() == count;
}

}  // namespace

std::u16string Trim(std::u16string_view text) {
  size_t b = 0;
  size_t e = text.size();
  while (b < e && IsSpace(text[b])) ++b;
  while (e > b && IsSpace(text[e - 1])) --e;
  return std::u16string(text.substr(b, e - b));
}

bool ParseInt(std::u16string_view raw, int& out) {
  std::u16string text = Trim(raw);
  if (text.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (text[0] == u'-' || text[0] == u'+') {
    negative = text[0] == u'-';
    i = 1;
  }
  if (i >= text.size()) return false;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    value = value * 10 + (text[i] - u'0');
    if (value > 1000000LL) return false;  // no skin value is this large
  }
  out = static_cast<int>(negative ? -value : value);
  return true;
}

bool ParseRect(std::u16string_view text, Rect& out) {
  std::vector<int> v;
  if (!ParseList(text, v, 4)) return false;
  out = {v[0], v[1], v[2], v[3]};
  return true;
}

bool ParseSize(std::u16string_view text, Size& out) {
  std::vector<int> v;
  if (!ParseList(text, v, 2) || v[0] < 0 || v[1] < 0) return false;
  out = {v[0], v[1]};
  return true;
}

bool ParsePoint(std::u16string_view text, Point& out) {
  std::vector<int> v;
  if (!ParseList(text, v, 2)) return false;
  out = {v[0], v[1]};
  return true;
}

bool ParseColor(std::u16string_view raw, Color& out) {
  std::u16string text = Trim(raw);
  size_t start = 0;
  int base = 16;
  if (!text.empty() && text[0] == u'#') {
    start = 1;
  } else if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    start = 2;
  } else {
    base = 10;
  }
  size_t digits = text.size() - start;
  if (digits == 0 || (base == 16 && digits != 6 && digits != 8)) return false;
  unsigned long long value = 0;
  for (size_t i = start; i < text.size(); ++i) {
    char16_t c = Lower(text[i]);
    int d = -1;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
    if (d < 0) return false;
    value = value * base + d;
    if (value > 0xFFFFFFFFULL) return false;
  }
  if (base == 16 && digits == 6) value |= 0xFF000000ULL;
  out = static_cast<Color>(value);
  return true;
}

bool ParseBool(std::u16string_view raw, bool& out) {
  std::u16string text = Trim(raw);
  if (EqualsNoCase(text, u"true") || text == u"1") {
    out = true;
    return true;
  }
  if (EqualsNoCase(text, u"false") || text == u"0") {
    out = false;
    return true;
  }
  return false;
}

}  // namespace tvui
