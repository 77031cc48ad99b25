// The city picker's lists and decisions without a window: the current pair on opening, browsing
// provinces, the IP location's pair, the return to the current city, and what confirming does.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/logic/city_picker.h"

namespace {

class FakeDirectory : public CityDirectory {
 public:
  std::vector<std::u16string> provinces{u"B 北京", u"G 广东", u"G 广西", u"L 辽宁", u"S 上海"};
  std::map<std::u16string, std::vector<std::u16string>> cities{
      {u"北京", {u"B 北京", u"C 朝阳", u"H 海淀"}},
      {u"广东", {u"G 广州", u"S 深圳"}},
      {u"广西", {u"G 桂林", u"N 南宁"}},
      {u"辽宁", {u"A 鞍山", u"C 朝阳", u"S 沈阳"}},
      {u"上海", {u"S 上海"}}};

  std::vector<std::u16string> Provinces() override { return provinces; }
  std::vector<std::u16string> Cities(std::u16string_view province) override {
    auto it = cities.find(std::u16string(province));
    return it == cities.end() ? std::vector<std::u16string>{} : it->second;
  }
  bool IsKnown(std::u16string_view province, std::u16string_view city) override {
    for (const std::u16string& entry : Cities(province)) {
      if (entry.substr(2) == city) return true;
    }
    return false;
  }
};

}  // namespace

TEST(CityPicker, OpensOnTheCurrentPairAndBrowsesProvinces) {
  FakeDirectory dir;
  CityPickerModel picker(dir);
  const CityPair current{u"北京", u"朝阳"};
  ASSERT_TRUE(picker.ShowPair({}, current));
  EXPECT_EQ(picker.ProvinceIndex(), 0);
  EXPECT_EQ(picker.CityIndex(), 1);
  EXPECT_EQ(picker.Selected(), current);

  // Another province: its first city, unless the current city's name is one of its cities.
  picker.ChooseProvince(1, current);
  EXPECT_EQ(picker.Cities(), dir.cities[u"广东"]);
  EXPECT_EQ(picker.Selected(), (CityPair{u"广东", u"广州"}));
  picker.ChooseProvince(3, current);
  EXPECT_EQ(picker.Selected(), (CityPair{u"辽宁", u"朝阳"}));
  picker.ChooseCity(2);
  EXPECT_EQ(picker.Selected(), (CityPair{u"辽宁", u"沈阳"}));
  picker.ChooseCity(7);
  picker.ChooseProvince(-1, current);
  EXPECT_EQ(picker.Selected(), (CityPair{u"辽宁", u"沈阳"})) << "indexes out of range change nothing";

  // Hiding brings both combos back to the current city.
  picker.ShowPair({}, current);
  EXPECT_EQ(picker.Selected(), current);
  EXPECT_EQ(picker.Cities(), dir.cities[u"北京"]);

  // A named pair (the IP location's); unknown names fall back to the first entries.
  picker.ShowPair({u"广西", u"南宁"}, current);
  EXPECT_EQ(picker.Selected(), (CityPair{u"广西", u"南宁"}));
  picker.ShowPair({u"广西壮族", u"南宁"}, current);
  EXPECT_EQ(picker.Selected(), (CityPair{u"北京", u"北京"}));
}

TEST(CityPicker, EmptyListsLeaveTheCombosAsTheyWere) {
  FakeDirectory dir;
  CityPickerModel picker(dir);
  const CityPair current{u"上海", u"上海"};
  picker.ShowPair({}, current);
  dir.cities.erase(u"广东");
  picker.ChooseProvince(1, current);
  EXPECT_EQ(picker.Cities(), dir.cities[u"上海"]) << "a province without cities keeps the city list";
  EXPECT_EQ(picker.ProvinceIndex(), 1);

  dir.provinces.clear();
  EXPECT_FALSE(picker.ShowPair({}, current));
  EXPECT_EQ(picker.Provinces().size(), 5u);

  // A fresh picker over a database that answers nothing selects nothing.
  CityPickerModel none(dir);
  EXPECT_FALSE(none.ShowPair({}, current));
  EXPECT_EQ(none.Selected(), (CityPair{}));
}

TEST(CityPicker, ConfirmingDecidesBetweenReturnAndSwitch) {
  const CityPair current{u"上海", u"上海"};
  // The current pair again only returns to the main window: no refresh.
  EXPECT_EQ(DecideCityChoice(current, current, true), CityChoiceOutcome::kReturn);
  EXPECT_EQ(DecideCityChoice({u"广东", u"深圳"}, current, true), CityChoiceOutcome::kSwitch);
  // A pair without a weather code changes nothing: the list must not name a city whose weather
  // is not shown.
  EXPECT_EQ(DecideCityChoice({u"广东", u"上海"}, current, false), CityChoiceOutcome::kUnknownReturn);
  EXPECT_EQ(DecideCityChoice({u"上海", u""}, current, false), CityChoiceOutcome::kUnknownReturn);

  // The current-position button needs both names of the IP location.
  EXPECT_FALSE(CanUseIpLocation(u"", u""));
  EXPECT_FALSE(CanUseIpLocation(u"广西", u""));
  EXPECT_FALSE(CanUseIpLocation(u"", u"南宁"));
  EXPECT_TRUE(CanUseIpLocation(u"广西", u"南宁"));
}
