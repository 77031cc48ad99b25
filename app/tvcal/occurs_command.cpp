#include "app/tvcal/occurs_command.h"

#include <cstdio>

#include "app/tvcal/terminal_text.h"
#include "calendar/lunar_dates.h"
#include "platform/date_time.h"
#include "platform/text_codec.h"

namespace {

bool Year(std::string_view text, int& year) {
  if (text.empty() || text.size() > 4) return false;
  year = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    year = year * 10 + (c - '0');
  }
  return true;
}

int Refuse(TextSink& err, const std::string& problem) {
  err.Write("tvcal: " + problem +
            "\nusage: tvcal occurs RULE FROM_YEAR TO_YEAR\n"
            "       RULE: solar MM-DD | lunar M-D | lunar leap M-D | lunar-monthly D | term NAME\n"
            "       | once YYYY-MM-DD; lunar rules count lunar years\n");
  return kExitUsage;
}

}  // namespace

void AppendOccurrence(std::string& out, const Occurrence& occurrence) {
  out += FormatDateA(occurrence.date);
  out += ' ';
  AppendUtf8(out, LunarMonthDayText(occurrence.lunar));
}

int RunOccurs(const std::vector<std::string_view>& args, TextSink& out, TextSink& err) {
  if (args.size() < 3) return Refuse(err, "occurs takes a rule and two years");
  std::string ruleText;
  for (size_t i = 0; i + 2 < args.size(); ++i) ruleText.append(i ? " " : "").append(args[i]);
  int from = 0, to = 0;
  if (!Year(args[args.size() - 2], from) || !Year(args.back(), to))
    return Refuse(err, "bad years '" + ShownArgument(args[args.size() - 2]) + "' '" + ShownArgument(args.back()) +
                           "', expected two years such as 2025 2035");
  if (from > to) return Refuse(err, "FROM_YEAR is after TO_YEAR");
  const RecurrenceParse parsed = ParseRecurrence(Utf8ToWide(ruleText));
  if (!parsed.rule) return Refuse(err, "bad rule '" + ShownArgument(ruleText) + "': " + Utf8(parsed.problem));
  std::string text;
  for (const Occurrence& o : OccurrencesInYears(*parsed.rule, from, to)) {
    AppendOccurrence(text, o);
    text += '\n';
  }
  out.Write(text);
  return kExitOk;
}
