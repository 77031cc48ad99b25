#pragma once
// The city whose weather is shown, and the place derived from the public IP address. Both are
// shared by the user-interface thread and the statistics worker; every access takes a lock and
// hands out copies.
#include <string>
#include <string_view>

struct CurrentCity {
  std::u16string province;
  std::u16string city;
  std::u16string code;
};

struct IpLocation {
  std::u16string province;
  std::u16string city;
};

CurrentCity GetCurrentCity();
// 上海, 上海, 101020100: the city when none is stored or the stored one has no code.
CurrentCity DefaultCity();
void SetCurrentCity(const CurrentCity& city);

// Both names come from one answer: a reader on another thread never sees the province of one
// lookup with the city of another. A pair with an empty name is refused (false) and the stored
// one stays, so the location is either unknown or complete.
IpLocation GetIpLocation();
bool SetIpLocation(const IpLocation& location);

// At start-up, once the database is open: the stored "province" and "city", or the default city
// (上海, 上海, 101020100) when the province is empty or the pair has no code. Writes nothing.
void LoadCurrentCity();

// Registers LoadCurrentCity as a step of the data start-up (rank kCurrentCityRank), so that the
// city is known before anything that depends on it loads.
inline constexpr int kCurrentCityRank = 10;
void InstallCurrentCityLoader();

// Makes a known pair current in memory only: nothing stored, no refresh (SwitchCity, in
// weather/city_switch.h, stores it and refreshes). False (nothing changes)
// when the pair has no weather code.
bool SelectCity(std::u16string_view city, std::u16string_view province);
