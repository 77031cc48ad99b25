#pragma once
// The weather and air-quality records shared between the weather worker and the windows.
// Every value is display text exactly as found on the pages; an empty string means missing.
#include <array>
#include <string>

struct WeatherSlot {
  std::u16string weather;   // condition text, e.g. 晴
  std::u16string wind;      // direction followed by force
  std::u16string tempLow;
  std::u16string tempHigh;
  std::u16string extra;

  bool operator==(const WeatherSlot&) const = default;
};

struct WeatherDay {
  WeatherSlot daytime;  // weather, wind, tempHigh
  WeatherSlot night;    // weather, wind, tempLow

  bool operator==(const WeatherDay&) const = default;
};

struct LifeIndexPair {
  std::u16string name;
  std::u16string value;

  bool operator==(const LifeIndexPair&) const = default;
};

constexpr int kPeriodCount = 4;
constexpr int kLifeIndexCount = 13;
constexpr int kDayCount = 7;
// The forecast site fills pairs 0..8 in page order; the second site fills these pairs with its
// nine entries in page order.
constexpr std::array<int, 9> kSecondSiteLifePairs = {1, 9, 3, 7, 10, 6, 11, 4, 12};

struct WeatherReport {
  std::u16string city;
  std::u16string province;
  std::u16string fetchDate;            // "%4d-%02d-%02d"
  std::u16string currentTemperature;   // e.g. 25℃
  std::u16string currentWind;          // direction immediately followed by force
  std::array<WeatherSlot, kPeriodCount> periods;
  std::array<LifeIndexPair, kLifeIndexCount> lifeIndex;
  std::array<WeatherDay, kDayCount> days;  // 0 = today
  // Which source answered this refresh, as shown to the user (a site's host name, or the default
  // source's name); empty when none did: the weather is then unavailable, whatever names are set.
  std::u16string source;

  bool operator==(const WeatherReport&) const = default;
};

// One city's air quality, as a ranking page lists it.
struct AirQualityReport {
  std::u16string city;   // the name as written on the ranking page
  std::u16string index;  // the index value (digits)
  std::u16string level;  // the level word (优 … 严重污染); empty: no air-quality data is known
  std::u16string primary;  // the primary pollutants when the source names them, e.g. "PM2.5"
  std::u16string source;   // which source answered (see WeatherReport::source)

  bool Known() const { return !level.empty(); }
  bool operator==(const AirQualityReport&) const = default;
};
// A row of a ranking page.
using AirQualityEntry = AirQualityReport;
