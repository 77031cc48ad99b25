#pragma once
// The window's city list: the current city first, then the recently chosen cities, then the
// entry that opens the city picker. Items carry their province and city as a pair, never as one
// joined text, so names holding a separator stay whole.
#include <string>
#include <string_view>
#include <vector>

#include "weather/city_codes.h"

inline constexpr std::u16string_view kCustomCityItem = u"自定义";

struct CityListItem {
  std::u16string text;  // the city name (or 自定义)
  CityPair pair;        // empty for 自定义
  friend bool operator==(const CityListItem&, const CityListItem&) = default;
};

// Items from the current pair and the recent list (newest first): recent cities whose name
// equals the current one's are left out.
std::vector<CityListItem> BuildCityList(const CityPair& current, const std::vector<CityPair>& recent);

// What choosing an item means.
struct CityChoice {
  enum Kind { kCity, kPicker } kind = kCity;
  CityPair pair;           // kCity: the chosen pair
  bool changesCurrent = false;  // kCity: differs (ignoring case) from the current pair
};
CityChoice ChooseCityItem(const CityListItem& item, const CityPair& current);
