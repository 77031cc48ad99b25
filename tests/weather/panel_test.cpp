// Icons, the panel's day/night choice and texts, and report cleanup.
#include <gtest/gtest.h>

#include "weather/panel_logic.h"
#include "weather/report_cleanup.h"
#include "weather/weather_icons.h"

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

TEST(PanelLogic, DayAndNightSwitchAtEightAndTwenty) {
  WeatherReport r = Today(u"多云", u"晴");
  EXPECT_EQ(ChooseWeatherPanelIcon(r, 7).icon, u"weather\\night\\sunny.png");  // 07:59
  EXPECT_EQ(ChooseWeatherPanelIcon(r, 8).icon, u"weather\\day\\cloudy.png");   // 08:00
  EXPECT_EQ(ChooseWeatherPanelIcon(r, 19).toolTip, u"多云");                    // 19:59
  EXPECT_EQ(ChooseWeatherPanelIcon(r, 20).toolTip, u"晴");                      // 20:00
  EXPECT_TRUE(IsNightHour(0));
  EXPECT_FALSE(IsNightHour(12));
}

TEST(PanelLogic, IconFallbacks) {
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
  // Temperatures that are no temperature are not shown.
  EXPECT_EQ(ShownTemperature(u"-3℃"), u"-3℃");
  for (const char16_t* bad : {u"\uFFFD℃", u"℃", u"", u"1\uFFFD℃", u"2\x1b[2J℃"}) EXPECT_EQ(ShownTemperature(bad), u"");
}

TEST(PanelLogic, TemperatureAndWindText) {
  WeatherReport r = Today(u"晴", u"晴");
  EXPECT_EQ(CurrentTemperatureText(r, 9), u"18℃");   // 09:59: tonight's low
  EXPECT_EQ(CurrentTemperatureText(r, 10), u"26℃");  // 10:00: today's high
  EXPECT_EQ(CurrentTemperatureText(r, 15), u"26℃");
  EXPECT_EQ(CurrentTemperatureText(r, 16), u"18℃");
  EXPECT_EQ(CurrentWindText(r, 12), u"南风3级");
  EXPECT_EQ(CurrentWindText(r, 22), u"北风微风");
  r.currentTemperature = u"21℃";
  r.currentWind = u"东风2级";
  EXPECT_EQ(CurrentTemperatureText(r, 12), u"21℃");
  EXPECT_EQ(CurrentWindText(r, 3), u"东风2级");
}

TEST(PanelLogic, AirBadge) {
  AirQualityReport a;
  EXPECT_TRUE(MakeAirBadge(a).text.empty());
  a.tempLow = u"88";
  a.tempHigh = u"良";
  AirBadge b = MakeAirBadge(a);
  EXPECT_EQ(b.text, u" 空气质量 良");
  EXPECT_EQ(b.background, 0xffffbb17u);
  EXPECT_EQ(b.right, 192);
  a.tempLow = u"320";
  a.tempHigh = u"严重污染";
  b = MakeAirBadge(a);
  EXPECT_EQ(b.text, u" 严重污染 320");
  EXPECT_TRUE(b.blackText);
  EXPECT_EQ(b.right, 202);
  a.tempHigh = u"未知等级";
  EXPECT_FALSE(MakeAirBadge(a).styled);
}

TEST(ReportCleanup, ClearKeepsSecondSitePairsAndNormaliseCompacts) {
  WeatherReport r;
  r.city = u"上海";
  r.currentTemperature = u"25℃";
  r.lifeIndex[0] = {u"a", u"b"};
  r.lifeIndex[9] = {u"c", u"d"};
  r.days[2].daytime.weather = u"晴";
  ClearReport(r);
  EXPECT_EQ(r.city, u"");
  EXPECT_EQ(r.currentTemperature, u"25℃");  // emptied by the forecast site itself
  EXPECT_EQ(r.lifeIndex[0].name, u"");
  EXPECT_EQ(r.lifeIndex[9].name, u"c");
  EXPECT_EQ(r.days[2].daytime.weather, u"");

  r.days[0].daytime.wind = u" 东南风 \r\n 3 级 ";
  r.days[0].daytime.weather = u" 多 云 ";
  r.periods[1].tempLow = u"\r\n15 ℃";
  r.lifeIndex[3].value = u"  较冷 ";
  NormaliseReport(r);
  EXPECT_EQ(r.days[0].daytime.wind, u"东南风3级");
  EXPECT_EQ(r.days[0].daytime.weather, u"多 云");
  EXPECT_EQ(r.periods[1].tempLow, u"15℃");
  EXPECT_EQ(r.lifeIndex[3].value, u"较冷");
}

}  // namespace
