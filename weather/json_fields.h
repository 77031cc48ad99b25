#pragma once
// Reading a parsed JSON answer without ever throwing: a field or element that is missing, or
// asked of a value of another kind, reads as null.
#include <nlohmann/json.hpp>

#include <cmath>
#include <string>
#include <string_view>

namespace json_fields {

using Json = nlohmann::json;

// The whole text as one JSON value; a discarded value when it is not JSON (a nesting too deep for
// the parser is refused the same way, as is anything after the value).
inline Json Parse(std::string_view text) { return Json::parse(text.begin(), text.end(), nullptr, false); }

inline const Json& Null() {
  static const Json null;
  return null;
}

inline const Json& Field(const Json& object, std::string_view key) {
  if (!object.is_object()) return Null();
  const auto it = object.find(key);
  return it == object.end() ? Null() : *it;
}

inline const Json& Element(const Json& array, size_t i) {
  return array.is_array() && i < array.size() ? array[i] : Null();
}

// A number as a double; NaN when the value is no number.
inline double Number(const Json& v) { return v.is_number() ? v.get<double>() : NAN; }

inline std::string Text(const Json& v) { return v.is_string() ? v.get<std::string>() : std::string(); }

// An integer, written with or without a fraction of zero, as JSON allows; false otherwise.
inline bool WholeNumber(const Json& v, long long& out) {
  if (v.is_number_integer()) {
    out = v.get<long long>();
    return true;
  }
  if (!v.is_number_float()) return false;
  const double d = v.get<double>();
  if (!(d >= -9.2e18 && d <= 9.2e18) || std::trunc(d) != d) return false;
  out = static_cast<long long>(d);
  return true;
}

}  // namespace json_fields
