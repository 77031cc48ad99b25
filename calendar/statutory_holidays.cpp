#include "calendar/statutory_holidays.h"

#include "platform/date_time.h"
#include "platform/gregorian.h"

namespace {

CalendarDate FromDays(long long days) {
  const CivilDate civil = DateFromDays1970(days);
  return CalendarDate::Of(civil.year, civil.month, civil.day);
}

int DaysOf(const CalendarDate& date) { return DaysSince1970(date.year, date.month, date.day); }

// `count` days from `first`, and `day` as the holiday's date.
HolidayTexts DaysOff(const CalendarDate& first, int count, const CalendarDate& day) {
  HolidayTexts texts;
  if (!first.valid || !day.valid) return texts;
  for (int i = 0; i < count; ++i) {
    if (i > 0) texts.middle += u',';
    texts.middle += FromDays(DaysOf(first) + i).Text();
  }
  texts.day = day.Text();
  return texts;
}

}  // namespace

CalendarDate GregorianOfLunar(int lunarYear, int month, int day, bool leap) {
  if (YearDays(lunarYear) == 0 || month < 1 || month > 12 || day < 1) return {};
  if (leap && LeapMonth(lunarYear) != month) return {};
  if (day > (leap ? LeapMonthDays(lunarYear) : MonthDays(lunarYear, month))) return {};
  long long days = DaysSince1970(1900, 1, 31);  // lunar 1900-01-01
  for (int y = 1900; y < lunarYear; ++y) days += YearDays(y);
  for (int m = 1; m < month; ++m) {
    days += MonthDays(lunarYear, m);
    if (LeapMonth(lunarYear) == m) days += LeapMonthDays(lunarYear);
  }
  if (leap) days += MonthDays(lunarYear, month);
  return FromDays(days + day - 1);
}

CalendarDate NewYearsEveIn(int year) {
  const CalendarDate newYear = GregorianOfLunar(year, 1, 1);
  return newYear.valid ? FromDays(DaysOf(newYear) - 1) : CalendarDate{};
}

std::array<HolidayTexts, kHolidayCount> StatutoryHolidays(int year) {
  std::array<HolidayTexts, kHolidayCount> holidays{};
  const CalendarDate springFestival = GregorianOfLunar(year, 1, 1);
  const int qingming = SolarTermDay(6, year);
  if (year < kStatutoryRulesFirstYear || !springFestival.valid || qingming <= 0) return holidays;
  const auto on = [year](int month, int day) { return CalendarDate::Of(year, month, day); };
  holidays[0] = DaysOff(on(1, 1), 1, on(1, 1));
  holidays[1] = DaysOff(NewYearsEveIn(year), 4, springFestival);
  holidays[2] = DaysOff(on(4, qingming), 1, on(4, qingming));
  holidays[3] = DaysOff(on(5, 1), 2, on(5, 1));
  const CalendarDate dragonBoat = GregorianOfLunar(year, 5, 5);
  holidays[4] = DaysOff(dragonBoat, 1, dragonBoat);
  const CalendarDate midAutumn = GregorianOfLunar(year, 8, 15);
  holidays[5] = DaysOff(midAutumn, 1, midAutumn);
  holidays[6] = DaysOff(on(10, 1), 3, on(10, 1));
  return holidays;
}
