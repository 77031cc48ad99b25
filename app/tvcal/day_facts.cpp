#include "app/tvcal/day_facts.h"

#include <string_view>

#include "calendar/day_info.h"

DayFactsProvider::~DayFactsProvider() = default;

bool DayFactsProvider::Fill(const CalendarDate& date, DayFacts& facts) const {
  facts.cal.Calculate(date);
  facts.shortLabel.clear();
  facts.restDay = facts.workDay = facts.restEstimated = false;
  facts.suitable.clear();
  facts.avoid.clear();
  if (!facts.cal.IsValid()) {
    facts.weekday = 0;
    return false;
  }
  facts.weekday = (WeekdayOf(date.year, date.month, date.day) + 5) % 7 + 1;
  const char16_t monthDay[5] = {static_cast<char16_t>(u'0' + date.month / 10),
                                static_cast<char16_t>(u'0' + date.month % 10), u'-',
                                static_cast<char16_t>(u'0' + date.day / 10),
                                static_cast<char16_t>(u'0' + date.day % 10)};
  facts.shortLabel = ShortDayLabel(std::u16string_view(monthDay, 5), facts.cal.lunarFestival,
                                   facts.cal.solarTerm, facts.cal.solarFestival);
  return true;
}

void DayFactsProvider::Prepare(const CalendarDate&, int) const {}

std::u16string LunarMonthDayText(const CCalendar& cal) {
  std::u16string s;
  if (cal.leapFlag) s += u'闰';
  s += cal.lunarMonthName;
  s += u'月';
  s += cal.lunarDayName;
  return s;
}

std::u16string CellText(const DayFacts& facts, bool* highlighted) {
  const CCalendar& cal = facts.cal;
  for (const std::u16string* text :
       {&facts.shortLabel, &cal.lunarFestival, &cal.solarTerm, &cal.solarFestival}) {
    if (text->empty()) continue;
    if (text->size() <= 3) {
      if (highlighted) *highlighted = true;
      return *text;
    }
    break;  // the first non-empty text decides; a long one falls back to the lunar day
  }
  if (highlighted) *highlighted = false;
  if (cal.lunarDay == 1) {  // 三月, 闰二月; 闰十一 (the cell holds three characters)
    std::u16string s = (cal.leapFlag ? u"闰" : u"") + cal.lunarMonthName;
    if (s.size() < 3) s += u'月';
    return s;
  }
  return cal.lunarDayName;
}
