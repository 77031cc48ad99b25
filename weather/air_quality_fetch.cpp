#include "weather/air_quality_fetch.h"

#include "platform/text_codec.h"
#include "weather/air_quality_parser.h"
#include "weather/service_hosts.h"

bool FetchAirRanking(std::vector<AirQualityEntry>& entries) {
  entries.clear();
  std::string body;
  if (FetchServicePage(ServiceBaseUrl(kSvcWeather2), u"/air-rank.htm", body) &&
      ParseAirRankingFirst(ToWide(body, kCodePageGbk), entries)) {
    return true;
  }
  body.clear();
  if (FetchServicePage(ServiceBaseUrl(kSvcAir), u"/air/", body) &&
      ParseAirRankingSecond(ToWide(body, kCodePageGbk), entries)) {
    return true;
  }
  entries.clear();
  return false;
}

void FetchAirQuality(std::u16string_view name, AirQualityReport& report) {
  report = AirQualityReport{};
  std::vector<AirQualityEntry> entries;
  if (!FetchAirRanking(entries)) return;
  PickAirQuality(entries, name, report);
}
