#include "app/tvcal/commands.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "app/tvcal/occurs_command.h"
#include "app/tvcal/remind_command.h"
#include "app/tvcal/terminal_text.h"
#include "calendar/ccalendar.h"
#include "calendar/lunar_dates.h"
#include "calendar/statutory_holidays.h"
#include "platform/date_time.h"
#include "platform/text_utils.h"

namespace {

constexpr std::string_view kUsage =
    "usage: tvcal                    the current month\n"
    "       tvcal month [YYYY-MM]    a month as a Monday-first grid with lunar dates\n"
    "       tvcal day YYYY-MM-DD     everything known for one day\n"
    "       tvcal dump FROM TO       one tab-separated line per day, FROM and TO as YYYY-MM-DD:\n"
    "                                date, lunar year, month, day, leap 0/1, solar term,\n"
    "                                lunar festival, solar festival\n"
    "       tvcal occurs RULE FROM_YEAR TO_YEAR\n"
    "                                the days a rule falls on, \"YYYY-MM-DD 八月十五\"; RULE is\n"
    "                                solar MM-DD, lunar M-D, lunar leap M-D, lunar-monthly D,\n"
    "                                term NAME (冬至 ...) or once YYYY-MM-DD; lunar rules count\n"
    "                                lunar years\n"
    "       tvcal remind list [FROM TO]\n"
    "                                the stored reminders from FROM to TO (default: a year from\n"
    "                                today)\n"
    "       tvcal remind export FILE [FROM]\n"
    "                                the reminders for ten years from FROM (default: today) as\n"
    "                                an iCalendar file\n"
    "Dates from 1900-01-31 to 2101-01-28; months from 1900-02 to 2100-12.\n"
    "Options before the command: --db PATH reads days off, make-up working days and the\n"
    "almanac from that user.dat (default: the user.dat beside tvcal); --no-db skips them.\n";

constexpr std::string_view kRangeText = "supported dates: 1900-01-31 ... 2101-01-28";

// ANSI sequences, used only when colours are on.
constexpr std::string_view kReset = "\x1b[0m";
constexpr std::string_view kBold = "\x1b[1m";
constexpr std::string_view kRed = "\x1b[31m";
constexpr std::string_view kCyan = "\x1b[36m";
constexpr std::string_view kGrey = "\x1b[90m";
constexpr std::string_view kReverse = "\x1b[7m";

constexpr std::u16string_view kShortWeekdays[8] = {u"",   u"周一", u"周二", u"周三",
                                                   u"周四", u"周五", u"周六", u"周日"};

// Collects output and hands it to the sink in large pieces.
class Buffered {
 public:
  explicit Buffered(TextSink& sink) : sink_(sink) { text_.reserve(kChunk + 4096); }
  ~Buffered() { Flush(); }
  std::string& text() { return text_; }
  void MaybeFlush() {
    if (text_.size() >= kChunk) Flush();
  }
  void Flush() {
    if (!text_.empty()) sink_.Write(text_);
    text_.clear();
  }

 private:
  static constexpr size_t kChunk = 1 << 16;
  TextSink& sink_;
  std::string text_;
};

int Usage(TextSink& err, std::string_view problem) {
  std::string s = "tvcal: ";
  s.append(problem).append("\n").append(kUsage);
  err.Write(s);
  return kExitUsage;
}

int OutOfRange(TextSink& err, std::string_view what) {
  std::string s = "tvcal: ";
  s.append(what).append(" is outside the lunar calendar's range (").append(kRangeText).append(")\n");
  err.Write(s);
  return kExitUsage;
}

bool ParseDigits(std::string_view text, int& value) {
  const std::optional<int64_t> number = DecimalValue(text, 9);
  if (number) value = static_cast<int>(*number);
  return number.has_value();
}

void AppendNumber(std::string& out, int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%*d", width, value);
  out += buf;
}

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }



// --- month ------------------------------------------------------------------------------------
constexpr int kCellWidth = 8;

struct Cell {
  DayInfo day;
  bool known = false;     // inside the engine's range
  bool inMonth = false;
};

// Ends a grid line without trailing blanks.
void EndLine(std::string& out) {
  while (!out.empty() && out.back() == ' ') out.pop_back();
  out += '\n';
}

