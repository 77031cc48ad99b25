#include "fuzz_input.h"
#include "weather/forecast_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WeatherReport report;
  ParseCurrentConditions(Decoded(data, size, kCodePageUtf8), report);
  ParseCurrentConditions(RawUtf16(data, size), report);
  return 0;
}
