#pragma once
// What the main window's weather panel and the seven-day window show, computed without windows.
#include <cstdint>
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

struct WeatherPanelIcon {
  std::u16string icon;     // e.g. "weather\day\sunny.png"; empty when there is no weather at all
  std::u16string toolTip;  // the condition text shown on hover
};
// Today's picture for the panel: by day the daytime condition (the night one when the day has
// none, and the night picture of the night condition when the daytime one has no picture); at
// night the night condition (the daytime one when there is none); when a condition is known but
// none has a picture, 晴 for the time of day (its night picture at night). No condition at all
// (a failed refresh): no picture, rather than a sunny one.
WeatherPanelIcon ChooseWeatherPanelIcon(const WeatherReport& report, int localHour);

// A temperature text as shown: empty when it cannot be one (no digit, or text that did not
// decode, such as "\uFFFD℃").
std::u16string ShownTemperature(std::u16string_view text);

// Badge look of an air-quality level word: its colour, whether the badge is the wide one (the
// four-character levels) and whether the text turns black (严重污染). nullptr for any other word.
struct AirLevelStyle {
  std::u16string_view level;
  uint32_t background;  // ARGB
  bool wide;
  bool blackText;
};
const AirLevelStyle* FindAirLevelStyle(std::u16string_view level);

struct AirBadge {
  std::u16string text;          // empty when no air-quality data is known
  bool styled = false;          // false: keep the label's colour and position
  uint32_t background = 0;      // ARGB
  bool blackText = false;       // 严重污染 sets the text colour 0
  int left = 0, top = 0, right = 0, bottom = 0;
};
// The "airQuality" label: " 空气质量 L" for a one-character level, " L V" otherwise.
AirBadge MakeAirBadge(const AirQualityReport& air);
// Gives a badge its level's colour and place (the right edge of the narrow or the wide badge);
// a word without a look leaves it unstyled.
void StyleAirBadge(AirBadge& badge, std::u16string_view level, const AirBadge& narrowPlace, int wideRight);
