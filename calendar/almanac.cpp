#include "calendar/almanac.h"

#include <algorithm>
#include <unordered_map>

#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/text_utils.h"

namespace {

// Separates the columns folded into one text by the range statements (the database worker
// returns the first column of each row).
constexpr char16_t kField = u'\x1f';
constexpr std::u16string_view kRowBreak = u"\r\n";

bool AllDigits(std::u16string_view text) {
  if (text.empty()) return false;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

// The plain numbers of a stored list, in list order (repeats kept): nothing else may reach a
// statement, as it would be run as SQL.
std::vector<std::u16string> ActivityNumbers(std::u16string_view numbers) {
  std::vector<std::u16string> out;
  size_t start = 0;
  while (start <= numbers.size()) {
    size_t comma = numbers.find(u',', start);
    size_t end = comma == std::u16string_view::npos ? numbers.size() : comma;
    std::u16string number = TrimText(numbers.substr(start, end - start));
    if (AllDigits(number)) out.push_back(std::move(number));
    if (comma == std::u16string_view::npos) break;
    start = comma + 1;
  }
  return out;
}

std::u16string NameQuery(const std::vector<std::u16string>& numbers, std::u16string_view column) {
  std::u16string condition;
  for (const std::u16string& number : numbers) {
    condition += condition.empty() ? u" where id = '" : u" or id = '";
    condition += number;
    condition += u"'";
  }
  if (condition.empty()) return {};
  std::u16string sql = u"select ";
  sql += column;
  sql += u" from yijikey ";
  sql += condition;
  return sql;
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

// Calls row(text) for every row of a QueryRows result.
template <class Row>
void ForEachRow(std::u16string_view rows, Row row) {
  if (rows.empty()) return;
  size_t start = 0;
  while (true) {
    size_t end = rows.find(kRowBreak, start);
    row(rows.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
    if (end == std::u16string_view::npos) break;
    start = end + kRowBreak.size();
  }
}

}  // namespace

std::u16string ActivityNameQuery(std::u16string_view numbers) {
  return NameQuery(ActivityNumbers(numbers), u"key");
}

std::u16string LookUpSuitable(const SystemTime& date) { return LookUp(date, u"yi"); }

std::u16string LookUpAvoid(const SystemTime& date) { return LookUp(date, u"ji"); }

void AlmanacRange::Load(const SystemTime& first, int dayCount) {
  days_.clear();
  first_ = SystemTime{};
  if (dayCount < 1 || !IsValidDate(first)) return;
  first_.wYear = first.wYear;
  first_.wMonth = first.wMonth;
  first_.wDay = first.wDay;
  SystemTime last = first_;
  AddDays(last, dayCount - 1);
  days_.resize(static_cast<size_t>(dayCount));

  // The days' rows: "id<US>yi<US>ji" each.
  const std::u16string rows =
      QueryRows(u"select id || char(31) || ifnull(yi, '') || char(31) || ifnull(ji, '') "
                u"from yijidata where id between '" + DateId(first_) + u"' and '" + DateId(last) +
                u"'");
  struct DayNumbers {
    size_t day;
    std::vector<std::u16string> suitable, avoid;
  };
  std::vector<DayNumbers> found;
  std::unordered_map<std::u16string, size_t> dayOfId;
  SystemTime day = first_;
  for (int i = 0; i < dayCount; ++i, AddDays(day, 1)) dayOfId.emplace(DateId(day), i);
  std::vector<std::u16string> used;  // every number of the run, once, in first-seen order
  std::unordered_map<std::u16string, size_t> usedIndex;
  ForEachRow(rows, [&](std::u16string_view row) {
    const size_t a = row.find(kField);
    const size_t b = a == std::u16string_view::npos ? a : row.find(kField, a + 1);
    if (b == std::u16string_view::npos) return;
    auto at = dayOfId.find(std::u16string(row.substr(0, a)));
    if (at == dayOfId.end()) return;  // an id between the two that names no day of the run
    DayNumbers numbers{at->second, ActivityNumbers(row.substr(a + 1, b - a - 1)),
                       ActivityNumbers(row.substr(b + 1))};
    for (const auto* list : {&numbers.suitable, &numbers.avoid}) {
      for (const std::u16string& number : *list) {
        if (usedIndex.emplace(number, used.size()).second) used.push_back(number);
      }
    }
    found.push_back(std::move(numbers));
  });
  if (used.empty()) return;

  // The names, as "id<US>key" rows, asked for with the condition a single day's lookup uses, so
  // that they come in the order a day's own statement returns them.
  const std::u16string names = QueryRows(NameQuery(used, u"id || char(31) || ifnull(key, '')"));
  struct Name {
    size_t number;  // index into `used`
    std::u16string text;
  };
  std::vector<Name> ordered;
  ForEachRow(names, [&](std::u16string_view row) {
    const size_t a = row.find(kField);
    if (a == std::u16string_view::npos) return;
    auto at = usedIndex.find(std::u16string(row.substr(0, a)));
    if (at != usedIndex.end()) ordered.push_back({at->second, std::u16string(row.substr(a + 1))});
  });

  std::vector<char> wanted(used.size());
  auto join = [&](const std::vector<std::u16string>& numbers) {
    std::u16string text;
    if (numbers.empty()) return text;
    std::fill(wanted.begin(), wanted.end(), 0);
    for (const std::u16string& number : numbers) wanted[usedIndex[number]] = 1;
    bool firstName = true;
    for (const Name& name : ordered) {
      if (!wanted[name.number]) continue;
      if (!firstName) text += kRowBreak;
      text += name.text;
      firstName = false;
    }
    return text;
  };
  for (const DayNumbers& numbers : found) {
    days_[numbers.day].suitable = join(numbers.suitable);
    days_[numbers.day].avoid = join(numbers.avoid);
  }
}

const AlmanacRange::Lists* AlmanacRange::Find(const SystemTime& date) const {
  if (days_.empty() || !IsValidDate(date)) return nullptr;
  const int offset = DaysBetween(first_, date);
  if (offset < 0 || offset >= static_cast<int>(days_.size())) return nullptr;
  return &days_[static_cast<size_t>(offset)];
}

bool AlmanacRange::Covers(const SystemTime& date) const { return Find(date) != nullptr; }

const std::u16string& AlmanacRange::Suitable(const SystemTime& date) const {
  static const std::u16string none;
  const Lists* lists = Find(date);
  return lists ? lists->suitable : none;
}

const std::u16string& AlmanacRange::Avoid(const SystemTime& date) const {
  static const std::u16string none;
  const Lists* lists = Find(date);
  return lists ? lists->avoid : none;
}
