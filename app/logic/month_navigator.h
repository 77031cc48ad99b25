#pragma once
// The month view's navigation: the year, month and holiday selectors, the month arrows, the
// "return to today" button and holiday jumps. Keeps the selectors' indexes and the month on show
// (with its today and selection marks); the window mirrors them into its controls.
#include <optional>
#include <string>
#include <vector>

#include "calendar/holiday_arrangement.h"
#include "platform/system_time.h"

inline constexpr int kFirstYear = 1950;
inline constexpr int kLastYear = 2050;
inline constexpr int kYearCount = kLastYear - kFirstYear + 1;
inline constexpr int kMonthCount = 12;
inline constexpr int kHolidayEntries = 8;  // the caption entry and the seven holidays

// Item texts: "1950年" … "2050年"; "1月" … "12月"; "假期", "元旦" … "国庆节".
std::vector<std::u16string> YearSelectorItems();
std::vector<std::u16string> MonthSelectorItems();
std::vector<std::u16string> HolidaySelectorItems();

// The month on show and what it marks.
struct ShownMonth {
  int year = 0;
  int month = 0;
  int todayDay = 0;     // today's day when today's month was reached as "today", else 0
  int selectedDay = 0;  // a day chosen by a holiday jump, else 0
  friend bool operator==(const ShownMonth&, const ShownMonth&) = default;
};

class MonthNavigator {
 public:
  int YearIndex() const { return yearIndex_; }
  int MonthIndex() const { return monthIndex_; }
  int HolidayIndex() const { return holidayIndex_; }
  const ShownMonth& Shown() const { return shown_; }

  // month = year = 0: today's month with today marked; otherwise that month with selectedDay
  // marked. Selects the year and month entries (a year outside the list keeps the year entry).
  void GoToMonth(int month, int year, int selectedDay, const SystemTime& now);
  // Every refresh for display: holiday entry 0, today's month.
  void Reset(const SystemTime& now);
  void ReturnToday(const SystemTime& now);
  // The keyboard's selection: that month with the day selected (today marked in today's month),
  // holiday entry 0. A month outside the year list changes nothing.
  void SelectDay(int year, int month, int day, const SystemTime& now);

  // The user chose an entry. Out-of-range indexes change nothing (false).
  bool ChooseYear(int index, const SystemTime& now);
  bool ChooseMonth(int index, const SystemTime& now);
  // Entry 1 … 7 jumps to that holiday's date (marked); entry 0, or a holiday without a usable
  // date, only selects the entry. False for an index outside the list.
  bool ChooseHoliday(int entry, const HolidayArrangement& record, const SystemTime& now);

  // The month arrows. January of the first year goes to December of that year, December of the
  // last year to January of that year.
  void Previous(const SystemTime& now);
  void Next(const SystemTime& now);

 private:
  void ShowChosen(const SystemTime& now);

  int yearIndex_ = 0;
  int monthIndex_ = 0;
  int holidayIndex_ = 0;
  ShownMonth shown_;
  std::optional<Day> holidayDate_;  // day of the last holiday jump (none before the first)
};
