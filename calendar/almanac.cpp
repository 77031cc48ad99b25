#include "calendar/almanac.h"

#include <unordered_map>
#include <unordered_set>

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

// Calls row(text) for every row of a QueryRows result (none for an empty result).
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
  std::u16string condition;
  for (const std::u16string& number : ActivityNumbers(numbers)) {
    condition += condition.empty() ? u" where id = '" : u" or id = '";
    condition += number;
    condition += u"'";
  }
  // The table's order, whatever way the database finds the rows (through the index the rows
  // would come sorted as text, or in the order of the numbers, depending on how many there are).
  return condition.empty() ? std::u16string() : u"select key from yijikey " + condition + u" order by rowid";
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
  if (rows.empty()) return;
  std::unordered_map<std::u16string, size_t> dayOfId;
  SystemTime day = first_;
  for (int i = 0; i < dayCount; ++i, AddDays(day, 1)) dayOfId.emplace(DateId(day), i);

  // Every name, in the table's order (the order a single day's statement asks for): "id<US>key".
  struct Name {
    std::u16string id;
    std::u16string text;
  };
  std::vector<Name> names;
  ForEachRow(QueryRows(u"select ifnull(id, '') || char(31) || ifnull(key, '') from yijikey order by rowid"),
             [&](std::u16string_view row) {
               const size_t a = row.find(kField);
               if (a != std::u16string_view::npos)
                 names.push_back({std::u16string(row.substr(0, a)), std::u16string(row.substr(a + 1))});
             });
  if (names.empty()) return;

  auto join = [&](std::u16string_view list) {
    std::u16string text;
    const std::vector<std::u16string> numbers = ActivityNumbers(list);
    if (numbers.empty()) return text;
    const std::unordered_set<std::u16string_view> wanted(numbers.begin(), numbers.end());
    bool first = true;
    for (const Name& name : names) {
      if (wanted.find(name.id) == wanted.end()) continue;
      if (!first) text += kRowBreak;
      text += name.text;
      first = false;
    }
    return text;
  };
  ForEachRow(rows, [&](std::u16string_view row) {
    const size_t a = row.find(kField);
    const size_t b = a == std::u16string_view::npos ? a : row.find(kField, a + 1);
    if (b == std::u16string_view::npos) return;
    auto at = dayOfId.find(std::u16string(row.substr(0, a)));
    if (at == dayOfId.end()) return;  // an id between the two that names no day of the run
    days_[at->second].suitable = join(row.substr(a + 1, b - a - 1));
    days_[at->second].avoid = join(row.substr(b + 1));
  });
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
