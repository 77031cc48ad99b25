#include "fuzz_input.h"
#include "weather/forecast_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WeatherReport report;
  ParseForecastPage(Decoded(data, size, kCodePageUtf8), report);
  WeatherReport raw;
  ParseForecastPage(RawUtf16(data, size), raw);
  return 0;
}
