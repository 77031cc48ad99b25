// The weather refresh against the local service stand-in (started by the CTest fixture): success,
// fallbacks, everything down, overlapping requests, and the IP lookup.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/http_client.h"
#include "platform/user_config.h"
#include "weather/city_switch.h"
#include "weather/current_city.h"
#include "platform/database.h"
#include "weather/ip_location.h"
#include "weather/open_meteo_fetch.h"
#include "weather_test_env.h"
#include "tests/support/db_text.h"

namespace {

// A loopback port where nothing listens: connections are refused at once.
const std::u16string kDown = u"http://127.0.0.1:1";

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(data_.Copied()) << "user.dat missing beside the test program";
    int port = DevServicePort();
    ASSERT_NE(port, 0) << "devservice is not running: run this test through ctest (fixture "
                          "wx_devservice), or start tools/devservice/devservice.py with --port-file "
                          "wx_devservice.port in the test's directory";
    root_ = u"http://127.0.0.1:";
    for (char c : std::to_string(port)) root_ += static_cast<char16_t>(c);
    Configure(u"/_/daytime,date=2026-12-07", u"/_/date=2026-12-07", u"/_/date=2026-12-07");
    ConfigureDefault(u"");
    ResetDefaultSourceBackoff();
    SetUserConfig(root_, u"svc_iplocation");
    SetCurrentCity({u"上海", u"上海", u"101020100"});
  }

  void Configure(const std::u16string& forecast, const std::u16string& weather2, const std::u16string& air) {
    SetUserConfig(Host(forecast), u"svc_forecast");
    SetUserConfig(Host(weather2), u"svc_weather2");
    SetUserConfig(Host(air), u"svc_air");
  }
  void ConfigureDefault(const std::u16string& prefix) {
    SetUserConfig(Host(prefix), u"svc_meteo");
    SetUserConfig(Host(prefix), u"svc_meteo_air");
  }
  std::u16string Host(const std::u16string& prefix) {
    if (prefix == kDown || prefix.empty()) return prefix;
    return root_ + prefix;
  }

  // One refresh for the current city; the report and air quality it published.
  void Refresh() {
    PostedMessages posted;
    ASSERT_TRUE(StartWeatherWorker());
    ASSERT_TRUE(posted.WaitFor(1));
    ASSERT_TRUE(WaitForWeatherIdle(60000));
    EXPECT_EQ(posted.Messages(), std::vector<uint32_t>{UM_WEATHER_UPDATED});
    report_ = CurrentWeatherReport();
    air_ = CurrentAirQualityReport();
  }

  ScratchUserData data_;
  std::u16string root_;
  WeatherReport report_;
  AirQualityReport air_;
};

TEST_F(EndToEnd, ForecastSiteAndAirQuality) {
  Refresh();
  EXPECT_EQ(report_.city, u"上海");
  EXPECT_EQ(report_.province, u"上海");
  EXPECT_EQ(report_.fetchDate.size(), 10u);
  EXPECT_EQ(report_.currentTemperature.back(), u'℃');
  EXPECT_FALSE(report_.currentWind.empty());
  for (const WeatherSlot& p : report_.periods) EXPECT_FALSE(p.weather.empty());
  for (int d = 0; d < 7; ++d) {
    EXPECT_FALSE(report_.days[d].daytime.weather.empty()) << d;
    EXPECT_FALSE(report_.days[d].daytime.wind.empty()) << d;
    EXPECT_EQ(report_.days[d].daytime.tempHigh.back(), u'℃') << d;
    if (d < 6) {
      EXPECT_EQ(report_.days[d].night.tempLow.back(), u'℃') << d;
    }
  }
  EXPECT_EQ(report_.lifeIndex[0].name, u"穿衣指数");
  EXPECT_FALSE(report_.lifeIndex[8].value.empty());
  EXPECT_TRUE(report_.lifeIndex[9].name.empty());
  EXPECT_EQ(air_.city.substr(0, 2), u"上海");
  EXPECT_FALSE(air_.index.empty());
  EXPECT_FALSE(air_.level.empty());
}

