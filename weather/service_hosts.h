#pragma once
// Base addresses of the outside services, kept in userconfig, e.g. "http://127.0.0.1:8731".
// An empty setting means there is no such service: fetches fail at once without traffic.
#include <string>
#include <string_view>

#include "platform/user_config.h"  // ServiceBaseUrl

inline constexpr std::u16string_view kSvcForecast = u"svc_forecast";
inline constexpr std::u16string_view kSvcWeather2 = u"svc_weather2";   // also the first air ranking
inline constexpr std::u16string_view kSvcAir = u"svc_air";
inline constexpr std::u16string_view kSvcIpLocation = u"svc_iplocation";
// The default source, asked when the sites above are not configured or fail: a forecast and an
// air-quality service with the Open-Meteo contract (shipped: the public HTTPS services).
inline constexpr std::u16string_view kSvcMeteo = u"svc_meteo";
inline constexpr std::u16string_view kSvcMeteoAir = u"svc_meteo_air";

// GET base + path; false (no traffic) when base is empty, false when no response arrived.
bool FetchServicePage(std::u16string_view base, std::u16string_view path, std::string& body);

// How a source is named to the user: the host of its base address ("" for an empty one).
std::u16string ServiceHostName(std::u16string_view base);
