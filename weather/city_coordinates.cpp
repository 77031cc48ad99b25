#include "weather/city_coordinates.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/database.h"
#include "platform/log.h"
#include "platform/text_codec.h"

namespace {

bool ReadNumber(const std::u16string& text, double& value) {
  std::string narrow = WideToUtf8(text);
  if (narrow.empty()) return false;
  char* end = nullptr;
  value = std::strtod(narrow.c_str(), &end);
  return end && *end == '\0' && std::isfinite(value);
}

}  // namespace

bool LookupCityCoordinates(std::u16string_view code, GeoPoint& point) {
  std::u16string where = u" from citycoord where code = '" + SqlText(code) + u"'";
  double latitude = 0, longitude = 0;
  if (code.size() < 20 && ReadNumber(QueryValue(u"select latitude" + where), latitude) &&
      ReadNumber(QueryValue(u"select longitude" + where), longitude) && std::fabs(latitude) <= 90 &&
      std::fabs(longitude) <= 180) {
    point = {latitude, longitude};
    return true;
  }
  LogError(u"weather: city code " + std::u16string(code) +
           u" has no coordinates (table citycoord); the default source cannot be asked for it");
  return false;
}
