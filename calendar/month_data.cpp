#include "calendar/month_data.h"

#include "platform/database.h"
#include "platform/date_time.h"

void MonthData::Load(const SystemTime& first, int dayCount, bool withAlmanac) {
  const int almanacDays = withAlmanac ? dayCount : 0;
  int firstYear = 1, lastYear = 0;
  if (dayCount >= 1 && IsValidDate(first)) {
    SystemTime last = first;
    AddDays(last, dayCount - 1);
    firstYear = first.wYear;
    lastYear = last.wYear + 1;
  }
  // Everything in one statement: one round trip to the database worker.
  std::u16string sql = AlmanacRange::Statement(first, almanacDays);
  const std::u16string holidays = HolidayYears::Statement(firstYear, lastYear);
  if (!holidays.empty()) sql += (sql.empty() ? u"" : u" union all ") + holidays;
  const std::u16string rows = sql.empty() ? std::u16string() : QueryRows(sql);
  almanac_.Fill(first, almanacDays, rows);
  holidays_.Fill(firstYear, lastYear, *HolidayArrangementSnapshot(), rows);
}
