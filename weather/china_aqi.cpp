#include "weather/china_aqi.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, 8> kIndex = {0, 50, 100, 150, 200, 300, 400, 500};

struct Row {
  AqiRow row;
  std::array<double, 8> breakpoints;  // NaN: the row stops before
};

constexpr double kNone = NAN;
const Row kTable[] = {
    {AqiRow::kSo2Day, {0, 50, 150, 475, 800, 1600, 2100, 2620}},
    {AqiRow::kSo2Hour, {0, 150, 500, 650, 800, kNone, kNone, kNone}},
    {AqiRow::kNo2Day, {0, 40, 80, 180, 280, 565, 750, 940}},
    {AqiRow::kNo2Hour, {0, 100, 200, 700, 1200, 2340, 3090, 3840}},
    {AqiRow::kPm10Day, {0, 50, 150, 250, 350, 420, 500, 600}},
    {AqiRow::kCoDay, {0, 2, 4, 14, 24, 36, 48, 60}},
    {AqiRow::kCoHour, {0, 5, 10, 35, 60, 90, 120, 150}},
    {AqiRow::kO3Hour, {0, 160, 200, 300, 400, 800, 1000, 1200}},
    {AqiRow::kO3EightHours, {0, 100, 160, 215, 265, 800, kNone, kNone}},
    {AqiRow::kPm25Day, {0, 35, 75, 115, 150, 250, 350, 500}},
};

// Rounding up, with room for the error of the division (35 µg/m³ is exactly 50).
int RoundUp(double value) { return static_cast<int>(std::ceil(value - 1e-9)); }

}  // namespace

int IndividualAqi(AqiRow row, double c) {
  if (std::isnan(c) || c < 0) return -1;
  const Row* r = std::find_if(std::begin(kTable), std::end(kTable), [&](const Row& t) { return t.row == row; });
  if (r == std::end(kTable)) return -1;
  const auto& bp = r->breakpoints;
  for (size_t i = 1; i < bp.size(); ++i) {
    if (std::isnan(bp[i])) return -1;  // beyond a row that stops early
    if (c <= bp[i]) {
      double slope = static_cast<double>(kIndex[i] - kIndex[i - 1]) / (bp[i] - bp[i - 1]);
      return RoundUp(slope * (c - bp[i - 1]) + kIndex[i - 1]);
    }
  }
  return kIndex.back();
}

std::u16string_view PollutantName(Pollutant p) {
  switch (p) {
    case Pollutant::kPm25: return u"PM2.5";
    case Pollutant::kPm10: return u"PM10";
    case Pollutant::kO3: return u"O3";
    case Pollutant::kNo2: return u"NO2";
    case Pollutant::kSo2: return u"SO2";
    case Pollutant::kCo: return u"CO";
  }
  return {};
}

ChinaAqi ComputeChinaAqi(const PollutantReadings& r) {
  // SO2 above 800 µg/m³ in the hour is judged by its 24-hour average instead.
  int so2 = r.so2Hour > 800 ? IndividualAqi(AqiRow::kSo2Day, r.so2Day) : IndividualAqi(AqiRow::kSo2Hour, r.so2Hour);
  // O3: the larger of the hourly and the 8-hour index; the 8-hour one has none above 800.
  int o3 = std::max(IndividualAqi(AqiRow::kO3Hour, r.o3Hour), IndividualAqi(AqiRow::kO3EightHours, r.o3EightHours));
  const std::pair<Pollutant, int> each[] = {
      {Pollutant::kPm25, IndividualAqi(AqiRow::kPm25Day, r.pm25Day)},
      {Pollutant::kPm10, IndividualAqi(AqiRow::kPm10Day, r.pm10Day)},
      {Pollutant::kO3, o3},
      {Pollutant::kNo2, IndividualAqi(AqiRow::kNo2Hour, r.no2Hour)},
      {Pollutant::kSo2, so2},
      {Pollutant::kCo, IndividualAqi(AqiRow::kCoHour, r.coHour / 1000.0)},
  };
  ChinaAqi out;
  for (const auto& [p, iaqi] : each) out.aqi = std::max(out.aqi, iaqi);
  if (out.aqi > 50) {
    for (const auto& [p, iaqi] : each) {
      if (iaqi == out.aqi) out.primary.push_back(p);
    }
  }
  return out;
}

std::u16string_view ChinaAqiLevel(int aqi) {
  if (aqi < 0) return {};
  if (aqi <= 50) return u"优";
  if (aqi <= 100) return u"良";
  if (aqi <= 150) return u"轻度污染";
  if (aqi <= 200) return u"中度污染";
  if (aqi <= 300) return u"重度污染";
  return u"严重污染";
}
