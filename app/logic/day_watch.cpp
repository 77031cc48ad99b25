#include "app/logic/day_watch.h"

#include "platform/gregorian.h"

uint32_t MillisecondsToNextMidnight(const SystemTime& now) {
  const int hour = now.wHour < 24 ? now.wHour : 23;
  const int minute = now.wMinute < 60 ? now.wMinute : 59;
  const int second = now.wSecond < 60 ? now.wSecond : 59;
  const int millisecond = now.wMilliseconds < 1000 ? now.wMilliseconds : 999;
  const uint32_t sinceMidnight = ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
  return 24u * 3600u * 1000u - sinceMidnight + kMidnightMarginMs;
}

bool SameDay(const SystemTime& a, const SystemTime& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

DayRenewal RenewToday(const SystemTime& shownToday, const SystemTime& now, MonthNavigator& navigator) {
  DayRenewal renewal;
  if (SameDay(shownToday, now)) return renewal;
  renewal.newDay = true;
  renewal.newYear = shownToday.wYear != now.wYear;
  const ShownMonth& shown = navigator.Shown();
  if (shown.todayDay != 0 && shown.year == shownToday.wYear && shown.month == shownToday.wMonth) {
    navigator.GoToMonth(0, 0, 0, now);
    renewal.monthFollows = true;
  }
  return renewal;
}

long long SecondsBetween(const SystemTime& from, const SystemTime& to) {
  const auto seconds = [](const SystemTime& t) {
    return (static_cast<long long>(DaysSince1970(t.wYear, t.wMonth, t.wDay)) * 24 + t.wHour) * 3600 +
           t.wMinute * 60LL + t.wSecond;
  };
  return seconds(to) - seconds(from);
}

bool WeatherIsStale(const SystemTime& last, const SystemTime& now, int maxAgeSeconds) {
  if (last.wYear == 0) return true;
  const long long age = SecondsBetween(last, now);
  return age > maxAgeSeconds || age < -maxAgeSeconds;
}
