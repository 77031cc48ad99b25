#include "calendar/statutory_holidays.h"

#include "calendar/lunar_dates.h"
#include "platform/date_time.h"
#include "platform/gregorian.h"

namespace {

// `count` days from `first`, and `day` as the holiday's date.
HolidayTexts DaysOff(std::optional<Day> first, int count, std::optional<Day> day) {
  HolidayTexts texts;
  if (!first || !day) return texts;
  for (int i = 0; i < count; ++i) {
    if (i > 0) texts.middle += u',';
    texts.middle += FormatDate(*first + i);
  }
  texts.day = FormatDate(*day);
  return texts;
}

}  // namespace

std::optional<Day> GregorianOfLunar(int lunarYear, int month, int day, bool leap) {
  return SolarDateOfLunar(LunarDate{lunarYear, month, day, leap ? 1 : 0});
}

std::optional<Day> NewYearsEveIn(int year) {
  const std::optional<Day> newYear = GregorianOfLunar(year, 1, 1);
  if (!newYear) return std::nullopt;
  return *newYear - 1;
}

std::array<HolidayTexts, kHolidayCount> StatutoryHolidays(int year) {
  std::array<HolidayTexts, kHolidayCount> holidays{};
  const std::optional<Day> springFestival = GregorianOfLunar(year, 1, 1);
  const int qingming = SolarTermDay(6, year);
  if (year < kStatutoryRulesFirstYear || !springFestival || qingming <= 0) return holidays;
  const auto on = [year](int month, int day) { return Day::FromValidCivil(year, month, day); };
  holidays[0] = DaysOff(on(1, 1), 1, on(1, 1));
  holidays[1] = DaysOff(NewYearsEveIn(year), 4, springFestival);
  holidays[2] = DaysOff(on(4, qingming), 1, on(4, qingming));
  holidays[3] = DaysOff(on(5, 1), 2, on(5, 1));
  const std::optional<Day> dragonBoat = GregorianOfLunar(year, 5, 5);
  holidays[4] = DaysOff(dragonBoat, 1, dragonBoat);
  const std::optional<Day> midAutumn = GregorianOfLunar(year, 8, 15);
  holidays[5] = DaysOff(midAutumn, 1, midAutumn);
  holidays[6] = DaysOff(on(10, 1), 3, on(10, 1));
  return holidays;
}
