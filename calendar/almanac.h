#pragma once
// The almanac's lists of activities suitable (宜) and to be avoided (忌) on a day, from the tables
// `yijidata` (date -> activity numbers) and `yijikey` (number -> name) of user.dat.
#include <string>
#include <string_view>
#include <vector>

#include "platform/db_value.h"
#include "platform/gregorian.h"

// Activity names of the day joined by "\r\n", in the order of the
// table `yijikey` (not the order of the numbers); empty when the day has no row or no usable numbers. Two statements
// each: for single days (the today header); a view of many days reads them as an AlmanacRange.
std::u16string LookUpSuitable(Day date);
std::u16string LookUpAvoid(Day date);

// The name query for a stored number list ("3,12,5"): "select key from yijikey  where id = ?1
// or id = ?2 ... order by rowid" with the numbers as texts bound to ?1, ?2 .... Parts that are not
// all digits (after trimming blanks) are skipped; the sql is empty when no part is left.
DbStatement ActivityNameQuery(std::u16string_view numbers);

// The lists of a run of consecutive days (a month view's cells), read with one statement through
// the database worker: the days' rows and the name table. Each day's lists are the ones
// LookUpSuitable and LookUpAvoid give for it.
class AlmanacRange {
 public:
  // Reads `dayCount` days from `first`. A count under 1 gives an empty run.
  void Load(Day first, int dayCount);
  // The statement Load runs, with the first and last day's "yyyymmdd" bound to ?1 and ?2 (Binds;
  // empty for an empty run). Its rows are tagged in column 0: "d", id, yi, ji for the days and
  // "n", rowid, id, key for the names. Six columns (the last two NULL), so that it can stand in
  // one compound statement with HolidayYears's.
  static constexpr std::u16string_view kStatement =
      u"select 'd', id, ifnull(yi, ''), ifnull(ji, ''), null, null from yijidata where id between ?1 and ?2 "
      u"union all select 'n', rowid, ifnull(id, ''), ifnull(key, ''), null, null from yijikey";
  static std::vector<DbValue> Binds(Day first, int dayCount);
  // Fills the run from that statement's rows (rows of other tags are skipped).
  void Fill(Day first, int dayCount, const std::vector<DbRow>& rows);
  // True when the date lies in the run.
  bool Covers(Day date) const;
  // The day's lists; empty for a day outside the run.
  const std::u16string& Suitable(Day date) const;
  const std::u16string& Avoid(Day date) const;

 private:
  struct Lists {
    std::u16string suitable;
    std::u16string avoid;
  };
  const Lists* Find(Day date) const;

  Day first_;
  std::vector<Lists> days_;
};
