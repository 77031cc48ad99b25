#pragma once
// How a reminder repeats, and the days it falls on, from the engine's own tables.
//
// Rules and their text form (the form stored with a reminder and typed after `tvcal occurs`):
//   once YYYY-MM-DD      one Gregorian day
//   solar MM-DD          every year on a Gregorian date; 02-29 falls on 02-28 in common years
//   lunar M-D            every lunar year on a date of ordinary month M (1 ... 12), day D (1 ... 30)
//   lunar leap M-D       the same date of leap month M: in the leap month in years that have it,
//                        in ordinary month M otherwise
//   lunar-monthly D      day D of every lunar month, leap months included
//   term NAME            every year on a solar term (小寒 ... 冬至)
// Lunar days past a month's length fall on its last day: day 30 of a 29-day month is the 29th,
// so "lunar 12-30" is 除夕 in every year. An ordinary-month date never falls in the leap month of
// the same number.
//
// Years: lunar rules count lunar years (腊月 of lunar year Y lies in January or February of
// Y + 1), the others Gregorian years. Occurrences exist from 1900-01-31 to 2101-01-28, the
// engine's range; years outside it give none.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/ccalendar.h"

enum class RecurrenceKind { kOnce, kSolarYearly, kLunarYearly, kLunarMonthly, kSolarTerm };

struct Recurrence {
  RecurrenceKind kind = RecurrenceKind::kOnce;
  int year = 0;       // kOnce: the Gregorian year
  int month = 0;      // kOnce, kSolarYearly: Gregorian month; kLunarYearly: lunar month 1 ... 12
  int day = 0;        // day of the month (lunar rules: 1 ... 30)
  bool leap = false;  // kLunarYearly: a date of the leap month
  int term = 0;       // kSolarTerm: 0 = 小寒 ... 23 = 冬至

  friend bool operator==(const Recurrence&, const Recurrence&) = default;
};

// A rule read from its text form, or why it was refused.
struct RecurrenceParse {
  std::optional<Recurrence> rule;
  std::u16string problem;  // empty when rule is set; otherwise a sentence for the user
};

// Reads the text form (blanks around words are tolerated). Refuses a malformed text and a date no
// year has: a lunar month outside 1 ... 12, a lunar day outside 1 ... 30, a Gregorian date that
// exists in no year (02-30, 04-31, month 13), a one-off day that does not exist or lies outside
// the engine's range, an unknown solar-term name.
RecurrenceParse ParseRecurrence(std::u16string_view text);
// The text form of a valid rule ("lunar leap 4-10", "term 冬至").
std::u16string RecurrenceText(const Recurrence& rule);
// For people: "每年农历八月十五", "每年闰四月初十", "每月初一", "每年冬至", "每年9月15日",
// "2027年9月15日".
std::u16string RecurrenceDescription(const Recurrence& rule);

// One day a rule falls on, with the lunar date of that day.
struct Occurrence {
  Day date;
  LunarDate lunar;

  friend bool operator==(const Occurrence&, const Occurrence&) = default;
};

// Every occurrence in years fromYear ... toYear (lunar years for lunar rules), in date order.
std::vector<Occurrence> OccurrencesInYears(const Recurrence& rule, int fromYear, int toYear);
// Every occurrence from `from` to `to` (Gregorian days, both included), in date order.
std::vector<Occurrence> OccurrencesBetween(const Recurrence& rule, Day from, Day to);
// The first occurrence on or after `from`; none past the engine's range.
std::optional<Occurrence> NextOccurrence(const Recurrence& rule, Day from);
