#include "app/tvcal/database_facts.h"

#include "calendar/almanac.h"
#include "calendar/day_info.h"
#include "calendar/holiday_arrangement.h"
#include "platform/database.h"
#include "platform/file_utils.h"
#include "platform/program_dir.h"

namespace {

// The almanac lists come as names joined by "\r\n"; the terminal shows them on one line.
std::u16string OneLine(std::u16string list) {
  std::u16string out;
  out.reserve(list.size());
  for (char16_t c : list) {
    if (c == u'\r') continue;
    out += (c == u'\n') ? u' ' : c;
  }
  return out;
}

}  // namespace

bool DatabaseDayFacts::Fill(const CalendarDate& date, DayFacts& facts) const {
  if (!DayFactsProvider::Fill(date, facts)) return false;
  SystemTime day;
  day.wYear = static_cast<uint16_t>(date.year);
  day.wMonth = static_cast<uint16_t>(date.month);
  day.wDay = static_cast<uint16_t>(date.day);
  facts.restDay = IsRestDay(day);
  facts.workDay = IsWorkDay(day);
  facts.suitable = OneLine(LookUpSuitable(day));
  facts.avoid = OneLine(LookUpAvoid(day));
  return true;
}

bool OpenCalendarDatabase(std::u16string_view path, int year) {
  if (path.empty() || !FileExists(path)) return false;
  OpenDatabase(path);
  if (year > 0)
    LoadHolidayArrangementForYear(year);
  else
    LoadHolidayArrangement();
  return true;
}

void CloseCalendarDatabase() { CloseDatabase(); }

std::u16string DefaultDatabasePath() { return ProgramDirectory() + u"user.dat"; }
