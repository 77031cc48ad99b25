#include "platform/date_time.h"

#include <cstdio>

#include "platform/text_codec.h"

std::string FormatTimestampA(const SystemTime& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%4d-%02d-%02d %02d:%02d:%02d:%03d", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond, t.wMilliseconds);
  return buf;
}

std::string FormatDateA(const SystemTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%4d-%02d-%02d", t.wYear, t.wMonth, t.wDay);
  return buf;
}

static std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::u16string FormatTimestamp(const SystemTime& t) { return Widen(FormatTimestampA(t)); }
std::u16string FormatDate(const SystemTime& t) { return Widen(FormatDateA(t)); }

bool IsValidDate(const SystemTime& t) {
  return t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= DaysInMonth(t.wYear, t.wMonth);
}

bool IsValidDateTime(const SystemTime& t) {
  return IsValidDate(t) && t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
}

namespace {

int Digits(std::string_view text, size_t from, size_t count) {
  int value = 0;
  for (size_t i = from; i < from + count; ++i) {
    char c = text[i];
    if (c < '0' || c > '9') break;  // like atoi: the leading digits count
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

int DaysBetween(const SystemTime& a, const SystemTime& b) {
  if (!IsValidDate(a) || !IsValidDate(b)) return 0;
  return DaysSince1970(b.wYear, b.wMonth, b.wDay) - DaysSince1970(a.wYear, a.wMonth, a.wDay);
}

void AddDays(SystemTime& t, int n) {
  if (!IsValidDate(t)) return;
  const Day d = Day::FromCivil(t.wYear, t.wMonth, t.wDay) + n;
  if (d.Year() < 0 || d.Year() > 65535) return;
  t.wYear = static_cast<uint16_t>(d.Year());
  t.wMonth = static_cast<uint16_t>(d.Month());
  t.wDay = static_cast<uint16_t>(d.DayOfMonth());
}

bool ParseDateText(std::string_view text, SystemTime& out) {
  out = SystemTime{};
  if (text.size() < 10) return false;
  int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  if (year == 0 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  int hour = text.size() > 12 ? Digits(text, 11, 2) : 0;
  int minute = text.size() > 15 ? Digits(text, 14, 2) : 0;
  int second = text.size() > 18 ? Digits(text, 17, 2) : 0;
  int milli = text.size() >= 23 ? Digits(text, 20, 3) : 0;
  out.wYear = static_cast<uint16_t>(year);
  out.wMonth = static_cast<uint16_t>(month);
  out.wDay = static_cast<uint16_t>(day);
  out.wHour = static_cast<uint16_t>(hour > 23 ? 0 : hour);
  out.wMinute = static_cast<uint16_t>(minute >= 60 ? 0 : minute);
  out.wSecond = static_cast<uint16_t>(second >= 60 ? 0 : second);
  out.wMilliseconds = static_cast<uint16_t>(milli >= 1000 ? 0 : milli);
  return true;
}

bool ParseDateText(std::u16string_view text, SystemTime& out) {
  std::string narrow;
  narrow.reserve(text.size());
  // Only the digit positions matter; anything else stands in as a non-digit.
  for (char16_t c : text) narrow.push_back(c < 128 ? static_cast<char>(c) : '?');
  return ParseDateText(std::string_view(narrow), out);
}

std::optional<Day> DayOf(const SystemTime& t) {
  if (!Day::IsValidCivil(t.wYear, t.wMonth, t.wDay)) return std::nullopt;
  return Day::FromCivil(t.wYear, t.wMonth, t.wDay);
}

Day DayOfClock(const SystemTime& now) { return Day::FromCivil(now.wYear, now.wMonth, now.wDay); }

SystemTime SystemTimeOf(Day day) {
  SystemTime t;
  t.wYear = static_cast<uint16_t>(day.Year());
  t.wMonth = static_cast<uint16_t>(day.Month());
  t.wDay = static_cast<uint16_t>(day.DayOfMonth());
  t.wDayOfWeek = static_cast<uint16_t>(SundayZeroNumber(day.DayOfWeek()));
  return t;
}

namespace {

template <typename Char>
std::optional<Day> StrictDateText(std::basic_string_view<Char> text, size_t position) {
  if (position > text.size() || text.size() - position < 10) return std::nullopt;
  int parts[3] = {};
  size_t at = position;
  for (int part = 0; part < 3; ++part) {
    const size_t width = part == 0 ? 4 : 2;
    if (part > 0 && text[at++] != Char('-')) return std::nullopt;
    for (size_t i = 0; i < width; ++i, ++at) {
      const Char c = text[at];
      if (c < Char('0') || c > Char('9')) return std::nullopt;
      parts[part] = parts[part] * 10 + (c - Char('0'));
    }
  }
  return Day::FromValidCivil(parts[0], parts[1], parts[2]);
}

}  // namespace

std::optional<Day> DayInDateText(std::u16string_view text, size_t position) {
  return StrictDateText(text, position);
}

std::optional<Day> DayInDateText(std::string_view text, size_t position) {
  return StrictDateText(text, position);
}

std::optional<Day> DayOfDateText(std::u16string_view text) {
  return text.size() == 10 ? DayInDateText(text) : std::nullopt;
}

std::optional<Day> DayOfDateText(std::string_view text) {
  return text.size() == 10 ? DayInDateText(text) : std::nullopt;
}

std::string FormatDateA(Day day) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", day.Year(), day.Month(), day.DayOfMonth());
  return buf;
}

std::u16string FormatDate(Day day) { return Widen(FormatDateA(day)); }

std::string DateIdTextA(Day day) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", day.Year(), day.Month(), day.DayOfMonth());
  return buf;
}

std::u16string DateIdText(Day day) { return Widen(DateIdTextA(day)); }
