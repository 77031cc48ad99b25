#include "weather/open_meteo_parser.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "weather/json_fields.h"
#include "weather/wmo_codes.h"

namespace {

using json_fields::Element;
using json_fields::Field;
using json_fields::Json;
using json_fields::Number;

constexpr char kForecastHourly[] = "temperature_2m,weather_code,wind_speed_10m,wind_direction_10m,precipitation";
constexpr char kForecastCurrent[] = "temperature_2m,weather_code,wind_speed_10m,wind_direction_10m";
constexpr char kAirValues[] = "pm2_5,pm10,ozone,nitrogen_dioxide,sulphur_dioxide,carbon_monoxide";

bool ParseJson(std::string_view body, Json& root) {
  root = json_fields::Parse(body);
  if (!root.is_object()) return false;
  const Json& error = Field(root, "error");
  return !(error.is_boolean() && error.get<bool>());
}

double At(const Json& series, size_t i) { return Number(Element(series, i)); }

// The hourly times as text; false when there are none.
bool HourlyTimes(const Json& hourly, std::vector<std::string>& times) {
  const Json& t = Field(hourly, "time");
  if (!t.is_array() || t.empty()) return false;
  for (const Json& v : t) times.push_back(json_fields::Text(v));
  return true;
}

// "2026-12-07T14:15" → its hour "2026-12-07T14"; empty when the text is no such time.
std::string HourKey(const std::string& time) {
  if (time.size() < 13 || time[10] != 'T') return {};
  return time.substr(0, 13);
}

int HourOf(const std::string& time) {
  if (time.size() < 13 || time[10] != 'T') return -1;
  int tens = time[11] - '0', ones = time[12] - '0';
  if (tens < 0 || tens > 2 || ones < 0 || ones > 9) return -1;
  return tens * 10 + ones;
}

int IndexOfHour(const std::vector<std::string>& times, const std::string& key) {
  if (key.empty()) return -1;
  for (size_t i = 0; i < times.size(); ++i) {
    if (HourKey(times[i]) == key) return static_cast<int>(i);
  }
  return -1;
}

std::u16string Degrees(double value) {
  if (std::isnan(value)) return {};
  return IntToText(std::lround(value)) + u"℃";
}

int BeaufortForce(double ms) {
  static constexpr double kUpper[] = {0.2, 1.5, 3.3, 5.4, 7.9, 10.7, 13.8, 17.1, 20.7, 24.4, 28.4, 32.6};
  int force = 0;
  for (double upper : kUpper) {
    if (ms <= upper + 0.05) break;
    ++force;
  }
  return force;
}

struct Hour {
  double temperature, code, speed, direction, precipitation;
};

struct Series {
  std::vector<std::string> times;
  std::vector<Hour> hours;
};

Series ReadForecastSeries(const Json& hourly) {
  Series s;
  HourlyTimes(hourly, s.times);
  const Json& temperature = Field(hourly, "temperature_2m");
  const Json& code = Field(hourly, "weather_code");
  const Json& windSpeed = Field(hourly, "wind_speed_10m");
  const Json& windDirection = Field(hourly, "wind_direction_10m");
  const Json& rain = Field(hourly, "precipitation");
  for (size_t i = 0; i < s.times.size(); ++i) {
    s.hours.push_back({At(temperature, i), At(code, i), At(windSpeed, i), At(windDirection, i), At(rain, i)});
  }
  return s;
}

// The summary of some hours of the series.
struct Summary {
  std::u16string weather, wind, low, high, rain;
};

Summary Summarise(const Series& s, const std::vector<size_t>& picked) {
  Summary out;
  int worst = -1;
  double low = NAN, high = NAN, strongest = NAN, direction = NAN, rain = NAN;
  for (size_t i : picked) {
    const Hour& h = s.hours[i];
    if (!std::isnan(h.code) && !WmoWeatherWord(static_cast<int>(h.code)).empty()) {
      worst = std::max(worst, static_cast<int>(h.code));
    }
    if (!std::isnan(h.temperature)) {
      low = std::isnan(low) ? h.temperature : std::min(low, h.temperature);
      high = std::isnan(high) ? h.temperature : std::max(high, h.temperature);
    }
    if (!std::isnan(h.speed) && (std::isnan(strongest) || h.speed > strongest)) {
      strongest = h.speed;
      direction = h.direction;
    }
    if (!std::isnan(h.precipitation)) rain = (std::isnan(rain) ? 0 : rain) + h.precipitation;
  }
  if (worst >= 0) out.weather = std::u16string(WmoWeatherWord(worst));
  out.wind = WindText(direction, strongest);
  out.low = Degrees(low);
  out.high = Degrees(high);
  if (!std::isnan(rain)) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", rain);
    out.rain = u"降水量 " + Utf8ToWide(text) + u"mm";
  }
  return out;
}

