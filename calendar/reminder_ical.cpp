#include "calendar/reminder_ical.h"

#include <cstdio>

#include "calendar/lunar_dates.h"
#include "platform/date_time.h"
#include "platform/text_codec.h"

namespace {

constexpr size_t kMaxOctets = 75;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string FoldICalendarLine(std::string_view line) {
  std::string out;
  size_t limit = kMaxOctets;  // a continuation's leading blank counts against its 75
  while (line.size() > limit) {
    size_t cut = limit;
    while (cut > 0 && IsContinuationByte(line[cut])) --cut;
    out.append(line.substr(0, cut)).append("\r\n ");
    line.remove_prefix(cut);
    limit = kMaxOctets - 1;
  }
  out.append(line).append("\r\n");
  return out;
}

std::string EscapeICalendarText(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '\\' || c == ';' || c == ',')
      out.append(1, '\\').append(1, c);
    else if (c == '\n')
      out += "\\n";
    else if (c != '\r')
      out += c;
  }
  return out;
}

std::string RemindersToICalendar(const std::vector<Reminder>& reminders, const ICalendarExport& options) {
  std::string out;
  auto line = [&out](const std::string& text) { out += FoldICalendarLine(text); };
  line("BEGIN:VCALENDAR");
  line("VERSION:2.0");
  line("PRODID:-//Tavrino//Reminders//ZH");
  line("CALSCALE:GREGORIAN");
  if (options.from) {
    const Day from = *options.from;
    // The same date kICalendarYears later (29 February: 1 March), excluded.
    const Day end = Day::FromCivil(from.Year() + kICalendarYears, from.Month(), from.DayOfMonth()) - 1;
    for (const Reminder& r : reminders) {
      const std::string title = EscapeICalendarText(WideToUtf8(r.title));
      const std::string rule = WideToUtf8(RecurrenceDescription(r.rule));
      char time[32];
      std::snprintf(time, sizeof time, "T%02d%02d00", r.minuteOfDay / 60, r.minuteOfDay % 60);
      for (const Occurrence& o : OccurrencesBetween(r.rule, from, end)) {
        line("BEGIN:VEVENT");
        line("UID:reminder-" + std::to_string(r.id) + "-" + DateIdTextA(o.date) + "@tavrino");
        line("DTSTAMP:" + options.stampUtc);
        line("DTSTART:" + DateIdTextA(o.date) + time);  // the local time of wherever the user is
        line("DURATION:PT0S");
        line("SUMMARY:" + title);
        line("DESCRIPTION:" + EscapeICalendarText("农历" + std::to_string(o.lunar.year) + "年" +
                                                  WideToUtf8(LunarMonthDayText(o.lunar)) + "（" + rule + "）"));
        if (r.noticeDays > 0) {
          line("BEGIN:VALARM");
          line("ACTION:DISPLAY");
          line("DESCRIPTION:" + title);
          line("TRIGGER:-P" + std::to_string(r.noticeDays) + "D");
          line("END:VALARM");
        }
        line("END:VEVENT");
      }
    }
  }
  line("END:VCALENDAR");
  return out;
}