void AppendColored(std::string& out, bool color, std::string_view seq, std::u16string_view text,
                   int width) {
  const bool wrap = color && !seq.empty() && !text.empty();
  if (wrap) out += seq;
  AppendUtf8(out, text);
  if (wrap) out += kReset;
  for (int w = DisplayWidth(text); w < width; ++w) out += ' ';
}

void AppendCentered(std::string& out, std::u16string_view text, int width) {
  for (int pad = (width - DisplayWidth(text)) / 2; pad > 0; --pad) out += ' ';
  AppendUtf8(out, text);
}

void AppendTodayHeader(std::string& out, const TvcalOptions& options) {
  // The engine's names only: nothing of the database is shown here.
  CCalendar cal;
  if (options.today) cal.Calculate(*options.today);
  std::u16string line = u"今天 ";
  if (options.today) line += GregorianDayText(*options.today);
  if (cal.IsValid()) {
    line += u' ';
    line += kShortWeekdays[IsoNumber(options.today->DayOfWeek())];
    line += u"  农历";
    line += cal.yearGanZhi + u"年 " + cal.zodiacAnimal + u"年 ";
    line += LunarMonthDayText(cal.Lunar());
  } else {
    line += u"（超出农历范围）";
  }
  AppendUtf8(out, line);
  out += '\n';
}

int RunMonth(int year, int month, const TvcalOptions& options, const DayInfoProvider& provider,
             TextSink& sink) {
  const bool color = options.color;
  Buffered buffer(sink);
  std::string& out = buffer.text();

  // Title and today's header.
  std::u16string title = Ascii(std::to_string(year)) + u"年" + Ascii(std::to_string(month)) + u"月";
  if (color) out += kBold;
  AppendCentered(out, title, 7 * kCellWidth);
  if (color) out += kReset;
  out += '\n';
  AppendTodayHeader(out, options);
  out += '\n';

  // The grid: Monday-first, the leading cells hold the end of the previous month.
  const Day first = Day::FromCivil(year, month, 1);
  const int lead = IsoNumber(first.DayOfWeek()) - 1;  // 0 when the month starts on Monday
  const int days = DaysInMonth(year, month);
  const int rows = (lead + days + 6) / 7;
  std::array<Cell, 42> cells;
  Day d = first - lead;
  provider.Prepare(d, rows * 7);
  for (int i = 0; i < rows * 7; ++i, d += 1) {
    cells[i].known = provider.Fill(d, cells[i].day);  // the date is kept either way
    cells[i].inMonth = d.Month() == month;
  }

  static constexpr std::u16string_view kHeads[7] = {u"一", u"二", u"三", u"四",
                                                    u"五", u"六", u"日"};
  for (int c = 0; c < 7; ++c) {
    out += "  ";
    AppendColored(out, color, c >= 5 ? kRed : std::string_view{}, kHeads[c], kCellWidth - 2);
  }
  EndLine(out);

  for (int r = 0; r < rows; ++r) {
    // Day numbers, today and badges.
    for (int c = 0; c < 7; ++c) {
      const Cell& cell = cells[r * 7 + c];
      const Day date = cell.day.date;
      const bool shown = cell.known && (cell.inMonth || color);
      if (!shown) {
        out.append(kCellWidth, ' ');
        continue;
      }
      const bool isToday = cell.inMonth && date == options.today;
      std::string number;
      AppendNumber(number, date.DayOfMonth(), 2);
      std::string field;
      if (color) {
        std::string_view seq = !cell.inMonth ? kGrey : (c >= 5 ? kRed : std::string_view{});
        field += ' ';
        if (isToday) field += kReverse;
        field += seq;
        field += number;
        if (isToday || !seq.empty()) field += kReset;
        field += ' ';
      } else {
        field = isToday ? "[" + number + "]" : " " + number + " ";
      }
      out += field;
      std::u16string badge = cell.day.workDay ? u"班" : cell.day.restDay ? u"休" : u"";
      AppendColored(out, color, kRed, badge, kCellWidth - 4);
    }
    EndLine(out);
    // Lunar line.
    for (int c = 0; c < 7; ++c) {
      const Cell& cell = cells[r * 7 + c];
      if (!cell.known || (!cell.inMonth && !color)) {
        out.append(kCellWidth, ' ');
        continue;
      }
      bool highlighted = false;
      const std::u16string text = DayCellLabel(cell.day, &highlighted);
      out += ' ';
      AppendColored(out, color, !cell.inMonth ? kGrey : highlighted ? kCyan : kGrey, text,
                    kCellWidth - 1);
    }
    EndLine(out);
  }

  // The month's solar terms and lunar festivals, as a short list under the grid.
  std::vector<std::u16string> items;
  for (int i = 0; i < rows * 7; ++i) {
    const Cell& cell = cells[i];
    if (!cell.known || !cell.inMonth) continue;
    for (const std::u16string* text : {&cell.day.solarTerm, &cell.day.lunarFestival})
      if (!text->empty()) items.push_back(Ascii(std::to_string(cell.day.date.DayOfMonth())) + u"日 " + *text);
  }
  std::u16string line;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i == 0) out += '\n';
    if (!line.empty() && DisplayWidth(line) + 3 + DisplayWidth(items[i]) > 7 * kCellWidth) {
      AppendUtf8(out, line);
      out += '\n';
      line.clear();
    }
    if (!line.empty()) line += u" · ";
    line += items[i];
  }
  if (!line.empty()) {
    AppendUtf8(out, line);
    out += '\n';
  }
  // Days off computed from the calendar are told apart from a published arrangement.
  for (int i = 0; i < rows * 7; ++i) {
    if (cells[i].known && cells[i].inMonth && cells[i].day.restEstimated) {
      out += items.empty() ? "\n" : "";
      AppendColored(out, color, kRed, u"休 " + std::u16string(kStatutoryNote), 0);
      EndLine(out);
      break;
    }
  }
  return kExitOk;
}

