#include "calendar/ccalendar.h"

#include <array>
#include <string>

#include "calendar/festivals.h"
#include "calendar/solar_term_table.h"

namespace {

// --- Lunar-year table -------------------------------------------------------------------------
// One entry per lunar year 1900 ... 2100. Bits 15 ... 4: months 1 ... 12 (1 = 30 days, 0 = 29);
// bits 3 ... 0: leap month (0 none; 0xF in the year after a leap year: that leap month has 30 days).
constexpr int kTableFirstYear = 1900;
constexpr int kTableLastYear = 2100;
constexpr std::array<uint32_t, 201> kLunarYearInfo = {
    0x04BD8, 0x04AE0, 0x0A570, 0x054D5, 0x0D260, 0x0D950, 0x06554, 0x056AF, 0x09AD0, 0x055D2,  // 1900
    0x04AE0, 0x0A5B6, 0x0A4D0, 0x0D250, 0x0D255, 0x0B54F, 0x0D6A0, 0x0ADA2, 0x095B0, 0x04977,  // 1910
    0x0497F, 0x0A4B0, 0x0B4B5, 0x06A50, 0x06D40, 0x0AB54, 0x02B6F, 0x09570, 0x052F2, 0x04970,  // 1920
    0x06566, 0x0D4A0, 0x0EA50, 0x06A95, 0x05ADF, 0x02B60, 0x086E3, 0x092EF, 0x0C8D7, 0x0C95F,  // 1930
    0x0D4A0, 0x0D8A6, 0x0B55F, 0x056A0, 0x0A5B4, 0x025DF, 0x092D0, 0x0D2B2, 0x0A950, 0x0B557,  // 1940
    0x06CA0, 0x0B550, 0x05355, 0x04DAF, 0x0A5B0, 0x04573, 0x052BF, 0x0A9A8, 0x0E950, 0x06AA0,  // 1950
    0x0AEA6, 0x0AB50, 0x04B60, 0x0AAE4, 0x0A570, 0x05260, 0x0F263, 0x0D950, 0x05B57, 0x056A0,  // 1960
    0x096D0, 0x04DD5, 0x04AD0, 0x0A4D0, 0x0D4D4, 0x0D250, 0x0D558, 0x0B540, 0x0B6A0, 0x095A6,  // 1970
    0x095BF, 0x049B0, 0x0A974, 0x0A4B0, 0x0B27A, 0x06A50, 0x06D40, 0x0AF46, 0x0AB60, 0x09570,  // 1980
    0x04AF5, 0x04970, 0x064B0, 0x074A3, 0x0EA50, 0x06B58, 0x05AC0, 0x0AB60, 0x096D5, 0x092E0,  // 1990
    0x0C960, 0x0D954, 0x0D4A0, 0x0DA50, 0x07552, 0x056A0, 0x0ABB7, 0x025D0, 0x092D0, 0x0CAB5,  // 2000
    0x0A950, 0x0B4A0, 0x0BAA4, 0x0AD50, 0x055D9, 0x04BA0, 0x0A5B0, 0x05176, 0x052BF, 0x0A930,  // 2010
    0x07954, 0x06AA0, 0x0AD50, 0x05B52, 0x04B60, 0x0A6E6, 0x0A4E0, 0x0D260, 0x0EA65, 0x0D530,  // 2020
    0x05AA0, 0x076A3, 0x096D0, 0x04AFB, 0x04AD0, 0x0A4D0, 0x0D0B6, 0x0D25F, 0x0D520, 0x0DD45,  // 2030
    0x0B5A0, 0x056D0, 0x055B2, 0x049B0, 0x0A577, 0x0A4B0, 0x0AA50, 0x0B255, 0x06D2F, 0x0ADA0,  // 2040
    0x04B63, 0x0937F, 0x049F8, 0x04970, 0x064B0, 0x068A6, 0x0EA5F, 0x06B20, 0x0A6C4, 0x0AAEF,  // 2050
    0x092E0, 0x0D2E3, 0x0C960, 0x0D557, 0x0D4A0, 0x0DA50, 0x05D55, 0x056A0, 0x0A6D0, 0x055D4,  // 2060
    0x052D0, 0x0A9B8, 0x0A950, 0x0B4A0, 0x0B6A6, 0x0AD50, 0x055A0, 0x0ABA4, 0x0A5B0, 0x052B0,  // 2070
    0x0B273, 0x06930, 0x07337, 0x06AA0, 0x0AD50, 0x04B55, 0x04B6F, 0x0A570, 0x054E4, 0x0D160,  // 2080
    0x0E968, 0x0D520, 0x0DAA0, 0x06AA6, 0x056DF, 0x04AE0, 0x0A9D4, 0x0A2D0, 0x0D150, 0x0F252,  // 2090
    0x0D520,                                                                                    // 2100
};

constexpr uint32_t Entry(int y) {
  return (y < kTableFirstYear || y > kTableLastYear) ? 0 : kLunarYearInfo[y - kTableFirstYear];
}

constexpr int LeapMonthOf(int y) {
  const int nibble = static_cast<int>(Entry(y) & 0xF);
  return nibble == 0xF ? 0 : nibble;
}

constexpr int LeapMonthDaysOf(int y) {
  const int nibble = static_cast<int>(Entry(y) & 0xF);
  if (nibble == 0 || nibble == 0xF) return 0;
  return (Entry(y + 1) & 0xF) == 0xF ? 30 : 29;
}

constexpr int MonthDaysOf(int y, int m) {
  if (m < 1 || m > 12) return 0;
  return (Entry(y) & (0x10000u >> m)) ? 30 : 29;
}

constexpr int YearDaysOf(int y) {
  if (y < kTableFirstYear || y > kTableLastYear) return 0;
  int days = 348;
  for (uint32_t bit = 0x8000; bit > 0x8; bit >>= 1) days += (Entry(y) & bit) ? 1 : 0;
  return days + LeapMonthDaysOf(y);
}

// kYearStart[i]: days from 1900-01-31 to the first day of lunar year 1900 + i; the last element is
// the day after the end of lunar 2100.
constexpr auto kYearStart = [] {
  std::array<int, kTableLastYear - kTableFirstYear + 2> starts{};
  for (int i = 0; i + 1 < static_cast<int>(starts.size()); ++i)
    starts[i + 1] = starts[i] + YearDaysOf(kTableFirstYear + i);
  return starts;
}();

constexpr int kEpochOffset = kFirstCalendarDay.DaysSinceEpoch();  // lunar 1900-01-01
static_assert(kEpochOffset + kYearStart.back() == (kLastCalendarDay + 1).DaysSinceEpoch(),
              "the engine's range ends with lunar 2100");

// --- Names ------------------------------------------------------------------------------------
constexpr std::u16string_view kHeavenlyStems[10] = {u"甲", u"乙", u"丙", u"丁", u"戊",
                                                    u"己", u"庚", u"辛", u"壬", u"癸"};
constexpr std::u16string_view kEarthlyBranches[12] = {u"子", u"丑", u"寅", u"卯", u"辰", u"巳",
                                                      u"午", u"未", u"申", u"酉", u"戌", u"亥"};
constexpr std::u16string_view kZodiacAnimals[12] = {u"鼠", u"牛", u"虎", u"兔", u"龙", u"蛇",
                                                    u"马", u"羊", u"猴", u"鸡", u"狗", u"猪"};
constexpr std::u16string_view kNumberNames[13] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六",
                                                  u"七", u"八", u"九", u"十", u"十一", u"十二"};
