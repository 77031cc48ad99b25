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
  std::mutex dataLock;    // guards `current` (held only to copy or swap the pointer)
  std::mutex writerLock;  // one writer at a time, held across its whole read-modify-publish
  std::shared_ptr<const HolidayArrangement> current = std::make_shared<const HolidayArrangement>();
};

SharedRecord& Shared() {
  static SharedRecord shared;
  return shared;
}

void Publish(HolidayArrangement record) {
  auto next = std::make_shared<const HolidayArrangement>(std::move(record));
  std::lock_guard<std::mutex> guard(Shared().dataLock);
  Shared().current = std::move(next);
}

// Calls take with the fields of each row of rows (QueryRows' "\r\n"-joined rows) made of the tag
// "h" and then exactly N fields, all joined by char(31).
template <size_t N, class Take>
void ForEachTaggedRow(std::u16string_view rows, Take take) {
  size_t start = 0;
  while (start < rows.size()) {
    size_t end = rows.find(u"\r\n", start);
    if (end == std::u16string_view::npos) end = rows.size();
    const std::u16string_view row = rows.substr(start, end - start);
    start = end + 2;
    if (row.size() < 2 || row[0] != u'h' || row[1] != u'\x1f') continue;
    std::u16string_view fields[N];
    size_t from = 2;
    size_t count = 0;
    for (; count < N; ++count) {
      const size_t bar = row.find(u'\x1f', from);
      fields[count] = row.substr(from, bar == std::u16string_view::npos ? bar : bar - from);
      if (bar == std::u16string_view::npos) break;
      from = bar + 1;
    }
    if (count == N - 1) take(fields);  // neither fewer nor more fields
  }
}

int IndexOfKey(std::u16string_view name) {
  for (int i = 0; i < kHolidayCount; ++i) {
    if (kKeys[i] == name) return i;
  }
  return -1;
}

