#pragma once
// Readings of the weather report for the present hour (the panel's pictures and the air badge's
// look are the windows' business: app/logic).
#include <string>
#include <string_view>

#include "weather/weather_report.h"

// currentTemperature when known; otherwise today's daytime tempHigh for hours 10..15, else today's
// night tempLow.
std::u16string CurrentTemperatureText(const WeatherReport& report, int localHour);
// currentWind when known; otherwise today's daytime wind for hours 10..15, else today's night wind.
std::u16string CurrentWindText(const WeatherReport& report, int localHour);

// Night is before 08:00 and from 20:00 on.
bool IsNightHour(int localHour);

// A temperature text as shown: empty when it cannot be one (no digit, or text that did not
// decode, such as "\uFFFD℃").
std::u16string ShownTemperature(std::u16string_view text);
