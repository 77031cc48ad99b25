#include "app/logic/access_texts.h"

#include <string_view>

#include "calendar/ccalendar.h"
#include "calendar/lunar_dates.h"
#include "platform/text_utils.h"

namespace {

// The items of a list separated by `separator` (empty items left out), joined by `joint`.
std::u16string JoinItems(std::u16string_view list, std::u16string_view separator, std::u16string_view joint) {
  std::u16string text;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = list.find(separator, start);
    const std::u16string_view item = list.substr(start, end == std::u16string_view::npos ? end : end - start);
    if (!item.empty()) {
      if (!text.empty()) text += joint;
      text += item;
    }
    if (end == std::u16string_view::npos) break;
    start = end + separator.size();
  }
  return text;
}

// A festival text without its bracketed notes ("国际民航日[纪念1994, 1996定]" → "国际民航日").
std::u16string WithoutNotes(std::u16string_view text) {
  std::u16string out;
  int depth = 0;
  for (char16_t c : text) {
    if (c == u'[') ++depth;
    else if (c == u']' && depth > 0) --depth;
    else if (depth == 0) out += c;
  }
  return out;
}

void AddPart(std::u16string& name, std::u16string_view part) {
  if (part.empty()) return;
  name += u"，";
  name += part;
}

}  // namespace

DayAccess DescribeDayCell(const DayInfo& day, const DayCellStates& states) {
  DayAccess access;
  access.states = states;
  std::u16string& name = access.name;
  name = GregorianDayText(day.date);
  std::u16string_view weekday = WeekdayName(day.weekday);
  if (!weekday.empty()) name += u" " + std::u16string(weekday);
  if (!day.lunarMonthName.empty() && !day.lunarDayName.empty()) {
    AddPart(name, u"农历" + day.lunarMonthName + u"月" + day.lunarDayName);
  }
  // Festivals and memorial days may come as several names in one text, with notes a reader skips.
  for (const std::u16string* part : {&day.solarTerm, &day.lunarFestival, &day.solarFestival}) {
    AddPart(name, JoinItems(WithoutNotes(*part), u" ", u"，"));
  }
  if (day.workDay) AddPart(name, u"班");  // a make-up working day wins, as on the cell
  else if (day.restDay) AddPart(name, u"休");
  if (states.today) AddPart(name, u"今天");
  if (states.otherMonth < 0) AddPart(name, u"上个月");
  if (states.otherMonth > 0) AddPart(name, u"下个月");

  const std::u16string suitable = JoinItems(day.suitable, u"\r\n", u"、");
  const std::u16string avoid = JoinItems(day.avoid, u"\r\n", u"、");
  if (!suitable.empty()) access.description = u"宜：" + suitable;
  if (!avoid.empty()) access.description += (access.description.empty() ? u"忌：" : u"；忌：") + avoid;
  return access;
}

std::u16string GridAccessName(int year, int month) { return IntToText(year) + u"年" + IntToText(month) + u"月"; }

std::u16string WeatherAccessName(std::u16string_view city, std::u16string_view toolTip,
                                 std::u16string_view temperature, std::u16string_view airText) {
  std::u16string condition = TrimText(toolTip);
  condition = condition.substr(0, condition.find(u' '));
  std::u16string air = TrimText(airText);
  if (!air.empty() && air.rfind(u"空气质量", 0) != 0) air = u"空气质量 " + air;
  std::u16string name;
  for (const std::u16string& part : {TrimText(city), condition, TrimText(temperature), air}) {
    if (part.empty()) continue;
    if (!name.empty()) name += u" ";
    name += part;
  }
  return name;
}
