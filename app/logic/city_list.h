#pragma once
// The window's city list: the current city first, then the recently chosen cities, then the
// entry that opens the city picker.
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::u16string_view kCustomCityItem = u"自定义";

struct CityListItem {
  std::u16string text;   // the city name (or 自定义)
  std::u16string entry;  // "province,city" (empty for 自定义)
  friend bool operator==(const CityListItem&, const CityListItem&) = default;
};

struct CityPair {
  std::u16string province;
  std::u16string city;
  friend bool operator==(const CityPair&, const CityPair&) = default;
};
// Splits "province,city" at its first comma; an entry without one is all province.
CityPair SplitCityEntry(std::u16string_view entry);
std::u16string CityEntry(std::u16string_view province, std::u16string_view city);

// Items from the first entry and the recent list ("province,city", newest first): recent cities
// whose name equals the first item's are left out.
std::vector<CityListItem> BuildCityList(std::u16string_view firstEntry,
                                        const std::vector<std::u16string>& recent);

// What choosing an item means.
struct CityChoice {
  enum Kind { kCity, kPicker } kind = kCity;
  CityPair pair;           // kCity: the chosen pair
  bool changesCurrent = false;  // kCity: differs (ignoring case) from the current pair
};
CityChoice ChooseCityItem(const CityListItem& item, const CityPair& current);
