#include "calendar/holiday_arrangement.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "calendar/statutory_holidays.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/date_time.h"
#include "platform/text_utils.h"
#include "platform/data_steps.h"

namespace {

constexpr std::u16string_view kKeys[kHolidayCount] = {
    u"yuandan", u"chunjie", u"qingming", u"laodong", u"duanwu", u"zhongqiu", u"guoqing"};
constexpr std::u16string_view kSelectorTexts[kHolidayCount] = {
    u"元旦", u"春节", u"清明节", u"劳动节", u"端午节", u"中秋节", u"国庆节"};

struct SharedRecord {
  std::mutex dataLock;    // guards `current` and `days` (held only to copy or swap the pointers)
  std::mutex writerLock;  // one writer at a time, held across its whole read-modify-publish
  std::shared_ptr<const HolidayArrangement> current = std::make_shared<const HolidayArrangement>();
  std::shared_ptr<const HolidayDays> days = std::make_shared<const HolidayDays>();  // of `current`
};

SharedRecord& Shared() {
  static SharedRecord shared;
  return shared;
}

void Publish(HolidayArrangement record) {
  auto days = std::make_shared<const HolidayDays>(HolidayDaysOf(record));
  auto next = std::make_shared<const HolidayArrangement>(std::move(record));
  std::lock_guard<std::mutex> guard(Shared().dataLock);
  Shared().current = std::move(next);
  Shared().days = std::move(days);
}

std::shared_ptr<const HolidayDays> PublishedDays() {
  std::lock_guard<std::mutex> guard(Shared().dataLock);
  return Shared().days;
}

// Adds `more` (sorted, each once) to `days` (the same).
void Merge(std::vector<Day>& days, const std::vector<Day>& more) {
  if (more.empty()) return;
  const size_t middle = days.size();
  days.insert(days.end(), more.begin(), more.end());
  std::inplace_merge(days.begin(), days.begin() + static_cast<std::ptrdiff_t>(middle), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
}

int IndexOfKey(std::u16string_view name) {
  for (int i = 0; i < kHolidayCount; ++i) {
    if (kKeys[i] == name) return i;
  }
  return -1;
}

// The day of a stored day text (its first ten characters, by position); the text itself is only
// read here.
std::optional<Day> DayOfDayText(std::u16string_view text) {
  SystemTime parsed{};
  if (text.size() < 10 || !ParseDateText(text, parsed)) return std::nullopt;
  return DayOf(parsed);
}

}  // namespace

std::u16string_view HolidayKey(int index) {
  return index >= 0 && index < kHolidayCount ? kKeys[index] : std::u16string_view();
}

std::u16string_view HolidaySelectorText(int index) {
  return index >= 0 && index < kHolidayCount ? kSelectorTexts[index] : std::u16string_view();
}

std::shared_ptr<const HolidayArrangement> HolidayArrangementSnapshot() {
  std::lock_guard<std::mutex> guard(Shared().dataLock);
  return Shared().current;
}

HolidayArrangement CurrentHolidayArrangement() { return *HolidayArrangementSnapshot(); }

void ReplaceHolidayArrangement(HolidayArrangement record) {
  std::lock_guard<std::mutex> writer(Shared().writerLock);
  Publish(std::move(record));
}

bool ChangeHolidayArrangement(const std::function<bool(HolidayArrangement&)>& change) {
  std::lock_guard<std::mutex> writer(Shared().writerLock);
  HolidayArrangement copy = *HolidayArrangementSnapshot();
  if (!change(copy)) return false;
  Publish(std::move(copy));
  return true;
}

void LoadHolidayArrangementInto(HolidayArrangement& record, int year) {
  // The year's rows in one statement (one trip to the database worker): name, left, middle,
  // right, day; the first row of a name counts.
  // A failing statement (logged by the database worker) finds no row, as a year without rows does.
  HolidayTexts found[kHolidayCount];
  bool seen[kHolidayCount] = {};
  (void)Query(u"select name, ifnull(leftday, ''), ifnull(middleday, ''), ifnull(rightday, ''), ifnull(day, '') "
              u"from holiday where year = ?1",
              {IntToText(year)}, [&](const DbRow& row) {
                const int index = IndexOfKey(row.Text(0));
                if (index < 0 || seen[index]) return;
                seen[index] = true;
                found[index] = {row.Text(1), row.Text(2), row.Text(3), row.Text(4)};
              });
  // The service document's texts (a holiday with its days off) keep their precedence.
  for (int index = 0; index < kHolidayCount; ++index) {
    if (record.holidays[index].middle.empty()) record.holidays[index] = found[index];
  }
  record.year = year;
}

void LoadHolidayArrangementForYear(int year) {
  ChangeHolidayArrangement([year](HolidayArrangement& record) {
    LoadHolidayArrangementInto(record, year);
    return true;
  });
}

void LoadHolidayArrangement() { LoadHolidayArrangementForYear(LocalNow().wYear); }

std::vector<Day> HolidayTextDays(std::u16string_view text) {
  std::vector<Day> days;
  // Every position is tried, so that two dates written without a separator are both found.
  for (size_t i = 0; i + 10 <= text.size(); ++i) {
    if (const std::optional<Day> day = DayInDateText(text, i)) days.push_back(*day);
  }
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  return days;
}

void HolidayDays::Add(const HolidayTexts& texts) {
  Merge(rest_, HolidayTextDays(texts.middle));
  Merge(work_, HolidayTextDays(texts.left));
  Merge(work_, HolidayTextDays(texts.right));
}

HolidayMarks HolidayDays::Mark(Day day) const {
  HolidayMarks marks;
  marks.rest = std::binary_search(rest_.begin(), rest_.end(), day);
  marks.work = std::binary_search(work_.begin(), work_.end(), day);
  return marks;
}

HolidayDays HolidayDaysOf(const HolidayArrangement& record) {
  HolidayDays days;
  for (const HolidayTexts& texts : record.holidays) days.Add(texts);
  return days;
}

HolidayMarks MarkHolidayDate(const HolidayArrangement& record, Day day) {
  return HolidayDaysOf(record).Mark(day);
}

HolidayMarks MarkHolidayDate(Day day) { return PublishedDays()->Mark(day); }


std::optional<Day> HolidayJumpDate(const HolidayArrangement& record, int entry) {
  if (entry < 1 || entry > kHolidayCount) return std::nullopt;
  const std::u16string& day = record.holidays[entry - 1].day;
  if (day.empty() && record.year != 0) {
    bool published = false;
    for (const HolidayTexts& texts : record.holidays) published = published || !texts.middle.empty();
    if (!published) return DayOfDayText(StatutoryHolidays(record.year)[entry - 1].day);
  }
  return DayOfDayText(day);
}

std::optional<Day> HolidayJumpDate(int entry) { return HolidayJumpDate(*HolidayArrangementSnapshot(), entry); }

void InstallHolidayLoader() {
  RegisterDataStep(DataPhase::kAfterOpen, "holidays", kHolidayLoadRank, [] { LoadHolidayArrangement(); });
}

void HolidayYears::Load(int firstYear, int lastYear) {
  Load(firstYear, lastYear, *HolidayArrangementSnapshot());
}

void HolidayYears::Load(int firstYear, int lastYear, const HolidayArrangement& current) {
  std::vector<DbValue> binds = Binds(firstYear, lastYear);
  std::vector<DbRow> rows;
  if (!binds.empty()) {
    binds.insert(binds.begin(), 2, DbValue());  // ?1 and ?2 are the almanac's
    // A failing statement is logged by the database worker; the years go by the rules alone.
    (void)Query(kStatement, binds, [&](const DbRow& row) { rows.push_back(row); });
  }
  Fill(firstYear, lastYear, current, rows);
}

std::vector<DbValue> HolidayYears::Binds(int firstYear, int lastYear) {
  if (firstYear > lastYear || firstYear < 1 || lastYear > 9999) return {};
  return {IntToText(firstYear), IntToText(lastYear)};
}

void HolidayYears::Fill(int firstYear, int lastYear, const HolidayArrangement& current,
                        const std::vector<DbRow>& rows) {
  published_ = HolidayDays();
  statutory_.clear();
  estimatedYears_.clear();
  firstYear_ = firstYear;
  lastYear_ = lastYear;
  std::vector<int> published;
  const bool currentCounts = current.year == 0 || (current.year >= firstYear && current.year <= lastYear);
  if (currentCounts) {
    for (const HolidayTexts& texts : current.holidays) {
      published_.Add(texts);
      if (texts.middle.empty()) continue;
      if (current.year != 0) published.push_back(current.year);
      SystemTime day{};
      if (texts.day.size() >= 10 && ParseDateText(std::u16string_view(texts.day).substr(0, 10), day))
        published.push_back(day.wYear);
    }
  }
  for (const DbRow& row : rows) {
    if (row.Text(0) != u"h") continue;
    // Text comparison let through any text between the two; keep the years written plainly.
    const std::optional<int64_t> year = row.Int(1);
    if (!year || *year < firstYear || *year > lastYear || IntToText(*year) != row.Text(1)) continue;
    if (*year == current.year || IndexOfKey(row.Text(2)) < 0) continue;
    const HolidayTexts texts{row.Text(3), row.Text(4), row.Text(5), {}};
    published_.Add(texts);
    if (!texts.middle.empty()) published.push_back(static_cast<int>(*year));
  }
  for (int year = std::max(firstYear, kStatutoryRulesFirstYear); year <= lastYear; ++year) {
    if (std::find(published.begin(), published.end(), year) != published.end()) continue;
    const auto holidays = StatutoryHolidays(year);
    if (holidays[0].middle.empty()) break;  // beyond the engine's years
    estimatedYears_.push_back(year);
    for (const HolidayTexts& texts : holidays) Merge(statutory_, HolidayTextDays(texts.middle));
  }
}

bool HolidayYears::Estimated(int year) const {
  return std::find(estimatedYears_.begin(), estimatedYears_.end(), year) != estimatedYears_.end();
}

HolidayMarks HolidayYears::Mark(Day day) const {
  HolidayMarks marks = published_.Mark(day);
  if (!marks.rest && std::binary_search(statutory_.begin(), statutory_.end(), day))
    marks.rest = marks.estimated = true;
  return marks;
}