TEST_F(EndToEnd, SameCityAndDateGiveTheSameReport) {
  Refresh();
  WeatherReport first = report_;
  Refresh();
  first.currentTemperature = report_.currentTemperature;  // stamped with the service's clock
  EXPECT_EQ(first.days, report_.days);
}

TEST_F(EndToEnd, EveningPageHasNoDaytimeToday) {
  Configure(u"/_/evening,date=2026-12-07", u"/_/date=2026-12-07", u"/_/date=2026-12-07");
  Refresh();
  EXPECT_TRUE(report_.days[0].daytime.weather.empty());
  EXPECT_FALSE(report_.days[0].night.weather.empty());
  EXPECT_FALSE(report_.days[1].daytime.weather.empty());
  EXPECT_FALSE(report_.lifeIndex[0].name.empty());  // no fallback was needed
  EXPECT_TRUE(report_.lifeIndex[1].name == u"洗车指数");
}

TEST_F(EndToEnd, FirstSiteDownUsesSecondSite) {
  Configure(kDown, u"/_/date=2026-12-07", u"/_/date=2026-12-07");
  Refresh();
  EXPECT_EQ(report_.city, u"上海");
  EXPECT_TRUE(report_.currentTemperature.empty());
  for (int d = 0; d < 6; ++d) {
    EXPECT_FALSE(report_.days[d].daytime.weather.empty()) << d;
    EXPECT_FALSE(report_.days[d].night.tempLow.empty()) << d;
  }
  EXPECT_EQ(report_.days[6], WeatherDay{});
  EXPECT_EQ(report_.lifeIndex[1].name, u"穿衣");
  EXPECT_EQ(report_.lifeIndex[9].name, u"晨练");
  EXPECT_TRUE(report_.lifeIndex[0].name.empty());
  EXPECT_FALSE(air_.level.empty());
}

TEST_F(EndToEnd, ErrorPagesAndMissingLifeIndexFallBack) {
  for (const char16_t* forecast : {u"/_/500", u"/_/404", u"/_/garbage", u"/_/down", u"/_/nolife,daytime"}) {
    Configure(forecast, u"/_/date=2026-12-07", u"/_/date=2026-12-07");
    Refresh();
    EXPECT_EQ(report_.lifeIndex[9].name, u"晨练") << std::string(forecast, forecast + 3);
    EXPECT_FALSE(report_.days[5].daytime.weather.empty());
  }
}

TEST_F(EndToEnd, SlowFirstSiteTimesOut) {
  SetHttpTimeouts(2000, 3000);
  Configure(u"/_/timeout", u"/_/date=2026-12-07", u"/_/date=2026-12-07");
  Refresh();
  SetHttpTimeouts(10000, 30000);
  EXPECT_EQ(report_.lifeIndex[9].name, u"晨练");
}

TEST_F(EndToEnd, EverythingDownStillPostsWithNamesAndDate) {
  Configure(kDown, kDown, kDown);
  SetUserConfig(kDown, u"svc_iplocation");
  Refresh();
  EXPECT_EQ(report_.city, u"上海");
  EXPECT_EQ(report_.province, u"上海");
  EXPECT_EQ(report_.fetchDate.size(), 10u);
  WeatherReport onlyNames;
  onlyNames.city = report_.city;
  onlyNames.province = report_.province;
  onlyNames.fetchDate = report_.fetchDate;
  // Pairs 9..12 belong to the second site and keep what an earlier run of this process gave.
  for (int j = 9; j < kLifeIndexCount; ++j) onlyNames.lifeIndex[j] = report_.lifeIndex[j];
  EXPECT_EQ(report_, onlyNames);
  EXPECT_EQ(air_, AirQualityReport{});
}

