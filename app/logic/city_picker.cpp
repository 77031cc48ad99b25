#include "app/logic/city_picker.h"

#include "weather/city_codes.h"

int IndexOfEntryName(const std::vector<std::u16string>& entries, std::u16string_view name) {
  if (entries.empty()) return -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (LetteredEntryName(entries[i]) == name) return static_cast<int>(i);
  }
  return 0;
}

bool CityPickerModel::ShowPair(const CityPair& wanted, const CityPair& current) {
  std::vector<std::u16string> provinces = directory_.Provinces();
  if (provinces.empty()) return false;
  provinces_ = std::move(provinces);
  provinceIndex_ = IndexOfEntryName(provinces_, wanted.province.empty() ? current.province : wanted.province);
  FillCities(provinces_[provinceIndex_], wanted.city, current);
  return true;
}

void CityPickerModel::ChooseProvince(int index, const CityPair& current) {
  if (index < 0 || index >= static_cast<int>(provinces_.size())) return;
  provinceIndex_ = index;
  FillCities(provinces_[index], {}, current);
}

void CityPickerModel::ChooseCity(int index) {
  if (index >= 0 && index < static_cast<int>(cities_.size())) cityIndex_ = index;
}

void CityPickerModel::FillCities(std::u16string_view provinceEntry, std::u16string_view city,
                                 const CityPair& current) {
  std::vector<std::u16string> cities = directory_.Cities(LetteredEntryName(provinceEntry));
  if (cities.empty()) return;
  cities_ = std::move(cities);
  cityIndex_ = IndexOfEntryName(cities_, city.empty() ? std::u16string_view(current.city) : city);
}

CityPair CityPickerModel::Selected() const {
  CityPair pair;
  if (provinceIndex_ >= 0 && provinceIndex_ < static_cast<int>(provinces_.size())) {
    pair.province = LetteredEntryName(provinces_[provinceIndex_]);
  }
  if (cityIndex_ >= 0 && cityIndex_ < static_cast<int>(cities_.size())) {
    pair.city = LetteredEntryName(cities_[cityIndex_]);
  }
  return pair;
}

CityChoiceOutcome DecideCityChoice(const CityPair& chosen, const CityPair& current, bool known) {
  if (chosen == current) return CityChoiceOutcome::kReturn;
  return known ? CityChoiceOutcome::kSwitch : CityChoiceOutcome::kUnknownReturn;
}
