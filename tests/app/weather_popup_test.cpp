// The seven-day weather pop-up as it is decided without windows: the header by day and by night,
// the forecast strip with its 晴 fallback and empty fourth item, the air-quality badge for every
// level, the place beside the main window and the forecast page address.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/logic/weather_popup_view.h"
#include "tests/app/air_report.h"

namespace {

WeatherReport NanningReport() {
  WeatherReport r;
  r.city = u"南宁";
  r.province = u"广西";
  r.currentTemperature = u"25℃";
  r.currentWind = u"东南风3级";
  r.days[0].daytime = {u"多云", u"东南风3级", u"", u"31℃", u""};
  r.days[0].night = {u"阵雨", u"东风2级", u"24℃", u"", u""};
  r.days[1].daytime = {u"多云转晴", u"北风", u"", u"30℃", u""};
  r.days[1].night = {u"晴", u"北风", u"23℃", u"", u""};
  r.days[2].daytime = {u"小雨", u"南风", u"", u"27℃", u""};
  r.days[2].night = {u"中雨", u"南风", u"22℃", u"", u""};
  return r;
}

AirQualityReport NanningAir(std::u16string level, std::u16string value) {
  return tvtest::AirReport(u"南宁", std::move(level), std::move(value));
}

}  // namespace

TEST(WeatherPopupView, HeaderFollowsTheNightRule) {
  WeatherReport r = NanningReport();
  WeatherPopupView evening = MakeWeatherPopupView(r, {}, 20);
  EXPECT_EQ(evening.wind, u"阵雨 东南风3级") << "at 20:00 the night condition leads";
  EXPECT_EQ(MakeWeatherPopupView(r, {}, 19).wind, u"多云 东南风3级");
  EXPECT_EQ(MakeWeatherPopupView(r, {}, 7).wind, u"阵雨 东南风3级");
  EXPECT_EQ(MakeWeatherPopupView(r, {}, 8).wind, u"多云 东南风3级");
  EXPECT_EQ(evening.temperature, u"25") << "the degree sign is the skin's picture";
  EXPECT_EQ(evening.city, u"南宁");

  // An evening page has no daytime column: by day the night condition stands in.
  r.days[0].daytime.weather.clear();
  EXPECT_EQ(MakeWeatherPopupView(r, {}, 12).wind, u"阵雨 东南风3级");
  // Without current conditions: the night's low and wind outside midday; a text without ℃ whole.
  r.currentTemperature.clear();
  r.currentWind.clear();
  WeatherPopupView plain = MakeWeatherPopupView(r, {}, 22);
  EXPECT_EQ(plain.temperature, u"24");
  EXPECT_EQ(plain.wind, u"阵雨 东风2级");
  r.days[0].night.tempLow = u"暂无";
  EXPECT_EQ(MakeWeatherPopupView(r, {}, 22).temperature, u"暂无");
}

TEST(WeatherPopupView, StripOfThreeDaysWithTheSunnyFallback) {
  WeatherPopupView v = MakeWeatherPopupView(NanningReport(), {}, 12);
  const auto& today = v.items[0];
  EXPECT_EQ(today.dayLabel, u"今天");
  EXPECT_EQ(today.icon, u"weather\\day\\cloudysmall.png");
  EXPECT_EQ(today.temperature, u"24~31℃");
  EXPECT_EQ(today.toolTip, u"多云");
  // A compound condition has no picture: the 晴 picture and the word 晴 instead of temperatures.
  const auto& tomorrow = v.items[1];
  EXPECT_EQ(tomorrow.dayLabel, u"明天");
  EXPECT_EQ(tomorrow.icon, u"weather\\day\\sunnysmall.png");
  EXPECT_EQ(tomorrow.temperature, u"晴");
  EXPECT_EQ(tomorrow.toolTip, u"多云转晴");
  const auto& after = v.items[2];
  EXPECT_EQ(after.dayLabel, u"后天");
  EXPECT_EQ(after.icon, u"weather\\lightRainsmall.png");
  EXPECT_EQ(after.temperature, u"22~27℃");
  // Values without the degree sign stay as the page has them.
  WeatherReport bare = NanningReport();
  bare.days[2].night.tempLow = u"-3";
  EXPECT_EQ(MakeWeatherPopupView(bare, {}, 12).items[2].temperature, u"-3~27℃");
  // The fourth item never has data.
  EXPECT_EQ(v.items[3].dayLabel, u"");
  EXPECT_EQ(v.items[3].icon, u"weather\\day\\sunnysmall.png");
  EXPECT_EQ(v.items[3].temperature, u"晴");
  EXPECT_EQ(v.items[3].toolTip, u"");

  // Today from an evening page: the night condition with its day picture, the low alone.
  WeatherReport evening = NanningReport();
  evening.days[0].daytime.weather.clear();
  evening.days[0].daytime.tempHigh.clear();
  WeatherPopupView e = MakeWeatherPopupView(evening, {}, 21);
  EXPECT_EQ(e.items[0].icon, u"weather\\day\\showersmall.png");
  EXPECT_EQ(e.items[0].temperature, u"24℃");
  EXPECT_EQ(e.items[0].toolTip, u"阵雨");

  // A failed run (no source answered): the unavailable state, labels still in place, no made-up
  // sunny items.
  WeatherReport names;
  names.city = u"上海";
  WeatherPopupView empty = MakeWeatherPopupView(names, {}, 12);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(empty.items[i].icon, u"") << i;
    EXPECT_EQ(empty.items[i].temperature, u"") << i;
    EXPECT_EQ(empty.items[i].toolTip, u"天气暂不可用") << i;
  }
  EXPECT_EQ(empty.items[2].dayLabel, u"后天");
  EXPECT_EQ(empty.wind, u"天气暂不可用");
  EXPECT_EQ(empty.temperature, u"");
  EXPECT_EQ(empty.city, u"上海");
  EXPECT_EQ(empty.source, u"");
}

