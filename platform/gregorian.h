#pragma once
// Day arithmetic of the proleptic Gregorian calendar, usable in constant expressions. Days are
// counted from 1970-01-01 (negative before it); months are 1 ... 12.
#include <compare>
#include <optional>

constexpr bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// 28 ... 31; 0 for a month outside 1 ... 12.
constexpr int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Whole days from 1970-01-01 to the date. The day is not checked against the month.
constexpr int DaysSince1970(int year, int month, int day) {
  long long y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<int>(era * 146097 + doe - 719468);
}

// The days of the week, Monday first, numbered as ISO 8601 does; the one numbering of the program.
// Windows' 0 = Sunday count is converted where a SYSTEMTIME is read or written (platform/clock.h).
enum class Weekday : int {
  kMonday = 1,
  kTuesday,
  kWednesday,
  kThursday,
  kFriday,
  kSaturday,
  kSunday,
};

// 1 = Monday ... 7 = Sunday.
constexpr int IsoNumber(Weekday w) { return static_cast<int>(w); }
// 0 = Sunday ... 6 = Saturday: the count of SYSTEMTIME and of the festival lists' weekday rules.
constexpr int SundayZeroNumber(Weekday w) { return static_cast<int>(w) % 7; }
constexpr Weekday WeekdayFromSundayZero(int n) {
  const int r = (n % 7 + 7) % 7;
  return static_cast<Weekday>(r == 0 ? 7 : r);
}

// One calendar day: whole days since 1970-01-01 (negative before it). Dates are held, compared and
// stepped in this shape; year, month and day are derived on demand. Texts and SYSTEMTIME records
// are converted to a Day once, where they enter.
class Day {
 public:
  constexpr Day() = default;  // 1970-01-01
  // The day that is `days` after 1970-01-01.
  static constexpr Day FromDays(int days) { return Day(days); }
  // Year, month 1 ... 12 and day; the day is not checked against the month (use IsValidCivil).
  static constexpr Day FromCivil(int year, int month, int day) {
    return Day(DaysSince1970(year, month, day));
  }
  // True when year/month/day name a real day of the years 1 ... 9999.
  static constexpr bool IsValidCivil(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
  }
  // The day year/month/day name; nothing when IsValidCivil refuses them.
  static constexpr std::optional<Day> FromValidCivil(int year, int month, int day) {
    if (!IsValidCivil(year, month, day)) return std::nullopt;
    return FromCivil(year, month, day);
  }

  constexpr int DaysSinceEpoch() const { return days_; }
  constexpr int Year() const { return Split().year; }
  constexpr int Month() const { return Split().month; }
  constexpr int DayOfMonth() const { return Split().day; }
  // 1970-01-01 was a Thursday.
  constexpr Weekday DayOfWeek() const { return static_cast<Weekday>(((days_ + 3) % 7 + 7) % 7 + 1); }

  constexpr Day operator+(int n) const { return Day(days_ + n); }
  constexpr Day operator-(int n) const { return Day(days_ - n); }
  constexpr int operator-(Day other) const { return days_ - other.days_; }
  constexpr Day& operator+=(int n) {
    days_ += n;
    return *this;
  }
  constexpr Day& operator-=(int n) {
    days_ -= n;
    return *this;
  }
  friend constexpr auto operator<=>(Day, Day) = default;
  friend constexpr bool operator==(Day, Day) = default;

 private:
  struct Parts {
    int year;
    int month;
    int day;
  };
  // Year, month and day of days_: the inverse of DaysSince1970.
  constexpr Parts Split() const {
    long long days = days_ + 719468LL;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return Parts{static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d};
  }
  constexpr explicit Day(int days) : days_(days) {}
  int days_ = 0;
};
