// The main window's weather panel as it is decided without windows: what one report shows by day
// and by night, the air-quality badge returning to the skin's look, and the refresh button's
// animation from its start to the update.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/logic/weather_panel_view.h"

namespace {

WeatherReport ShanghaiReport() {
  WeatherReport r;
  r.city = r.province = u"上海";
  r.days[0].daytime = {u"多云", u"东南风3级", u"", u"12℃", u""};
  r.days[0].night = {u"晴", u"东风2级", u"6℃", u"", u""};
  return r;
}

AirQualityReport ShanghaiAir(std::u16string level, std::u16string value) {
  AirQualityReport a;
  a.city = u"上海";
  a.index = std::move(value);
  a.level = std::move(level);
  return a;
}

}  // namespace

TEST(WeatherPanelView, DayAndNightViewsOfOneReport) {
  WeatherReport r = ShanghaiReport();
  AirLabelLook skin;
  WeatherPanelView noon = MakeWeatherPanelView(r, {}, 12, skin);
  EXPECT_EQ(noon.icon, u"weather\\day\\cloudy.png");
  EXPECT_EQ(noon.toolTip, u"多云 东南风3级");
  EXPECT_EQ(noon.temperature, u"12℃");
  WeatherPanelView night = MakeWeatherPanelView(r, {}, 20, skin);
  EXPECT_EQ(night.icon, u"weather\\night\\sunny.png");
  EXPECT_EQ(night.toolTip, u"晴 东风2级");
  EXPECT_EQ(night.temperature, u"6℃");
  EXPECT_EQ(MakeWeatherPanelView(r, {}, 7, skin).icon, night.icon);
  EXPECT_EQ(MakeWeatherPanelView(r, {}, 8, skin).icon, noon.icon);

  // The current conditions win over the day's columns.
  r.currentTemperature = u"9℃";
  r.currentWind = u"北风1级";
  WeatherPanelView now = MakeWeatherPanelView(r, {}, 12, skin);
  EXPECT_EQ(now.temperature, u"9℃");
  EXPECT_EQ(now.toolTip, u"多云 北风1级");

  // A failed run: only the names. The panel shows nothing, not even a sunny picture.
  WeatherReport empty;
  empty.city = u"上海";
  empty.currentTemperature = u"\uFFFD℃";  // a page in the wrong code page
  WeatherPanelView bare = MakeWeatherPanelView(empty, {}, 12, skin);
  EXPECT_EQ(bare.icon, u"");
  EXPECT_EQ(bare.toolTip, u"天气暂不可用");  // said so, rather than left blank
  EXPECT_EQ(bare.notice, u"天气暂不可用");
  EXPECT_EQ(bare.temperature, u"");
  EXPECT_EQ(bare.airText, u"天气暂不可用");  // in the air label's place, in the skin's look
  EXPECT_EQ(bare.airBackground, 0u);
  EXPECT_EQ(bare.airTextColor, skin.textColor);
  // An air level known while the weather is not: the notice wins on the panel.
  EXPECT_EQ(MakeWeatherPanelView(empty, ShanghaiAir(u"良", u"64"), 12, skin).airText, u"天气暂不可用");
}

TEST(WeatherPanelView, SourceInTheToolTipAndNoNoticeWithWeather) {
  WeatherReport r = ShanghaiReport();
  r.source = u"Open-Meteo";
  WeatherPanelView v = MakeWeatherPanelView(r, {}, 12, AirLabelLook{});
  EXPECT_EQ(v.toolTip, u"多云 东南风3级 · 来源 Open-Meteo");
  EXPECT_EQ(v.notice, u"");
  // Only a temperature known (a site's page without conditions): still weather, not unavailable.
  WeatherReport warm;
  warm.currentTemperature = u"7℃";
  EXPECT_EQ(MakeWeatherPanelView(warm, {}, 12, AirLabelLook{}).notice, u"");
}

TEST(WeatherPanelView, AirBadgeAndItsReturnToTheSkinLook) {
  AirLabelLook skin{0xffeeeeee, 122, 93, 192, 111};
  WeatherPanelView good = MakeWeatherPanelView(ShanghaiReport(), ShanghaiAir(u"良", u"64"), 12, skin);
  EXPECT_EQ(good.airText, u" 空气质量 良");
  EXPECT_EQ(good.airBackground, 0xffffbb17u);
  EXPECT_EQ(good.airTextColor, 0xffeeeeeeu);
  EXPECT_EQ(good.airRight, 192);

  WeatherPanelView severe = MakeWeatherPanelView(ShanghaiReport(), ShanghaiAir(u"严重污染", u"420"), 12, skin);
  EXPECT_EQ(severe.airText, u" 严重污染 420");
  EXPECT_EQ(severe.airBackground, 0xff600202u);
  EXPECT_EQ(severe.airTextColor, 0u);
  EXPECT_EQ(severe.airRight, 202);

  // The next report's level has its own look again: neither the black text nor the wide badge of
  // the one before stays.
  WeatherPanelView after = MakeWeatherPanelView(ShanghaiReport(), ShanghaiAir(u"优", u"30"), 12, skin);
  EXPECT_EQ(after.airTextColor, 0xffeeeeeeu);
  EXPECT_EQ(after.airRight, 192);

  // A level word without a colour: its text on the skin's label, no badge colour.
  WeatherPanelView odd = MakeWeatherPanelView(ShanghaiReport(), ShanghaiAir(u"未知等级", u"1"), 12, skin);
  EXPECT_EQ(odd.airText, u" 未知等级 1");
  EXPECT_EQ(odd.airBackground, 0u);
  EXPECT_EQ(odd.airTextColor, 0xffeeeeeeu);
  EXPECT_EQ(odd.airRight, 192);
}

TEST(RefreshAnimation, CyclesTheFramesFetchesOnceAndStopsOnTheUpdate) {
  RefreshAnimation a;
  EXPECT_TRUE(a.Next().image.empty()) << "no frames before a start";
  ASSERT_TRUE(a.Start());
  EXPECT_FALSE(a.Start()) << "a second start leaves the running timer alone";
  int fetches = 0;
  for (int step = 1; step <= 100; ++step) {
    RefreshAnimation::Step s = a.Next();
    std::string expected = "r" + std::to_string((step - 1) % 24) + ".png";
    ASSERT_EQ(std::string(s.image.begin(), s.image.end()), expected) << step;
    if (s.fetch) {
      ++fetches;
      EXPECT_EQ(step, 48);
    }
    // A frame-0 moment in the cycle is no reason to start anew.
    if (a.Frame() == 0) {
      EXPECT_FALSE(a.Start());
    }
  }
  EXPECT_EQ(fetches, 1);
  EXPECT_EQ(a.Stop(), u"r0.png");
  EXPECT_FALSE(a.Running());
  EXPECT_TRUE(a.Next().image.empty());

  // A worker that never answers: the fetch is asked again 10001 steps after the first.
  ASSERT_TRUE(a.Start());
  std::vector<int> fetchSteps;
  for (int step = 1; step <= 48 + 2 * 10001; ++step) {
    if (a.Next().fetch) fetchSteps.push_back(step);
  }
  EXPECT_EQ(fetchSteps, (std::vector<int>{48, 48 + 10001, 48 + 2 * 10001}));
}