TEST(WeatherPopupView, AirBadgeForEveryLevel) {
  AirBadge good = MakeWeatherPopupView(NanningReport(), NanningAir(u"良", u"60"), 12).air;
  EXPECT_EQ(good.text, u" 良 PM2.5 60");
  EXPECT_TRUE(good.styled);
  EXPECT_EQ(good.background, 0xffffbb17u);
  EXPECT_FALSE(good.blackText);
  EXPECT_EQ((std::array<int, 4>{good.left, good.top, good.right, good.bottom}), (std::array<int, 4>{12, 95, 96, 112}));

  struct Row {
    const char16_t* level;
    uint32_t colour;
    int right;
    bool black;
  };
  const Row rows[] = {{u"优", 0xff81ba2f, 96, false},       {u"良", 0xffffbb17, 96, false},
                      {u"轻度污染", 0xffc67901, 133, false}, {u"中度污染", 0xffeb111b, 133, false},
                      {u"重度污染", 0xffb3065b, 133, false}, {u"严重污染", 0xff600202, 133, true}};
  for (const Row& row : rows) {
    AirBadge b = MakeWeatherPopupView(NanningReport(), NanningAir(row.level, u"123"), 12).air;
    std::u16string level(row.level);
    EXPECT_EQ(b.text, u" " + level + u" PM2.5 123");
    EXPECT_TRUE(b.styled);
    EXPECT_EQ(b.background, row.colour);
    EXPECT_EQ(b.right, row.right);
    EXPECT_EQ(b.left, 12);
    EXPECT_EQ(b.top, 95);
    EXPECT_EQ(b.bottom, 112);
    EXPECT_EQ(b.blackText, row.black);
  }

  // Another word: its text on the skin's label. No value: no badge at all.
  AirBadge odd = MakeWeatherPopupView(NanningReport(), NanningAir(u"未知", u"5"), 12).air;
  EXPECT_EQ(odd.text, u" 未知 PM2.5 5");
  EXPECT_FALSE(odd.styled);
  AirQualityReport computed = NanningAir(u"轻度污染", u"110");  // the default source's China AQI
  computed.source = u"Open-Meteo";
  EXPECT_EQ(MakeWeatherPopupView(NanningReport(), computed, 12).air.text, u" 轻度污染 AQI 110");
  WeatherReport named = NanningReport();
  named.source = u"Open-Meteo";
  EXPECT_EQ(MakeWeatherPopupView(named, {}, 12).source, u"来源 Open-Meteo");
  AirBadge none = MakeWeatherPopupView(NanningReport(), NanningAir(u"良", u""), 12).air;
  EXPECT_EQ(none.text, u"");
  EXPECT_FALSE(none.styled);
  EXPECT_EQ(none.background, 0u);
}

TEST(WeatherPopupView, PlaceAndForecastPage) {
  Anchor bottom{1562, 580, TaskbarEdge::kBottom, true};
  EXPECT_EQ(PlaceWeatherPopup(bottom, 534), (tvui::Rect{1366, 539, 1562, 744}));
  Anchor left{60, 0, TaskbarEdge::kLeft, true};
  EXPECT_EQ(PlaceWeatherPopup(left, 20), (tvui::Rect{418, 25, 614, 230}));
  Anchor top{1562, 40, TaskbarEdge::kTop, true};
  EXPECT_EQ(PlaceWeatherPopup(top, 40).left, 1366);
  // At 150 % the size, the gap below the window's top and the main window's width all scale;
  // the pop-up still ends exactly at the anchor (bottom) or starts at the window's right edge.
  const tvui::Scale x150(144);
  Anchor bottom150{2343, 870, TaskbarEdge::kBottom, true};
  EXPECT_EQ(PlaceWeatherPopup(bottom150, 801, x150), (tvui::Rect{2049, 809, 2343, 1117}));
  Anchor left150{90, 0, TaskbarEdge::kLeft, true};
  EXPECT_EQ(PlaceWeatherPopup(left150, 30, x150), (tvui::Rect{627, 38, 921, 346}));

  EXPECT_EQ(ForecastPageUrl(u"http://127.0.0.1:8731", u"101300101"),
            u"http://127.0.0.1:8731/weather/101300101.shtml");
  EXPECT_EQ(ForecastPageUrl(u"", u"101300101"), u"") << "no forecast site configured";
  EXPECT_EQ(ForecastPageUrl(u"http://h", u""), u"");
}
