#include "calendar/almanac.h"

#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/text_utils.h"

namespace {

bool AllDigits(std::u16string_view text) {
  if (text.empty()) return false;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

// "yyyymmdd" of the date.
std::u16string DateId(const SystemTime& date) { return ReplaceText(FormatDate(date), u"-", u""); }

std::u16string LookUp(const SystemTime& date, std::u16string_view column) {
  std::u16string sql = u"select ";
  sql += column;
  sql += u" from yijidata where id = '";
  sql += DateId(date);
  sql += u"'";
  std::u16string numbers = QueryValue(sql);
  if (numbers.empty()) return {};
  std::u16string names = ActivityNameQuery(numbers);
  return names.empty() ? std::u16string() : QueryRows(names);
}

}  // namespace

std::u16string ActivityNameQuery(std::u16string_view numbers) {
  std::u16string condition;
  size_t start = 0;
  while (start <= numbers.size()) {
    size_t comma = numbers.find(u',', start);
    size_t end = comma == std::u16string_view::npos ? numbers.size() : comma;
    std::u16string number = TrimText(numbers.substr(start, end - start));
    // Only plain numbers reach the statement: anything else would be run as SQL.
    if (AllDigits(number)) {
      condition += condition.empty() ? u" where id = '" : u" or id = '";
      condition += number;
      condition += u"'";
    }
    if (comma == std::u16string_view::npos) break;
    start = comma + 1;
  }
  return condition.empty() ? std::u16string() : u"select key from yijikey " + condition;
}

std::u16string LookUpSuitable(const SystemTime& date) { return LookUp(date, u"yi"); }

std::u16string LookUpAvoid(const SystemTime& date) { return LookUp(date, u"ji"); }
