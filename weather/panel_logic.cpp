#include "weather/panel_logic.h"

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

bool WeatherAvailable(const WeatherReport& report) {
  const WeatherDay& today = report.days[0];
  return !ShownTemperature(report.currentTemperature).empty() || !today.daytime.weather.empty() ||
         !today.night.weather.empty() || !ShownTemperature(today.daytime.tempHigh).empty() ||
         !ShownTemperature(today.night.tempLow).empty();
}

std::u16string WeatherSourceText(const WeatherReport& report) {
  return report.source.empty() ? std::u16string() : u"来源 " + report.source;
}

bool IsNightHour(int localHour) { return localHour < 8 || localHour > 19; }

std::u16string ShownTemperature(std::u16string_view text) {
  bool digit = false;
  for (char16_t c : text) {
    if (c == u'\uFFFD' || c < u' ') return {};
    digit = digit || (c >= u'0' && c <= u'9');
  }
  return digit ? std::u16string(text) : std::u16string();
}
