#include "app/logic/city_list.h"

#include "platform/text_utils.h"

std::vector<CityListItem> BuildCityList(const CityPair& current, const std::vector<CityPair>& recent) {
  std::vector<CityListItem> items;
  items.push_back({current.city, current});
  for (const CityPair& pair : recent) {
    if (pair.city == current.city) continue;
    items.push_back({pair.city, pair});
  }
  items.push_back({std::u16string(kCustomCityItem), {}});
  return items;
}

CityChoice ChooseCityItem(const CityListItem& item, const CityPair& current) {
  CityChoice choice;
  if (item.text == kCustomCityItem && item.pair == CityPair{}) {
    choice.kind = CityChoice::kPicker;
    return choice;
  }
  choice.pair = item.pair;
  choice.changesCurrent = !EqualsNoCase(choice.pair.province, current.province) ||
                          !EqualsNoCase(choice.pair.city, current.city);
  return choice;
}
