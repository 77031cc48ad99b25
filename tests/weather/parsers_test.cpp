// The page parsers on realistic pages, on pages missing parts, and on every truncation of them.
#include <gtest/gtest.h>

#include <vector>

#include "sample_pages.h"
#include "weather/air_quality_parser.h"
#include "weather/forecast_parser.h"
#include "weather/second_site_parser.h"
#include "weather/text_search.h"

namespace {

TEST(TextSearch, TrimAndInnerText) {
  EXPECT_EQ(Trim(u"  晴 \r\n"), u"晴");
  EXPECT_EQ(Trim(u"   "), u"   ");  // blanks only: unchanged
  EXPECT_EQ(Trim(u""), u"");
  std::u16string_view t = u"<td><a href=\"#\">多云</a></td>";
  size_t end = t.find(u"</a>");
  EXPECT_EQ(InnerTextBefore(t, end, 0), u"多云");
  EXPECT_EQ(InnerTextBefore(u"abc</a>", 3, 0), u"abc");  // no '>' before: from the lower bound
  EXPECT_EQ(InnerTextBefore(t, kNotFound, 0), u"");
  EXPECT_EQ(InnerTextBefore(t, 5, 9), u"");         // lower past end
  EXPECT_EQ(InnerTextBefore(t, 500, 0), u"");       // end past the text
  EXPECT_EQ(InnerTextBeforeQuote(u"\"temp\":\"25\",", 10, 0), u"25");
  EXPECT_EQ(FindText(u"abc", u"c", 4), kNotFound);
  EXPECT_EQ(FindText(u"abc", u"c", kNotFound), kNotFound);
}

TEST(CurrentConditions, TemperatureAndWind) {
  WeatherReport r;
  ParseCurrentConditions(samples::kCurrent, r);
  EXPECT_EQ(r.currentTemperature, u"25℃");
  EXPECT_EQ(r.currentWind, u"东北风3级");
}

TEST(CurrentConditions, MissingValuesStayEmpty) {
  WeatherReport r;
  r.currentTemperature = u"old";
  r.currentWind = u"old";
  ParseCurrentConditions(u"{\"temp\":\"暂无\",\"WD\":\"东风\",\"WS\":\"暂无\",\"x\":1}", r);
  EXPECT_EQ(r.currentTemperature, u"");
  EXPECT_EQ(r.currentWind, u"");  // the whole wind goes when a part is missing

  ParseCurrentConditions(u"{\"temp\":\"\",\"WD\":\"\",\"WS\":\"2级\",\"x\":1}", r);
  EXPECT_EQ(r.currentTemperature, u"");
  EXPECT_EQ(r.currentWind, u"2级");  // an empty direction is cleared, the force still appended

  ParseCurrentConditions(u"<html>404</html>", r);
  EXPECT_EQ(r.currentTemperature, u"");
  EXPECT_EQ(r.currentWind, u"");
}

TEST(ForecastPage, ReadsPeriodsDaysAndLifeIndex) {
  WeatherReport r;
  ASSERT_TRUE(ParseForecastPage(samples::ForecastPage(), r));
  EXPECT_EQ(r.periods[0].weather, u"多云");
  EXPECT_EQ(r.periods[0].tempHigh, u"20℃");
  EXPECT_EQ(r.periods[0].tempLow, u"15℃");
  EXPECT_EQ(r.periods[0].wind, u"东风3级");
  EXPECT_EQ(r.periods[0].extra, u"降水量 1.5mm");
  EXPECT_EQ(r.periods[1].extra, u"");  // no rain row: the table end closes the period
  EXPECT_EQ(r.periods[3].weather, u"晴");

  EXPECT_EQ(r.days[0].daytime.weather, u"晴");
  EXPECT_EQ(r.days[0].daytime.tempHigh, u"20℃");
  EXPECT_EQ(r.days[0].daytime.wind, u"东南风3-4级");
  EXPECT_EQ(r.days[0].night.weather, u"霾");
  EXPECT_EQ(r.days[0].night.tempLow, u"10℃");
  EXPECT_EQ(r.days[0].night.wind, u"北风微风");
  EXPECT_EQ(r.days[3].daytime.weather, u"小雨");
  EXPECT_EQ(r.days[6].daytime.tempHigh, u"26℃");
  EXPECT_EQ(r.days[6].night, WeatherSlot{});  // the last night is not read
  EXPECT_EQ(r.days[0].daytime.tempLow, u"");
  EXPECT_EQ(r.days[0].night.tempHigh, u"");

  EXPECT_EQ(r.lifeIndex[0].name, u"指数0");
  EXPECT_EQ(r.lifeIndex[0].value, u"等级0");
  EXPECT_EQ(r.lifeIndex[8].value, u"等级8");
  EXPECT_EQ(r.lifeIndex[9].name, u"");
}

TEST(ForecastPage, EveningPageHasOnlyTonight) {
  WeatherReport r;
  ASSERT_TRUE(ParseForecastPage(samples::ForecastPage(true), r));
  EXPECT_EQ(r.days[0].daytime, WeatherSlot{});
  EXPECT_EQ(r.days[0].night.weather, u"霾");
  EXPECT_EQ(r.days[1].daytime.weather, u"多云");  // day 1 from the next table
  EXPECT_EQ(r.days[1].night.weather, u"雾");
  EXPECT_EQ(r.lifeIndex[4].name, u"指数4");
}

TEST(ForecastPage, MissingSectionsReportFailure) {
  WeatherReport r;
  EXPECT_FALSE(ParseForecastPage(samples::ForecastPage(false, false), r));
  EXPECT_EQ(r.days[5].daytime.weather, u"雾");  // the days were read all the same

  std::u16string noBox = samples::ForecastPage();
  noBox.replace(noBox.find(u"weatherYubaoBox"), 15, u"weatherBox");
  WeatherReport r2;
  EXPECT_FALSE(ParseForecastPage(noBox, r2));
  EXPECT_EQ(r2.periods[2].weather, u"小雨");  // periods come before the days

  std::u16string noPeriods = samples::ForecastPage();
  noPeriods.replace(noPeriods.find(u"逐6小时"), 4, u"每小时");
  WeatherReport r3;
  EXPECT_TRUE(ParseForecastPage(noPeriods, r3));
  EXPECT_EQ(r3.periods[0], WeatherSlot{});
}

TEST(SecondSite, ReadsSixDaysAndNineIndexEntries) {
  WeatherReport r;
  ASSERT_TRUE(ParseSecondSitePage(samples::SecondSitePage(), r));
  EXPECT_EQ(r.days[0].daytime.weather, u"多云");
  EXPECT_EQ(r.days[0].night.weather, u"阴0");
  EXPECT_EQ(r.days[0].night.tempLow, u"10℃");
  EXPECT_EQ(r.days[0].daytime.tempHigh, u"20℃");
  EXPECT_EQ(r.days[0].daytime.wind, u"东北风3级");
  EXPECT_EQ(r.days[0].night.wind, u"东北风3级");
  EXPECT_EQ(r.days[5].daytime.wind, u"东风5级");
  EXPECT_EQ(r.days[5].night.tempLow, u"15℃");
  EXPECT_EQ(r.days[6], WeatherDay{});
  const int pairs[] = {1, 9, 3, 7, 10, 6, 11, 4, 12};
  for (int n = 0; n < 9; ++n) {
    std::u16string d(1, static_cast<char16_t>(u'0' + n));
    EXPECT_EQ(r.lifeIndex[pairs[n]].name, u"项" + d);
    EXPECT_EQ(r.lifeIndex[pairs[n]].value, u"值" + d);
  }
  EXPECT_EQ(r.lifeIndex[0].name, u"");
}

TEST(SecondSite, MissingPartsReportFailure) {
  WeatherReport r;
  EXPECT_FALSE(ParseSecondSitePage(samples::SecondSitePage(false), r));
  EXPECT_EQ(r.days[2].night.weather, u"阴2");
  WeatherReport untouched;
  EXPECT_FALSE(ParseSecondSitePage(u"<html>没有今天</html>", untouched));
  EXPECT_EQ(untouched, WeatherReport{});
}

TEST(SecondSite, QueryAndLocation) {
  EXPECT_EQ(PercentEncode("a Z9-"), "a%20Z9%2D");
  // GBK bytes whatever the machine's code page: 上海 is C9 CF BA A3.
  EXPECT_EQ(SecondSiteQueryBody(u"上海", u"上海"), "city=%C9%CF%BA%A3&searchProvName=%C9%CF%BA%A3");
  EXPECT_EQ(LocationHeaderValue(u"HTTP/1.1 302 Found\r\nServer: x\r\nLOCATION : /tq/1.htm \r\n\r\n"), u"/tq/1.htm");
  EXPECT_EQ(LocationHeaderValue(u"HTTP/1.1 200 OK\r\nContent-Location: /x\r\n"), u"");
  EXPECT_EQ(LocationHeaderValue(u"location:/last"), u"/last");
  EXPECT_EQ(LocationHeaderValue(u""), u"");
}

TEST(AirQuality, LevelWords) {
  EXPECT_EQ(AirLevelName(u"50"), u"优");
  EXPECT_EQ(AirLevelName(u"51"), u"良");
  EXPECT_EQ(AirLevelName(u"150"), u"轻度污染");
  EXPECT_EQ(AirLevelName(u"151"), u"中度污染");
  EXPECT_EQ(AirLevelName(u"300"), u"重度污染");
  EXPECT_EQ(AirLevelName(u"301"), u"严重污染");
  EXPECT_EQ(AirLevelName(u"—"), u"优");
  EXPECT_EQ(AirLevelName(u"99999999999999999999"), u"严重污染");  // no overflow
}

TEST(AirQuality, FirstRankingAndMatching) {
  std::vector<AirQualityEntry> e;
  ASSERT_TRUE(ParseAirRankingFirst(samples::AirRankFirst(), e));
  ASSERT_EQ(e.size(), 3u);  // the footer link past the table is not a row
  EXPECT_EQ(e[0].city, u"上海");
  EXPECT_EQ(e[0].index, u"45");
  EXPECT_EQ(e[2].level, u"中度污染");

  AirQualityReport r;
  PickAirQuality(e, u"上海", r);
  EXPECT_EQ(r.city, u"上海县");  // 上海, 上海市 and 上海县 all match; the later row wins
  PickAirQuality(e, u"北京", r);
  EXPECT_EQ(r.index, u"151");
  AirQualityReport none;
  PickAirQuality(e, u"广州", none);
  EXPECT_EQ(none, AirQualityReport{});

  EXPECT_FALSE(ParseAirRankingFirst(u"<table><tr><td>2</td></tr></table>", e));
  EXPECT_TRUE(e.empty());
}

TEST(AirQuality, SecondRanking) {
  std::vector<AirQualityEntry> e;
  ASSERT_TRUE(ParseAirRankingSecond(samples::AirRankSecond(), e));
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].city, u"西藏");
  EXPECT_EQ(e[1].index, u"33");
  EXPECT_EQ(e[1].level, u"优");
  EXPECT_FALSE(ParseAirRankingSecond(u"<h2>空气质量</h2>", e));
}

