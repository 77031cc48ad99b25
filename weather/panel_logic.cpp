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

bool IsNightHour(int localHour) { return localHour < 8 || localHour > 19; }
