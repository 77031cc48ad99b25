#include "app/logic/weather_icons.h"

#include "weather/panel_logic.h"

namespace {

struct IconRow {
  std::u16string_view condition;
  std::u16string_view day;
  std::u16string_view night;
};

constexpr IconRow kIcons[] = {
    {u"晴", u"day\\sunny", u"night\\sunny"},
    {u"阴", u"overcast", u"overcast"},
    {u"多云", u"day\\cloudy", u"night\\cloudy"},
    {u"阵雨", u"day\\shower", u"night\\shower"},
    {u"雷阵雨", u"thundershower", u"thundershower"},
    {u"雷雨", u"thundershower", u"thundershower"},
    {u"雷阵雨冰雹", u"thundershowerHail", u"thundershowerHail"},
    {u"雨夹雪", u"sleet", u"sleet"},
    {u"小雨", u"lightRain", u"lightRain"},
    {u"中雨", u"moderateRain", u"moderateRain"},
    {u"小到中雨", u"moderateRain", u"moderateRain"},
    {u"大雨", u"heavyRain", u"heavyRain"},
    {u"中到大雨", u"heavyRain", u"heavyRain"},
    {u"暴雨", u"rainstorm", u"rainstorm"},
    {u"大到暴雨", u"rainstorm", u"rainstorm"},
    {u"大暴雨", u"downpour", u"downpour"},
    {u"特大暴雨", u"heavyRainfall", u"heavyRainfall"},
    {u"阵雪", u"day\\snowShower", u"night\\snowShower"},
    {u"小雪", u"lightSnow", u"lightSnow"},
    {u"中雪", u"moderateSnow", u"moderateSnow"},
    {u"小到中雪", u"moderateSnow", u"moderateSnow"},
    {u"大雪", u"heavySnow", u"heavySnow"},
    {u"暴雪", u"heavySnowfall", u"heavySnowfall"},
    {u"雾", u"fog", u"fog"},
    {u"冻雨", u"frost", u"frost"},
    {u"沙尘暴", u"sandstorm", u"sandstorm"},
    {u"浮尘", u"flyAsh", u"flyAsh"},
    {u"流沙", u"quicksand", u"quicksand"},
    {u"强沙尘暴", u"heavySandstorm", u"heavySandstorm"},
    {u"霾", u"haze", u"haze"},
};

}  // namespace

std::u16string WeatherIconFile(std::u16string_view condition, bool night, bool small) {
  for (const IconRow& row : kIcons) {
    if (row.condition != condition) continue;
    std::u16string path = u"weather\\";
    path += night ? row.night : row.day;
    if (small) path += u"small";
    path += u".png";
    return path;
  }
  return {};
}

WeatherPanelIcon ChooseWeatherPanelIcon(const WeatherReport& report, int localHour) {
  const std::u16string& d = report.days[0].daytime.weather;
  const std::u16string& n = report.days[0].night.weather;
  WeatherPanelIcon out;
  if (!IsNightHour(localHour)) {
    out.icon = WeatherIconFile(d.empty() ? n : d, false, false);
    out.toolTip = d;
    if (out.icon.empty()) {
      out.icon = WeatherIconFile(n, true, false);
      out.toolTip = n;
    }
  } else {
    out.icon = WeatherIconFile(n.empty() ? d : n, true, false);
    out.toolTip = n;
  }
  if (out.icon.empty() && (!d.empty() || !n.empty())) out.icon = WeatherIconFile(u"晴", IsNightHour(localHour), false);
  return out;
}
