#include "calendar/festivals.h"

#include <array>

#include "platform/gregorian.h"

namespace {

// Fixed Gregorian dates, in date order, one entry per date.
constexpr std::u16string_view kSolarFestivalTexts[] = {
    u"0101*元旦",
    u"0106 中国13亿人口日[2005]",
    u"0108 周恩来逝世纪念日[1976]",
    u"0121 列宁逝世纪念日[1924]",
    u"0127 宋庆龄诞辰纪念日[1893]",
    u"0202 世界湿地日[1996]",
    u"0207 国际声援南非日[1964]",
    u"0210 世界气象日[1960]",
    u"0214 情人节",
    u"0215 中国12亿人口日[1995]",
    u"0219 邓小平逝世纪念日[1997]",
    u"0221 反对殖民制度斗争日[1949]",
    u"0224 第三世界青年日",
    u"0228 世界居住条件调查日",
    u"0301 国际海豹日[1983]",
    u"0303 全国爱耳日[2000]",
    u"0305 中国青年志愿者服务日[2000] 周恩来诞辰纪念日[1898] 董必武诞辰纪念日[1886] 蔡元培逝世纪念日[1940]",
    u"0308 妇女节",
    u"0312 植树节",
    u"0315 国际消费者权益日[1983]",
    u"0316 手拉手情系贫困小伙伴全国统一行动日",
    u"0317 中国国医节[1929] 国际航海日",
    u"0318 全国科技人才活动日 巴黎公社纪念日[1871]",
    u"0321 世界睡眠日[2001] 世界儿歌日 世界森林日(林业节)[1972] 消除种族歧视国际日[1976]",
    u"0322 世界水日[1993] 中国水周(3月22日至3月28日)[1988设/1994改]",
    u"0323 世界气象日[1950]",
    u"0324 世界防治结核病日[1996]",
    u"0330 巴勒斯坦国土日",
    u"0401 愚人节",
    u"0402 国际儿童图书日",
    u"0407 世界卫生日[1950] 1994年卢旺达境内灭绝种族罪行国际反思日[2004]",
    u"0421 全国企业家活动日[1994]",
    u"0422 世界地球日[1970] 林巧稚逝世纪念日[1983]",
    u"0423 世界图书和版权日",
    u"0424 世界青年反对殖民主义日[1957] 亚非新闻工作者日",
    u"0425 全国预防接种宣传日[1986]",
    u"0426 世界知识产权日[2001]",
    u"0427 联谊城日",
    u"0430 全国交通安全反思日",
    u"0501 劳动节",
    u"0503 世界哮喘日",
    u"0504 青年节",
    u"0505 碘缺乏病防治日[1994] 艾青逝世纪念日[1996]",
    u"0508 世界红十字日[1948] 世界微笑日",
    u"0512 国际护士节[1912]",
    u"0515 国际家庭(咨询)日[1994]",
    u"0517 世界电信日[1969]",
    u"0518 国际博物馆日",
    u"0520 全国学生营养日[1990] 全国学生营养日[1990]",
    u"0522 国际生物多样性日[1994设/2001改]",
    u"0526 世界向人体条件挑战日[1993]",
    u"0529 宋庆龄逝世纪念日[1981]",
    u"0530 “五卅”反对帝国主义运动纪念日[1925]",
    u"0531 世界无烟日[1988]",
    u"0601 儿童节",
    u"0605 世界环境日[1974]",
    u"0606 全国爱眼日[1996]",
    u"0611 中国人口日",
    u"0617 防治荒漠化和干旱日[1995]",
    u"0620 世界难民日[2001]",
    u"0622 中国儿童慈善活动日",
    u"0623 国际奥林匹克日[1894] 世界手球日",
    u"0625 全国土地日[1991]",
    u"0626 国际反毒品日[1987] 国际宪章日(联合国宪章日)",
    u"0630 世界青年联欢节",
    u"0701 中国共产党建党日[1921] 香港回归纪念日[1997] 国际建筑日[1985] 亚洲“三十亿人口日”[1988]",
    u"0702 国际体育记者日",
    u"0706 朱德逝世纪念日[1976]",
    u"0707 中国人民抗日战争纪念日[1937]",
    u"0711 中国航海日[2005] 世界(50亿)人口日[1987]",
    u"0720 人类首次成功登月[1969]",
    u"0726 世界语(言)创立日",
    u"0728 第一次世界大战爆发[1914]",
    u"0730 非洲妇女日",
    u"0801 中国人民解放军建军节[1927]",
    u"0805 恩格斯逝世纪念日[1895]",
    u"0806 国际电影节[1932]",
    u"0808 中国男子节(爸爸节)[1988]",
    u"0809 世界土著人民国际日[1994]",
    u"0812 国际青年人日[1999]",
    u"0813 国际左撇子日[1975设/1976]",
    u"0815 日本正式宣布无条件投降日[1945] 世界反法西斯战争胜利纪念日[1945]",
    u"0826 全国律师咨询日[1993]",
    u"0903 中国抗日战争胜利纪念日[1945]",
    u"0908 世界扫盲日[1966] 国际新闻工作者(团结)日[1958]",
    u"0909 毛泽东逝世纪念日[1976]",
    u"0910 教师节",
    u"0914 世界清洁地球日",
    u"0916 国际臭氧层保护日[1987]",
    u"0918 九·一八事变纪念日(中国国耻日)[1931]",
    u"0920 全国公民道德宣传日[2003] 全国爱牙日[1989]",
    u"0921 国际和平日(全球停火和非暴力日,2002年以后)[2002]",
    u"0925 鲁迅诞辰纪念日[1881]",
    u"0926 徐悲鸿逝世纪念日[1953]",
    u"0927 世界旅游日[1979]",
    u"1001*国庆节",
    u"1002 国际和平(与民主自由)斗争日[1949]",
    u"1004 世界动物日[1949]",
    u"1008 全国高血压日[1998] 狮子会世界视觉日[1998]",
    u"1009 世界邮政日(万国邮联日)[1969]",
    u"1010 辛亥革命纪念日[1911] 世界精神卫生日[1992] 世界居室卫生日",
    u"1011 声援南非政治犯日",
    u"1012 世界(60亿)人口日[1999]",
    u"1013 中国少年先锋队建队纪念日[1949] 世界保健日 国际教师节 采用格林威治时间为国际标准时间日[1884]",
    u"1014 世界标准日[1969]",
    u"1015 国际盲人节(白手杖节)[1984]",
    u"1016 世界粮食日[1979]",
    u"1017 世界消除贫困日[1992]",
    u"1019 鲁迅逝世纪念日[1936]",
    u"1022 世界传统医药日[1992]",
    u"1024 联合国日[1945] 世界发展信息日",
    u"1028 世界“男性健康日”[2000]",
    u"1031 世界勤俭日",
    u"1107 十月社会主义革命纪念日(现俄“和谐和解日”)[1917]",
    u"1108 中国记者日[2000]",
    u"1109 全国消防安全宣传教育日[1992]",
    u"1110 世界青年节[1946]",
    u"1111 光棍节",
    u"1112 孙中山诞辰纪念日[1866] 刘少奇逝世纪念日[1969]",
    u"1114 世界糖尿病日[1991]",
    u"1117 国际大学生节(世界学生节)[1946]",
    u"1120 世界儿童日[1986]",
    u"1121 世界问候日[1973] 世界电视日[1996]",
    u"1124 刘少奇诞辰纪念日[1898]",
    u"1128 徐特立逝世纪念日[1968]",
    u"1129 国际声援巴勒斯坦人民国际日[1977]",
    u"1201 世界艾滋病日[1988] 朱德诞辰纪念日[1886]",
    u"1202 废除一切形式奴役世界日[1986]",
    u"1203 世界残疾人日[1992]",
    u"1204 中国法制宣传日[2001]",
    u"1205 国际经济和社会发展志愿人员日[1985] 世界弱能人士日",
    u"1207 国际民航日[纪念1994, 1996定]",
    u"1209 一二·九运动纪念日[1935] 世界足球日[1995]",
    u"1210 田汉逝世纪念日[1968]",
    u"1211 世界防治哮喘日[1998]",
    u"1212 西安事变纪念日[1936]",
    u"1213 南京大屠杀纪念日·勿忘国耻,紧记血泪史![1937]",
    u"1215 世界强化免疫日",
    u"1220 澳门回归纪念日[1999]",
    u"1221 国际篮球日 黄炎培逝世纪念日[1965]",
    u"1224 平安夜",
    u"1225 圣诞节",
    u"1226 毛泽东诞辰纪念日[1893]",
};

// Weekday rules: week code (tens digit of the day code) and weekday 0 = Sunday ... 6 (units).
constexpr std::u16string_view kWeekdayFestivalTexts[] = {
    u"0150 国际麻风节(世界防治麻风病日)[1954]",
    u"0351 全国中小学生安全教育日[1996]",
    u"0430 世界儿童日[1986]",
    u"0453 秘书节",
    u"0520 母亲节",
    u"0530 全国助残日[1990]",
    u"0532 国际牛奶日[1961]",
    u"0630 父亲节",
    u"0716 国际合作节",
    u"0911 美国劳动节[1894]",
    u"0932 国际和平日(1981至2001年)[1981]",
    u"0936 全民国防教育日[2001]",
    u"0940 国际聋人节[1958]",
    u"0950 世界海事日[1978] 世界心脏日[2000]",
    u"1011 世界人居日(国际住房日)[1985]",
    u"1013 国际减轻自然灾害日(减灾日)[1990]",
    u"1144 感恩节",
    u"1220 国际儿童电视广播日",
};

// Lunar dates; day code 00 is the last day of the lunar month.
constexpr std::u16string_view kLunarFestivalTexts[] = {
    u"0101*春节",
    u"0115 元宵节",
    u"0116 侗族芦笙节(正月十六至二十)",
    u"0201 瑶族忌鸟节",
    u"0202 春龙节(龙抬头节) 畲族会亲节",
    u"0208 傈傈族刀杆节",
    u"0315 白族三月街(三月十五至廿一)",
    u"0323 妈祖生辰 (天上圣母诞辰)",
    u"0418 锡伯族西迁节",
    u"0505 端午节",
    u"0513 阿昌族泼水节",
    u"0522 鄂温克族米阔鲁节",
    u"0529 瑶族达努节",
    u"0606 姑姑节 天贶节 壮族祭田节 瑶族尝新节",
    u"0624 彝族、阿昌族、白族、佤族、纳西族、基诺族火把节",
    u"0707 乞巧节)",
    u"0713 侗族吃新节",
    u"0715 中元节 盂兰盆会 普米族转山会",
    u"0815*中秋节",
    u"0909 重阳节",
    u"1001 祭祖节(十月朝)",
    u"1016 瑶族盘王节",
    u"1208 腊八节",
    u"1223 北方灶君节[北方小年(扫房日)]",
    u"1224 南方祭灶节[南方小年(掸尘日)]",
    u"1200*除夕",
};

constexpr bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

constexpr int TwoDigits(std::u16string_view s, size_t pos) {
  if (s.size() < pos + 2) return 0;
  const char16_t a = s[pos], b = s[pos + 1];
  if (a < u'0' || a > u'9' || b < u'0' || b > u'9') return 0;
  return (a - u'0') * 10 + (b - u'0');
}

constexpr FestivalEntry Parse(std::u16string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  FestivalEntry e;
  e.month = TwoDigits(text, 0);
  e.dayCode = TwoDigits(text, 2);
  e.star = text.size() > 4 && text[4] == u'*';
  std::u16string_view name = text.size() > 5 ? text.substr(5) : std::u16string_view{};
  while (!name.empty() && IsSpace(name.front())) name.remove_prefix(1);
  e.name = name;
  return e;
}

template <size_t N>
constexpr std::array<FestivalEntry, N> ParseAll(const std::u16string_view (&texts)[N]) {
  std::array<FestivalEntry, N> out{};
  for (size_t i = 0; i < N; ++i) out[i] = Parse(texts[i]);
  return out;
}

constexpr auto kSolarFestivals = ParseAll(kSolarFestivalTexts);
constexpr auto kWeekdayFestivals = ParseAll(kWeekdayFestivalTexts);
constexpr auto kLunarFestivals = ParseAll(kLunarFestivalTexts);
static_assert(kSolarFestivals.size() == 143 && kWeekdayFestivals.size() == 18 &&
              kLunarFestivals.size() == 26);

// Fixed-date index: month * 32 + day -> entry index + 1 (0 = none). The list holds one entry per
// date, which the static_assert below checks, so one slot per date is exact.
constexpr auto kSolarIndex = [] {
  std::array<uint8_t, 13 * 32> index{};
  for (size_t i = 0; i < kSolarFestivals.size(); ++i)
    index[kSolarFestivals[i].month * 32 + kSolarFestivals[i].dayCode] = static_cast<uint8_t>(i + 1);
  return index;
}();
constexpr bool SolarDatesAreDistinct() {
  for (size_t i = 0; i < kSolarFestivals.size(); ++i) {
    const FestivalEntry& e = kSolarFestivals[i];
    if (e.month < 1 || e.month > 12 || e.dayCode < 1 || e.dayCode > 31) return false;
    if (kSolarIndex[e.month * 32 + e.dayCode] != i + 1) return false;
  }
  return true;
}
static_assert(SolarDatesAreDistinct(), "one fixed-date entry per valid date");

// Entries of each month: [begin, end) indexes of a list whose entries are grouped by month.
struct MonthRange {
  uint8_t begin = 0;
  uint8_t end = 0;
};
template <size_t N>
constexpr std::array<MonthRange, 13> RangesByMonth(const std::array<FestivalEntry, N>& list) {
  std::array<MonthRange, 13> ranges{};
  for (size_t i = 0; i < N; ++i) {
    MonthRange& r = ranges[list[i].month];
    if (r.begin == r.end) r.begin = static_cast<uint8_t>(i);
    r.end = static_cast<uint8_t>(i + 1);
  }
  return ranges;
}
template <size_t N>
constexpr bool GroupedByMonth(const std::array<FestivalEntry, N>& list) {
  for (size_t i = 1; i < N; ++i)
    if (list[i].month < list[i - 1].month) return false;
  return true;
}
static_assert(GroupedByMonth(kWeekdayFestivals) && GroupedByMonth(kLunarFestivals));
constexpr auto kWeekdayRanges = RangesByMonth(kWeekdayFestivals);
constexpr auto kLunarRanges = RangesByMonth(kLunarFestivals);

void AppendName(std::u16string& text, std::u16string_view name) {
  if (!text.empty()) text += u' ';
  text.append(name);
}

}  // namespace

