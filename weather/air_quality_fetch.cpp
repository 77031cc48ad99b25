#include "weather/air_quality_fetch.h"

#include "platform/text_codec.h"
#include "weather/air_quality_parser.h"
#include "weather/service_hosts.h"

bool FetchAirRanking(std::vector<AirQualityEntry>& entries, std::u16string* base) {
  entries.clear();
  std::string body;
  std::u16string first = ServiceBaseUrl(kSvcWeather2);
  if (FetchServicePage(first, u"/air-rank.htm", body) && ParseAirRankingFirst(ToWide(body, kCodePageGbk), entries)) {
    if (base) *base = first;
    return true;
  }
  body.clear();
  std::u16string second = ServiceBaseUrl(kSvcAir);
  if (FetchServicePage(second, u"/air/", body) && ParseAirRankingSecond(ToWide(body, kCodePageGbk), entries)) {
    if (base) *base = second;
    return true;
  }
  entries.clear();
  return false;
}

void FetchAirQuality(std::u16string_view name, AirQualityReport& report) {
  report = AirQualityReport{};
  std::vector<AirQualityEntry> entries;
  std::u16string base;
  if (!FetchAirRanking(entries, &base)) return;
  PickAirQuality(entries, name, report);
  if (report.Known()) report.source = ServiceHostName(base);
}
