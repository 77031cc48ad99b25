// The default source over HTTPS, played by the stand-in with the test certificates of
// make_test_certificates.sh, whose authority is trusted only here: natively the client is told the
// authority's file for this test; under Wine the fixture puts it in the test prefix's root store
// while the stand-in runs (devservice_fixture.sh ... wine), since WinHTTP there reads the trusted
// roots at the program's start. A certificate for another name, or from an authority not trusted,
// is refused: no weather, never a plain-text retry.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/http_client.h"
#include "platform/user_config.h"
#include "weather/current_city.h"
#include "weather/open_meteo_fetch.h"
#include "weather_test_env.h"


namespace {

int TlsPort() {
  std::ifstream in("wx_devservice_tls.port");
  int port = 0;
  in >> port;
  return port;
}

// Trust in the test authority for as long as it lives.
class TestAuthority {
 public:
  TestAuthority() {
#if defined(_WIN32)
    ok_ = std::ifstream("wx_tls/ca.der").good();  // trusted by the fixture for this run
#else
    ok_ = std::ifstream("wx_tls/ca.pem").good();
    SetHttpTrustedCertificates("wx_tls/ca.pem");
#endif
  }
  ~TestAuthority() {
#if !defined(_WIN32)
    SetHttpTrustedCertificates("");
#endif
  }
  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
};

class DefaultSourceOverHttps : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(data_.Copied());
    int port = TlsPort();
    ASSERT_NE(port, 0) << "the HTTPS stand-in is not running: run this test through ctest";
    port_ = std::u16string();
    for (char c : std::to_string(port)) port_ += static_cast<char16_t>(c);
    for (auto key : {u"svc_forecast", u"svc_weather2", u"svc_air", u"svc_iplocation"}) SetUserConfig(u"", key);
    SetCurrentCity({u"上海", u"上海", u"101020100"});
  }
  void UseHost(const std::u16string& host) {
    std::u16string base = u"https://" + host + u":" + port_ + u"/_/date=2026-12-07";
    SetUserConfig(base, u"svc_meteo");
    SetUserConfig(base, u"svc_meteo_air");
    ResetDefaultSourceBackoff();
  }
  void Refresh() {
    PostedMessages posted;
    ASSERT_TRUE(StartWeatherWorker());
    ASSERT_TRUE(posted.WaitFor(1));
    ASSERT_TRUE(WaitForWeatherIdle(60000));
    report_ = CurrentWeatherReport();
    air_ = CurrentAirQualityReport();
  }
  void ExpectRefused() {
    EXPECT_TRUE(report_.source.empty());
    EXPECT_TRUE(report_.days[0].daytime.weather.empty());
    EXPECT_TRUE(report_.currentTemperature.empty());
    EXPECT_FALSE(air_.Known());
  }

  ScratchUserData data_;
  std::u16string port_;
  WeatherReport report_;
  AirQualityReport air_;
};

TEST_F(DefaultSourceOverHttps, TrustedCertificateAnswersOthersAreRefused) {
  {
    TestAuthority authority;
    ASSERT_TRUE(authority.Ok());
    UseHost(u"localhost");
    Refresh();
    EXPECT_EQ(report_.source, u"Open-Meteo");
    EXPECT_FALSE(report_.days[0].daytime.weather.empty());
    EXPECT_EQ(air_.source, u"Open-Meteo");
    std::string body;
    EXPECT_EQ(HttpGet(u"https://localhost:" + port_ + u"/v1/forecast?latitude=31&longitude=121", body), 0);

    // The same server by its address: the certificate names only "localhost".
    UseHost(u"127.0.0.1");
    Refresh();
    ExpectRefused();
    EXPECT_NE(HttpGet(u"https://127.0.0.1:" + port_ + u"/v1/forecast?latitude=31&longitude=121", body), 0);
  }
#if !defined(_WIN32)
  // The test authority no longer trusted: an unknown issuer. (Under Wine the fixture trusts it for
  // the whole run; the wrong name above is the refusal checked there.)
  UseHost(u"localhost");
  Refresh();
  ExpectRefused();
#endif
}

}  // namespace
