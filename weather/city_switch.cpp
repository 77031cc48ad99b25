#include "weather/city_switch.h"

#include <string>

#include "platform/user_config.h"
#include "weather/city_codes.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"

namespace {

void PersistAndRefresh(const CurrentCity& city) {
  SetUserConfig(city.province, u"province");
  SetUserConfig(city.city, u"city");
  StartWeatherWorker();
}

}  // namespace

bool SwitchCity(std::u16string_view city, std::u16string_view province) {
  CurrentCity current = GetCurrentCity();
  if (province.empty()) {
    if (city.empty() && current.province.empty() && current.city.empty()) {
      CurrentCity fallback = DefaultCity();
      SetCurrentCity(fallback);
      PersistAndRefresh(fallback);
    } else {
      StartWeatherWorker();
    }
    return true;
  }
  if (!city.empty() && (province != current.province || city != current.city)) {
    CityCode code = LookupCityCode(province, city);
    if (!code.empty()) {
      CurrentCity chosen{std::u16string(province), std::u16string(city), code};
      SetCurrentCity(chosen);
      PersistAndRefresh(chosen);
      return true;
    }
  }
  StartWeatherWorker();
  return true;
}

