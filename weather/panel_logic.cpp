#include "weather/panel_logic.h"

#include "weather/weather_icons.h"

namespace {
bool IsMidday(int hour) { return hour >= 10 && hour <= 15; }
}  // namespace

std::u16string CurrentTemperatureText(const WeatherReport& report, int localHour) {
  if (!report.currentTemperature.empty()) return report.currentTemperature;
  const WeatherDay& today = report.days[0];
  return IsMidday(localHour) ? today.daytime.tempHigh : today.night.tempLow;
}

std::u16string CurrentWindText(const WeatherReport& report, int localHour) {
  if (!report.currentWind.empty()) return report.currentWind;
  const WeatherDay& today = report.days[0];
  return IsMidday(localHour) ? today.daytime.wind : today.night.wind;
}

bool IsNightHour(int localHour) { return localHour < 8 || localHour > 19; }

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

std::u16string ShownTemperature(std::u16string_view text) {
  bool digit = false;
  for (char16_t c : text) {
    if (c == u'\uFFFD' || c < u' ') return {};
    digit = digit || (c >= u'0' && c <= u'9');
  }
  return digit ? std::u16string(text) : std::u16string();
}

AirBadge MakeAirBadge(const AirQualityReport& air) {
  AirBadge badge;
  const std::u16string& level = AirLevel(air);
  if (level.empty()) return badge;
  if (level.size() == 1) {
    badge.text = u" 空气质量 " + level;
  } else {
    badge.text = u" " + level + u" " + AirIndexValue(air);
  }
  struct Style {
    std::u16string_view level;
    uint32_t colour;
    int right;
  };
  static constexpr Style kStyles[] = {
      {u"优", 0xff81ba2f, 192},      {u"良", 0xffffbb17, 192},      {u"轻度污染", 0xffc67901, 202},
      {u"中度污染", 0xffeb111b, 202}, {u"重度污染", 0xffb3065b, 202}, {u"严重污染", 0xff600202, 202},
  };
  for (const Style& s : kStyles) {
    if (s.level != level) continue;
    badge.styled = true;
    badge.background = s.colour;
    badge.blackText = s.level == u"严重污染";
    badge.left = 122;
    badge.top = 93;
    badge.right = s.right;
    badge.bottom = 111;
  }
  return badge;
}