FestivalEntry ParseFestivalEntry(std::u16string_view text) { return Parse(text); }

std::span<const FestivalEntry> SolarFestivals() { return kSolarFestivals; }
std::span<const FestivalEntry> WeekdayFestivals() { return kWeekdayFestivals; }
std::span<const FestivalEntry> LunarFestivals() { return kLunarFestivals; }

int WeekRowOfMonth(int y, int m, int d) {
  // Column of the 1st in a Sunday-first row: 1 = Sunday ... 7 = Saturday.
  const int firstColumn = SundayZeroNumber(Day::FromCivil(y, m, 1).DayOfWeek()) + 1;
  int row = (d - 1) / 7 + 1;
  if ((d - 1) % 7 + firstColumn > 7) ++row;
  return row;
}

void MatchSolarFestivals(int y, int m, int d, Weekday weekday, std::u16string& text, int& star) {
  text.clear();
  star = 0;
  if (m < 1 || m > 12 || d < 1 || d > 31) return;

  if (const int slot = kSolarIndex[m * 32 + d]; slot != 0) {
    const FestivalEntry& e = kSolarFestivals[slot - 1];
    AppendName(text, e.name);
    star = e.star ? 1 : 0;
  }

  // The grid row of day d (Sunday-first rows, the first holding day 1) from the weekday of the
  // 1st: w1 = column of the 1st, 1 = Sunday ... 7 = Saturday.
  const int w1 = ((SundayZeroNumber(weekday) - (d - 1) % 7) % 7 + 7) % 7 + 1;
  auto rowOf = [w1](int day) { return (day - 1) / 7 + 1 + ((day - 1) % 7 + w1 > 7 ? 1 : 0); };
  for (int i = kWeekdayRanges[m].begin; i < kWeekdayRanges[m].end; ++i) {
    const FestivalEntry& e = kWeekdayFestivals[i];
    if (WeekdayFromSundayZero(e.dayCode % 10) != weekday) continue;
    const int w = e.dayCode / 10;
    const bool match = w < 6 ? rowOf(d) == w
                             : rowOf(DaysInMonth(y, m)) - rowOf(d) + 6 == w;
    if (match) {
      AppendName(text, e.name);
      if (e.star) star = 1;
    }
  }

  if (d == 13 && weekday == Weekday::kFriday) AppendName(text, u"黑色星期五");
}

void MatchLunarFestival(int lunarMonth, int lunarDay, int monthLength, std::u16string& text,
                        int& star) {
  text.clear();
  if (lunarMonth < 1 || lunarMonth > 12) return;
  for (int i = kLunarRanges[lunarMonth].begin; i < kLunarRanges[lunarMonth].end; ++i) {
    const FestivalEntry& e = kLunarFestivals[i];
    if (e.dayCode == lunarDay || (e.dayCode == 0 && lunarDay == monthLength)) {
      text.assign(e.name);
      if (e.star) star = 1;
    }
  }
}