TEST_F(EndToEnd, CityMissingFromRankingGetsItsProvinceRow) {
  SetCurrentCity({u"上海", u"闵行", u"101020200"});
  Refresh();
  EXPECT_EQ(report_.city, u"闵行");
  EXPECT_EQ(air_.city.substr(0, 2), u"上海");
  EXPECT_FALSE(air_.level.empty());
}

TEST_F(EndToEnd, FirstRankingDownUsesTheAirSite) {
  Configure(u"/_/daytime", u"/_/404", u"/_/date=2026-12-07");
  SetCurrentCity({u"广东", u"深圳", u"101280601"});
  Refresh();
  EXPECT_EQ(air_.city, u"深圳");
  EXPECT_FALSE(air_.index.empty());
  Configure(u"/_/daytime", u"/_/404", u"/_/500");
  Refresh();
  EXPECT_EQ(air_, AirQualityReport{});
}

// Requests arriving while a refresh runs wait for it; readers only ever see whole reports.
TEST_F(EndToEnd, OverlappingRequestsRunOneAfterAnother) {
  Configure(u"/_/slow,daytime", u"/_/slow", u"/_/slow");
  PostedMessages posted;
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0}, seen{0};
  std::thread reader([&] {
    while (!stop) {
      WeatherReport r = CurrentWeatherReport();
      if (r.city.empty()) continue;
      ++seen;
      bool whole = (r.city == u"上海" && r.province == u"上海") || (r.city == u"深圳" && r.province == u"广东");
      if (!whole || r.days[1].daytime.weather.empty() || r.lifeIndex[0].name.empty()) ++torn;
    }
  });
  SetCurrentCity({u"上海", u"上海", u"101020100"});
  ASSERT_TRUE(StartWeatherWorker());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_TRUE(SwitchCity(u"深圳", u"广东"));  // arrives during the first run
  ASSERT_TRUE(posted.WaitFor(2, 60000));
  ASSERT_TRUE(WaitForWeatherIdle(60000));
  stop = true;
  reader.join();
  EXPECT_EQ(posted.Messages().size(), 2u);
  EXPECT_EQ(CurrentWeatherReport().city, u"深圳");  // the later request ran last
  EXPECT_GT(seen.load(), 0);
  EXPECT_EQ(torn.load(), 0);
}

// The default source: with no site configured, with the sites failing, and after its own failures.
TEST_F(EndToEnd, DefaultSourceAnswersWithoutSites) {
  Configure(u"", u"", u"");
  ConfigureDefault(u"/_/date=2026-12-07");
  Refresh();
  EXPECT_EQ(report_.source, u"Open-Meteo");
  EXPECT_EQ(report_.city, u"上海");
  EXPECT_EQ(report_.currentTemperature.back(), u'℃');
  EXPECT_FALSE(report_.currentWind.empty());
  for (const WeatherSlot& p : report_.periods) EXPECT_FALSE(p.weather.empty());
  for (int d = 0; d < 7; ++d) {
    EXPECT_FALSE(report_.days[d].daytime.weather.empty()) << d;
    EXPECT_EQ(report_.days[d].daytime.tempHigh.back(), u'℃') << d;
    EXPECT_EQ(report_.days[d].night.tempLow.back(), u'℃') << d;
  }
  EXPECT_TRUE(report_.lifeIndex[0].name.empty());  // the default source has no life index
  EXPECT_EQ(air_.source, u"Open-Meteo");
  EXPECT_EQ(air_.city, u"上海");
  EXPECT_FALSE(air_.level.empty());
  EXPECT_GT(std::stoi(std::string(air_.index.begin(), air_.index.end())), 0);
}

