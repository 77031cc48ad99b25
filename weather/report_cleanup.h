#pragma once
// Preparing the shared report before a fetch and tidying it after.
#include "weather/weather_report.h"

// Empties city, province, fetchDate, the periods, the days and life-index pairs 0..8. The current
// values are emptied by the forecast site itself; pairs 9..12 keep the second site's last values.
void ClearReport(WeatherReport& report);

// Trims the names, the date and every life-index text; in periods and day halves trims weather and
// extra, and strips wind, tempLow and tempHigh of surrounding blanks, every "\r\n" and every blank.
void NormaliseReport(WeatherReport& report);
