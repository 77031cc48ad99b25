#include "calendar/month_data.h"

#include "platform/database.h"
#include "platform/date_time.h"

void MonthData::Load(Day first, int dayCount, bool withAlmanac) {
  const int almanacDays = withAlmanac ? dayCount : 0;
  int firstYear = 1, lastYear = 0;
  if (dayCount >= 1) {
    firstYear = first.Year();
    lastYear = (first + (dayCount - 1)).Year() + 1;
  }
  // Everything in one statement: one round trip to the database worker. The almanac's days are
  // ?1 and ?2, the holidays' years ?3 and ?4.
  std::vector<DbValue> binds = AlmanacRange::Binds(first, almanacDays);
  const std::vector<DbValue> years = HolidayYears::Binds(firstYear, lastYear);
  std::u16string sql;
  if (!binds.empty()) sql = AlmanacRange::kStatement;
  if (!years.empty()) {
    sql += sql.empty() ? std::u16string() : u" union all ";
    sql += HolidayYears::kStatement;
    binds.resize(2);
    binds.insert(binds.end(), years.begin(), years.end());
  }
  std::vector<DbRow> rows;
  // A failing statement is logged by the database worker; the view goes without its data.
  if (!sql.empty()) (void)Query(sql, binds, [&](const DbRow& row) { rows.push_back(row); });
  almanac_.Fill(first, almanacDays, rows);
  holidays_.Fill(firstYear, lastYear, *HolidayArrangementSnapshot(), rows);
}
