#include "app/logic/month_navigator.h"

#include "platform/text_utils.h"

std::vector<std::u16string> YearSelectorItems() {
  std::vector<std::u16string> items;
  for (int y = kFirstYear; y <= kLastYear; ++y) items.push_back(IntToText(y) + u"年");
  return items;
}

std::vector<std::u16string> MonthSelectorItems() {
  std::vector<std::u16string> items;
  for (int m = 1; m <= kMonthCount; ++m) items.push_back(IntToText(m) + u"月");
  return items;
}

std::vector<std::u16string> HolidaySelectorItems() {
  std::vector<std::u16string> items{u"假期"};
  for (int i = 0; i < kHolidayCount; ++i) items.emplace_back(HolidaySelectorText(i));
  return items;
}

void MonthNavigator::GoToMonth(int month, int year, int selectedDay, const SystemTime& now) {
  int todayDay = 0;
  if (month == 0 && year == 0) {
    month = now.wMonth;
    year = now.wYear;
    todayDay = now.wDay;
  }
  if (year >= kFirstYear && year <= kLastYear) yearIndex_ = year - kFirstYear;
  if (month >= 1 && month <= kMonthCount) monthIndex_ = month - 1;
  shown_ = {year, month, todayDay, selectedDay};
}

void MonthNavigator::Reset(const SystemTime& now) {
  holidayIndex_ = 0;
  GoToMonth(0, 0, 0, now);
}

void MonthNavigator::ReturnToday(const SystemTime& now) {
  GoToMonth(0, 0, 0, now);
  holidayIndex_ = 0;
}

void MonthNavigator::SelectDay(int year, int month, int day, const SystemTime& now) {
  if (year < kFirstYear || year > kLastYear || month < 1 || month > kMonthCount) return;
  yearIndex_ = year - kFirstYear;
  monthIndex_ = month - 1;
  holidayIndex_ = 0;
  const int todayDay = year == now.wYear && month == now.wMonth ? now.wDay : 0;
  shown_ = {year, month, todayDay, day};
}

void MonthNavigator::ShowChosen(const SystemTime& now) {
  int year = kFirstYear + yearIndex_;
  int month = monthIndex_ + 1;
  if (year == now.wYear && month == now.wMonth) GoToMonth(0, 0, 0, now);
  else shown_ = {year, month, 0, 0};
}

bool MonthNavigator::ChooseYear(int index, const SystemTime& now) {
  if (index < 0 || index >= kYearCount) return false;
  yearIndex_ = index;
  ShowChosen(now);
  if (!holidayDate_ || shown_.year != holidayDate_->Year()) holidayIndex_ = 0;
  return true;
}

bool MonthNavigator::ChooseMonth(int index, const SystemTime& now) {
  if (index < 0 || index >= kMonthCount) return false;
  monthIndex_ = index;
  ShowChosen(now);
  if (!holidayDate_ || shown_.month != holidayDate_->Month()) holidayIndex_ = 0;
  return true;
}

bool MonthNavigator::ChooseHoliday(int entry, const HolidayArrangement& record, const SystemTime& now) {
  (void)now;
  if (entry < 0 || entry >= kHolidayEntries) return false;
  holidayIndex_ = entry;
  const std::optional<Day> day = HolidayJumpDate(record, entry);
  if (!day) return true;
  // Only dates the year selector can show.
  if (day->Year() < kFirstYear || day->Year() > kLastYear) return true;
  holidayDate_ = day;
  GoToMonth(day->Month(), day->Year(), day->DayOfMonth(), now);
  return true;
}

void MonthNavigator::Previous(const SystemTime& now) {
  int m = monthIndex_;
  if (m == 0) {
    m = kMonthCount;
    if (yearIndex_ > 0) ChooseYear(yearIndex_ - 1, now);
  }
  ChooseMonth(m - 1, now);
  holidayIndex_ = 0;
}

void MonthNavigator::Next(const SystemTime& now) {
  int m = monthIndex_;
  if (m + 1 == kMonthCount) {
    if (yearIndex_ < kYearCount - 1) ChooseYear(yearIndex_ + 1, now);
    m = -1;
  }
  ChooseMonth(m + 1, now);
  holidayIndex_ = 0;
}
