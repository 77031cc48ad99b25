#pragma once
// The statutory days off of a year, computed from the calendar: what a year is marked with until
// its official arrangement (the service document or an upgrade's table rows) is published. Only
// the days off themselves: make-up working days are set by the arrangement and not known before.
// The rules in force from 2025: 元旦 1 day; 春节 4 (除夕 to 初三); 清明 1 (the solar term's day);
// 劳动节 2 (May 1–2); 端午 1; 中秋 1; 国庆 3 (October 1–3).
#include <array>
#include <optional>
#include <string_view>

#include "calendar/ccalendar.h"
#include "calendar/holiday_texts.h"

// The first year these rules stand for; earlier years are not computed.
inline constexpr int kStatutoryRulesFirstYear = 2025;

// Shown wherever a day off comes from this computation.
inline constexpr std::u16string_view kStatutoryNote = u"放假安排尚未公布，按法定节假日标注";

// The Gregorian day of a lunar date (leap: the leap month that follows `month`); nothing for a
// lunar date the engine's table does not hold (year outside 1900 ... 2100, no such month or day).
std::optional<Day> GregorianOfLunar(int lunarYear, int month, int day, bool leap = false);

// 除夕 of the lunar year that ends in Gregorian year `year`: the day before the lunar new year
// that falls in that year (the last day of the twelfth month, its 29th or 30th).
std::optional<Day> NewYearsEveIn(int year);

// The seven holidays' texts for `year` in the arrangement's order and format: the days off joined
// by ","; the holiday's own date as the day text; no make-up days. All empty for a year before
// kStatutoryRulesFirstYear or one the engine cannot convert.
std::array<HolidayTexts, kHolidayCount> StatutoryHolidays(int year);
