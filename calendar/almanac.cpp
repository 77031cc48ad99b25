#include "calendar/almanac.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/text_utils.h"

namespace {

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


// The day's list of the column (statement) and its names, joined by "\r\n".
std::u16string LookUp(Day date, std::u16string_view statement) {
  std::optional<DbRow> day;
  // A failing statement is logged by the database worker; the day goes without its list.
  if (QueryFirst(statement, {DateIdText(date)}, day) != DbOutcome::kOk || !day) return {};
  const DbStatement names = ActivityNameQuery(day->Text(0));
  if (names.sql.empty()) return {};
  std::u16string text;
  const DbOutcome outcome = Query(names.sql, names.binds, [&](const DbRow& row) {
    if (!text.empty()) text += kRowBreak;
    text += row.Text(0);
  });
  // Names of a part of the list would pass for the whole list.
  return outcome == DbOutcome::kOk ? text : std::u16string();
}

}  // namespace

DbStatement ActivityNameQuery(std::u16string_view numbers) {
  DbStatement statement;
  std::u16string condition;
  for (std::u16string& number : ActivityNumbers(numbers)) {
    statement.binds.emplace_back(std::move(number));
    condition += condition.empty() ? u" where id = ?" : u" or id = ?";
    condition += IntToText(static_cast<int64_t>(statement.binds.size()));
  }
  // The table's order, whatever way the database finds the rows (through the index the rows
  // would come sorted as text, or in the order of the numbers, depending on how many there are).
  if (!condition.empty()) statement.sql = u"select key from yijikey " + condition + u" order by rowid";
  return statement;
}

std::u16string LookUpSuitable(Day date) {
  return LookUp(date, u"select yi from yijidata where id = ?1");
}

std::u16string LookUpAvoid(Day date) {
  return LookUp(date, u"select ji from yijidata where id = ?1");
}

std::vector<DbValue> AlmanacRange::Binds(Day first, int dayCount) {
  if (dayCount < 1) return {};
  return {DateIdText(first), DateIdText(first + (dayCount - 1))};
}

void AlmanacRange::Load(Day first, int dayCount) {
  const std::vector<DbValue> binds = Binds(first, dayCount);
  std::vector<DbRow> rows;
  // A failing statement is logged by the database worker and leaves the run without lists.
  if (!binds.empty()) (void)Query(kStatement, binds, [&](const DbRow& row) { rows.push_back(row); });
  Fill(first, dayCount, rows);
}

void AlmanacRange::Fill(Day first, int dayCount, const std::vector<DbRow>& rows) {
  days_.clear();
  first_ = first;
  if (dayCount < 1) return;
  days_.resize(static_cast<size_t>(dayCount));

  struct Name {
    int64_t place;
    std::u16string id;
    std::u16string text;
  };
  std::vector<Name> names;
  std::vector<const DbRow*> dayRows;
  for (const DbRow& row : rows) {
    const std::u16string tag = row.Text(0);
    if (tag == u"d") {
      dayRows.push_back(&row);
    } else if (tag == u"n" && row.Int(1) && *row.Int(1) >= 0) {
      names.push_back({*row.Int(1), row.Text(2), row.Text(3)});
    }
  }
  if (dayRows.empty() || names.empty()) return;
  // The table's order: the order a single day's statement asks for.
  std::stable_sort(names.begin(), names.end(), [](const Name& a, const Name& b) { return a.place < b.place; });

  std::unordered_map<std::u16string, size_t> dayOfId;
  for (int i = 0; i < dayCount; ++i) dayOfId.emplace(DateIdText(first_ + i), i);
  // Where each number's names stand in the table.
  std::unordered_map<std::u16string, std::vector<size_t>> placesOf;
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
  for (const DbRow* row : dayRows) {
    auto at = dayOfId.find(row->Text(1));
    if (at == dayOfId.end()) continue;  // an id between the two that names no day of the run
    days_[at->second].suitable = join(row->Text(2));
    days_[at->second].avoid = join(row->Text(3));
  }
}

const AlmanacRange::Lists* AlmanacRange::Find(Day date) const {
  if (days_.empty()) return nullptr;
  const int offset = date - first_;
  if (offset < 0 || offset >= static_cast<int>(days_.size())) return nullptr;
  return &days_[static_cast<size_t>(offset)];
}

bool AlmanacRange::Covers(Day date) const { return Find(date) != nullptr; }

const std::u16string& AlmanacRange::Suitable(Day date) const {
  static const std::u16string none;
  const Lists* lists = Find(date);
  return lists ? lists->suitable : none;
}

const std::u16string& AlmanacRange::Avoid(Day date) const {
  static const std::u16string none;
  const Lists* lists = Find(date);
  return lists ? lists->avoid : none;
}