// --- day --------------------------------------------------------------------------------------
void AppendField(std::string& out, std::u16string_view label, std::u16string_view value) {
  AppendPadded(out, label, 10);
  AppendUtf8(out, value.empty() ? std::u16string_view(u"—") : value);
  out += '\n';
}

int RunDay(Day date, const DayInfoProvider& provider, TextSink& sink) {
  DayInfo day;
  provider.Fill(date, day);
  const DayAlmanac almanac = provider.Almanac(date);
  // The engine's every name, and its texts uncut (the record cuts long ones for the window).
  CCalendar cal;
  cal.Calculate(date);
  Buffered buffer(sink);
  std::string& out = buffer.text();

  out += FormatDateA(date);
  out += ' ';
  AppendUtf8(out, WeekdayName(day.weekday));
  out += '\n';
  const int monthLength = cal.leapFlag ? LeapMonthDays(cal.lunarYear)
                                       : MonthDays(cal.lunarYear, cal.lunarMonth);
  AppendField(out, u"农历", Ascii(std::to_string(cal.lunarYear)) + u"年 " + LunarMonthDayText(cal.Lunar()));
  AppendField(out, u"月份", (cal.leapFlag ? u"闰" : u"") + cal.lunarMonthName + u"月" +
                                cal.monthSize + u"（" + Ascii(std::to_string(monthLength)) +
                                u"天）");
  AppendField(out, u"干支", cal.yearGanZhi + u"年 " + cal.monthGanZhi + u"月 " + cal.dayGanZhi +
                                u"日");
  AppendField(out, u"生肖", cal.zodiacAnimal);
  AppendField(out, u"纪年", cal.eraLabel);
  AppendField(out, u"节气", cal.solarTerm);
  AppendField(out, u"农历节日", cal.lunarFestival);
  AppendField(out, u"公历节日", cal.solarFestival);
  if (!day.shortLabel.empty()) AppendField(out, u"节日简称", day.shortLabel);
  if (cal.holidayStar) AppendField(out, u"节假日", u"是（带星号的节日）");
  if (day.restDay)
    AppendField(out, u"休息日", day.restEstimated ? u"法定假日（" + std::u16string(kStatutoryNote) + u"）"
                                                    : std::u16string(u"法定假日"));
  if (day.workDay) AppendField(out, u"上班日", u"调休上班");
  if (!almanac.suitable.empty()) AppendField(out, u"宜", almanac.suitable);
  if (!almanac.avoid.empty()) AppendField(out, u"忌", almanac.avoid);
  return kExitOk;
}

