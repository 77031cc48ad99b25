#include "app/logic/city_list.h"

#include "platform/text_utils.h"

CityPair SplitCityEntry(std::u16string_view entry) {
  size_t comma = entry.find(u',');
  if (comma == std::u16string_view::npos) return {std::u16string(entry), {}};
  return {std::u16string(entry.substr(0, comma)), std::u16string(entry.substr(comma + 1))};
}

std::u16string CityEntry(std::u16string_view province, std::u16string_view city) {
  return std::u16string(province) + u"," + std::u16string(city);
}

std::vector<CityListItem> BuildCityList(std::u16string_view firstEntry,
                                        const std::vector<std::u16string>& recent) {
  std::vector<CityListItem> items;
  CityPair first = SplitCityEntry(firstEntry);
  items.push_back({first.city, std::u16string(firstEntry)});
  for (const std::u16string& entry : recent) {
    CityPair pair = SplitCityEntry(entry);
    if (pair.city == first.city) continue;
    items.push_back({pair.city, entry});
  }
  items.push_back({std::u16string(kCustomCityItem), {}});
  return items;
}

CityChoice ChooseCityItem(const CityListItem& item, const CityPair& current) {
  CityChoice choice;
  if (item.text == kCustomCityItem && item.entry.empty()) {
    choice.kind = CityChoice::kPicker;
    return choice;
  }
  choice.pair = SplitCityEntry(item.entry);
  choice.changesCurrent = !EqualsNoCase(choice.pair.province, current.province) ||
                          !EqualsNoCase(choice.pair.city, current.city);
  return choice;
}