void MarkTexts(const HolidayTexts& texts, std::u16string_view dateText, HolidayMarks& marks) {
  if (texts.left.find(dateText) != std::u16string::npos ||
      texts.right.find(dateText) != std::u16string::npos) {
    marks.work = true;
  }
  if (texts.middle.find(dateText) != std::u16string::npos) marks.rest = true;
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
  const std::u16string rows = QueryRows(
      u"select 'h' || char(31) || name || char(31) || ifnull(leftday, '') || char(31) || "
      u"ifnull(middleday, '') || char(31) || ifnull(rightday, '') || char(31) || ifnull(day, '') "
      u"from holiday where year = '" + IntToText(year) + u"'");
  HolidayTexts found[kHolidayCount];
  bool seen[kHolidayCount] = {};
  ForEachTaggedRow<5>(rows, [&](const std::u16string_view (&f)[5]) {
    const int index = IndexOfKey(f[0]);
    if (index < 0 || seen[index]) return;
    seen[index] = true;
    found[index] = {std::u16string(f[1]), std::u16string(f[2]), std::u16string(f[3]), std::u16string(f[4])};
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

bool ParseServiceDocument(std::u16string_view document) {
  return ChangeHolidayArrangement([document](HolidayArrangement& record) {
    return ParseServiceDocument(document, record, {});
  });
}

HolidayMarks MarkHolidayDate(const HolidayArrangement& record, std::u16string_view dateText) {
  HolidayMarks marks;
  if (dateText.empty()) return marks;
  for (const HolidayTexts& texts : record.holidays) MarkTexts(texts, dateText, marks);
  return marks;
}

HolidayMarks MarkHolidayDate(const SystemTime& date) {
  return MarkHolidayDate(*HolidayArrangementSnapshot(), FormatDate(date));
}

bool HolidayJumpDate(const HolidayArrangement& record, int entry, SystemTime& date) {
  date = SystemTime{};
  if (entry < 1 || entry > kHolidayCount) return false;
  const std::u16string& day = record.holidays[entry - 1].day;
  if (day.empty() && record.year != 0) {
    bool published = false;
    for (const HolidayTexts& texts : record.holidays) published = published || !texts.middle.empty();
    if (!published) return ParseDateText(StatutoryHolidays(record.year)[entry - 1].day, date);
  }
  if (day.size() < 10) return false;
  return ParseDateText(std::u16string_view(day), date);
}

bool HolidayJumpDate(int entry, SystemTime& date) {
  return HolidayJumpDate(*HolidayArrangementSnapshot(), entry, date);
}

void InstallHolidayLoader() {
  RegisterDataStep(DataPhase::kAfterOpen, "holidays", kHolidayLoadRank, [] { LoadHolidayArrangement(); });
}

void HolidayYears::Load(int firstYear, int lastYear) {
  Load(firstYear, lastYear, *HolidayArrangementSnapshot());
}

void HolidayYears::Load(int firstYear, int lastYear, const HolidayArrangement& current) {
  const std::u16string sql = Statement(firstYear, lastYear);
  Fill(firstYear, lastYear, current, sql.empty() ? std::u16string() : QueryRows(sql));
}

std::u16string HolidayYears::Statement(int firstYear, int lastYear) {
  if (firstYear > lastYear || firstYear < 1 || lastYear > 9999) return {};
  // One row per year and holiday: "h", year, name, left, middle, right.
  return u"select 'h' || char(31) || year || char(31) || name || char(31) || ifnull(leftday, '') || "
         u"char(31) || ifnull(middleday, '') || char(31) || ifnull(rightday, '') from holiday "
         u"where year between '" + IntToText(firstYear) + u"' and '" + IntToText(lastYear) + u"'";
}

void HolidayYears::Fill(int firstYear, int lastYear, const HolidayArrangement& current,
                        std::u16string_view rows) {
  texts_.clear();
  statutory_.clear();
  estimatedYears_.clear();
  firstYear_ = firstYear;
  lastYear_ = lastYear;
  std::vector<int> published;
  const bool currentCounts = current.year == 0 || (current.year >= firstYear && current.year <= lastYear);
  if (currentCounts) {
    texts_.assign(current.holidays.begin(), current.holidays.end());
    for (const HolidayTexts& texts : current.holidays) {
      if (texts.middle.empty()) continue;
      if (current.year != 0) published.push_back(current.year);
      SystemTime day{};
      if (texts.day.size() >= 10 && ParseDateText(std::u16string_view(texts.day).substr(0, 10), day))
        published.push_back(day.wYear);
    }
  }
  ForEachTaggedRow<5>(rows, [&](const std::u16string_view (&f)[5]) {
    // Text comparison let through any text between the two; keep the years written plainly.
    int year = 0;
    for (char16_t c : f[0]) year = (c >= u'0' && c <= u'9' && year < 10000) ? year * 10 + (c - u'0') : -1;
    if (year < firstYear || year > lastYear || IntToText(year) != f[0]) return;
    if (year == current.year || IndexOfKey(f[1]) < 0) return;
    texts_.push_back({std::u16string(f[2]), std::u16string(f[3]), std::u16string(f[4]), {}});
    if (!f[3].empty()) published.push_back(year);
  });
  for (int year = std::max(firstYear, kStatutoryRulesFirstYear); year <= lastYear; ++year) {
    if (std::find(published.begin(), published.end(), year) != published.end()) continue;
    const auto holidays = StatutoryHolidays(year);
    if (holidays[0].middle.empty()) break;  // beyond the engine's years
    estimatedYears_.push_back(year);
    statutory_.insert(statutory_.end(), holidays.begin(), holidays.end());
  }
}

bool HolidayYears::Estimated(int year) const {
  return std::find(estimatedYears_.begin(), estimatedYears_.end(), year) != estimatedYears_.end();
}

HolidayMarks HolidayYears::Mark(std::u16string_view dateText) const {
  HolidayMarks marks;
  if (dateText.empty()) return marks;
  for (const HolidayTexts& texts : texts_) MarkTexts(texts, dateText, marks);
  if (!marks.rest) {
    for (const HolidayTexts& texts : statutory_) {
      if (texts.middle.find(dateText) == std::u16string::npos) continue;
      marks.rest = marks.estimated = true;
      break;
    }
  }
  return marks;
}
