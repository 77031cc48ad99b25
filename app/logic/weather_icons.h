#pragma once
// The skin's weather pictures: which image of the skin folder shows a condition text.
#include <string>
#include <string_view>

#include "weather/weather_report.h"

// "weather\" + icon name + ("small") + ".png" for a condition text of the table (whole-text match;
// day/night pictures for 晴, 多云, 阵雨 and 阵雪), empty for any other text.
std::u16string WeatherIconFile(std::u16string_view condition, bool night, bool small);

struct WeatherPanelIcon {
  std::u16string icon;     // e.g. "weather\\day\\sunny.png"; empty when there is no weather at all
  std::u16string toolTip;  // the condition text shown on hover
};
// Today's picture for the panel: by day the daytime condition (the night one when the day has
// none, and the night picture of the night condition when the daytime one has no picture); at
// night the night condition (the daytime one when there is none); when a condition is known but
// none has a picture, 晴 for the time of day (its night picture at night). No condition at all
// (a failed refresh): no picture, rather than a sunny one.
WeatherPanelIcon ChooseWeatherPanelIcon(const WeatherReport& report, int localHour);
