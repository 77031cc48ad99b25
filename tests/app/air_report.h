#pragma once
// An air-quality report of a city as the views take it, for the tests of the weather views.
#include <string>
#include <utility>

#include "weather/weather_report.h"

namespace tvtest {

inline AirQualityReport AirReport(std::u16string city, std::u16string level, std::u16string index) {
  AirQualityReport a;
  a.city = std::move(city);
  a.index = std::move(index);
  a.level = std::move(level);
  return a;
}

}  // namespace tvtest
