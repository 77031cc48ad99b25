#pragma once
// China's air quality index (HJ 633-2012) from pollutant concentrations: the individual index of
// each pollutant from the breakpoint table, the index (their maximum), the primary pollutants and
// the level word.
#include <cmath>
#include <string_view>
#include <vector>

// The concentration rows of the breakpoint table. Concentrations are µg/m³, CO's mg/m³.
enum class AqiRow {
  kSo2Day, kSo2Hour, kNo2Day, kNo2Hour, kPm10Day, kCoDay, kCoHour, kO3Hour, kO3EightHours, kPm25Day,
};

// The individual index of a concentration: linear between the breakpoints around it, rounded up
// to a whole number (a concentration on a breakpoint gets that breakpoint's index exactly).
// -1 when the row has no index for it: a negative or missing (NaN) value, SO2's hourly value above
// 800 and O3's 8-hour value above 800 (the table stops there; the caller uses the other row).
// Above the row's last breakpoint the index is 500.
int IndividualAqi(AqiRow row, double concentration);

enum class Pollutant { kPm25, kPm10, kO3, kNo2, kSo2, kCo };
std::u16string_view PollutantName(Pollutant p);  // PM2.5, PM10, O3, NO2, SO2, CO

// What the hourly index is made of; NaN where a value is missing. All µg/m³, as the source
// reports them (CO too: converted to mg/m³ here).
struct PollutantReadings {
  double pm25Day = NAN;  // 24-hour averages of the particles
  double pm10Day = NAN;
  double so2Hour = NAN;
  double so2Day = NAN;   // used only when the hourly value is above 800
  double no2Hour = NAN;
  double coHour = NAN;
  double o3Hour = NAN;
  double o3EightHours = NAN;  // moving 8-hour average; above 800 only the hourly value counts
};

struct ChinaAqi {
  int aqi = -1;                     // -1: no pollutant had an index
  std::vector<Pollutant> primary;  // those with the largest index, only when aqi > 50
};

ChinaAqi ComputeChinaAqi(const PollutantReadings& readings);

// 优 0..50, 良 51..100, 轻度污染 101..150, 中度污染 151..200, 重度污染 201..300, 严重污染 above;
// empty below 0.
std::u16string_view ChinaAqiLevel(int aqi);
