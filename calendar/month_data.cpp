#include "calendar/month_data.h"

#include "platform/date_time.h"

void MonthData::Load(const SystemTime& first, int dayCount, bool withAlmanac) {
  almanac_.Load(first, withAlmanac ? dayCount : 0);
  if (dayCount < 1 || !IsValidDate(first)) {
    holidays_.Load(1, 0);
    return;
  }
  SystemTime last = first;
  AddDays(last, dayCount - 1);
  holidays_.Load(first.wYear, last.wYear + 1);
}
