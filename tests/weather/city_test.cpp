// City codes, city lists, the recent-city list and the current city, on a copy of user.dat.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "platform/clock.h"
#include "platform/database.h"
#include "platform/user_data.h"
#include "platform/user_config.h"
#include "weather/city_codes.h"
#include "weather/city_switch.h"
#include "weather/current_city.h"
#include "weather/ip_location.h"
#include "weather_test_env.h"
#include "tests/support/db_text.h"

namespace {

class CityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(data_.Copied()) << "user.dat missing beside the test program";
    for (auto key : {u"svc_forecast", u"svc_weather2", u"svc_air", u"svc_iplocation", u"svc_meteo", u"svc_meteo_air"}) {
      SetUserConfig(u"", key);
    }
  }
  ScratchUserData data_;
};

TEST(SplitRows, Separators) {
  EXPECT_TRUE(SplitRows(u"").empty());
  EXPECT_EQ(SplitRows(u"a"), (std::vector<std::u16string>{u"a"}));
  EXPECT_EQ(SplitRows(u"a\r\n\r\nb"), (std::vector<std::u16string>{u"a", u"", u"b"}));
  EXPECT_EQ(SplitRows(u"a\r\nb\r\n"), (std::vector<std::u16string>{u"a", u"b"}));
  EXPECT_EQ(LetteredEntryName(u"S 上海"), u"上海");
  EXPECT_EQ(LetteredEntryName(u"S"), u"");
}

TEST_F(CityTest, ShippedCodes) {
  EXPECT_EQ(LookupCityCode(u"上海", u"上海"), u"101020100");
  EXPECT_EQ(LookupCityCode(u"北京", u"北京"), u"101010100");
  EXPECT_EQ(LookupCityCode(u"天津", u"天津"), u"101030100");
  EXPECT_EQ(LookupCityCode(u"重庆", u"重庆"), u"101040100");
  EXPECT_EQ(LookupCityCode(u"广东", u"广州"), u"101280101");
  EXPECT_EQ(LookupCityName(u"101280601"), u"深圳");
  EXPECT_EQ(LookupProvinceName(u"101280601"), u"广东");
  EXPECT_EQ(LookupCityCode(u"广东", u"上海"), u"");
  EXPECT_EQ(LookupCityCode(u"上'海", u"x' or '1'='1"), u"");  // quotes stay inside the values
}

TEST_F(CityTest, ListsByLetter) {
  std::vector<std::u16string> provinces = ListProvinces();
  EXPECT_EQ(provinces.size(), 34u);
  EXPECT_NE(std::find(provinces.begin(), provinces.end(), u"S 上海"), provinces.end());
  EXPECT_NE(std::find(provinces.begin(), provinces.end(), u"C 重庆"), provinces.end());
  EXPECT_TRUE(std::is_sorted(provinces.begin(), provinces.end(),
                             [](const auto& a, const auto& b) { return a[0] < b[0]; }));
  std::vector<std::u16string> cities = ListCities(u"广东");
  EXPECT_EQ(cities.size(), 21u);
  EXPECT_NE(std::find(cities.begin(), cities.end(), u"S 深圳"), cities.end());
  EXPECT_TRUE(ListCities(u"没有").empty());
}

// A clock that moves one second forward at every reading, so each addition is newer than the last.
SystemTime SteppingClock() {
  static std::atomic<int> ticks{0};
  const int n = ticks++ % 3600;
  return SystemTime{2024, 3, 0, 1, 8, static_cast<uint16_t>(n / 60), static_cast<uint16_t>(n % 60), 0};
}

