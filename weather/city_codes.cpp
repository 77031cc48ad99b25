#include "weather/city_codes.h"

#include "platform/clock.h"
#include "platform/database.h"
#include "platform/date_time.h"

namespace {

// Statement buffers of 100 (weathercode, provinces) and 1024 (mycity) characters; a statement
// that does not fit is not run.
constexpr size_t kShortStatement = 100;
constexpr size_t kLongStatement = 1024;

std::u16string Statement(std::u16string_view head, std::u16string_view value, std::u16string_view tail) {
  std::u16string sql(head);
  sql += SqlText(value);
  sql += tail;
  return sql;
}

constexpr char16_t kPairSeparator = u'\x1f';

// Rows are joined by CR LF and pairs by kPairSeparator: names holding either cannot be listed.
bool HasControlCharacter(std::u16string_view name) {
  for (char16_t c : name)
    if (c < u' ') return true;
  return false;
}

std::u16string QueryShort(const std::u16string& sql) {
  return sql.size() < kShortStatement ? QueryValue(sql) : std::u16string();
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
  return QueryShort(Statement(u"select city from weathercode where code = '", code, u"'"));
}

std::u16string LookupProvinceName(std::u16string_view code) {
  return QueryShort(Statement(u"select province from weathercode where code = '", code, u"'"));
}

CityCode LookupCityCode(std::u16string_view province, std::u16string_view city) {
  std::u16string sql = u"select code from weathercode where province = '" + SqlText(province) +
                       u"' and city = '" + SqlText(city) + u"'";
  return QueryShort(sql);
}

std::vector<std::u16string> ListProvinces() {
  return SplitRows(QueryRows(u"select letter || ' ' || province from provinces order by letter"));
}

std::vector<std::u16string> ListCities(std::u16string_view province) {
  std::u16string sql = Statement(u"select letter || ' ' || city from weathercode where province = '",
                                 province, u"' order by letter");
  if (sql.size() >= kShortStatement) return {};
  return SplitRows(QueryRows(sql));
}

std::vector<CityPair> ListMyCities() {
  // One row per city: province and city joined by a separator no stored name holds (a control
  // character; AddToMyCities keeps such names out), so a "," in a name is just a character.
  std::vector<CityPair> out;
  for (const std::u16string& row :
       SplitRows(QueryRows(u"select prov || char(31) || city from mycity order by addtime desc"))) {
    size_t sep = row.find(kPairSeparator);
    if (sep == std::u16string::npos || row.find(kPairSeparator, sep + 1) != std::u16string::npos) continue;
    out.push_back({row.substr(0, sep), row.substr(sep + 1)});
  }
  return out;
}

void AddToMyCities(std::u16string_view province, std::u16string_view city) {
  if (HasControlCharacter(province) || HasControlCharacter(city)) return;
  if (LookupCityCode(province, city).empty()) return;
  std::u16string p = SqlText(province), c = SqlText(city);
  // Already the one most recent row of at most 6: nothing would change but its time (the window
  // adds the shown city at every show, and a write waits for the disk).
  const std::u16string newest = u"(select max(addtime) from mycity)";
  const std::u16string unchanged =
      u"select (select count(*) from mycity) <= 6 and (select count(*) from mycity where addtime = " + newest +
      u") = 1 and (select count(*) from mycity where prov = '" + p + u"' and city = '" + c +
      u"') = 1 and exists (select 1 from mycity where prov = '" + p + u"' and city = '" + c + u"' and addtime = " +
      newest + u")";
  if (unchanged.size() < kLongStatement && QueryValue(unchanged) == u"1") return;
  std::u16string del = u"delete from mycity where city = '" + c + u"' and prov = '" + p + u"'";
  std::u16string ins = u"insert into mycity (prov,city,addtime) values ('" + p + u"','" + c + u"','" +
                       FormatTimestamp(LocalNow()) + u"')";
  if (del.size() >= kLongStatement || ins.size() >= kLongStatement) return;
  ExecSql(del);
  ExecSql(ins);
  // At most 6 cities: the oldest by addtime goes. Counted as a number, so a list that somehow grew
  // past 9 rows is trimmed too (a text comparison with "6" would keep "10" and up).
  for (int guard = 0; guard < 64; ++guard) {
    std::u16string count = QueryValue(u"select count(*) from mycity");
    long n = 0;
    for (char16_t ch : count) {
      if (ch < u'0' || ch > u'9') break;
      n = n * 10 + (ch - u'0');
      if (n > 1000000) break;
    }
    if (n <= 6) break;
    std::u16string oldProv = QueryValue(u"select prov from mycity order by addtime limit 0,1");
    std::u16string oldCity = QueryValue(u"select city from mycity order by addtime limit 0,1");
    std::u16string evict = u"delete from mycity where prov = '" + SqlText(oldProv) + u"' and city = '" +
                           SqlText(oldCity) + u"'";
    if (evict.size() >= kLongStatement) break;
    ExecSql(evict);
  }
}
