#include <string_view>

#include "fuzz_input.h"
#include "weather/open_meteo_parser.h"

// Both answers of the default source, and China's AQI of whatever readings the air one gives.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view body(reinterpret_cast<const char*>(data), size);
  WeatherReport report;
  ParseOpenMeteoForecast(body, report);
  PollutantReadings readings;
  if (ParseOpenMeteoAir(body, readings)) ComputeChinaAqi(readings);
  return 0;
}
