// A weather refresh against services that never answer: the refresh's overall budget and the
// exit's abandon end it, each with the usual message and without sending the requests still to come.
#include <gtest/gtest.h>

#include "platform/http_client.h"
#include "platform/user_config.h"
#include "tests/platform/loopback_server.h"
#include "weather/current_city.h"
#include "weather_test_env.h"

namespace {

class SilentServices : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(data_.Copied()) << "user.dat missing beside the test program";
    std::string root = "http://127.0.0.1:" + std::to_string(server_.Port());
    for (const char16_t* key : {u"svc_forecast", u"svc_weather2", u"svc_air", u"svc_meteo", u"svc_meteo_air"}) {
      SetUserConfig(std::u16string(root.begin(), root.end()), key);
    }
    SetCurrentCity({u"上海", u"上海", u"101020100"});
  }
  void TearDown() override {
    SetWeatherRefreshBudget(0);
    SetHttpTimeouts(0, 0);
  }

  ScratchUserData data_;
  LoopbackServer server_{[](const LoopbackServer::Request&) { return std::string(); }};  // never answers
};

TEST_F(SilentServices, ARefreshEndsWhenItsBudgetIsSpent) {
  // Each request alone could wait ten minutes; the whole refresh may take a second and a half.
  SetHttpTimeouts(600000, 600000);
  SetWeatherRefreshBudget(1500);
  PostedMessages posted;
  ASSERT_TRUE(StartWeatherWorker());
  ASSERT_TRUE(posted.WaitFor(1, 120000)) << "the refresh did not end";
  ASSERT_TRUE(WaitForWeatherIdle(120000));
  EXPECT_EQ(posted.Messages(), std::vector<uint32_t>{UM_WEATHER_UPDATED});
  // The first request used the whole budget; the six after it were never sent.
  EXPECT_EQ(server_.Requests().size(), 1u);
  WeatherReport report = CurrentWeatherReport();
  EXPECT_EQ(report.city, u"上海");
  EXPECT_TRUE(report.days[0].daytime.weather.empty());
  EXPECT_EQ(CurrentAirQualityReport(), AirQualityReport{});
}

TEST_F(SilentServices, AnAbandonedRefreshEndsAtOnceAndDropsTheWaitingOne) {
  SetHttpTimeouts(600000, 600000);
  SetWeatherRefreshBudget(600000);
  PostedMessages posted;
  ASSERT_TRUE(StartWeatherWorker());
  ASSERT_TRUE(StartWeatherWorker());  // waits behind the first
  while (server_.Requests().empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  AbandonWeatherRefresh();
  ASSERT_TRUE(WaitForWeatherIdle(120000)) << "the abandoned refresh did not end";
  EXPECT_EQ(posted.Messages(), std::vector<uint32_t>{UM_WEATHER_UPDATED});
  EXPECT_EQ(server_.Requests().size(), 1u);

  // The next refresh is not abandoned: it sends its first request again.
  SetWeatherRefreshBudget(500);
  ASSERT_TRUE(StartWeatherWorker());
  ASSERT_TRUE(posted.WaitFor(2, 120000));
  ASSERT_TRUE(WaitForWeatherIdle(120000));
  EXPECT_EQ(server_.Requests().size(), 2u);
}

}  // namespace
