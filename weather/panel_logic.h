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

// False when the report holds no weather to show (no current temperature, nothing for today): no
// source answered the last refresh, which leaves only the names. The windows then say
// kWeatherUnavailable rather than show old or made-up numbers.
bool WeatherAvailable(const WeatherReport& report);
inline constexpr std::u16string_view kWeatherUnavailable = u"天气暂不可用";

// "来源 " and the source's name, for the panel's tool tip and the pop-up; empty without a source.
std::u16string WeatherSourceText(const WeatherReport& report);

// Night is before 08:00 and from 20:00 on.
bool IsNightHour(int localHour);

// A temperature text as shown: empty when it cannot be one (no digit, or text that did not
// decode, such as "\uFFFD℃").
std::u16string ShownTemperature(std::u16string_view text);
