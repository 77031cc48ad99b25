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

const AirLevelStyle* FindAirLevelStyle(std::u16string_view level) {
  static constexpr AirLevelStyle kStyles[] = {
      {u"优", 0xff81ba2f, false, false},      {u"良", 0xffffbb17, false, false},
      {u"轻度污染", 0xffc67901, true, false}, {u"中度污染", 0xffeb111b, true, false},
      {u"重度污染", 0xffb3065b, true, false}, {u"严重污染", 0xff600202, true, true},
  };
  for (const AirLevelStyle& s : kStyles) {
    if (s.level == level) return &s;
  }
  return nullptr;
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
  const AirBadge place{.left = 122, .top = 93, .right = 192, .bottom = 111};
  StyleAirBadge(badge, level, place, 202);
  return badge;
}

void StyleAirBadge(AirBadge& badge, std::u16string_view level, const AirBadge& narrowPlace, int wideRight) {
  const AirLevelStyle* style = FindAirLevelStyle(level);
  if (!style) return;
  badge.styled = true;
  badge.background = style->background;
  badge.blackText = style->blackText;
  badge.left = narrowPlace.left;
  badge.top = narrowPlace.top;
  badge.right = style->wide ? wideRight : narrowPlace.right;
  badge.bottom = narrowPlace.bottom;
}
