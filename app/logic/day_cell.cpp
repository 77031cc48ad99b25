#include "app/logic/day_cell.h"

#include <cstdio>

#include "calendar/ccalendar.h"
#include "calendar/lunar_dates.h"
#include "calendar/statutory_holidays.h"
#include "platform/text_utils.h"

namespace {

constexpr size_t kAlmanacLimit = 20;

std::u16string Number(int n) { return IntToText(n); }


std::u16string DateText(const DayInfo& day) { return GregorianDayText(day.date); }

// The weekday and the lunar month and day (the lunar text without its year: two GanZhi
// characters and 年).
std::u16string WeekText(const DayInfo& day) {
  std::u16string s(WeekdayName(day.weekday));
  s += u" ";
  if (day.lunarText.size() > 3) s += day.lunarText.substr(3);
  return s;
}

// A blank before each name. A computed day off says so first: the festival names stand on the
// cell itself.
std::u16string HolidayText(const DayInfo& day) {
  std::u16string s;
  if (day.restEstimated) s += u" " + std::u16string(kStatutoryNote);
  for (const std::u16string* part : {&day.solarTerm, &day.solarFestival, &day.lunarFestival}) {
    if (!part->empty()) s += u" " + *part;
  }
  return s;
}

}  // namespace

std::u16string ShortenAlmanacText(std::u16string_view list) {
  std::u16string text = ReplaceText(list, u"\r\n", u" ");
  if (text.size() <= kAlmanacLimit) return text;
  size_t blank = text.rfind(u' ', kAlmanacLimit);
  text.resize(blank == std::u16string::npos ? kAlmanacLimit : blank);
  return text;
}

std::u16string DayDataString(const DayInfo& day) {
  std::u16string s = u"date:" + DateText(day) + u"#week:" + WeekText(day) + u"#holiday:" + HolidayText(day);
  if (!day.suitable.empty()) s += u"#宜:" + ShortenAlmanacText(day.suitable);
  if (!day.avoid.empty()) s += u"#忌:" + ShortenAlmanacText(day.avoid);
  return s;
}

TooltipFields TooltipFieldsOf(const DayInfo& day, std::u16string_view reminders) {
  TooltipFields f;
  f.day = DateText(day);
  f.week = WeekText(day);
  f.holiday = TrimText(HolidayText(day));
  f.suitable = ShortenAlmanacText(day.suitable);
  f.avoid = ShortenAlmanacText(day.avoid);
  f.reminders = reminders;
  return f;
}

DayCellLook LookOfDayCell(const DayInfo& day, int index, const DayInfo* next, int month,
                          int todayDay, int selectedDay) {
  DayCellLook look;
  look.inMonth = day.date.Month() == month;
  bool narrow = index % 7 == 6 || !next || next->date.Month() != month;
  look.width = narrow ? 46 : 47;
  look.normalImage = narrow ? u"day_n46.png" : u"day_n.png";
  if (day.restDay) look.badgeImage = u"release.png";
  if (day.workDay) look.badgeImage = u"work.png";  // a make-up working day wins
  look.tag = day.date.DayOfMonth();
  look.dayText = Number(day.date.DayOfMonth());
  look.dayColor = kDayTextColor;
  if (!look.inMonth) {
    look.normalImage.clear();
    look.dayColor = kOtherMonthColor;
  }
  if (look.inMonth && todayDay != 0 && day.date.DayOfMonth() == todayDay) {
    look.normalImage = u"day_s.png";
    look.today = true;
  }
  if (look.inMonth && selectedDay != 0 && day.date.DayOfMonth() == selectedDay) {
    look.normalImage = u"select.png";
    look.selected = true;
  }
  bool festival = false;
  look.lunarText = DayCellLabel(day, &festival);
  look.lunarColor = festival ? kFestivalColor : kLunarDayColor;
  if (day.weekday == Weekday::kSaturday || day.weekday == Weekday::kSunday) look.dayColor = kWeekendColor;
  return look;
}
