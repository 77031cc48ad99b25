#pragma once
// Picture of a weather condition text, relative to the skin's resources.
#include <string>
#include <string_view>

// "weather\" + icon name + ("small") + ".png" for a condition text of the table (whole-text match;
// day/night pictures for 晴, 多云, 阵雨 and 阵雪), empty for any other text.
std::u16string WeatherIconFile(std::u16string_view condition, bool night, bool small);