constexpr std::u16string_view kDayTensPrefixes[5] = {u"初", u"十", u"廿", u"卅", u"□"};
constexpr std::u16string_view kSolarTermNames[24] = {
    u"小寒", u"大寒", u"立春", u"雨水", u"惊蛰", u"春分", u"清明", u"谷雨",
    u"立夏", u"小满", u"芒种", u"夏至", u"小暑", u"大暑", u"立秋", u"处暑",
    u"白露", u"秋分", u"寒露", u"霜降", u"立冬", u"小雪", u"大雪", u"冬至"};

// The 60 GanZhi names and the 30 lunar day names as character pairs, so that Calculate copies
// two characters instead of building strings.
using CharPair = std::array<char16_t, 2>;
constexpr auto kGanZhiPairs = [] {
  std::array<CharPair, 60> pairs{};
  for (int n = 0; n < 60; ++n) pairs[n] = {kHeavenlyStems[n % 10][0], kEarthlyBranches[n % 12][0]};
  return pairs;
}();
constexpr auto kLunarDayPairs = [] {
  std::array<CharPair, 31> pairs{};  // index 0 unused
  for (int d = 1; d <= 30; ++d) {
    if (d == 10)
      pairs[d] = {u'初', u'十'};
    else if (d == 20)
      pairs[d] = {u'二', u'十'};
    else if (d == 30)
      pairs[d] = {u'三', u'十'};
    else
      pairs[d] = {kDayTensPrefixes[d / 10][0], kNumberNames[d % 10][0]};
  }
  return pairs;
}();