// `count` hours of the series from `start` on (the series runs hour by hour).
std::vector<size_t> HoursFrom(const Series& s, size_t start, size_t count) {
  std::vector<size_t> out;
  for (size_t i = start; i < s.times.size() && out.size() < count; ++i) out.push_back(i);
  return out;
}

// Index of the hour `hour` o'clock on the date `date` ("2026-12-07"); -1 when not in the series.
int IndexOf(const Series& s, const std::string& date, int hour) {
  std::string key = date + "T" + (hour < 10 ? "0" : "") + std::to_string(hour);
  return IndexOfHour(s.times, key);
}

}  // namespace

std::u16string WindText(double directionDegrees, double speedMs) {
  if (std::isnan(speedMs) || speedMs < 0) return {};
  int force = BeaufortForce(speedMs);
  if (force < 3) return u"微风";
  std::u16string out;
  if (!std::isnan(directionDegrees)) {
    static constexpr std::u16string_view kDirections[] = {u"北风", u"东北风", u"东风", u"东南风",
                                                          u"南风", u"西南风", u"西风", u"西北风"};
    double d = std::fmod(std::fmod(directionDegrees, 360.0) + 360.0, 360.0);
    out = std::u16string(kDirections[static_cast<int>(std::floor((d + 22.5) / 45.0)) % 8]);
  }
  return out + IntToText(force) + u"级";
}

namespace {

// "PATH?latitude=…&longitude=…&current=CURRENT&hourly=HOURLY" and the rest of the query as given.
std::u16string OpenMeteoQuery(const char* path, double latitude, double longitude, const char* current,
                              const char* hourly, const char* rest) {
  char text[512];
  std::snprintf(text, sizeof text, "%s?latitude=%.4f&longitude=%.4f&current=%s&hourly=%s%s", path, latitude,
                longitude, current, hourly, rest);
  return Utf8ToWide(text);
}

}  // namespace

std::u16string OpenMeteoForecastQuery(double latitude, double longitude) {
  return OpenMeteoQuery("/v1/forecast", latitude, longitude, kForecastCurrent, kForecastHourly,
                        "&wind_speed_unit=ms&timezone=Asia%2FShanghai&forecast_days=8");
}

std::u16string OpenMeteoAirQuery(double latitude, double longitude) {
  return OpenMeteoQuery("/v1/air-quality", latitude, longitude, kAirValues, kAirValues,
                        "&timezone=Asia%2FShanghai&past_days=1&forecast_days=1");
}

