#include "fuzz_input.h"
#include "weather/second_site_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text = Decoded(data, size, kCodePageGbk);
  WeatherReport report;
  ParseSecondSitePage(text, report);
  LocationHeaderValue(text);
  LocationHeaderValue(RawUtf16(data, size));
  return 0;
}
