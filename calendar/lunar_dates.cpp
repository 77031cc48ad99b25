#include "calendar/lunar_dates.h"

#include <array>
#include <string>

namespace {

constexpr int kFirstLunarYear = 1900;
constexpr int kLastLunarYear = 2100;

// Days from lunar 1900-01-01 (1900-01-31) to the first day of each lunar year; built once from
// the engine's year lengths.
const std::array<int, kLastLunarYear - kFirstLunarYear + 1>& YearStarts() {
  static const auto starts = [] {
    std::array<int, kLastLunarYear - kFirstLunarYear + 1> s{};
    for (int i = 1; i < static_cast<int>(s.size()); ++i) s[i] = s[i - 1] + YearDays(kFirstLunarYear + i - 1);
    return s;
  }();
  return starts;
}

}  // namespace

int LunarMonthLength(int year, int month, bool leap) {
  if (year < kFirstLunarYear || year > kLastLunarYear || month < 1 || month > 12) return 0;
  if (!leap) return MonthDays(year, month);
  return LeapMonth(year) == month ? LeapMonthDays(year) : 0;
}

std::optional<Day> SolarDateOfLunar(const LunarDate& lunar) {
  const int length = LunarMonthLength(lunar.year, lunar.month, lunar.leap != 0);
  if (length == 0 || lunar.day < 1 || lunar.day > length) return std::nullopt;
  int offset = YearStarts()[lunar.year - kFirstLunarYear];
  for (int m = 1; m < lunar.month; ++m) offset += MonthDays(lunar.year, m);
  // The leap month follows the ordinary month of its number.
  const int leapMonth = LeapMonth(lunar.year);
  if (leapMonth != 0 && leapMonth < lunar.month) offset += LeapMonthDays(lunar.year);
  if (lunar.leap) offset += MonthDays(lunar.year, lunar.month);
  offset += lunar.day - 1;
  return kFirstCalendarDay + offset;
}

std::u16string GregorianDayText(Day day) {
  const auto number = [](int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  };
  return number(day.Year()) + u"年" + number(day.Month()) + u"月" + number(day.DayOfMonth()) + u"日";
}

std::u16string LunarMonthDayText(const LunarDate& lunar) {
  const std::u16string month = LunarMonthName(lunar.month);
  const std::u16string day = LunarDayName(lunar.day);
  if (month.empty() || day.empty()) return {};
  return (lunar.leap ? u"闰" : u"") + month + u"月" + day;
}
