#include "app/logic/tooltip_fields.h"

#include "platform/text_utils.h"

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
    if (EqualsNoCase(key, u"date")) f.day = value;
    else if (EqualsNoCase(key, u"week")) f.week = value;
    else if (EqualsNoCase(key, u"holiday")) f.holiday = TrimText(value);
    else if (key == u"宜") f.suitable = value;
    else if (key == u"忌") f.avoid = value;
    else if (key == u"提醒") f.reminders = value;
    start = end + 1;
  }
  return f;
}

std::u16string TooltipRemindersPart(std::u16string_view lines) {
  if (lines.empty()) return {};
  std::u16string part = u"#提醒:";
  for (char16_t c : lines) part += c == u'#' ? u'\uFF03' : c;
  return part;
}
