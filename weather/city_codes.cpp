#include "weather/city_codes.h"

#include <optional>

#include "platform/clock.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/log.h"

namespace {

// Names holding control characters are kept out of the recent list (they cannot be shown).
bool HasControlCharacter(std::u16string_view name) {
  for (char16_t c : name)
    if (c < u' ') return true;
  return false;
}

// Column 0 of the statement's first row; empty when there is none. A failing statement is logged
// by the database worker and reads as a missing row, as the header says.
std::u16string FirstText(std::u16string_view sql, const std::vector<DbValue>& binds) {
  std::optional<DbRow> row;
  (void)QueryFirst(sql, binds, row);
  return row ? row->Text(0) : std::u16string();
}

// Column 0 of every row as text.
std::vector<std::u16string> Texts(std::u16string_view sql, const std::vector<DbValue>& binds) {
  std::vector<std::u16string> out;
  (void)Query(sql, binds, [&](const DbRow& row) { out.push_back(row.Text(0)); });
  return out;
}

void LogFailure(std::u16string_view what, DbOutcome outcome) {
  LogError(u"weather: " + std::u16string(what) + u" (database " + std::u16string(DbOutcomeName(outcome)) + u")");
}

}  // namespace

std::vector<std::u16string> SplitRows(std::u16string_view rows) {
  std::vector<std::u16string> out;
  size_t start = 0;
  while (start < rows.size()) {
    size_t sep = rows.find(u"\r\n", start);
    if (sep == std::u16string_view::npos) {
      out.emplace_back(rows.substr(start));
      break;
    }
    out.emplace_back(rows.substr(start, sep - start));
    start = sep + 2;
  }
  return out;
}

std::u16string LetteredEntryName(std::u16string_view entry) {
  return entry.size() > 2 ? std::u16string(entry.substr(2)) : std::u16string();
}

std::u16string LookupCityName(std::u16string_view code) {
  return FirstText(u"select city from weathercode where code = ?1", {code});
}

std::u16string LookupProvinceName(std::u16string_view code) {
  return FirstText(u"select province from weathercode where code = ?1", {code});
}

CityCode LookupCityCode(std::u16string_view province, std::u16string_view city) {
  return FirstText(u"select code from weathercode where province = ?1 and city = ?2", {province, city});
}

std::vector<std::u16string> ListProvinces() {
  return Texts(u"select letter || ' ' || province from provinces order by letter", {});
}

std::vector<std::u16string> ListCities(std::u16string_view province) {
  return Texts(u"select letter || ' ' || city from weathercode where province = ?1 order by letter", {province});
}

std::vector<CityPair> ListMyCities() {
  std::vector<CityPair> out;
  (void)Query(u"select prov, city from mycity order by addtime desc",
              [&](const DbRow& row) { out.push_back({row.Text(0), row.Text(1)}); });
  return out;
}

void AddToMyCities(std::u16string_view province, std::u16string_view city) {
  if (HasControlCharacter(province) || HasControlCharacter(city)) return;
  if (LookupCityCode(province, city).empty()) return;
  // Already the one most recent row of at most 6: nothing would change but its time (the window
  // adds the shown city at every show, and a write waits for the disk).
  std::optional<DbRow> unchanged;
  (void)QueryFirst(
      u"select (select count(*) from mycity) <= 6 and (select count(*) from mycity where addtime = "
      u"(select max(addtime) from mycity)) = 1 and (select count(*) from mycity where prov = ?1 and city = ?2) = 1 "
      u"and exists (select 1 from mycity where prov = ?1 and city = ?2 and addtime = (select max(addtime) from mycity))",
      {province, city}, unchanged);
  if (unchanged && unchanged->Int(0) == 1) return;
  // Moved to the front as one change: a failing insert never loses the city's old row.
  const DbOutcome added = ExecTransaction(
      {{u"delete from mycity where city = ?1 and prov = ?2", {city, province}},
       {u"insert into mycity (prov,city,addtime) values (?1,?2,?3)", {province, city, FormatTimestamp(LocalNow())}}});
  if (added != DbOutcome::kOk) return LogFailure(u"the recent-city list could not be changed", added);
  // At most 6 cities: the oldest by addtime goes (a list that somehow grew longer is trimmed too).
  for (int guard = 0; guard < 64; ++guard) {
    std::optional<DbRow> count, oldest;
    DbOutcome outcome = QueryFirst(u"select count(*) from mycity", {}, count);
    if (outcome != DbOutcome::kOk || !count || count->Int(0).value_or(0) <= 6) break;
    outcome = QueryFirst(u"select prov, city from mycity order by addtime limit 0,1", {}, oldest);
    if (outcome == DbOutcome::kOk && oldest)
      outcome = Exec(u"delete from mycity where prov = ?1 and city = ?2", {oldest->Text(0), oldest->Text(1)});
    if (outcome != DbOutcome::kOk) return LogFailure(u"the recent-city list could not be trimmed", outcome);
  }
}
