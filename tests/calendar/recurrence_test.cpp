// Recurrence rules: every rule over lunar and Gregorian years 1901 ... 2099 against a walk of the
// engine's day information (not the rule code), the lunar edge cases, and the text form.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "calendar/lunar_dates.h"
#include "calendar/recurrence.h"
#include "tests/calendar/engine_days.h"

namespace {

struct WalkedDay {
  Day date;
  LunarDate lunar;
  std::u16string term;
};


// Every supported day, as the engine describes it, and its lunar months in order (each a list of
// its days), keyed by (lunar year, month, leap).
struct Walk {
  std::vector<WalkedDay> days;
  std::vector<std::tuple<int, int, int>> monthOrder;
  std::map<std::tuple<int, int, int>, std::vector<Day>> months;

  Walk() {
    CCalendar calendar;
    for (Day d = kFirstCalendarDay;; d += 1) {
      calendar.Calculate(d);
      const LunarDate l = calendar.Lunar();
      days.push_back({d, l, calendar.solarTerm});
      const auto key = std::make_tuple(l.year, l.month, l.leap);
      if (months[key].empty()) monthOrder.push_back(key);
      months[key].push_back(d);
      if (d == kLastCalendarDay) break;
    }
  }
  // Day `day` of a walked month, or its last day when shorter.
  Occurrence MonthDay(const std::tuple<int, int, int>& key, int day) const {
    const std::vector<Day>& list = months.at(key);
    const int index = std::min<int>(day, static_cast<int>(list.size())) - 1;
    return Occurrence{list[index], LunarDate{std::get<0>(key), std::get<1>(key), index + 1, std::get<2>(key)}};
  }
};

const Walk& TheWalk() {
  static const Walk walk;
  return walk;
}

Recurrence Rule(std::u16string_view text) {
  RecurrenceParse parsed = ParseRecurrence(text);
  EXPECT_TRUE(parsed.rule.has_value()) << std::string(text.begin(), text.end());
  return parsed.rule.value_or(Recurrence{});
}

std::string Show(const Occurrence& o) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d lunar %d-%s%d-%d", o.date.Year(), o.date.Month(), o.date.DayOfMonth(),
                o.lunar.year, o.lunar.leap ? "leap " : "", o.lunar.month, o.lunar.day);
  return text;
}

void ExpectSame(const std::vector<Occurrence>& expected, const std::vector<Occurrence>& actual,
                const std::u16string& rule) {
  const std::string name(rule.begin(), rule.end());  // the ASCII part is enough to tell rules apart
  ASSERT_EQ(expected.size(), actual.size()) << name;
  for (size_t i = 0; i < expected.size(); ++i)
    ASSERT_EQ(Show(expected[i]), Show(actual[i])) << name << " occurrence " << i;
}

constexpr int kFirstYear = 1901;
constexpr int kLastYear = 2099;

TEST(Recurrence, LunarYearlyRulesMatchTheDayWalk) {
  const Walk& walk = TheWalk();
  for (int leap = 0; leap <= 1; ++leap) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 30; ++day) {
        std::vector<Occurrence> expected;
        for (int year = kFirstYear; year <= kLastYear; ++year) {
          auto key = std::make_tuple(year, month, leap);
          if (!walk.months.count(key)) key = std::make_tuple(year, month, 0);
          expected.push_back(walk.MonthDay(key, day));
        }
        const Recurrence rule{RecurrenceKind::kLunarYearly, 0, month, day, leap == 1, 0};
        ExpectSame(expected, OccurrencesInYears(rule, kFirstYear, kLastYear), RecurrenceText(rule));
      }
    }
  }
}

TEST(Recurrence, LunarMonthlyRulesMatchTheDayWalk) {
  const Walk& walk = TheWalk();
  for (int day = 1; day <= 30; ++day) {
    std::vector<Occurrence> expected;
    for (const auto& key : walk.monthOrder)
      if (std::get<0>(key) >= kFirstYear && std::get<0>(key) <= kLastYear) expected.push_back(walk.MonthDay(key, day));
    const Recurrence rule{RecurrenceKind::kLunarMonthly, 0, 0, day, false, 0};
    ExpectSame(expected, OccurrencesInYears(rule, kFirstYear, kLastYear), RecurrenceText(rule));
  }
}

