#include <vector>

#include "fuzz_input.h"
#include "weather/air_quality_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text = Decoded(data, size, kCodePageGbk);
  std::vector<AirQualityEntry> entries;
  ParseAirRankingFirst(text, entries);
  AirQualityReport report;
  PickAirQuality(entries, u"上海", report);
  ParseAirRankingSecond(text, entries);
  PickAirQuality(entries, u"上海", report);
  for (const AirQualityEntry& e : entries) AirLevelName(e.index);
  return 0;
}
