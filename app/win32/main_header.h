#pragma once
// MainHeader: the calendar window's header above the month grid: today's date and its lunar line
// ("worldday", "chineseday") and the year, month and holiday selectors ("CmbYear", "CmbMonth",
// "CmbHoliday"). It fills the selectors and mirrors the month on show in them; the window reacts
// to a choice in them.
#include <string>

class MonthNavigator;
struct DayInfo;
namespace tvui {
class Combo;
class Control;
class WindowImplBase;
}

class MainHeader {
 public:
  // Finds the header's controls in the window's skin (any of them may be missing).
  void Attach(const tvui::WindowImplBase& window);
  tvui::Combo* Year() const { return year_; }
  tvui::Combo* Month() const { return month_; }
  tvui::Combo* Holiday() const { return holiday_; }
  tvui::Control* WorldDay() const { return worldday_; }
  tvui::Control* ChineseDay() const { return chineseday_; }

  // The selectors' lists, filled anew (nothing selected yet).
  void FillSelectors();
  // The navigator's month shown in the selectors, silently: they follow it, they do not drive it.
  void Mirror(const MonthNavigator& navigator);
  // Today's date and its lunar line.
  void ShowToday(const DayInfo& today);

  // The "selectors" and "selector_texts" lines of the state text.
  std::u16string DescribeSelectors() const;
  // The "worldday" and "chineseday" lines.
  std::u16string DescribeToday() const;

 private:
  tvui::Combo* year_ = nullptr;
  tvui::Combo* month_ = nullptr;
  tvui::Combo* holiday_ = nullptr;
  tvui::Control* worldday_ = nullptr;
  tvui::Control* chineseday_ = nullptr;
};
