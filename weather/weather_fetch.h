#pragma once
// Fetching the forecast from the two weather sites into a report (on the weather worker's thread).
#include <string>
#include <string_view>

#include "weather/weather_report.h"

// Forecast site ("svc_forecast"): "/data/ks/<code>.html" (current conditions) and
// "/weather/<code>.shtml" (forecast page), both UTF-8. True only when the page's life-index
// section was read. Also sets city, province and fetchDate.
bool FetchFromForecastSite(std::u16string_view code, WeatherReport& report);

// Second site ("svc_weather2"): POST "/t/q.php" names the page, which is GBK. True only when its
// life-index section was read. Report untouched when the page cannot be located.
bool FetchFromSecondSite(std::u16string_view code, WeatherReport& report);

// Address of the second site's page for the names, from the Location header of its city search;
// empty when the search fails or names no page.
std::u16string LocateSecondSitePage(std::u16string_view city, std::u16string_view province);