// --- dump -------------------------------------------------------------------------------------
int RunDump(Day from, Day to, TextSink& sink) {
  Buffered buffer(sink);
  std::string& out = buffer.text();
  CCalendar cal;
  for (Day d = from;; d += 1) {
    cal.Calculate(d);
    out += FormatDateA(d);
    char buf[48];
    std::snprintf(buf, sizeof buf, "\t%d\t%d\t%d\t%d\t", cal.lunarYear, cal.lunarMonth,
                  cal.lunarDay, cal.leapFlag);
    out += buf;
    AppendUtf8(out, cal.solarTerm);
    out += '\t';
    AppendUtf8(out, cal.lunarFestival);
    out += '\t';
    AppendUtf8(out, cal.solarFestival);
    out += '\n';
    buffer.MaybeFlush();
    if (d == to) break;
  }
  return kExitOk;
}

}  // namespace

int RunTvcal(const std::vector<std::string_view>& args, const TvcalOptions& options,
             TextSink& out, TextSink& err) {
  const DayInfoProvider plain;
  const DayInfoProvider& provider = options.provider ? *options.provider : plain;
  const std::string_view command = args.empty() ? "month" : args[0];

  if (command == "help" || command == "-h" || command == "--help") {
    out.Write(kUsage);
    return kExitOk;
  }

  if (command == "month") {
    if (args.size() > 2) return Usage(err, "month takes at most one argument, YYYY-MM");
    int year = options.today ? options.today->Year() : 0, month = options.today ? options.today->Month() : 0;
    if (args.size() == 2) {
      const std::string_view a = args[1];
      if (a.size() != 7 || a[4] != '-' || !ParseDigits(a.substr(0, 4), year) ||
          !ParseDigits(a.substr(5, 2), month) || month < 1 || month > 12)
        return Usage(err, "bad month '" + ShownArgument(a) + "', expected YYYY-MM");
    } else if (!options.today) {
      return Usage(err, "today's date is unknown; name the month as YYYY-MM");
    }
    if (year * 12 + month < 1900 * 12 + 2 || year * 12 + month > 2100 * 12 + 12) {
      std::string s = "tvcal: month " + std::to_string(year) + "-" + (month < 10 ? "0" : "") +
                      std::to_string(month) +
                      " is outside the lunar calendar's range (supported months: 1900-02 ... "
                      "2100-12)\n";
      err.Write(s);
      return kExitUsage;
    }
    return RunMonth(year, month, options, provider, out);
  }

  if (command == "day") {
    if (args.size() != 2) return Usage(err, "day takes one argument, YYYY-MM-DD");
    const std::optional<Day> date = DayOfDateText(args[1]);
    if (!date) return Usage(err, "bad date '" + ShownArgument(args[1]) + "', expected YYYY-MM-DD");
    if (!IsInCalendarRange(*date)) return OutOfRange(err, ShownArgument(args[1]));
    return RunDay(*date, provider, out);
  }

  if (command == "dump") {
    if (args.size() != 3) return Usage(err, "dump takes two arguments, FROM and TO (YYYY-MM-DD)");
    const std::optional<Day> from = DayOfDateText(args[1]);
    const std::optional<Day> to = DayOfDateText(args[2]);
    if (!from) return Usage(err, "bad date '" + ShownArgument(args[1]) + "', expected YYYY-MM-DD");
    if (!to) return Usage(err, "bad date '" + ShownArgument(args[2]) + "', expected YYYY-MM-DD");
    if (!IsInCalendarRange(*from)) return OutOfRange(err, ShownArgument(args[1]));
    if (!IsInCalendarRange(*to)) return OutOfRange(err, ShownArgument(args[2]));
    if (*from > *to) return Usage(err, "FROM is after TO");
    return RunDump(*from, *to, out);
  }

  if (command == "occurs") return RunOccurs({args.begin() + 1, args.end()}, out, err);
  if (command == "remind") return RunRemind({args.begin() + 1, args.end()}, options, out, err);

  return Usage(err, "unknown command '" + ShownArgument(command) + "'");
}
