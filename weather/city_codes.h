#pragma once
// Names and weather-station codes of the shipped tables "weathercode" and "provinces", and the
// recent-city list "mycity". Every lookup goes through the database worker, with the names as bound
// parameters; a database error (logged by the worker) reads as a missing row.
#include <string>
#include <string_view>
#include <vector>

// A nine-digit station code such as "101020100".
using CityCode = std::u16string;

struct CityPair {
  std::u16string province;
  std::u16string city;
  friend bool operator==(const CityPair&, const CityPair&) = default;
};

inline constexpr std::u16string_view kDefaultProvince = u"上海";
inline constexpr std::u16string_view kDefaultCity = u"上海";
inline constexpr std::u16string_view kDefaultCityCode = u"101020100";

std::u16string LookupCityName(std::u16string_view code);
std::u16string LookupProvinceName(std::u16string_view code);
CityCode LookupCityCode(std::u16string_view province, std::u16string_view city);

// "letter name" entries ordered by letter; the name is the entry from its third character on.
std::vector<std::u16string> ListProvinces();
std::vector<std::u16string> ListCities(std::u16string_view province);
// The recent cities, newest first; names stay whole whatever characters they hold.
std::vector<CityPair> ListMyCities();
// Puts a known city at the front of the recent list, which keeps at most 6 cities (the oldest by
// addtime goes). Unknown pairs, and names holding control characters, are not added.
void AddToMyCities(std::u16string_view province, std::u16string_view city);

// Name part of a "letter name" entry.
std::u16string LetteredEntryName(std::u16string_view entry);
// Splits a text of lines joined by "\r\n" (such as an almanac list): an empty piece between two
// separators is an entry; a final piece only when the text does not end with the separator.
std::vector<std::u16string> SplitRows(std::u16string_view rows);
