// The default source's answers, written after the documented response layout (parallel hourly
// arrays, "current", nulls for unknown values, an error object), the WMO code table and the
// back-off between failed requests.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "weather/open_meteo_parser.h"
#include "weather/retry_backoff.h"
#include "weather/wmo_codes.h"

namespace {

// Every code of the documented list.
constexpr int kDocumentedCodes[] = {0,  1,  2,  3,  45, 48, 51, 53, 55, 56, 57, 61, 63, 65,
                                    66, 67, 71, 73, 75, 77, 80, 81, 82, 85, 86, 95, 96, 99};

TEST(WmoCodes, EveryDocumentedCodeHasAWord) {
  for (int code : kDocumentedCodes) EXPECT_FALSE(WmoWeatherWord(code).empty()) << code;
  for (int code : {-1, 4, 44, 50, 60, 98, 100}) EXPECT_TRUE(WmoWeatherWord(code).empty()) << code;
  EXPECT_EQ(WmoWeatherWord(0), u"晴");
  EXPECT_EQ(WmoWeatherWord(3), u"阴");
  EXPECT_EQ(WmoWeatherWord(63), u"中雨");
  EXPECT_EQ(WmoWeatherWord(95), u"雷阵雨");
  EXPECT_EQ(WmoWeatherWord(99), u"雷阵雨冰雹");
}

TEST(WindText, DirectionAndForce) {
  EXPECT_EQ(WindText(45, 6.0), u"东北风4级");
  EXPECT_EQ(WindText(350, 3.4), u"北风3级");   // 3.4 m/s starts force 3
  EXPECT_EQ(WindText(180, 3.3), u"微风");      // still force 2
  EXPECT_EQ(WindText(-90, 12.0), u"西风6级");  // any turn of the circle
  EXPECT_EQ(WindText(NAN, 40.0), u"12级");     // unknown direction: the force alone
  EXPECT_EQ(WindText(90, NAN), u"");
}

// A forecast answer for 8 days of hours from 2026-12-07T00:00. The temperature is 20 + day from 08
// to 20 o'clock (22 + day at 14:00) and 5 + day otherwise; the weather 晴 (1) but for the hours
// changed by `edit`; the wind 2 m/s from the north but for 13:00 on the first day (6 m/s, 45°).
std::string ForecastBody(const std::string& current, const std::function<void(int, std::string&, std::string&)>& edit = {}) {
  std::string times, temps, codes, speeds, dirs, rain;
  for (int i = 0; i < 8 * 24; ++i) {
    int day = i / 24, hour = i % 24;
    char t[32];
    std::snprintf(t, sizeof t, "\"2026-12-%02dT%02d:00\"", 7 + day, hour);
    std::string code = "1", temperature = std::to_string(hour >= 8 && hour < 20 ? (hour == 14 ? 22 : 20) + day : 5 + day);
    if (edit) edit(i, code, temperature);
    const char* sep = i ? "," : "";
    times += sep + std::string(t);
    temps += sep + temperature;
    codes += sep + code;
    speeds += sep + std::string(i == 13 ? "6.0" : "2.0");
    dirs += sep + std::string(i == 13 ? "45" : "0");
    rain += sep + std::string(i == 15 ? "1.5" : "0.0");
  }
  return R"({"latitude":31.25,"longitude":121.5,"utc_offset_seconds":28800,"timezone":"Asia/Shanghai",)" + current +
         R"("hourly_units":{"time":"iso8601","temperature_2m":"°C"},"hourly":{"time":[)" + times + "],\"temperature_2m\":[" +
         temps + "],\"weather_code\":[" + codes + "],\"wind_speed_10m\":[" + speeds + "],\"wind_direction_10m\":[" + dirs +
         "],\"precipitation\":[" + rain + "]}}";
}

const std::string kCurrent =
    R"("current":{"time":"2026-12-07T14:15","interval":900,"temperature_2m":18.6,"weather_code":2,)"
    R"("wind_speed_10m":3.5,"wind_direction_10m":180},)";

TEST(DefaultForecast, DocumentedAnswer) {
  auto edit = [](int i, std::string& code, std::string&) {
    if (i == 16) code = "3";           // day 0, 16:00: 阴
    if (i == 24 + 15) code = "63";     // day 1, 15:00: 中雨
    if (i == 3 * 24 + 2) code = "95";  // day 3, 02:00: in day 2's night
    if (i == 24 + 9) code = "null";
    if (i == 24 + 10) code = "4";      // not a documented code: not counted
  };
  WeatherReport r;
  r.lifeIndex[0] = {u"穿衣指数", u"舒适"};
  ASSERT_TRUE(ParseOpenMeteoForecast(ForecastBody(kCurrent, edit), r));
  EXPECT_EQ(r.currentTemperature, u"19℃");
  EXPECT_EQ(r.currentWind, u"南风3级");
  EXPECT_EQ(r.lifeIndex[0].name, u"穿衣指数");  // not the forecast's business

  // Periods from the block holding 14:15: 14-20, 20-02, 02-08, 08-14.
  EXPECT_EQ(r.periods[0].weather, u"阴");
  EXPECT_EQ(r.periods[0].tempHigh, u"22℃");
  EXPECT_EQ(r.periods[0].tempLow, u"20℃");
  EXPECT_EQ(r.periods[0].extra, u"降水量 1.5mm");
  EXPECT_EQ(r.periods[1].tempLow, u"5℃");
  EXPECT_EQ(r.periods[1].tempHigh, u"6℃");  // after midnight: the next day's night values
  EXPECT_EQ(r.periods[3].weather, u"晴");  // 08-14 of the next day: 09:00 null and 10:00's code 4 do not count
  EXPECT_EQ(r.periods[3].extra, u"降水量 0.0mm");

  EXPECT_EQ(r.days[0].daytime.weather, u"阴");
  EXPECT_EQ(r.days[0].daytime.tempHigh, u"22℃");
  EXPECT_EQ(r.days[0].daytime.wind, u"东北风4级");  // the strongest hour's
  EXPECT_EQ(r.days[0].night.weather, u"晴");
  EXPECT_EQ(r.days[0].night.tempLow, u"5℃");
  EXPECT_EQ(r.days[0].night.wind, u"微风");
  EXPECT_EQ(r.days[1].daytime.weather, u"中雨");
  EXPECT_EQ(r.days[2].night.weather, u"雷阵雨");
  EXPECT_EQ(r.days[2].daytime.weather, u"晴");
  EXPECT_EQ(r.days[6].daytime.tempHigh, u"28℃");
  EXPECT_EQ(r.days[6].night.tempLow, u"11℃");  // the 8th day of the answer gives the last night
  EXPECT_TRUE(r.days[0].daytime.tempLow.empty());
}

TEST(DefaultForecast, MissingAndNullValues) {
  WeatherReport r;
  // No "current": today is the first hour's date; current values unknown, the days still there.
  ASSERT_TRUE(ParseOpenMeteoForecast(ForecastBody(""), r));
  EXPECT_TRUE(r.currentTemperature.empty());
  EXPECT_TRUE(r.currentWind.empty());
  EXPECT_EQ(r.days[0].daytime.weather, u"晴");
  EXPECT_EQ(r.periods[0].tempHigh, u"5℃");  // 02-08 block first: midnight lies in 20-02

  // A null current temperature is unknown, never 0℃.
  std::string nullCurrent = R"("current":{"time":"2026-12-08T09:00","temperature_2m":null,"wind_speed_10m":null},)";
  ASSERT_TRUE(ParseOpenMeteoForecast(ForecastBody(nullCurrent), r));
  EXPECT_TRUE(r.currentTemperature.empty());
  EXPECT_TRUE(r.currentWind.empty());
  EXPECT_EQ(r.days[0].daytime.tempHigh, u"23℃");  // today is the 8th: the second day of the answer
  EXPECT_TRUE(r.days[6].night.weather.empty());   // its night runs beyond the answer: not half told

  // Every value null: nothing to show.
  auto allNull = [](int, std::string& code, std::string& temperature) { code = temperature = "null"; };
  EXPECT_FALSE(ParseOpenMeteoForecast(ForecastBody("", allNull), r));
  EXPECT_EQ(r.days[0], WeatherDay{});
}

TEST(DefaultForecast, RefusedBodies) {
  std::string good = ForecastBody(kCurrent);
  const std::string bodies[] = {
      "",
      "[]",
      R"({"error":true,"reason":"Cannot initialize WeatherVariable from invalid String value x for key hourly"})",
      R"({"current":{"time":"2026-12-07T14:15","temperature_2m":18.6}})",  // no hourly part
      R"({"hourly":{"time":[]}})",
      R"({"hourly":{"time":"2026-12-07T00:00","temperature_2m":5}})",
      "<html>502 Bad Gateway</html>",
      good.substr(0, good.size() / 2),  // cut off
  };
  for (const std::string& body : bodies) {
    WeatherReport r;
    r.currentTemperature = u"30℃";  // from an earlier source: not left standing
    EXPECT_FALSE(ParseOpenMeteoForecast(body, r)) << body.substr(0, 60);
    EXPECT_TRUE(r.currentTemperature.empty());
  }
  // Wrong types are unknown values, not failures of the whole answer.
  auto oddTypes = [](int, std::string& code, std::string&) { code = "true"; };
  WeatherReport r;
  ASSERT_TRUE(ParseOpenMeteoForecast(ForecastBody(R"("current":{"time":"2026-12-07T14:00","temperature_2m":"hot"},)", oddTypes), r));
  EXPECT_TRUE(r.currentTemperature.empty());
  EXPECT_TRUE(r.days[0].daytime.weather.empty());
  EXPECT_EQ(r.days[0].daytime.tempHigh, u"22℃");
}

// An air-quality answer: 48 hours from 2026-12-06T00:00, the current hour 2026-12-07T14:00 (index
// 38). PM2.5 is 80 in every hour, O3 100 but 170 in the last 8 hours up to now.
std::string AirBody(const std::string& pm25Hour = "80") {
  std::string times, pm25, o3;
  for (int i = 0; i < 48; ++i) {
    char t[32];
    std::snprintf(t, sizeof t, "\"2026-12-%02dT%02d:00\"", 6 + i / 24, i % 24);
    const char* sep = i ? "," : "";
    times += sep + std::string(t);
    pm25 += sep + (i == 30 || i == 31 || i == 32 || i == 33 || i == 34 ? pm25Hour : std::string("80"));
    o3 += sep + std::string(i > 30 && i <= 38 ? "170" : "100");
  }
  return R"({"latitude":39.9,"longitude":116.4,"current":{"time":"2026-12-07T14:00","interval":3600,"pm2_5":200,)"
         R"("pm10":40,"ozone":170,"nitrogen_dioxide":30,"sulphur_dioxide":null,"carbon_monoxide":1000},)"
         R"("hourly_units":{"pm2_5":"μg/m³"},"hourly":{"time":[)" + times + "],\"pm2_5\":[" + pm25 + "],\"ozone\":[" + o3 + "]}}";
}

TEST(DefaultAir, DocumentedAnswer) {
  PollutantReadings r;
  ASSERT_TRUE(ParseOpenMeteoAir(AirBody(), r));
  EXPECT_DOUBLE_EQ(r.pm25Day, 80);  // the 24-hour average, not the hour's 200
  EXPECT_DOUBLE_EQ(r.pm10Day, 40);  // no hourly series: the hour's value
  EXPECT_DOUBLE_EQ(r.o3EightHours, 170);
  EXPECT_DOUBLE_EQ(r.o3Hour, 170);
  EXPECT_TRUE(std::isnan(r.so2Hour));
  EXPECT_DOUBLE_EQ(r.coHour, 1000);
  ChinaAqi aqi = ComputeChinaAqi(r);
  EXPECT_EQ(aqi.aqi, 110);  // O3's 8-hour index; PM2.5's is 107
  EXPECT_EQ(ChinaAqiLevel(aqi.aqi), u"轻度污染");
  EXPECT_EQ(aqi.primary, std::vector<Pollutant>{Pollutant::kO3});
}

TEST(DefaultAir, GapsNullsAndRefusals) {
  PollutantReadings r;
  // Five unknown hours leave 19 of 24: too few for an average; the hour's value stands in.
  ASSERT_TRUE(ParseOpenMeteoAir(AirBody("null"), r));
  EXPECT_DOUBLE_EQ(r.pm25Day, 200);
  EXPECT_EQ(ComputeChinaAqi(r).aqi, 250);
  EXPECT_FALSE(ParseOpenMeteoAir(R"({"current":{"time":"2026-12-07T14:00","pm2_5":null,"pm10":null}})", r));
  EXPECT_FALSE(ParseOpenMeteoAir(R"({"error":true,"reason":"Latitude must be in range of -90 to 90°."})", r));
  EXPECT_FALSE(ParseOpenMeteoAir(R"({"hourly":{"time":["2026-12-07T14:00"],"pm2_5":[5]}})", r));  // no current
  EXPECT_FALSE(ParseOpenMeteoAir("{\"current\":{\"pm2_5\":", r));
  ASSERT_TRUE(ParseOpenMeteoAir(R"({"current":{"pm2_5":12}})", r));  // no times: the hour alone
  EXPECT_EQ(ComputeChinaAqi(r).aqi, 18);
}

TEST(DefaultSourceQueries, AskForWhatTheParsersRead) {
  std::u16string f = OpenMeteoForecastQuery(31.2164, 121.4841);
  EXPECT_EQ(f.rfind(u"/v1/forecast?latitude=31.2164&longitude=121.4841&", 0), 0u);
  for (const char16_t* part : {u"current=temperature_2m,weather_code,wind_speed_10m,wind_direction_10m",
                               u"hourly=temperature_2m,weather_code,wind_speed_10m,wind_direction_10m,precipitation",
                               u"wind_speed_unit=ms", u"timezone=Asia%2FShanghai", u"forecast_days=8"}) {
    EXPECT_NE(f.find(part), std::u16string::npos);
  }
  std::u16string a = OpenMeteoAirQuery(22.2748, 114.1526);
  EXPECT_EQ(a.rfind(u"/v1/air-quality?latitude=22.2748&longitude=114.1526&", 0), 0u);
  for (const char16_t* part : {u"pm2_5,pm10,ozone,nitrogen_dioxide,sulphur_dioxide,carbon_monoxide", u"past_days=1"}) {
    EXPECT_NE(a.find(part), std::u16string::npos);
  }
}

TEST(RetryBackoff, DoublesToAnHourAndEndsOnSuccess) {
  RetryBackoff b;
  auto t = RetryBackoff::Clock::now();
  EXPECT_TRUE(b.Allowed(t));
  const int expected[] = {1, 2, 4, 8, 16, 32, 60, 60};
  for (int minutes : expected) {
    b.Failed(t);
    EXPECT_EQ(b.Wait().count(), minutes);
    EXPECT_FALSE(b.Allowed(t + std::chrono::minutes(minutes) - std::chrono::seconds(1)));
    t += std::chrono::minutes(minutes);
    EXPECT_TRUE(b.Allowed(t));
  }
  b.Succeeded();
  EXPECT_TRUE(b.Allowed(t));
  b.Failed(t);
  EXPECT_EQ(b.Wait().count(), 1);
}

}  // namespace
