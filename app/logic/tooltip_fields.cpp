#include "app/logic/tooltip_fields.h"

#include "platform/text_utils.h"

namespace {
bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= u'A' && y <= u'Z') y = static_cast<char16_t>(y - u'A' + u'a');
    if (x != y) return false;
  }
  return true;
}
}  // namespace

TooltipFields ParseTooltipFields(std::u16string_view data) {
  TooltipFields f;
  size_t start = 0;
  while (start <= data.size()) {
    size_t end = data.find(u'#', start);
    if (end == std::u16string_view::npos) end = data.size();
    std::u16string_view part = data.substr(start, end - start);
    size_t colon = part.find(u':');
    std::u16string_view key = part.substr(0, colon);
    std::u16string value(colon == std::u16string_view::npos ? std::u16string_view{} : part.substr(colon + 1));
    if (SameKey(key, u"date")) f.day = value;
    else if (SameKey(key, u"week")) f.week = value;
    else if (SameKey(key, u"holiday")) f.holiday = TrimText(value);
    else if (key == u"宜") f.suitable = value;
    else if (key == u"忌") f.avoid = value;
    start = end + 1;
  }
  return f;
}
