#include "weather/weather_fetch.h"

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/http_client.h"
#include "platform/text_codec.h"
#include "weather/city_codes.h"
#include "weather/forecast_parser.h"
#include "weather/second_site_parser.h"
#include "weather/service_hosts.h"

namespace {
// The forecast site's addresses are formatted into buffers of 100 characters.
constexpr size_t kUrlBuffer = 100;
}  // namespace

bool FetchFromForecastSite(std::u16string_view code, WeatherReport& report) {
  std::u16string base = ServiceBaseUrl(kSvcForecast);
  std::u16string nowUrl = base + u"/data/ks/" + std::u16string(code) + u".html";
  std::u16string pageUrl = base + u"/weather/" + std::u16string(code) + u".shtml";
  if (nowUrl.size() >= kUrlBuffer || pageUrl.size() >= kUrlBuffer) return false;

  report.city = LookupCityName(code);
  report.province = LookupProvinceName(code);
  report.currentTemperature.clear();
  report.currentWind.clear();
  report.fetchDate = FormatDate(LocalNow());
  // No forecast service configured: the names and the date are all there is.
  if (base.empty()) return false;

  std::string body;
  if (HttpGet(nowUrl, body) == 0) ParseCurrentConditions(Utf8ToWide(body), report);

  body.clear();
  if (HttpGet(pageUrl, body) != 0) return false;
  return ParseForecastPage(Utf8ToWide(body), report);
}

std::u16string LocateSecondSitePage(std::u16string_view city, std::u16string_view province) {
  std::u16string base = ServiceBaseUrl(kSvcWeather2);
  if (base.empty()) return {};
  std::string body;
  std::u16string headers;
  if (HttpPost(base + u"/t/q.php", body, &headers, SecondSiteQueryBody(city, province), false) != 0)
    return {};
  std::u16string location = LocationHeaderValue(headers);
  if (location.empty()) return {};
  return base + location;
}

bool FetchFromSecondSite(std::u16string_view code, WeatherReport& report) {
  std::u16string city = LookupCityName(code);
  std::u16string province = LookupProvinceName(code);
  std::u16string address = LocateSecondSitePage(city, province);
  if (address.empty()) return false;

  report.province = province;
  report.city = city;
  report.fetchDate = FormatDate(LocalNow());

  std::string body;
  if (HttpGet(address, body) != 0) return false;
  // The site writes GBK (code page 936) whatever the code page of this machine.
  return ParseSecondSitePage(ToWide(body, kCodePageGbk), report);
}