TEST_F(CityTest, RecentCitiesKeepSixNewestFirst) {
  SetLocalClock(&SteppingClock);
  AddToMyCities(u"广东", u"深圳");
  AddToMyCities(u"北京", u"北京");
  AddToMyCities(u"广东", u"深圳");  // moved to the front, not doubled
  EXPECT_EQ(ListMyCities(), (std::vector<CityPair>{{u"广东", u"深圳"}, {u"北京", u"北京"}}));
  AddToMyCities(u"广东", u"火星");  // unknown: not added
  EXPECT_EQ(ListMyCities().size(), 2u);

  const char16_t* more[][2] = {{u"上海", u"上海"}, {u"天津", u"天津"}, {u"重庆", u"重庆"},
                               {u"广东", u"广州"}, {u"浙江", u"杭州"}};
  for (auto& c : more) AddToMyCities(c[0], c[1]);
  EXPECT_EQ(ListMyCities(), (std::vector<CityPair>{{u"浙江", u"杭州"}, {u"广东", u"广州"}, {u"重庆", u"重庆"},
                                                   {u"天津", u"天津"}, {u"上海", u"上海"}, {u"广东", u"深圳"}}));  // the oldest went

  // The newest city added again: nothing is written, its time stays.
  const std::u16string newestTime = tvtest::FirstText(u"select addtime from mycity where city = '杭州'");
  AddToMyCities(u"浙江", u"杭州");
  EXPECT_EQ(tvtest::FirstText(u"select addtime from mycity where city = '杭州'"), newestTime);
  // ... but a list that is not as the program keeps it (a second row of the newest city, a seventh
  // city) is put right as before.
  tvtest::Sql(u"insert into mycity (prov,city,addtime) values ('浙江','杭州','2000-01-01 00:00:00')");
  AddToMyCities(u"浙江", u"杭州");
  EXPECT_EQ(tvtest::FirstText(u"select count(*) from mycity where city = '杭州'"), u"1");
  tvtest::Sql(u"insert into mycity (prov,city,addtime) values ('湖北','武汉','2000-01-01 00:00:00')");
  AddToMyCities(u"浙江", u"杭州");
  EXPECT_EQ(ListMyCities().size(), 6u);
  EXPECT_EQ(ListMyCities().front(), (CityPair{u"浙江", u"杭州"}));

  // Names holding a comma come back as the pair that was stored, not split at the comma.
  tvtest::Sql(u"insert into weathercode (code,province,city,letter) values ('109999999','省,甲','市,乙','S')");
  AddToMyCities(u"省,甲", u"市,乙");
  SetLocalClock(nullptr);
  EXPECT_EQ(ListMyCities().front(), (CityPair{u"省,甲", u"市,乙"}));
}

// Names of any length are looked up and kept (statements once went into fixed buffers, and a
// long one was skipped without a word).
TEST_F(CityTest, LongNamesAreLookedUpAndKept) {
  const std::u16string province(80, u'省'), city = std::u16string(120, u'市') + u"'";
  tvtest::Sql(u"insert into weathercode (code,province,city,letter) values ('109999998',?1,?2,'C')", {province, city});
  EXPECT_EQ(LookupCityCode(province, city), u"109999998");
  EXPECT_EQ(LookupCityName(u"109999998"), city);
  EXPECT_EQ(ListCities(province), (std::vector<std::u16string>{u"C " + city}));
  AddToMyCities(province, city);
  EXPECT_EQ(ListMyCities().front(), (CityPair{province, city}));
}

TEST_F(CityTest, LoadCurrentCityFallsBackWithoutWriting) {
  LoadCurrentCity();
  CurrentCity c = GetCurrentCity();
  EXPECT_EQ(c.province, u"上海");
  EXPECT_EQ(c.city, u"上海");
  EXPECT_EQ(c.code, u"101020100");
  EXPECT_EQ(GetUserConfig(u"province"), u"");  // nothing written back

  SetUserConfig(u"广东", u"province");
  SetUserConfig(u"深圳", u"city");
  LoadCurrentCity();
  EXPECT_EQ(GetCurrentCity().code, u"101280601");

  SetUserConfig(u"广东", u"province");
  SetUserConfig(u"纽约", u"city");
  LoadCurrentCity();
  EXPECT_EQ(GetCurrentCity().code, u"101020100");
}

TEST_F(CityTest, SwitchCityPersistsOnlyKnownPairs) {
  PostedMessages posted;
  SetCurrentCity({u"上海", u"上海", u"101020100"});
  EXPECT_TRUE(SwitchCity(u"深圳", u"广东"));
  EXPECT_EQ(GetCurrentCity().code, u"101280601");
  EXPECT_EQ(GetUserConfig(u"province"), u"广东");
  EXPECT_EQ(GetUserConfig(u"city"), u"深圳");
  ASSERT_TRUE(WaitForWeatherIdle(60000));
  EXPECT_TRUE(posted.WaitFor(1));  // a refresh ran (no services configured: it ends at once)

  EXPECT_TRUE(SwitchCity(u"纽约", u"美国"));
  EXPECT_EQ(GetCurrentCity().code, u"101280601");
  EXPECT_EQ(GetUserConfig(u"city"), u"深圳");
  ASSERT_TRUE(WaitForWeatherIdle(60000));
  EXPECT_TRUE(posted.WaitFor(2));  // still refreshed, for the unchanged city

  SetCurrentCity({u"", u"", u""});
  EXPECT_TRUE(SwitchCity(u"", u""));
  EXPECT_EQ(GetCurrentCity().code, u"101020100");
  EXPECT_EQ(GetUserConfig(u"province"), u"上海");
  ASSERT_TRUE(WaitForWeatherIdle(60000));
  EXPECT_TRUE(posted.WaitFor(3));

  EXPECT_FALSE(SelectCity(u"火星", u"浙江"));  // no code: nothing changes
  EXPECT_EQ(GetCurrentCity().code, u"101020100");
  EXPECT_TRUE(SelectCity(u"杭州", u"浙江"));
  EXPECT_EQ(GetCurrentCity().code, u"101210101");
  EXPECT_EQ(GetUserConfig(u"city"), u"上海");  // selecting stores nothing
  EXPECT_TRUE(WaitForWeatherIdle(60000));
}