namespace {

bool ReadForecast(std::string_view body, WeatherReport& report) {
  try {
    Json root;
    if (!ParseJson(body, root)) return false;
    const Json& current = Field(root, "current");
    const Json& hourly = Field(root, "hourly");
    if (!hourly.is_object()) return false;
    Series s = ReadForecastSeries(hourly);
    if (s.times.empty()) return false;

    bool any = false;
    std::string now = Field(current, "time").is_string() ? json_fields::Text(Field(current, "time")) : s.times[0];
    if (current.is_object()) {
      report.currentTemperature = Degrees(Number(Field(current, "temperature_2m")));
      report.currentWind =
          WindText(Number(Field(current, "wind_direction_10m")), Number(Field(current, "wind_speed_10m")));
      any = !report.currentTemperature.empty();
    }
    int nowIndex = IndexOfHour(s.times, HourKey(now));
    if (nowIndex < 0) nowIndex = 0;

    // The 6-hour periods: from the block (02, 08, 14, 20 o'clock) holding the current hour.
    int hour = HourOf(s.times[nowIndex]);
    size_t start = static_cast<size_t>(std::max(0, nowIndex - (hour < 0 ? 0 : (hour + 4) % 6)));
    for (int k = 0; k < kPeriodCount; ++k) {
      Summary p = Summarise(s, HoursFrom(s, start + 6 * k, 6));
      WeatherSlot& slot = report.periods[k];
      slot.weather = p.weather;
      slot.tempHigh = p.high;
      slot.tempLow = p.low;
      slot.wind = p.wind;
      slot.extra = p.rain;
    }

    // The days: today is the current time's date; each further date as the series lists them.
    std::vector<std::string> dates;
    for (const std::string& t : s.times) {
      std::string date = t.substr(0, 10);
      if (t.size() >= 10 && (dates.empty() || dates.back() != date)) dates.push_back(date);
    }
    auto today = std::find(dates.begin(), dates.end(), now.substr(0, 10));
    for (int d = 0; d < kDayCount && today != dates.end(); ++d, ++today) {
      WeatherDay& out = report.days[d];
      int morning = IndexOf(s, *today, 8);
      int evening = IndexOf(s, *today, 20);
      // A half runs 12 hours; one the answer does not hold whole is left unknown.
      std::vector<size_t> daytime = morning >= 0 ? HoursFrom(s, static_cast<size_t>(morning), 12) : std::vector<size_t>();
      std::vector<size_t> night = evening >= 0 ? HoursFrom(s, static_cast<size_t>(evening), 12) : std::vector<size_t>();
      if (daytime.size() == 12) {
        Summary day = Summarise(s, daytime);
        out.daytime.weather = day.weather;
        out.daytime.wind = day.wind;
        out.daytime.tempHigh = day.high;
      }
      if (night.size() == 12) {
        Summary dark = Summarise(s, night);
        out.night.weather = dark.weather;
        out.night.wind = dark.wind;
        out.night.tempLow = dark.low;
      }
      any = any || !out.daytime.weather.empty() || !out.night.weather.empty() || !out.daytime.tempHigh.empty();
    }
    return any;
  } catch (...) {
    return false;  // the JSON library reports some misuse by throwing; none of it leaves here
  }
}

}  // namespace

bool ParseOpenMeteoForecast(std::string_view body, WeatherReport& report) {
  report.currentTemperature.clear();
  report.currentWind.clear();
  report.periods.fill(WeatherSlot{});
  report.days.fill(WeatherDay{});
  WeatherReport read = report;
  if (!ReadForecast(body, read)) return false;  // nothing half read is kept
  report = std::move(read);
  return true;
}

namespace {

// The mean of the `count` hours ending at `last`, when at least `needed` of them are known.
double Average(const Json& series, int last, int count, int needed) {
  if (last < count - 1) return NAN;
  double sum = 0;
  int known = 0;
  for (int i = last - count + 1; i <= last; ++i) {
    double v = At(series, static_cast<size_t>(i));
    if (std::isnan(v)) continue;
    sum += v;
    ++known;
  }
  return known >= needed ? sum / known : NAN;
}

}  // namespace

bool ParseOpenMeteoAir(std::string_view body, PollutantReadings& readings) {
  readings = PollutantReadings{};
  try {
    Json root;
    if (!ParseJson(body, root)) return false;
    const Json& current = Field(root, "current");
    if (!current.is_object()) return false;
    double pm25 = Number(Field(current, "pm2_5")), pm10 = Number(Field(current, "pm10"));
    readings.so2Hour = Number(Field(current, "sulphur_dioxide"));
    readings.no2Hour = Number(Field(current, "nitrogen_dioxide"));
    readings.coHour = Number(Field(current, "carbon_monoxide"));
    readings.o3Hour = Number(Field(current, "ozone"));

    const Json& hourly = Field(root, "hourly");
    std::vector<std::string> times;
    int now = -1;
    if (hourly.is_object() && HourlyTimes(hourly, times) && Field(current, "time").is_string()) {
      now = IndexOfHour(times, HourKey(json_fields::Text(Field(current, "time"))));
    }
    if (now >= 0) {
      double pm25Day = Average(Field(hourly, "pm2_5"), now, 24, 20);
      double pm10Day = Average(Field(hourly, "pm10"), now, 24, 20);
      if (!std::isnan(pm25Day)) pm25 = pm25Day;
      if (!std::isnan(pm10Day)) pm10 = pm10Day;
      readings.so2Day = Average(Field(hourly, "sulphur_dioxide"), now, 24, 20);
      readings.o3EightHours = Average(Field(hourly, "ozone"), now, 8, 6);
    }
    readings.pm25Day = pm25;
    readings.pm10Day = pm10;
    for (double v : {pm25, pm10, readings.so2Hour, readings.no2Hour, readings.coHour, readings.o3Hour}) {
      if (!std::isnan(v)) return true;
    }
    return false;
  } catch (...) {
    return false;
  }
}
