#include "app/tvcal/day_info_provider.h"

#include "calendar/month_data.h"
#include "platform/date_time.h"

DayInfoProvider::~DayInfoProvider() = default;

bool DayInfoProvider::Fill(Day date, DayInfo& day) const {
  // Read from no database: no almanac lists, no official marks.
  static const MonthData kNoData;
  BuildDayInfo(date, day, kNoData);
  return IsInCalendarRange(date);
}

void DayInfoProvider::Prepare(Day, int) const {}

DayAlmanac DayInfoProvider::Almanac(Day) const { return {}; }
