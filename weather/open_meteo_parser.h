#pragma once
// The default source's JSON answers (a forecast and an air-quality service with the documented
// Open-Meteo contract), read with JsonCpp. Times are local to the city ("2026-12-07T14:00"), the
// forecast's wind speeds m/s; a null or missing value counts as unknown, never as 0.
#include <string>
#include <string_view>

#include "weather/china_aqi.h"
#include "weather/weather_report.h"

// The forecast answer to OpenMeteoForecastQuery(): current temperature, wind and weather from
// "current"; from "hourly" the four 6-hour periods (blocks starting at 02, 08, 14 and 20 o'clock,
// the first one holding the current hour) and seven days from today, each with its daytime half
// (08:00 to 20:00) and its night half (20:00 to 08:00 the next morning). A half's weather is the
// most severe code of its hours, its wind the strongest hour's; the day has the daytime half's
// highest temperature, the night the night half's lowest. Replaces the current values, the periods
// and the days. False for a body that is no such answer (not JSON, an error object, no hourly
// times) or that carries nothing to show.
bool ParseOpenMeteoForecast(std::string_view body, WeatherReport& report);

// The air-quality answer to OpenMeteoAirQuery(): the hourly values of "current", the particles'
// 24-hour averages and O3's moving 8-hour average from the hourly series up to the current hour
// (an average needs 20 of its 24, and 6 of its 8, hours; particles without one are judged by the
// hourly value). False when the body is no such answer or has no value at all.
bool ParseOpenMeteoAir(std::string_view body, PollutantReadings& readings);

// The query strings (after the base address) of the two requests for a place.
std::u16string OpenMeteoForecastQuery(double latitude, double longitude);
std::u16string OpenMeteoAirQuery(double latitude, double longitude);

// Wind as the pages write it: the direction's word then the force on the Beaufort scale, e.g.
// "东北风3级"; "微风" below force 3; empty when the speed is unknown. An unknown direction at
// force 3 or more gives the force alone.
std::u16string WindText(double directionDegrees, double speedMs);
