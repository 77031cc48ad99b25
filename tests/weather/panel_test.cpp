// The report's readings for the present hour, and report cleanup.
#include <gtest/gtest.h>

#include "weather/panel_logic.h"
#include "weather/report_cleanup.h"

namespace {

TEST(PanelLogic, TemperatureAndWindText) {
  WeatherReport r;
  r.days[0].daytime = {u"晴", u"南风3级", u"", u"26℃", u""};
  r.days[0].night = {u"晴", u"北风微风", u"18℃", u"", u""};
  EXPECT_TRUE(IsNightHour(7));
  EXPECT_FALSE(IsNightHour(8));
  EXPECT_FALSE(IsNightHour(19));
  EXPECT_TRUE(IsNightHour(20));
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
  // Temperatures that are no temperature are not shown.
  EXPECT_EQ(ShownTemperature(u"-3℃"), u"-3℃");
  for (const char16_t* bad : {u"\uFFFD℃", u"℃", u"", u"1\uFFFD℃", u"2\x1b[2J℃"}) EXPECT_EQ(ShownTemperature(bad), u"");
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
