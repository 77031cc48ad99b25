// Every shipped station has coordinates, inside China and near its province's capital.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "platform/database.h"
#include "weather/city_codes.h"
#include "weather/city_coordinates.h"
#include "weather_test_env.h"
#include "tests/support/db_text.h"

namespace {

struct Capital {
  double latitude, longitude, radiusKm;  // how far the province's stations may lie from it
};

// The capitals by atlas, with room for the province's size.
const std::map<std::u16string, Capital> kCapitals = {
    {u"北京", {39.90, 116.41, 120}},   {u"上海", {31.23, 121.47, 100}},  {u"天津", {39.13, 117.20, 120}},
    {u"重庆", {29.56, 106.55, 350}},   {u"黑龙江", {45.80, 126.53, 900}}, {u"吉林", {43.82, 125.32, 500}},
    {u"辽宁", {41.80, 123.43, 450}},   {u"内蒙古", {40.84, 111.75, 1600}}, {u"河北", {38.04, 114.51, 550}},
    {u"山西", {37.87, 112.55, 400}},   {u"陕西", {34.27, 108.94, 550}},  {u"山东", {36.65, 117.12, 500}},
    {u"新疆", {43.83, 87.62, 1500}},   {u"西藏", {29.65, 91.13, 1200}},  {u"青海", {36.62, 101.78, 900}},
    {u"甘肃", {36.06, 103.83, 1000}},  {u"宁夏", {38.49, 106.23, 350}},  {u"河南", {34.75, 113.62, 450}},
    {u"江苏", {32.06, 118.80, 450}},   {u"湖北", {30.59, 114.31, 550}},  {u"浙江", {30.27, 120.15, 400}},
    {u"安徽", {31.82, 117.23, 450}},   {u"福建", {26.07, 119.30, 450}},  {u"江西", {28.68, 115.86, 450}},
    {u"湖南", {28.23, 112.94, 450}},   {u"贵州", {26.65, 106.63, 400}},  {u"四川", {30.57, 104.07, 800}},
    {u"广东", {23.13, 113.26, 500}},   {u"云南", {25.04, 102.71, 700}},  {u"广西", {22.82, 108.37, 500}},
    {u"海南", {20.04, 110.34, 450}},   {u"香港", {22.32, 114.17, 50}},   {u"澳门", {22.19, 113.54, 30}},
    {u"台湾", {25.03, 121.56, 400}},
};

double DistanceKm(double lat1, double lon1, double lat2, double lon2) {
  constexpr double kRad = 3.14159265358979323846 / 180;
  double a = std::pow(std::sin((lat2 - lat1) * kRad / 2), 2) +
             std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::pow(std::sin((lon2 - lon1) * kRad / 2), 2);
  return 2 * 6371 * std::asin(std::sqrt(a));
}

TEST(CityCoordinates, EveryShippedStationLiesInItsProvince) {
  ScratchUserData data;
  ASSERT_TRUE(data.Copied());
  std::vector<std::u16string> codes = SplitRows(tvtest::RowsText(u"select code from weathercode"));
  ASSERT_GT(codes.size(), 300u);
  for (const std::u16string& code : codes) {
    std::string shown(code.begin(), code.end());
    GeoPoint p;
    ASSERT_TRUE(LookupCityCoordinates(code, p)) << shown;
    // China's extent: 3.5 to 53.6 degrees north, 73.5 to 135.1 east.
    EXPECT_TRUE(p.latitude > 3.5 && p.latitude < 53.6 && p.longitude > 73.5 && p.longitude < 135.1) << shown;
    auto capital = kCapitals.find(LookupProvinceName(code));
    ASSERT_NE(capital, kCapitals.end()) << shown;
    EXPECT_LT(DistanceKm(p.latitude, p.longitude, capital->second.latitude, capital->second.longitude),
              capital->second.radiusKm)
        << shown;
  }
  // Spot checks against the atlas: the city proper within 40 km.
  const std::pair<const char16_t*, Capital> known[] = {{u"101020100", {31.23, 121.47, 40}},
                                                       {u"101010100", {39.90, 116.41, 40}},
                                                       {u"101050101", {45.80, 126.53, 40}},
                                                       {u"101270101", {30.57, 104.07, 40}}};
  for (const auto& [code, at] : known) {
    GeoPoint p;
    ASSERT_TRUE(LookupCityCoordinates(code, p));
    EXPECT_LT(DistanceKm(p.latitude, p.longitude, at.latitude, at.longitude), at.radiusKm);
  }
  GeoPoint none;
  EXPECT_FALSE(LookupCityCoordinates(u"101999999", none));  // logged, never guessed
  EXPECT_FALSE(LookupCityCoordinates(u"' or 1=1 --", none));
}

}  // namespace
