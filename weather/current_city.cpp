#include "weather/current_city.h"

#include <mutex>

#include "platform/user_config.h"
#include "platform/data_steps.h"
#include "weather/city_codes.h"

namespace {

std::mutex g_lock;
CurrentCity g_current;
IpLocation g_ipLocation;

}  // namespace

CurrentCity DefaultCity() {
  return {std::u16string(kDefaultProvince), std::u16string(kDefaultCity), std::u16string(kDefaultCityCode)};
}

CurrentCity GetCurrentCity() {
  std::lock_guard<std::mutex> lock(g_lock);
  return g_current;
}

void SetCurrentCity(const CurrentCity& city) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_current = city;
}

IpLocation GetIpLocation() {
  std::lock_guard<std::mutex> lock(g_lock);
  return g_ipLocation;
}

bool SetIpLocation(const IpLocation& location) {
  if (location.province.empty() || location.city.empty()) return false;
  std::lock_guard<std::mutex> lock(g_lock);
  g_ipLocation = location;
  return true;
}

void LoadCurrentCity() {
  CurrentCity city;
  city.province = GetUserConfig(u"province");
  city.city = GetUserConfig(u"city");
  if (!city.province.empty()) city.code = LookupCityCode(city.province, city.city);
  if (city.province.empty() || city.code.empty()) city = DefaultCity();
  SetCurrentCity(city);
}

void InstallCurrentCityLoader() {
  RegisterDataStep(DataPhase::kAfterOpen, "current city", kCurrentCityRank, &LoadCurrentCity);
}

bool SelectCity(std::u16string_view city, std::u16string_view province) {
  CityCode code = LookupCityCode(province, city);
  if (code.empty()) return false;
  SetCurrentCity({std::u16string(province), std::u16string(city), code});
  return true;
}
