#include "calendar/recurrence.h"

#include <algorithm>

#include "calendar/lunar_dates.h"
#include "platform/text_utils.h"

namespace {

constexpr int kFirstLunarYear = 1900;
constexpr int kLastLunarYear = 2100;

std::vector<std::u16string_view> Words(std::u16string_view text) {
  std::vector<std::u16string_view> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    size_t start = i;
    while (i < text.size() && text[i] != u' ' && text[i] != u'\t') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

// Decimal digits only, at most four of them.
bool Number(std::u16string_view text, int& value) {
  const std::optional<int64_t> number = DecimalValue(text, 4);
  if (number) value = static_cast<int>(*number);
  return number.has_value();
}

// "A-B" or "A-B-C" into numbers; false when the shape differs.
bool NumberParts(std::u16string_view text, int* parts, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    const size_t dash = k + 1 < count ? text.find(u'-') : std::u16string_view::npos;
    if (k + 1 < count && dash == std::u16string_view::npos) return false;
    if (!Number(text.substr(0, dash), parts[k])) return false;
    if (dash != std::u16string_view::npos) text.remove_prefix(dash + 1);
  }
  return true;
}

RecurrenceParse Refuse(std::u16string problem) { return RecurrenceParse{std::nullopt, std::move(problem)}; }
RecurrenceParse Accept(const Recurrence& rule) { return RecurrenceParse{rule, {}}; }

std::u16string Digits(int value, int width) {
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  while (static_cast<int>(text.size()) < width) text.insert(text.begin(), u'0');
  return text;
}

Occurrence OnGregorianDay(Day date) {
  CCalendar calendar;
  calendar.Calculate(date);
  return Occurrence{date, calendar.Lunar()};
}

// The day of a lunar month a rule's day falls on: its last day when the month is shorter.
void AddLunar(std::vector<Occurrence>& out, int year, int month, bool leap, int day) {
  const int length = LunarMonthLength(year, month, leap);
  if (length == 0) return;
  const LunarDate lunar{year, month, std::min(day, length), leap ? 1 : 0};
  if (const std::optional<Day> date = SolarDateOfLunar(lunar)) out.push_back(Occurrence{*date, lunar});
}

void AddGregorian(std::vector<Occurrence>& out, std::optional<Day> date) {
  if (date && IsInCalendarRange(*date)) out.push_back(OnGregorianDay(*date));
}

void AddYear(std::vector<Occurrence>& out, const Recurrence& rule, int year) {
  switch (rule.kind) {
    case RecurrenceKind::kOnce:
      if (year == rule.year) AddGregorian(out, Day::FromValidCivil(rule.year, rule.month, rule.day));
      break;
    case RecurrenceKind::kSolarYearly:
      AddGregorian(out, Day::FromValidCivil(year, rule.month, std::min(rule.day, DaysInMonth(year, rule.month))));
      break;
    case RecurrenceKind::kLunarYearly:
      AddLunar(out, year, rule.month, rule.leap && LeapMonth(year) == rule.month, rule.day);
      break;
    case RecurrenceKind::kLunarMonthly:
      for (int month = 1; month <= 12; ++month) {
        AddLunar(out, year, month, false, rule.day);
        if (LeapMonth(year) == month) AddLunar(out, year, month, true, rule.day);
      }
      break;
    case RecurrenceKind::kSolarTerm:
      AddGregorian(out, Day::FromValidCivil(year, rule.term / 2 + 1, SolarTermDay(rule.term, year)));
      break;
  }
}

bool IsLunar(const Recurrence& rule) {
  return rule.kind == RecurrenceKind::kLunarYearly || rule.kind == RecurrenceKind::kLunarMonthly;
}

}  // namespace

