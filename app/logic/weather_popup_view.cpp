#include "app/logic/weather_popup_view.h"

#include "app/logic/weather_icons.h"
#include "weather/open_meteo_fetch.h"
#include "weather/panel_logic.h"

namespace {

const std::u16string& FirstNonEmpty(const std::u16string& a, const std::u16string& b) {
  return a.empty() ? b : a;
}

// "low~high" for a forecast item, written as the short range "24~31℃" when both carry the
// degree sign: four items share 172 pixels, and "24℃~31℃" is wider than one.
std::u16string TemperatureRange(const std::u16string& low, const std::u16string& high) {
  constexpr std::u16string_view kDegrees = u"℃";
  if (low.ends_with(kDegrees) && high.ends_with(kDegrees)) {
    return low.substr(0, low.size() - kDegrees.size()) + u"~" + high;
  }
  return low + u"~" + high;
}

AirBadge MakePopupAirBadge(const AirQualityReport& air) {
  AirBadge badge;
  const std::u16string& value = air.index;
  if (value.empty()) return badge;
  badge.text = u" " + air.level + (air.source == kDefaultSourceName ? u" AQI " : u" PM2.5 ") + value;
  AirBadge place;
  place.left = 12;
  place.top = 95;
  place.right = 96;
  place.bottom = 112;
  StyleAirBadge(badge, air.level, place, 133);
  return badge;
}

}  // namespace

WeatherPopupView MakeWeatherPopupView(const WeatherReport& report, const AirQualityReport& air,
                                      int localHour) {
  WeatherPopupView view;
  const WeatherDay& today = report.days[0];
  const std::u16string& word = IsNightHour(localHour)
                                   ? FirstNonEmpty(today.night.weather, today.daytime.weather)
                                   : FirstNonEmpty(today.daytime.weather, today.night.weather);
  std::u16string wind = CurrentWindText(report, localHour);
  view.wind = word.empty() ? wind : wind.empty() ? word : word + u" " + wind;

  std::u16string temperature = CurrentTemperatureText(report, localHour);
  view.temperature = temperature.substr(0, temperature.find(u'℃'));
  view.city = report.city;
  view.air = MakePopupAirBadge(air);

  static constexpr std::u16string_view kLabels[] = {u"今天", u"明天", u"后天"};
  for (int i = 0; i < 3; ++i) {
    const WeatherDay& day = report.days[i];
    ForecastItemView& item = view.items[i];
    item.dayLabel = std::u16string(kLabels[i]);
    if (i == 0) {
      item.toolTip = FirstNonEmpty(day.daytime.weather, day.night.weather);
      item.temperature = day.daytime.tempHigh.empty() ? day.night.tempLow
                                                      : TemperatureRange(day.night.tempLow, day.daytime.tempHigh);
    } else {
      item.toolTip = day.daytime.weather;
      item.temperature = TemperatureRange(day.night.tempLow, day.daytime.tempHigh);
    }
    item.icon = WeatherIconFile(item.toolTip, false, true);
  }
  view.source = WeatherSourceText(report);
  if (!WeatherAvailable(report)) {
    view.wind = std::u16string(kWeatherUnavailable);
    view.temperature.clear();
    for (ForecastItemView& item : view.items) {
      item.icon.clear();
      item.temperature.clear();
      item.toolTip = view.wind;
    }
    return view;
  }
  for (ForecastItemView& item : view.items) {
    if (!item.icon.empty()) continue;
    item.icon = WeatherIconFile(u"晴", false, true);
    item.temperature = u"晴";
  }
  return view;
}

tvui::Rect PlaceWeatherPopup(const Anchor& anchor, int mainWindowTop, const tvui::Scale& scale) {
  const int width = scale.ToDevice(kWeatherPopupWidth);
  const int x = anchor.edge == TaskbarEdge::kLeft ? anchor.x + scale.ToDevice(kMainWindowWidth) : anchor.x - width;
  const int y = mainWindowTop + scale.ToDevice(5);
  return {x, y, x + width, y + scale.ToDevice(kWeatherPopupHeight)};
}

std::u16string ForecastPageUrl(std::u16string_view base, std::u16string_view code) {
  if (base.empty() || code.empty()) return {};
  return std::u16string(base) + u"/weather/" + std::u16string(code) + u".shtml";
}
