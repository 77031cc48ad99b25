#include <string_view>

#include "fuzz_input.h"
#include "weather/ip_location.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string province, city;
  ParseIpLocationReply(std::string_view(reinterpret_cast<const char*>(data), size), province, city);
  NormaliseIpCityName(city);
  NormaliseIpProvinceName(province);
  return 0;
}
