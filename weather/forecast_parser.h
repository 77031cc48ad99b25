#pragma once
// Parsers of the forecast site's two documents, working on text already decoded from UTF-8.
#include <string_view>

#include "weather/weather_report.h"

// The current-conditions document: sets currentTemperature (value + "℃") and currentWind
// (WD value followed by WS value); each is left empty when its value is missing or contains 暂.
void ParseCurrentConditions(std::u16string_view text, WeatherReport& report);

// The forecast page: the four 6-hour periods (when the page has them), the seven days and life-index
// pairs 0..8. True only when the life-index section was found and all nine entries read; whatever
// was read before a missing part stays in the report.
bool ParseForecastPage(std::u16string_view text, WeatherReport& report);
