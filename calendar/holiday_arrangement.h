#pragma once
// The official arrangement of the seven public holidays of the current year (days off, make-up
// working days, one jump date each; other years' arrangements are read for the days shown, see
// HolidayYears), from table `holiday` and from the service document, whose holiday texts the
// statistics service hands down. One process-wide record: written by the statistics worker and
// the start-up path, read by the user-interface thread. Writers publish a whole new record,
// readers take a snapshot, so no reader ever sees a text being replaced.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/holiday_texts.h"
#include "platform/db_value.h"
#include "platform/gregorian.h"
#include "platform/system_time.h"

struct HolidayArrangement {
  // Index 0 ... 6: yuandan, chunjie, qingming, laodong, duanwu, zhongqiu, guoqing (the holiday
  // selector's entries 1 ... 7).
  std::array<HolidayTexts, kHolidayCount> holidays;
  // The year whose table rows were last loaded into the holidays (0 before any load): the year
  // the record's texts stand for.
  int year = 0;

  friend bool operator==(const HolidayArrangement&, const HolidayArrangement&) = default;
};

// Key of holiday index 0 ... 6 in the document and in table `holiday` ("yuandan" ...);
// empty for another index.
std::u16string_view HolidayKey(int index);
// Selector text of holiday index 0 ... 6 ("元旦" ... "国庆节"); empty for another index.
std::u16string_view HolidaySelectorText(int index);

// --- The process-wide record ---
// A consistent snapshot; never null.
std::shared_ptr<const HolidayArrangement> HolidayArrangementSnapshot();
// A copy of the current record.
HolidayArrangement CurrentHolidayArrangement();
// Replaces the whole record (start-up of tests; the program itself only fills it).
void ReplaceHolidayArrangement(HolidayArrangement record);
// Runs `change` on a copy of the record and publishes the copy when it returns true. Writers run
// one at a time; readers are never blocked by a writer's work.
bool ChangeHolidayArrangement(const std::function<bool(HolidayArrangement&)>& change);

// For the current local year, fills from table `holiday` every holiday whose middle text is
// still empty (one statement for the year's rows; a missing row gives empty texts).
void LoadHolidayArrangement();
// The same for another year (tests, and a view of another year's arrangement).
void LoadHolidayArrangementForYear(int year);
// Fills `record` in place from the table for `year`, holidays with an empty middle text only.
void LoadHolidayArrangementInto(HolidayArrangement& record, int year);

// --- Day marking ---
struct HolidayMarks {
  bool rest = false;  // the date occurs in a middle text
  bool work = false;  // the date occurs in a left or right text
  // The day off is a statutory one computed for a year whose arrangement is not yet published.
  bool estimated = false;
};

// The days a holiday text writes out as "YYYY-MM-DD", whatever stands between them, sorted and
// each once. Nothing is read into the separators: "2026-10-01..2026-10-07" names its two ends only.
std::vector<Day> HolidayTextDays(std::u16string_view text);

// The days off and make-up working days of a set of holidays, read from their texts once and
// looked up by day; a day listed both ways is both.
class HolidayDays {
 public:
  // The middle text's days are days off; the left and right texts' make-up working days.
  void Add(const HolidayTexts& texts);
  HolidayMarks Mark(Day day) const;

 private:
  std::vector<Day> rest_;  // sorted, each once
  std::vector<Day> work_;
};
HolidayDays HolidayDaysOf(const HolidayArrangement& record);

// Marks of a day against the record.
HolidayMarks MarkHolidayDate(const HolidayArrangement& record, Day day);
// Marks of a day against the process-wide record (its days are read once, when it is published).
HolidayMarks MarkHolidayDate(Day day);

// The arrangements that mark the days of a view, whatever their year: table `holiday`'s rows of a
// run of years, read in one statement; for the year the process-wide record stands for, the
// record takes the place of the rows (the service document's texts keep their precedence). A
// date is marked against every year held, so a make-up day listed under the next year's holiday
// (late December for New Year) is found too.
class HolidayYears {
 public:
  // Years firstYear ... lastYear, with a snapshot of the process-wide record.
  void Load(int firstYear, int lastYear);
  // The same with `current` in place of the process-wide record. A record of year 0 (loaded from
  // no table) counts for every date, in addition to the rows.
  void Load(int firstYear, int lastYear, const HolidayArrangement& current);
  // The statement Load runs: rows "h", year, name, left, middle, right (six columns, like
  // AlmanacRange's, so that it can follow that one in a compound statement: its years are
  // therefore ?3 and ?4, and ?1 and ?2 are left to the almanac). Binds are the two years' texts
  // for ?3 and ?4 (empty for no year).
  static constexpr std::u16string_view kStatement =
      u"select 'h', year, name, ifnull(leftday, ''), ifnull(middleday, ''), ifnull(rightday, '') "
      u"from holiday where year between ?3 and ?4";
  static std::vector<DbValue> Binds(int firstYear, int lastYear);
  // Fills from that statement's rows (rows of other tags are skipped).
  void Fill(int firstYear, int lastYear, const HolidayArrangement& current, const std::vector<DbRow>& rows);
  HolidayMarks Mark(Day day) const;
  // True when `year` is marked with computed statutory days off.
  bool Estimated(int year) const;
  // The years whose arrangement is held.
  int FirstYear() const { return firstYear_; }
  int LastYear() const { return lastYear_; }

 private:
  int firstYear_ = 0;
  int lastYear_ = -1;
  HolidayDays published_;
  std::vector<Day> statutory_;  // the computed days off of the years below, sorted
  std::vector<int> estimatedYears_;
};

// --- Holiday selector jump ---
// For selector entry 1 ... 7: the day of that holiday's day text (its first ten characters read as
// year, month and day by position). Nothing for entry 0, another entry, or a day text that is
// shorter than ten characters or names no real day. A holiday without a day text in a record of a
// year not yet published jumps to its statutory date.
std::optional<Day> HolidayJumpDate(const HolidayArrangement& record, int entry);
std::optional<Day> HolidayJumpDate(int entry);

// Registers LoadHolidayArrangement as a step of the data start-up, after the current city.
inline constexpr int kHolidayLoadRank = 20;
void InstallHolidayLoader();
