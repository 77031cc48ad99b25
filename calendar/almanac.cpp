#include "calendar/almanac.h"

#include <algorithm>
#include <cstdint>
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

std::u16string AlmanacRange::Statement(const SystemTime& first, int dayCount) {
  if (dayCount < 1 || !IsValidDate(first)) return {};
  SystemTime last = first;
  AddDays(last, dayCount - 1);
  // The days' rows, "d<US>id<US>yi<US>ji", and every name with its place in the table,
  // "n<US>rowid<US>id<US>key" (a part of a compound statement cannot be ordered itself).
  return u"select 'd' || char(31) || id || char(31) || ifnull(yi, '') || char(31) || ifnull(ji, '') "
         u"from yijidata where id between '" + DateId(first) + u"' and '" + DateId(last) +
         u"' union all select 'n' || char(31) || rowid || char(31) || ifnull(id, '') || char(31) || "
         u"ifnull(key, '') from yijikey";
}

void AlmanacRange::Load(const SystemTime& first, int dayCount) {
  const std::u16string sql = Statement(first, dayCount);
  Fill(first, dayCount, sql.empty() ? std::u16string() : QueryRows(sql));
}

void AlmanacRange::Fill(const SystemTime& first, int dayCount, std::u16string_view rows) {
  days_.clear();
  first_ = SystemTime{};
  if (dayCount < 1 || !IsValidDate(first)) return;
  first_.wYear = first.wYear;
  first_.wMonth = first.wMonth;
  first_.wDay = first.wDay;
  days_.resize(static_cast<size_t>(dayCount));

  // The rows' fields after their tag.
  auto fields = [](std::u16string_view row, std::u16string_view* out, int count) {
    size_t from = 2;
    for (int i = 0; i < count; ++i) {
      const size_t bar = i + 1 < count ? row.find(kField, from) : row.size();
      if (bar == std::u16string_view::npos) return false;
      out[i] = row.substr(from, bar - from);
      from = bar + 1;
    }
    return true;
  };
  struct Name {
    int64_t place;
    std::u16string_view id;
    std::u16string_view text;
  };
  std::vector<Name> names;
  std::vector<std::u16string_view> dayRows;
  ForEachRow(rows, [&](std::u16string_view row) {
    if (row.size() < 2 || row[1] != kField) return;
    std::u16string_view f[3];
    if (row[0] == u'd') {
      dayRows.push_back(row);
    } else if (row[0] == u'n' && fields(row, f, 3) && AllDigits(f[0]) && f[0].size() < 18) {
      int64_t place = 0;
      for (char16_t c : f[0]) place = place * 10 + (c - u'0');
      names.push_back({place, f[1], f[2]});
    }
  });
  if (dayRows.empty() || names.empty()) return;
  // The table's order: the order a single day's statement asks for.
  std::stable_sort(names.begin(), names.end(), [](const Name& a, const Name& b) { return a.place < b.place; });

  std::unordered_map<std::u16string, size_t> dayOfId;
  SystemTime day = first_;
  for (int i = 0; i < dayCount; ++i, AddDays(day, 1)) dayOfId.emplace(DateId(day), i);
  // Where each number's names stand in the table.
  std::unordered_map<std::u16string_view, std::vector<size_t>> placesOf;
  for (size_t i = 0; i < names.size(); ++i) placesOf[names[i].id].push_back(i);
  std::vector<size_t> places;
  auto join = [&](std::u16string_view list) {
    std::u16string text;
    std::vector<std::u16string> numbers = ActivityNumbers(list);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());  // a repeat names once
    places.clear();
    for (const std::u16string& number : numbers) {
      auto at = placesOf.find(number);
      if (at != placesOf.end()) places.insert(places.end(), at->second.begin(), at->second.end());
    }
    std::sort(places.begin(), places.end());
    for (size_t i = 0; i < places.size(); ++i) {
      if (i > 0) text += kRowBreak;
      text += names[places[i]].text;
    }
    return text;
  };
  for (std::u16string_view row : dayRows) {
    std::u16string_view f[3];
    if (!fields(row, f, 3)) continue;
    auto at = dayOfId.find(std::u16string(f[0]));
    if (at == dayOfId.end()) continue;  // an id between the two that names no day of the run
    days_[at->second].suitable = join(f[1]);
    days_[at->second].avoid = join(f[2]);
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