TEST_F(CityTest, NoServicesConfiguredGivesNamesAndDateOnly) {
  PostedMessages posted;
  SetCurrentCity({u"广东", u"深圳", u"101280601"});
  ASSERT_TRUE(StartWeatherWorker());
  ASSERT_TRUE(posted.WaitFor(1));
  ASSERT_TRUE(WaitForWeatherIdle(60000));
  WeatherReport r = CurrentWeatherReport();
  EXPECT_EQ(r.city, u"深圳");
  EXPECT_EQ(r.province, u"广东");
  EXPECT_EQ(r.fetchDate.size(), 10u);
  EXPECT_EQ(r.days[0], WeatherDay{});
  EXPECT_EQ(CurrentAirQualityReport(), AirQualityReport{});
}

}  // namespace

namespace {

// Start-up loads the stored city once the database is open.
TEST_F(CityTest, EveryShippedPlaceIsFoundFromTheServiceNames) {
  // The service writes provinces in full and cities with their ending (市, 盟, 地区, 自治州).
  auto full = [](const std::u16string& p) -> std::u16string {
    static const std::pair<std::u16string_view, std::u16string_view> special[] = {
        {u"内蒙古", u"内蒙古自治区"},     {u"广西", u"广西壮族自治区"}, {u"西藏", u"西藏自治区"},
        {u"宁夏", u"宁夏回族自治区"},     {u"新疆", u"新疆维吾尔自治区"}, {u"香港", u"香港特别行政区"},
        {u"澳门", u"澳门特别行政区"}};
    for (const auto& [s, f] : special)
      if (p == s) return std::u16string(f);
    for (std::u16string_view m : {u"北京", u"天津", u"上海", u"重庆"})
      if (p == m) return p + u"市";
    return p + u"省";
  };
  std::vector<std::u16string> provinces = ListProvinces();
  ASSERT_EQ(provinces.size(), 34u);
  int cities = 0;
  for (const std::u16string& entry : provinces) {
    std::u16string province = LetteredEntryName(entry);
    std::u16string found = NormaliseIpProvinceName(full(province));
    ASSERT_EQ(found, province);
    std::vector<std::u16string> names;
    for (const std::u16string& c : ListCities(found)) names.push_back(LetteredEntryName(c));
    for (const std::u16string& city : names) {
      ++cities;
      EXPECT_EQ(MatchIpCityName(city + u"市", names), city);
      EXPECT_FALSE(LookupCityCode(found, MatchIpCityName(city + u"市", names)).empty());
    }
  }
  EXPECT_GT(cities, 300);
  // The IP service's names of some prefectures.
  auto match = [](std::u16string_view province, std::u16string_view city) {
    std::vector<std::u16string> names;
    for (const std::u16string& c : ListCities(province)) names.push_back(LetteredEntryName(c));
    return MatchIpCityName(city, names);
  };
  EXPECT_EQ(match(u"吉林", u"延边朝鲜族自治州"), u"延边");
  EXPECT_EQ(match(u"湖北", u"恩施土家族苗族自治州"), u"恩施");
  EXPECT_EQ(match(u"内蒙古", u"锡林郭勒盟"), u"锡林郭勒");
  EXPECT_EQ(match(u"黑龙江", u"大兴安岭地区"), u"大兴安岭");
  EXPECT_EQ(match(u"新疆", u"伊犁哈萨克自治州"), u"伊犁");
}

TEST(CityStartup, OpenUserDataLoadsTheStoredCity) {
  std::filesystem::path dir;
  {
    ScratchUserData data;
    ASSERT_TRUE(data.Copied());
    SetUserConfig(u"浙江", u"province");
    SetUserConfig(u"杭州", u"city");
    dir = data.Keep();
  }
  SetCurrentCity({});
  InstallCurrentCityLoader();
  OpenUserDataIn(dir.u16string() + kPathSeparator);
  CurrentCity c = GetCurrentCity();
  CloseUserData();
  ClearDataSteps();
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  EXPECT_EQ(c.code, u"101210101");
  EXPECT_EQ(c.city, u"杭州");
}

}  // namespace
