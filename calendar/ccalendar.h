#pragma once
// The lunar calendar engine: Gregorian date -> Chinese lunar date, GanZhi names, zodiac animal,
// era label, solar term and festival texts. Pure computation on compiled-in tables.
//
// Supported range: 1900-01-31 (lunar 1900-01-01) through 2101-01-28 (last day of lunar 2100).
// `Calculate` refuses any other day: the object stays reset and
// `IsValid()` is false.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/gregorian.h"
#include "platform/system_time.h"

// A lunar date. A leap month carries the number of the ordinary month it follows.
struct LunarDate {
  int year = 0;   // e.g. 2024
  int month = 0;  // 1 ... 12
  int day = 0;    // 1 ... 30
  int leap = 0;   // 1 in the leap month, else 0

  friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// First and last Gregorian day the engine converts.
inline constexpr Day kFirstCalendarDay = Day::FromCivil(1900, 1, 31);
inline constexpr Day kLastCalendarDay = Day::FromCivil(2101, 1, 28);
// True when the day lies in kFirstCalendarDay ... kLastCalendarDay.
constexpr bool IsInCalendarRange(Day day) { return day >= kFirstCalendarDay && day <= kLastCalendarDay; }

// One engine object per computed day.
class CCalendar {
 public:
  CCalendar();
  virtual ~CCalendar();

  // Lunar numbers to 0, every text to empty, IsValid() to false.
  void Reset();
  // Fills every field for one Gregorian day. A day outside the supported range leaves the object
  // reset (only `date` is stored) and IsValid() false.
  void Calculate(Day day);
  // True when the fields hold the results of the last Calculate.
  bool IsValid() const { return valid_; }
  LunarDate Lunar() const { return LunarDate{lunarYear, lunarMonth, lunarDay, leapFlag}; }

  int lunarYear = 0;
  int lunarMonth = 0;
  int lunarDay = 0;
  std::u16string eraLabel;        // e.g. 民国38年, 共和国元年 (from the Gregorian year)
  std::u16string lunarDayName;    // 初一 ... 三十
  std::u16string lunarMonthName;  // 一 ... 十二 (no 月, no leap marker)
  std::u16string monthSize;       // 大 (30-day month) or 小 (29 days)
  int leapFlag = 0;
  std::u16string yearGanZhi;
  std::u16string monthGanZhi;
  std::u16string dayGanZhi;
  std::u16string zodiacAnimal;
  std::u16string lunarFestival;   // one lunar festival name
  std::u16string solarFestival;   // fixed-date and weekday-rule festival names joined by blanks
  std::u16string solarTerm;       // term name on a term day
  int holidayStar = 0;            // 1 when a matching festival entry carries the star
  Day date;                       // the day last passed to Calculate

 private:
  bool valid_ = false;
};

// --- Lunar-year table (lunar years 1900 ... 2100; 0 for other years) ---
// Leap month number 1 ... 12 of lunar year y, 0 when none.
int LeapMonth(int y);
// Days of the leap month of lunar year y (29 or 30), 0 when none.
int LeapMonthDays(int y);
// Days of ordinary month m (1 ... 12) of lunar year y: 29 or 30.
int MonthDays(int y, int m);
// Days of lunar year y (353 ... 385).
int YearDays(int y);

// --- Names ---
// Stem of n mod 10 followed by branch of n mod 12 (n >= 0).
std::u16string GanZhiName(int64_t n);
// 初一 ... 初十, 十一 ... 二十, 廿一 ... 三十; d in 1 ... 30.
std::u16string LunarDayName(int d);
// 一 ... 十二; m in 1 ... 12.
std::u16string LunarMonthName(int m);
// 光绪/宣统/民国/共和国 + year number (元 for the first year) + 年; 公元%d年 before 1875.
std::u16string EraLabel(int gregorianYear);
// 星期一 ... 星期日; empty for none.
std::u16string_view WeekdayName(Weekday weekday);
// 鼠 ... 猪 for a lunar year.
std::u16string_view ZodiacAnimal(int lunarYear);

// --- Solar terms ---
// 0 = 小寒, 1 = 大寒 ... 23 = 冬至.
std::u16string_view SolarTermName(int n);
// Day of month (China Standard Time) on which solar term n falls in Gregorian year y.
// Term n lies in month n / 2 + 1.
int SolarTermDay(int n, int gregorianYear);