TEST(Recurrence, GregorianAndSolarTermRulesMatchTheDayWalk) {
  const Walk& walk = TheWalk();
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= DaysInMonth(2000, month); ++day) {
      std::vector<Occurrence> expected;
      for (size_t i = 0; i < walk.days.size(); ++i) {
        const WalkedDay& w = walk.days[i];
        if (w.date.Year() < kFirstYear || w.date.Year() > kLastYear || w.date.Month() != month) continue;
        // 29 February: the last day of February in the years without it.
        const bool lastOfShortFebruary = month == 2 && day == 29 && i + 1 < walk.days.size() &&
                                         walk.days[i + 1].date.Month() == 3 && w.date.DayOfMonth() == 28;
        if (w.date.DayOfMonth() == day || lastOfShortFebruary) expected.push_back({w.date, w.lunar});
      }
      const Recurrence rule{RecurrenceKind::kSolarYearly, 0, month, day, false, 0};
      ExpectSame(expected, OccurrencesInYears(rule, kFirstYear, kLastYear), RecurrenceText(rule));
    }
  }
  for (int term = 0; term < 24; ++term) {
    std::vector<Occurrence> expected;
    for (const WalkedDay& w : walk.days)
      if (w.date.Year() >= kFirstYear && w.date.Year() <= kLastYear && w.term == SolarTermName(term))
        expected.push_back({w.date, w.lunar});
    const Recurrence rule{RecurrenceKind::kSolarTerm, 0, 0, 0, false, term};
    ExpectSame(expected, OccurrencesInYears(rule, kFirstYear, kLastYear), RecurrenceText(rule));
  }
}

TEST(Recurrence, SolarDateOfLunarInvertsTheEngineOnEveryDay) {
  for (const WalkedDay& w : TheWalk().days) {
    ASSERT_EQ(SolarDateOfLunar(w.lunar), w.date) << Show({w.date, w.lunar});
  }
  EXPECT_FALSE(SolarDateOfLunar({2021, 4, 1, 1}).has_value());   // 2021 has no leap month
  EXPECT_FALSE(SolarDateOfLunar({2024, 12, 30, 0}).has_value()); // its 腊月 has 29 days
  EXPECT_FALSE(SolarDateOfLunar({2101, 1, 1, 0}).has_value());
}

