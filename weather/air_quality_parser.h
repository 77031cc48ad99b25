#pragma once
// The two air-quality ranking pages (decoded from GBK) and the level words of the index.
#include <string>
#include <string_view>
#include <vector>

#include "weather/weather_report.h"

// 优 up to 50, 良 to 100, 轻度污染 to 150, 中度污染 to 200, 重度污染 to 300, 严重污染 above;
// the value is the text's leading digits (0 when there are none).
std::u16string AirLevelName(std::u16string_view indexText);

// The ranking page of the second weather site's host. False when the page has no ">1<".
bool ParseAirRankingFirst(std::u16string_view text, std::vector<AirQualityEntry>& entries);
// The air-quality site's "/air/" page. False when its ranking heading or status column is missing.
bool ParseAirRankingSecond(std::u16string_view text, std::vector<AirQualityEntry>& entries);

// Copies the last entry whose name is name, name + 市 or name + 县 (ASCII letters compared without
// case) into report; leaves report untouched when none matches.
void PickAirQuality(const std::vector<AirQualityEntry>& entries, std::u16string_view name,
                    AirQualityReport& report);
