#pragma once
// Air quality of one city, picked from a ranking page of many cities.
#include <string_view>
#include <vector>

#include "weather/weather_report.h"

// The ranking of the second weather site's host ("/air-rank.htm"), or when that fails the
// air-quality site's ("svc_air", "/air/"); both GBK. False when neither gave a ranking. base, when
// given, receives the base address of the site that gave it.
bool FetchAirRanking(std::vector<AirQualityEntry>& entries, std::u16string* base = nullptr);

// Clears the report, fetches the ranking and copies the row of the name (name, name + 市 or
// name + 县; the last such row wins), naming the site that gave it as the source.
void FetchAirQuality(std::u16string_view name, AirQualityReport& report);
