#include "app/tvcal/database_facts.h"

#include "calendar/holiday_arrangement.h"
#include "platform/database.h"
#include "platform/file_utils.h"
#include "platform/gregorian.h"
#include "platform/program_dir.h"

namespace {

// The almanac lists come as names joined by "\r\n"; the terminal shows them on one line.
std::u16string OneLine(const std::u16string& list) {
  std::u16string out;
  out.reserve(list.size());
  for (char16_t c : list) {
    if (c == u'\r') continue;
    out += (c == u'\n') ? u' ' : c;
  }
  return out;
}

}  // namespace

void DatabaseDayInfo::Prepare(Day first, int dayCount) const {
  data_.Load(first, dayCount);
  firstDay_ = first.DaysSinceEpoch();
  dayCount_ = dayCount;
}

void DatabaseDayInfo::Cover(Day date) const {
  const int offset = date.DaysSinceEpoch() - firstDay_;
  if (dayCount_ <= 0 || offset < 0 || offset >= dayCount_)
    Prepare(Day::FromCivil(date.Year(), date.Month(), 1), DaysInMonth(date.Year(), date.Month()));
}

bool DatabaseDayInfo::Fill(Day date, DayInfo& day) const {
  if (!IsInCalendarRange(date)) return DayInfoProvider::Fill(date, day);
  Cover(date);
  BuildDayInfo(date, day, data_);
  return true;
}

DayAlmanac DatabaseDayInfo::Almanac(Day date) const {
  if (!IsInCalendarRange(date)) return {};
  Cover(date);
  return {OneLine(data_.Almanac().Suitable(date)), OneLine(data_.Almanac().Avoid(date))};
}

CalendarDatabase OpenCalendarDatabase(std::u16string_view path, int year, int busyWaitMs) {
  CalendarDatabase result;
  if (path.empty() || !FileExists(path)) {
    result.problem = std::u16string(path) + u" is missing";
    return result;
  }
  SetDbBusyWait(busyWaitMs);
  OpenDatabase(path);
  // The tables tvcal reads, each asked once: a file without them is no calendar database.
  DbOutcome first = DbOutcome::kOk;
  for (const char16_t* probe :
       {u"select 1 from holiday limit 1", u"select 1 from yijidata limit 1", u"select 1 from yijikey limit 1"}) {
    first = Exec(probe);
    if (first != DbOutcome::kOk) break;
  }
  if (first == DbOutcome::kOk) {
    if (year > 0)
      LoadHolidayArrangementForYear(year);
    else
      LoadHolidayArrangement();
  }
  DbStatus status = DatabaseStatus();
  if (first == DbOutcome::kBusy || (status.busySeen && status.problem.empty())) {
    result.state = CalendarDatabase::kBusy;
    result.problem = std::u16string(path) + u" is locked by another program";
  } else if (first != DbOutcome::kOk || !status.problem.empty()) {
    result.problem = status.problem.empty() ? std::u16string(path) + u" cannot be read" : status.problem;
  } else {
    result.state = CalendarDatabase::kReady;
    return result;
  }
  CloseDatabase();
  return result;
}

bool CloseCalendarDatabase(std::u16string* problem) {
  DbStatus status = DatabaseStatus();
  CloseDatabase();
  if (status.problem.empty()) return true;
  if (problem) *problem = status.problem;
  return false;
}

std::u16string DefaultDatabasePath() { return ProgramDirectory() + u"user.dat"; }
