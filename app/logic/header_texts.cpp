#include "app/logic/header_texts.h"

#include "calendar/lunar_dates.h"
#include "platform/text_utils.h"

namespace {
std::u16string TwoDigits(int n) {
  std::u16string s = IntToText(n % 100 < 0 ? 0 : n % 100);
  return s.size() < 2 ? u"0" + s : s;
}
}  // namespace

std::u16string WorldDayText(const DayInfo& today) {
  static constexpr std::u16string_view names[] = {u"周日", u"周一", u"周二", u"周三",
                                                   u"周四", u"周五", u"周六"};
  std::u16string s = GregorianDayText(today.date) + u" ";
  // The weekday from the record's own weekday (none in a record not built for a day).
  const int number = IsoNumber(today.weekday);
  if (number >= 1 && number <= 7) s += names[SundayZeroNumber(today.weekday)];
  return s;
}

std::u16string ChineseDayText(const DayInfo& today) {
  if (today.lunarMonthName.empty()) return {};
  return today.zodiacAnimal + u"年" + today.lunarMonthName + u"月" + today.lunarDayName;
}

ClockTexts ClockTextsOf(const SystemTime& now) {
  return {TwoDigits(now.wHour), TwoDigits(now.wMinute), TwoDigits(now.wSecond)};
}
