#include "app/logic/city_list.h"

namespace {
char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }
bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}
}  // namespace

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
