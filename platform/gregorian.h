#pragma once
// Day arithmetic of the proleptic Gregorian calendar, usable in constant expressions. Days are
// counted from 1970-01-01 (negative before it); months are 1 ... 12.

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

struct CivilDate {
  int year;
  int month;
  int day;
};

// The date that stands days after 1970-01-01; the inverse of DaysSince1970.
constexpr CivilDate DateFromDays1970(long long days) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long doe = days - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return CivilDate{static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0)), m, d};
}
