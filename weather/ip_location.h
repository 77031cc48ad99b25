#pragma once
// Province and city of a public IP address, from the IP-location service ("svc_iplocation").
#include <string>
#include <string_view>

// Parses the service's JSON reply: only when "code" is 0 are "data"."region" and "data"."city"
// taken (UTF-8). False, outputs untouched, for anything else.
bool ParseIpLocationReply(std::string_view body, std::u16string& province, std::u16string& city);

// Removes 县, 市 and 区 from a city name and 市, 省 and 自治区 from a province name.
std::u16string NormaliseIpCityName(std::u16string_view city);
std::u16string NormaliseIpProvinceName(std::u16string_view province);

// GET "/service/getIpInfo.php?ip=<ip>" (ip in the system code page) and parse the reply; the names
// stay UTF-16 and are normalised whatever the outcome. Outputs are empty when the lookup fails.
// The caller stores them as the IP location only when both are non-empty.
void LocateByIp(std::string_view ip, std::u16string& province, std::u16string& city);