TEST(Recurrence, LunarEdges) {
  // A 30th in a 29-day month: lunar 2023's sixth month has 29 days.
  ASSERT_EQ(MonthDays(2023, 6), 29);
  EXPECT_EQ(Show(OccurrencesInYears(Rule(u"lunar 6-30"), 2023, 2023).at(0)), "2023-08-15 lunar 2023-6-29");
  // 除夕: the last day of 腊月, the 30th (2024-02-09) or the 29th (2025-01-28).
  const auto eves = OccurrencesInYears(Rule(u"lunar 12-30"), 2023, 2024);
  EXPECT_EQ(Show(eves.at(0)), "2024-02-09 lunar 2023-12-30");
  EXPECT_EQ(Show(eves.at(1)), "2025-01-28 lunar 2024-12-29");
  // A 闰四月 birthday: in the leap month in 2020, in the ordinary fourth month in 2021.
  const auto leapBirthdays = OccurrencesInYears(Rule(u"lunar leap 4-10"), 2020, 2021);
  EXPECT_EQ(Show(leapBirthdays.at(0)), "2020-06-01 lunar 2020-leap 4-10");
  EXPECT_EQ(Show(leapBirthdays.at(1)), "2021-05-21 lunar 2021-4-10");
  // An ordinary 四月 date never falls in 闰四月.
  const auto ordinary = OccurrencesInYears(Rule(u"lunar 4-10"), 2020, 2020);
  ASSERT_EQ(ordinary.size(), 1u);
  EXPECT_EQ(Show(ordinary[0]), "2020-05-02 lunar 2020-4-10");
  // The leap month's 30th where it has 29 days: 闰二月 of 2023.
  EXPECT_EQ(Show(OccurrencesInYears(Rule(u"lunar leap 2-30"), 2023, 2023).at(0)), "2023-04-19 lunar 2023-leap 2-29");
  // Monthly: 2023 has thirteen months, 闰二月 among them.
  EXPECT_EQ(OccurrencesInYears(Rule(u"lunar-monthly 1"), 2023, 2023).size(), 13u);
  // 29 February.
  const auto leapDay = OccurrencesInYears(Rule(u"solar 02-29"), 2023, 2024);
  EXPECT_EQ(Show(leapDay.at(0)).substr(0, 10), "2023-02-28");
  EXPECT_EQ(Show(leapDay.at(1)).substr(0, 10), "2024-02-29");
  // The range's ends: a lunar year's 腊月 reaches into the next Gregorian year.
  const auto january = OccurrencesBetween(Rule(u"lunar 12-2"), Day::FromCivil(2025, 1, 1), Day::FromCivil(2025, 12, 31));
  ASSERT_EQ(january.size(), 1u);
  EXPECT_EQ(Show(january[0]), "2025-01-01 lunar 2024-12-2");
  EXPECT_TRUE(OccurrencesInYears(Rule(u"lunar 1-1"), 2101, 2200).empty());
  EXPECT_EQ(OccurrencesInYears(Rule(u"lunar 1-1"), 1800, 2200).size(), 201u);
  EXPECT_TRUE(OccurrencesInYears(Rule(u"term 小寒"), 1900, 1900).empty());  // before 1900-01-31
  // The next occurrence.
  EXPECT_EQ(Show(*NextOccurrence(Rule(u"lunar 8-15"), Day::FromCivil(2027, 9, 16))), "2028-10-03 lunar 2028-8-15");
  EXPECT_EQ(Show(*NextOccurrence(Rule(u"lunar 12-30"), Day::FromCivil(2025, 1, 1))), "2025-01-28 lunar 2024-12-29");
  EXPECT_FALSE(NextOccurrence(Rule(u"once 2027-09-15"), Day::FromCivil(2027, 9, 16)).has_value());
  EXPECT_FALSE(NextOccurrence(Rule(u"lunar 8-15"), Day::FromCivil(2100, 10, 1)).has_value());
}

TEST(Recurrence, TextFormAndRefusals) {
  for (std::u16string_view text : {u"once 2027-09-15", u"solar 02-29", u"lunar 8-15", u"lunar leap 4-10",
                                   u"lunar-monthly 15", u"term 冬至", u"lunar 12-30", u"lunar 2-30"}) {
    EXPECT_EQ(RecurrenceText(Rule(text)), text);
  }
  EXPECT_EQ(RecurrenceText(Rule(u"  solar  9-5 ")), u"solar 09-05");
  EXPECT_EQ(RecurrenceDescription(Rule(u"lunar leap 4-10")), u"每年农历闰四月初十");
  EXPECT_EQ(RecurrenceDescription(Rule(u"lunar-monthly 15")), u"每月十五");
  for (std::u16string_view text : {u"", u"lunar 13-1", u"lunar 0-1", u"lunar 2-31", u"lunar 1-0", u"solar 02-30",
                                   u"solar 04-31", u"solar 13-01", u"once 2023-02-29", u"once 1899-12-31",
                                   u"once 2101-01-29", u"lunar-monthly 31", u"term 春天", u"lunar leap 4",
                                   u"weekly 1", u"lunar 8-15 x", u"solar -1-5", u"lunar 99999-1"}) {
    const RecurrenceParse parsed = ParseRecurrence(text);
    EXPECT_FALSE(parsed.rule.has_value()) << std::string(text.begin(), text.end());
    EXPECT_FALSE(parsed.problem.empty());
  }
  EXPECT_EQ(LunarMonthDayText({2027, 8, 15, 0}), u"八月十五");
  EXPECT_EQ(LunarMonthDayText({2020, 4, 10, 1}), u"闰四月初十");
}

}  // namespace
