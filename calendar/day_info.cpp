#include "calendar/day_info.h"

#include <array>
#include <utility>

#include "calendar/almanac.h"
#include "calendar/ccalendar.h"
#include "calendar/holiday_arrangement.h"
#include "calendar/month_data.h"
#include "platform/date_time.h"

namespace {

constexpr size_t kClipLength = 25;
constexpr size_t kCellLabelLimit = 3;

// Where the almanac lists and the holiday marks come from.
struct Sources {
  const MonthData* data = nullptr;  // both, when set
  bool lookUp = false;              // otherwise: the almanac looked up for the day, or none
  const HolidayYears* years = nullptr;  // otherwise: these marks, or the process-wide record's
};

void FillDayInfo(Day day, DayInfo& info, const Sources& from) {
  info = DayInfo{};
  info.date = day;
  info.weekday = day.DayOfWeek();

  CCalendar calendar;
  calendar.Calculate(day);
  if (calendar.IsValid()) {
    info.zodiacAnimal = calendar.zodiacAnimal;
    info.yearGanZhi = calendar.yearGanZhi;
    info.lunarMonthName = calendar.lunarMonthName;
    info.lunarDayName = calendar.lunarDayName;
    info.lunarText = info.yearGanZhi + u"年" + info.lunarMonthName + u"月" + info.lunarDayName;
    info.solarTerm = calendar.solarTerm;
    info.lunarFestival = calendar.lunarFestival;
    info.solarFestival = calendar.solarFestival;
  }

  if (from.data) {
    info.suitable = from.data->Almanac().Suitable(day);
    info.avoid = from.data->Almanac().Avoid(day);
  } else if (from.lookUp) {
    info.suitable = LookUpSuitable(day);
    info.avoid = LookUpAvoid(day);
  }

  const std::u16string dateText = FormatDate(day);
  info.shortLabel = ShortDayLabel(std::u16string_view(dateText).substr(dateText.size() - 5), info.lunarFestival,
                                  info.solarTerm, info.solarFestival);

  const HolidayYears* years = from.data ? &from.data->Holidays() : from.years;
  const HolidayMarks marks = years ? years->Mark(day) : MarkHolidayDate(day);
  info.restDay = marks.rest ? 1 : 0;
  info.workDay = marks.work ? 1 : 0;
  info.restEstimated = marks.estimated ? 1 : 0;

  info.lunarFestival = ClipDayText(info.lunarFestival, u' ');
  info.solarTerm = ClipDayText(info.solarTerm, u' ');
  info.solarFestival = ClipDayText(info.solarFestival, u' ');
  info.suitable = ClipDayText(info.suitable, u'\r');
  info.avoid = ClipDayText(info.avoid, u'\r');
}

}  // namespace

std::u16string ShortDayLabel(std::u16string_view monthDay, std::u16string_view lunarFestival,
                             std::u16string_view solarTerm, std::u16string_view solarFestival) {
  static constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 8> kLabels = {{
      {u"01-01", u"元旦"},
      {u"05-01", u"劳动节"},
      {u"06-01", u"儿童节"},
      {u"04-01", u"愚人节"},
      {u"02-14", u"情人节"},
      {u"12-24", u"平安夜"},
      {u"12-25", u"圣诞"},
      {u"11-11", u"狂购"},
  }};
  for (const auto& [date, label] : kLabels) {
    if (monthDay == date) return std::u16string(label);
  }
  if (lunarFestival.empty() && solarTerm.empty() && !solarFestival.empty()) {
    const size_t blank = solarFestival.find(u' ');
    if (blank != std::u16string_view::npos) return std::u16string(solarFestival.substr(0, blank));
  }
  return {};
}

std::u16string DayCellLabel(const DayInfo& day, bool* festival) {
  const std::u16string* chosen = nullptr;
  for (const std::u16string* part : {&day.shortLabel, &day.lunarFestival, &day.solarTerm, &day.solarFestival}) {
    if (!part->empty()) {
      chosen = part;
      break;
    }
  }
  const bool fits = chosen && chosen->size() <= kCellLabelLimit;
  if (festival) *festival = fits;
  std::u16string text = fits ? *chosen : day.lunarDayName;
  if (text.size() > kCellLabelLimit) text.resize(kCellLabelLimit);
  return text;
}

std::u16string ClipDayText(std::u16string_view text, char16_t separator) {
  if (text.size() <= kClipLength) return std::u16string(text);
  for (size_t position = kClipLength - 1; position >= 2; --position) {
    if (text[position] == separator) return std::u16string(text.substr(0, position));
  }
  return {};
}

void BuildDayInfo(Day date, DayInfo& info, const MonthData& data) {
  FillDayInfo(date, info, {&data, false, nullptr});
}

void BuildDayInfo(Day date, DayInfo& info) {
  HolidayYears years;
  years.Load(date.Year(), date.Year() + 1);
  FillDayInfo(date, info, {nullptr, true, &years});
}

DayInfo BuildDayInfo(Day date) {
  DayInfo info;
  BuildDayInfo(date, info);
  return info;
}

void BuildDayInfoWithoutAlmanac(Day date, DayInfo& info) { FillDayInfo(date, info, {}); }

bool IsRestDay(Day date) { return MarkHolidayDate(date).rest; }

bool IsWorkDay(Day date) { return MarkHolidayDate(date).work; }
