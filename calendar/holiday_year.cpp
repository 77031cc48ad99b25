#include "calendar/holiday_year.h"

#include "platform/date_time.h"

bool KeepHolidaysOfYear(HolidayArrangement& record, int year) {
  if (record.year == year) return false;
  for (HolidayTexts& texts : record.holidays) {
    SystemTime day{};
    const bool ofYear = texts.day.size() >= 10 &&
                        ParseDateText(std::u16string_view(texts.day).substr(0, 10), day) && day.wYear == year;
    if (!ofYear) texts = {};
  }
  record.year = year;
  return true;
}

bool RenewHolidayYear(int year) {
  return ChangeHolidayArrangement([year](HolidayArrangement& record) {
    if (!KeepHolidaysOfYear(record, year)) return false;
    LoadHolidayArrangementInto(record, year);
    return true;
  });
}