void AssignPair(std::u16string& out, const CharPair& pair) { out.assign(pair.data(), 2); }

int PositiveMod(int64_t n, int m) { return static_cast<int>((n % m + m) % m); }

// Minutes of each term from the start of a mean tropical year (the fallback when the generated
// term table has no entry).
constexpr int32_t kSolarTermMinutes[24] = {
    0,      21208,  42467,  63836,  85337,  107014, 128867, 150921, 173149, 195551, 218072, 240693,
    263343, 285989, 308563, 331033, 353350, 375494, 397447, 419210, 440795, 462224, 483532, 504758};

// The mean-year approximation: the term instant in 100 ns units since 1601-01-01 00:00 UTC,
// converted to a UTC calendar day.
int MeanSolarTermDay(int n, int year) {
  const int64_t instant = (static_cast<int64_t>(kSolarTermMinutes[n]) + 157265405) * 600000000LL +
                          static_cast<int64_t>(year - 1900) * 315569259747000LL;
  constexpr int64_t kTicksPerDay = 864000000000LL;
  constexpr int64_t kDays1601To1970 = 134774;
  const int64_t days = instant / kTicksPerDay;  // instant is positive for the years we compute
  return Day::FromDays(static_cast<int>(days - kDays1601To1970)).DayOfMonth();
}

// Era label of a Gregorian year, written into `out` in one assignment.
void AssignEraLabel(std::u16string& out, int y) {
  struct Era {
    int first;
    int last;
    std::u16string_view name;
  };
  static constexpr Era kEras[] = {{1875, 1908, u"光绪"},
                                  {1909, 1911, u"宣统"},
                                  {1912, 1949, u"民国"},
                                  {1950, 1 << 30, u"共和国"}};
  char16_t buf[24];
  size_t n = 0;
  auto put = [&](std::u16string_view t) {
    for (char16_t c : t) buf[n++] = c;
  };
  auto putNumber = [&](int v) {
    char16_t digits[12];
    int k = 0;
    const bool negative = v < 0;
    unsigned u = negative ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
    do {
      digits[k++] = static_cast<char16_t>(u'0' + u % 10);
      u /= 10;
    } while (u != 0);
    if (negative) buf[n++] = u'-';
    while (k > 0) buf[n++] = digits[--k];
  };
  const Era* era = nullptr;
  for (const Era& e : kEras)
    if (y >= e.first && y <= e.last) era = &e;
  if (era) {
    put(era->name);
    if (y == era->first)
      put(u"元");
    else
      putNumber(y - era->first + 1);
  } else {
    put(u"公元");
    putNumber(y);
  }
  put(u"年");
  out.assign(buf, n);
}

}  // namespace

// --- Free functions ---------------------------------------------------------------------------
int LeapMonth(int y) { return LeapMonthOf(y); }
int LeapMonthDays(int y) { return LeapMonthDaysOf(y); }
int MonthDays(int y, int m) { return MonthDaysOf(y, m); }
int YearDays(int y) { return YearDaysOf(y); }


std::u16string GanZhiName(int64_t n) {
  const CharPair& pair = kGanZhiPairs[PositiveMod(n, 60)];  // n is never negative in range
  return std::u16string(pair.data(), 2);
}

std::u16string LunarDayName(int d) {
  if (d < 1 || d > 30) return {};
  return std::u16string(kLunarDayPairs[d].data(), 2);
}

std::u16string_view WeekdayName(Weekday weekday) {
  static constexpr std::u16string_view kNames[] = {u"星期一", u"星期二", u"星期三", u"星期四",
                                                   u"星期五", u"星期六", u"星期日"};
  const int n = IsoNumber(weekday);
  return n >= 1 && n <= 7 ? kNames[n - 1] : std::u16string_view();
}

std::u16string LunarMonthName(int m) {
  if (m < 1 || m > 12) return {};
  return std::u16string(kNumberNames[m]);
}

std::u16string EraLabel(int y) {
  std::u16string label;
  AssignEraLabel(label, y);
  return label;
}