TEST_F(EndToEnd, SitesAnswerFirstAndTheDefaultSourceWhenTheyFail) {
  ConfigureDefault(u"/_/date=2026-12-07");
  Refresh();
  EXPECT_EQ(report_.source, u"127.0.0.1");  // the forecast site's host
  EXPECT_EQ(air_.source, u"127.0.0.1");
  EXPECT_FALSE(report_.lifeIndex[0].name.empty());

  Configure(u"/_/500", u"/_/404", u"/_/garbage");
  Refresh();
  EXPECT_EQ(report_.source, u"Open-Meteo");
  EXPECT_TRUE(report_.lifeIndex[0].name.empty());  // nothing of the failed sites is left standing
  EXPECT_FALSE(report_.days[6].night.weather.empty());
  EXPECT_EQ(air_.source, u"Open-Meteo");
}

TEST_F(EndToEnd, NoSourceAnswersMeansUnavailableAndTheDefaultSourceBacksOff) {
  Configure(kDown, kDown, kDown);
  ConfigureDefault(u"/_/meteoerror");
  Refresh();
  EXPECT_TRUE(report_.source.empty());
  EXPECT_EQ(report_.days, WeatherReport{}.days);
  EXPECT_TRUE(report_.currentTemperature.empty());
  EXPECT_EQ(air_, AirQualityReport{});

  // Answering again, but within the minute after the failure it is not asked.
  ConfigureDefault(u"/_/date=2026-12-07");
  Refresh();
  EXPECT_TRUE(report_.source.empty());
  ResetDefaultSourceBackoff();
  Refresh();
  EXPECT_EQ(report_.source, u"Open-Meteo");

  // A station without coordinates cannot be asked: unavailable, never a guessed place.
  tvtest::Sql(u"delete from citycoord where code = '101020100'");
  Refresh();
  EXPECT_TRUE(report_.source.empty());
  EXPECT_TRUE(report_.days[0].daytime.weather.empty());
}

TEST_F(EndToEnd, LocateByIpKeepsNamesAsText) {
  std::u16string province, city;
  LocateByIp("202.96.209.5", province, city);
  EXPECT_EQ(province, u"上海");
  EXPECT_EQ(city, u"上海");
  // An autonomous region and an autonomous prefecture: the names of the tables.
  LocateByIp("222.84.0.1", province, city);
  EXPECT_EQ(province, u"广西");
  EXPECT_EQ(city, u"南宁");
  LocateByIp("175.16.0.1", province, city);
  EXPECT_EQ(province, u"吉林");
  EXPECT_EQ(city, u"延边");
  LocateByIp("not-an-ip", province, city);  // the service answers code 1
  EXPECT_TRUE(province.empty());
  EXPECT_TRUE(city.empty());
  SetUserConfig(u"", u"svc_iplocation");
  LocateByIp("202.96.209.5", province, city);
  EXPECT_TRUE(city.empty());
}

TEST(IpLocationReply, ParsesOnlySuccessfulReplies) {
  std::u16string province, city;
  EXPECT_TRUE(ParseIpLocationReply(
      R"({"code":0,"data":{"region":"广西壮族自治区","city":"서울市","isp":"x"}})", province, city));
  // Names outside the GBK code page survive: no round trip through the ANSI code page.
  EXPECT_EQ(NormaliseIpCityName(city), u"서울");
  EXPECT_EQ(NormaliseIpProvinceName(province), u"广西");
  EXPECT_EQ(NormaliseIpCityName(u"北京市"), u"北京");
  std::u16string p2, c2;
  EXPECT_FALSE(ParseIpLocationReply(R"({"code":1,"data":{"region":"a","city":"b"}})", p2, c2));
  EXPECT_FALSE(ParseIpLocationReply(R"({"code":"0","data":{}})", p2, c2));
  EXPECT_FALSE(ParseIpLocationReply(R"({"code":0,"data":{"region":5,"city":"b"}})", p2, c2));
  EXPECT_FALSE(ParseIpLocationReply(R"([1,2])", p2, c2));
  EXPECT_FALSE(ParseIpLocationReply("{\"code\":0,", p2, c2));
  EXPECT_TRUE(p2.empty() && c2.empty());
}

}  // namespace