// Every prefix of every page: parsers must stop at the end of the text, never read past it
// (AddressSanitizer builds catch a stray read), and never loop.
TEST(Truncated, EveryPrefixParsesSafely) {
  const std::u16string pages[] = {samples::kCurrent, samples::ForecastPage(), samples::ForecastPage(true),
                                  samples::SecondSitePage(), samples::AirRankFirst(), samples::AirRankSecond()};
  for (const std::u16string& page : pages) {
    for (size_t n = 0; n <= page.size(); n += (page.size() > 4000 ? 7 : 1)) {
      // A copy of exactly n characters, so that a read past it is a read past the allocation.
      std::vector<char16_t> cut(page.begin(), page.begin() + static_cast<ptrdiff_t>(n));
      std::u16string_view text(cut.data(), cut.size());
      WeatherReport r;
      ParseCurrentConditions(text, r);
      ParseForecastPage(text, r);
      ParseSecondSitePage(text, r);
      LocationHeaderValue(text);
      std::vector<AirQualityEntry> e;
      ParseAirRankingFirst(text, e);
      ParseAirRankingSecond(text, e);
    }
  }
  SUCCEED();
}

TEST(Truncated, ForecastPageCutBeforeLifeIndexFails) {
  std::u16string page = samples::ForecastPage();
  WeatherReport r;
  EXPECT_FALSE(ParseForecastPage(std::u16string_view(page).substr(0, page.find(u"<aside>") + 3), r));
  EXPECT_FALSE(ParseForecastPage(std::u16string_view(page).substr(0, page.rfind(u"</aside>")), r));
}

}  // namespace
