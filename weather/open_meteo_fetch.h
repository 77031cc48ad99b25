#pragma once
// The default source (on the weather worker's thread): one forecast request and one air-quality
// request per refresh, at the station's coordinates. After a failed request its service is left
// alone for a while (1, 2, 4 … 60 minutes; see RetryBackoff); a refresh meanwhile does without it.
#include <string_view>

#include "weather/weather_report.h"

// The name the panel and the pop-up give the default source.
inline constexpr std::u16string_view kDefaultSourceName = u"Open-Meteo";

// Sets city, province and fetchDate; then the current values, the periods and the days from the
// forecast service ("svc_meteo"). True when the service answered with a forecast.
bool FetchFromDefaultSource(std::u16string_view code, WeatherReport& report);

// China's AQI computed from the air-quality service's ("svc_meteo_air") concentrations: index,
// level word and primary pollutants. Report untouched unless it answered.
bool FetchDefaultAirQuality(std::u16string_view code, std::u16string_view city, AirQualityReport& report);

// Forgets the failures of both services (tests; a changed setting).
void ResetDefaultSourceBackoff();
