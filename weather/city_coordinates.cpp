#include "weather/city_coordinates.h"

#include <cmath>
#include <cstdlib>
#include <optional>
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
  std::optional<DbRow> row;
  const DbOutcome outcome =
      QueryFirst(u"select latitude, longitude from citycoord where code = ?1", {code}, row);
  double latitude = 0, longitude = 0;
  if (row && ReadNumber(row->Text(0), latitude) && ReadNumber(row->Text(1), longitude) &&
      std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180) {
    point = {latitude, longitude};
    return true;
  }
  LogError(u"weather: city code " + std::u16string(code) + u" has no coordinates (table citycoord" +
           (outcome == DbOutcome::kOk ? u")" : u", database " + std::u16string(DbOutcomeName(outcome)) + u")") +
           u"; the default source cannot be asked for it");
  return false;
}
