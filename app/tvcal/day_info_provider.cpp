#include "app/tvcal/day_info_provider.h"

#include "calendar/month_data.h"

DayInfoProvider::~DayInfoProvider() = default;

bool DayInfoProvider::Fill(const CalendarDate& date, DayInfo& day) const {
  // Read from no database: no almanac lists, no official marks.
  static const MonthData kNoData;
  BuildDayInfo(ToSystemTime(date), day, kNoData);
  return IsInCalendarRange(date);
}

void DayInfoProvider::Prepare(const CalendarDate&, int) const {}

DayAlmanac DayInfoProvider::Almanac(const CalendarDate&) const { return {}; }

SystemTime ToSystemTime(const CalendarDate& date) {
  SystemTime day;
  day.wYear = static_cast<uint16_t>(date.year);
  day.wMonth = static_cast<uint16_t>(date.month);
  day.wDay = static_cast<uint16_t>(date.day);
  return day;
}
