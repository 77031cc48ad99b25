// The main window's weather panel as it is decided without windows: what one report shows by day
// and by night, the air-quality badge returning to the skin's look, and the refresh button's
// animation from its start to the update.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/logic/weather_panel_view.h"
#include "platform/text_codec.h"
#include "tests/app/air_report.h"

namespace {

WeatherReport ShanghaiReport() {
  WeatherReport r;
  r.city = r.province = u"上海";
  r.days[0].daytime = {u"多云", u"东南风3级", u"", u"12℃", u""};
  r.days[0].night = {u"晴", u"东风2级", u"6℃", u"", u""};
  return r;
}

AirQualityReport ShanghaiAir(std::u16string level, std::u16string value) {
  return tvtest::AirReport(u"上海", std::move(level), std::move(value));
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
  // In this order: the third report's level has its own look again (neither the black text nor
  // the wide badge of the one before stays); a level word without a colour has its text on the
  // skin's label and no badge colour.
  const struct {
    const char16_t* level;
    const char16_t* index;
    const char16_t* text;
    uint32_t background, textColor;
    int right;
  } reports[] = {
      {u"良", u"64", u" 空气质量 良", 0xffffbb17u, 0xffeeeeeeu, 192},
      {u"严重污染", u"420", u" 严重污染 420", 0xff600202u, 0u, 202},
      {u"优", u"30", u" 空气质量 优", 0xff81ba2fu, 0xffeeeeeeu, 192},
      {u"未知等级", u"1", u" 未知等级 1", 0u, 0xffeeeeeeu, 192},
  };
  for (const auto& r : reports) {
    const WeatherPanelView v = MakeWeatherPanelView(ShanghaiReport(), ShanghaiAir(r.level, r.index), 12, skin);
    const std::string level = WideToUtf8(r.level);
    EXPECT_EQ(v.airText, r.text) << level;
    EXPECT_EQ(v.airBackground, r.background) << level;
    EXPECT_EQ(v.airTextColor, r.textColor) << level;
    EXPECT_EQ(v.airRight, r.right) << level;
  }
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
