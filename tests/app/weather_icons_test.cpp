// The skin's weather pictures for a condition and the hour, and the air-quality badge's look.
#include <gtest/gtest.h>

#include "app/logic/weather_icons.h"
#include "app/logic/weather_panel_view.h"
#include "weather/wmo_codes.h"

namespace {

TEST(WeatherIcons, Table) {
  EXPECT_EQ(WeatherIconFile(u"晴", true, false), u"weather\\night\\sunny.png");
  EXPECT_EQ(WeatherIconFile(u"晴", false, false), u"weather\\day\\sunny.png");
  EXPECT_EQ(WeatherIconFile(u"阴", false, false), WeatherIconFile(u"阴", true, false));
  EXPECT_EQ(WeatherIconFile(u"多云", true, true), u"weather\\night\\cloudysmall.png");
  EXPECT_EQ(WeatherIconFile(u"霾", false, false), u"weather\\haze.png");
  EXPECT_EQ(WeatherIconFile(u"雷雨", false, false), u"weather\\thundershower.png");
  EXPECT_EQ(WeatherIconFile(u"大到暴雨", false, true), u"weather\\rainstormsmall.png");
  EXPECT_EQ(WeatherIconFile(u"多云转晴", false, false), u"");
  EXPECT_EQ(WeatherIconFile(u"小雨转中雨", false, false), u"");
  EXPECT_EQ(WeatherIconFile(u"", false, false), u"");
}

// The default source's words: each documented WMO code has a picture, by day and night, large and small.
TEST(WeatherIcons, EveryWmoWordHasAPicture) {
  for (int code : {0, 1, 2, 3, 45, 48, 51, 53, 55, 56, 57, 61, 63, 65, 66, 67, 71, 73, 75, 77, 80, 81, 82, 85, 86, 95,
                   96, 99}) {
    std::u16string_view word = WmoWeatherWord(code);
    for (bool night : {false, true}) {
      for (bool small : {false, true}) EXPECT_FALSE(WeatherIconFile(word, night, small).empty()) << code;
    }
  }
}

WeatherReport Today(std::u16string day, std::u16string night) {
  WeatherReport r;
  r.days[0].daytime.weather = std::move(day);
  r.days[0].night.weather = std::move(night);
  r.days[0].daytime.tempHigh = u"26℃";
  r.days[0].night.tempLow = u"18℃";
  r.days[0].daytime.wind = u"南风3级";
  r.days[0].night.wind = u"北风微风";
  return r;
}

TEST(WeatherIcons, DayAndNightSwitchAtEightAndTwenty) {
  WeatherReport r = Today(u"多云", u"晴");
  EXPECT_EQ(ChooseWeatherPanelIcon(r, 7).icon, u"weather\\night\\sunny.png");  // 07:59
  EXPECT_EQ(ChooseWeatherPanelIcon(r, 8).icon, u"weather\\day\\cloudy.png");   // 08:00
  EXPECT_EQ(ChooseWeatherPanelIcon(r, 19).toolTip, u"多云");                    // 19:59
  EXPECT_EQ(ChooseWeatherPanelIcon(r, 20).toolTip, u"晴");                      // 20:00
}

TEST(WeatherIcons, IconFallbacks) {
  // Evening page: no daytime condition, so by day the night text with the day picture.
  EXPECT_EQ(ChooseWeatherPanelIcon(Today(u"", u"多云"), 12).icon, u"weather\\day\\cloudy.png");
  // A daytime text without a picture: the night condition's night picture.
  WeatherPanelIcon i = ChooseWeatherPanelIcon(Today(u"多云转晴", u"阴"), 12);
  EXPECT_EQ(i.icon, u"weather\\overcast.png");
  EXPECT_EQ(i.toolTip, u"阴");
  // Nothing maps: 晴 for the time of day, tool tip the night text.
  i = ChooseWeatherPanelIcon(Today(u"", u"小雨转晴"), 22);
  EXPECT_EQ(i.icon, u"weather\\night\\sunny.png");
  EXPECT_EQ(i.toolTip, u"小雨转晴");
  EXPECT_EQ(ChooseWeatherPanelIcon(Today(u"小雨转晴", u""), 19).icon, u"weather\\day\\sunny.png");
  EXPECT_EQ(ChooseWeatherPanelIcon(Today(u"小雨转晴", u""), 20).icon, u"weather\\night\\sunny.png");
  // No weather at all: no picture, by day or by night.
  EXPECT_EQ(ChooseWeatherPanelIcon(WeatherReport{}, 3).icon, u"");
  EXPECT_EQ(ChooseWeatherPanelIcon(WeatherReport{}, 12).icon, u"");
}

TEST(WeatherPanelView, AirBadgeColoursAndPlacesEachLevel) {
  AirQualityReport a;
  EXPECT_TRUE(MakeAirBadge(a).text.empty());
  a.index = u"88";
  a.level = u"良";
  AirBadge b = MakeAirBadge(a);
  EXPECT_EQ(b.text, u" 空气质量 良");
  EXPECT_EQ(b.background, 0xffffbb17u);
  EXPECT_EQ(b.right, 192);
  a.index = u"320";
  a.level = u"严重污染";
  b = MakeAirBadge(a);
  EXPECT_EQ(b.text, u" 严重污染 320");
  EXPECT_TRUE(b.blackText);
  EXPECT_EQ(b.right, 202);
  a.level = u"未知等级";
  EXPECT_FALSE(MakeAirBadge(a).styled);
}

}  // namespace