std::u16string_view ZodiacAnimal(int lunarYear) {
  return kZodiacAnimals[((lunarYear - 4) % 12 + 12) % 12];
}

std::u16string_view SolarTermName(int n) {
  return (n < 0 || n > 23) ? std::u16string_view{} : kSolarTermNames[n];
}

int SolarTermDay(int n, int year) {
  if (n < 0 || n > 23) return 0;
  const int day = SolarTermTableDay(n, year);
  return day > 0 ? day : MeanSolarTermDay(n, year);
}

// --- CCalendar --------------------------------------------------------------------------------
CCalendar::CCalendar() { Reset(); }
CCalendar::~CCalendar() = default;

void CCalendar::Reset() {
  lunarYear = lunarMonth = lunarDay = leapFlag = 0;
  eraLabel.clear();
  lunarDayName.clear();
  lunarMonthName.clear();
  monthSize.clear();
  yearGanZhi.clear();
  monthGanZhi.clear();
  dayGanZhi.clear();
  zodiacAnimal.clear();
  lunarFestival.clear();
  solarFestival.clear();
  solarTerm.clear();
  holidayStar = 0;
  valid_ = false;
}

void CCalendar::Calculate(Day when) {
  Reset();
  date = when;
  if (!IsInCalendarRange(when)) return;
  const int Y = when.Year(), M = when.Month(), D = when.DayOfMonth();
  const int daysSince1970 = when.DaysSinceEpoch();

  AssignEraLabel(eraLabel, Y);

  // Lunar year: the last year whose first day is not after the date.
  int offset = daysSince1970 - kEpochOffset;
  int index = offset * 100 / 36525;  // a close guess, then settle on the exact year
  if (index > kTableLastYear - kTableFirstYear) index = kTableLastYear - kTableFirstYear;
  while (kYearStart[index] > offset) --index;
  while (index < kTableLastYear - kTableFirstYear && kYearStart[index + 1] <= offset) ++index;
  const int year = kTableFirstYear + index;
  offset -= kYearStart[index];

  // Lunar month: walk the months of the year, the leap month right after its ordinary month.
  const int leap = LeapMonthOf(year);
  int isLeap = 0, i = 1, last = 0;
  while (i < 13 && offset > 0) {
    if (leap > 0 && i == leap + 1 && isLeap == 0) {
      --i;
      isLeap = 1;
      last = LeapMonthDaysOf(year);
    } else {
      last = MonthDaysOf(year, i);
      if (isLeap == 1 && i == leap + 1) isLeap = 0;
    }
    offset -= last;
    ++i;
  }
  if (offset == 0 && leap > 0 && i == leap + 1) {
    if (isLeap == 1) {
      isLeap = 0;
    } else {
      isLeap = 1;
      --i;
    }
  }
  if (offset < 0) {
    offset += last;
    --i;
  }
  lunarYear = year;
  lunarMonth = i;
  leapFlag = isLeap;
  lunarDay = offset + 1;

  lunarMonthName = kNumberNames[lunarMonth];
  AssignPair(lunarDayName, kLunarDayPairs[lunarDay]);
  const int monthLength = leapFlag ? LeapMonthDaysOf(year) : MonthDaysOf(year, lunarMonth);
  monthSize = monthLength > 29 ? u"大" : u"小";

  zodiacAnimal = ZodiacAnimal(lunarYear);
  AssignPair(yearGanZhi, kGanZhiPairs[PositiveMod(lunarYear - 1864, 60)]);
  AssignPair(monthGanZhi, kGanZhiPairs[PositiveMod(int64_t{lunarYear} * 12 + lunarMonth - 22787, 60)]);
  AssignPair(dayGanZhi, kGanZhiPairs[PositiveMod(int64_t{daysSince1970} + 25577, 60)]);

  if (SolarTermDay(2 * M - 2, Y) == D)
    solarTerm = kSolarTermNames[2 * M - 2];
  else if (SolarTermDay(2 * M - 1, Y) == D)
    solarTerm = kSolarTermNames[2 * M - 1];

  MatchSolarFestivals(Y, M, D, Day::FromDays(daysSince1970).DayOfWeek(), solarFestival, holidayStar);
  MatchLunarFestival(lunarMonth, lunarDay, monthLength, lunarFestival, holidayStar);
  valid_ = true;
}
