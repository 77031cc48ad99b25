#include "weather/open_meteo_fetch.h"

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/http_client.h"
#include "platform/log.h"
#include "platform/text_utils.h"
#include "weather/city_codes.h"
#include "weather/city_coordinates.h"
#include "weather/open_meteo_parser.h"
#include "weather/retry_backoff.h"
#include "weather/service_hosts.h"

namespace {

RetryBackoff g_forecastBackoff;
RetryBackoff g_airBackoff;

// One request to a default service: false without traffic when it is not configured or is being
// left alone after failures; a failed answer (no response, an error status the body shows, a
// body the parser refuses) counts as a failure.
template <typename Parse>
bool AskDefaultService(std::u16string_view setting, const std::u16string& query, RetryBackoff& backoff,
                       Parse parse) {
  std::u16string base = ServiceBaseUrl(setting);
  if (base.empty()) return false;
  auto now = RetryBackoff::Clock::now();
  if (!backoff.Allowed(now)) return false;
  std::string body;
  int32_t status = HttpGet(base + query, body);
  if (status == 0 && parse(body)) {
    backoff.Succeeded();
    return true;
  }
  if (status == kHttpAbandoned) return false;  // the program is ending: no fault of the service
  backoff.Failed(now);
  LogError(u"weather: " + std::u16string(setting) + u" failed (" +
           (status == 0 ? std::u16string(u"no usable answer") : u"status " + IntToText(status)) +
           u"); asked again in " + IntToText(backoff.Wait().count()) + u" min at the earliest");
  return false;
}

}  // namespace

bool FetchFromDefaultSource(std::u16string_view code, WeatherReport& report) {
  report.city = LookupCityName(code);
  report.province = LookupProvinceName(code);
  report.fetchDate = FormatDate(LocalNow());
  if (ServiceBaseUrl(kSvcMeteo).empty()) return false;
  GeoPoint at;
  if (!LookupCityCoordinates(code, at)) return false;
  WeatherReport fetched = report;
  bool ok = AskDefaultService(kSvcMeteo, OpenMeteoForecastQuery(at.latitude, at.longitude), g_forecastBackoff,
                              [&](const std::string& body) { return ParseOpenMeteoForecast(body, fetched); });
  if (ok) report = std::move(fetched);
  return ok;
}

bool FetchDefaultAirQuality(std::u16string_view code, std::u16string_view city, AirQualityReport& report) {
  if (ServiceBaseUrl(kSvcMeteoAir).empty()) return false;
  GeoPoint at;
  if (!LookupCityCoordinates(code, at)) return false;
  PollutantReadings readings;
  ChinaAqi aqi;
  bool ok = AskDefaultService(kSvcMeteoAir, OpenMeteoAirQuery(at.latitude, at.longitude), g_airBackoff,
                              [&](const std::string& body) {
                                if (!ParseOpenMeteoAir(body, readings)) return false;
                                aqi = ComputeChinaAqi(readings);
                                return aqi.aqi >= 0;
                              });
  if (!ok) return false;
  report = AirQualityReport{};
  report.city = std::u16string(city);
  report.index = IntToText(aqi.aqi);
  report.level = std::u16string(ChinaAqiLevel(aqi.aqi));
  for (Pollutant p : aqi.primary) {
    if (!report.primary.empty()) report.primary += u"、";
    report.primary += PollutantName(p);
  }
  report.source = std::u16string(kDefaultSourceName);
  return true;
}

void ResetDefaultSourceBackoff() {
  g_forecastBackoff.Succeeded();
  g_airBackoff.Succeeded();
}