RecurrenceParse ParseRecurrence(std::u16string_view text) {
  const std::vector<std::u16string_view> words = Words(text);
  if (words.empty()) return Refuse(u"no rule given");
  const std::u16string_view kind = words[0];
  int parts[3] = {0, 0, 0};
  Recurrence rule;
  if (kind == u"once" && words.size() == 2 && NumberParts(words[1], parts, 3)) {
    rule.kind = RecurrenceKind::kOnce;
    const std::optional<Day> date = Day::FromValidCivil(parts[0], parts[1], parts[2]);
    if (!date) return Refuse(u"there is no such day");
    if (!IsInCalendarRange(*date)) return Refuse(u"the day lies outside 1900-01-31 ... 2101-01-28");
    rule.year = parts[0];
    rule.month = parts[1];
    rule.day = parts[2];
    return Accept(rule);
  }
  if (kind == u"solar" && words.size() == 2 && NumberParts(words[1], parts, 2)) {
    rule.kind = RecurrenceKind::kSolarYearly;
    rule.month = parts[0];
    rule.day = parts[1];
    // A leap year has every date any year has.
    if (rule.month < 1 || rule.month > 12 || rule.day < 1 || rule.day > DaysInMonth(2000, rule.month))
      return Refuse(u"no year has that date");
    return Accept(rule);
  }
  if (kind == u"lunar" && (words.size() == 2 || (words.size() == 3 && words[1] == u"leap")) &&
      NumberParts(words.back(), parts, 2)) {
    rule.kind = RecurrenceKind::kLunarYearly;
    rule.leap = words.size() == 3;
    rule.month = parts[0];
    rule.day = parts[1];
    if (rule.month < 1 || rule.month > 12) return Refuse(u"a lunar year has months 1 to 12 only");
    if (rule.day < 1 || rule.day > 30) return Refuse(u"a lunar month has days 1 to 30 only");
    return Accept(rule);
  }
  if (kind == u"lunar-monthly" && words.size() == 2 && Number(words[1], parts[0])) {
    rule.kind = RecurrenceKind::kLunarMonthly;
    rule.day = parts[0];
    if (rule.day < 1 || rule.day > 30) return Refuse(u"a lunar month has days 1 to 30 only");
    return Accept(rule);
  }
  if (kind == u"term" && words.size() == 2) {
    rule.kind = RecurrenceKind::kSolarTerm;
    for (int n = 0; n < 24; ++n) {
      if (SolarTermName(n) == words[1]) {
        rule.term = n;
        return Accept(rule);
      }
    }
    return Refuse(u"unknown solar term (小寒, 大寒 ... 冬至)");
  }
  return Refuse(
      u"a rule is one of: once YYYY-MM-DD, solar MM-DD, lunar M-D, lunar leap M-D, "
      u"lunar-monthly D, term NAME");
}

std::u16string RecurrenceText(const Recurrence& rule) {
  switch (rule.kind) {
    case RecurrenceKind::kOnce:
      return u"once " + Digits(rule.year, 4) + u"-" + Digits(rule.month, 2) + u"-" + Digits(rule.day, 2);
    case RecurrenceKind::kSolarYearly:
      return u"solar " + Digits(rule.month, 2) + u"-" + Digits(rule.day, 2);
    case RecurrenceKind::kLunarYearly:
      return std::u16string(rule.leap ? u"lunar leap " : u"lunar ") + Digits(rule.month, 1) + u"-" +
             Digits(rule.day, 1);
    case RecurrenceKind::kLunarMonthly:
      return u"lunar-monthly " + Digits(rule.day, 1);
    case RecurrenceKind::kSolarTerm:
      return u"term " + std::u16string(SolarTermName(rule.term));
  }
  return {};
}

std::u16string RecurrenceDescription(const Recurrence& rule) {
  switch (rule.kind) {
    case RecurrenceKind::kOnce:
      return Digits(rule.year, 4) + u"年" + Digits(rule.month, 1) + u"月" + Digits(rule.day, 1) + u"日";
    case RecurrenceKind::kSolarYearly:
      return u"每年" + Digits(rule.month, 1) + u"月" + Digits(rule.day, 1) + u"日";
    case RecurrenceKind::kLunarYearly:
      return u"每年农历" + LunarMonthDayText(LunarDate{0, rule.month, rule.day, rule.leap ? 1 : 0});
    case RecurrenceKind::kLunarMonthly:
      return u"每月" + LunarDayName(rule.day);
    case RecurrenceKind::kSolarTerm:
      return u"每年" + std::u16string(SolarTermName(rule.term));
  }
  return {};
}

std::vector<Occurrence> OccurrencesInYears(const Recurrence& rule, int fromYear, int toYear) {
  std::vector<Occurrence> out;
  fromYear = std::max(fromYear, kFirstLunarYear);
  toYear = std::min(toYear, IsLunar(rule) ? kLastLunarYear : kLastCalendarDay.Year());
  for (int year = fromYear; year <= toYear; ++year) AddYear(out, rule, year);
  return out;
}

std::vector<Occurrence> OccurrencesBetween(const Recurrence& rule, Day from, Day to) {
  // A lunar year starts in January or February: the one before the first Gregorian year reaches
  // into it.
  std::vector<Occurrence> all = OccurrencesInYears(rule, from.Year() - (IsLunar(rule) ? 1 : 0), to.Year());
  std::vector<Occurrence> out;
  for (const Occurrence& o : all)
    if (o.date >= from && o.date <= to) out.push_back(o);
  return out;
}

std::optional<Occurrence> NextOccurrence(const Recurrence& rule, Day from) {
  const int startYear = rule.kind == RecurrenceKind::kOnce ? rule.year : from.Year() - 1;
  for (int year = std::max(startYear, kFirstLunarYear); year <= kLastCalendarDay.Year(); ++year) {
    std::vector<Occurrence> found;
    AddYear(found, rule, year);
    for (const Occurrence& o : found)
      if (o.date >= from) return o;
    if (rule.kind == RecurrenceKind::kOnce) break;
  }
  return std::nullopt;
}
