#pragma once
// The city picker's lists and decisions without a window: which province and city entries the two
// combos hold and select, and what confirming a pair does. The window mirrors the lists into its
// combos and carries out the outcome.
#include <string>
#include <string_view>
#include <vector>

#include "app/logic/city_list.h"

// Where the names come from: the shipped tables in the program, fixed lists in tests.
class CityDirectory {
 public:
  virtual ~CityDirectory() = default;
  // "letter name" entries (see LetteredEntryName).
  virtual std::vector<std::u16string> Provinces() = 0;
  virtual std::vector<std::u16string> Cities(std::u16string_view province) = 0;
  // True when the pair has a weather-station code.
  virtual bool IsKnown(std::u16string_view province, std::u16string_view city) = 0;
};

class CityPickerModel {
 public:
  explicit CityPickerModel(CityDirectory& directory) : directory_(directory) {}

  // Shows a pair: the province entry named `wanted.province` (the current province when empty,
  // the first entry when none matches) and in its city list the city named `wanted.city` (the
  // current city when empty, else the first). An empty list from the directory leaves that combo
  // as it was. Returns true when the province list was refilled.
  bool ShowPair(const CityPair& wanted, const CityPair& current);
  // The user chose another province: its cities, with the current city selected when it is one
  // of them, else the first. An index out of range changes nothing.
  void ChooseProvince(int index, const CityPair& current);
  // The user chose a city of the shown list.
  void ChooseCity(int index);

  const std::vector<std::u16string>& Provinces() const { return provinces_; }
  const std::vector<std::u16string>& Cities() const { return cities_; }
  int ProvinceIndex() const { return provinceIndex_; }
  int CityIndex() const { return cityIndex_; }
  // Names of the selected entries (empty when a list is empty).
  CityPair Selected() const;

 private:
  void FillCities(std::u16string_view provinceEntry, std::u16string_view city, const CityPair& current);

  CityDirectory& directory_;
  std::vector<std::u16string> provinces_;
  std::vector<std::u16string> cities_;
  int provinceIndex_ = -1;
  int cityIndex_ = -1;
};

// Index of the entry whose name (from its third character on) equals name, else 0; -1 for an
// empty list.
int IndexOfEntryName(const std::vector<std::u16string>& entries, std::u16string_view name);

// What confirming a pair in the picker does.
enum class CityChoiceOutcome {
  kReturn,         // the current pair again: back to the main window, no refresh
  kUnknownReturn,  // a pair without a weather code: nothing changes, back to the main window
  kSwitch,         // make the pair current and refresh its weather
};
CityChoiceOutcome DecideCityChoice(const CityPair& chosen, const CityPair& current, bool known);

// The current-position button works only with both names of the IP location.
inline bool CanUseIpLocation(std::u16string_view province, std::u16string_view city) {
  return !province.empty() && !city.empty();
}
