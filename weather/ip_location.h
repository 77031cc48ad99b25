#pragma once
// Province and city of a public IP address, from the IP-location service ("svc_iplocation").
#include <string>
#include <string_view>
#include <vector>

// Parses the service's JSON reply: only when "code" is 0 are "data"."region" and "data"."city"
// taken (UTF-8). False, outputs untouched, for anything else.
bool ParseIpLocationReply(std::string_view body, std::u16string& province, std::u16string& city);

// The service names places in full ("广西壮族自治区", "北京市", "延边朝鲜族自治州"); the tables
// use short names ("广西", "北京", "延边").
// A province without its ending: 省, 市, 自治区 with the people's name before it (壮族, 回族,
// 维吾尔), 特别行政区. Every full name of the 34 provinces gives the name in "provinces".
std::u16string NormaliseIpProvinceName(std::u16string_view province);
// A city with every 县, 市 and 区 removed ("海东市" gives "海东").
std::u16string NormaliseIpCityName(std::u16string_view city);
// The name of `cities` (a province's table names) that the service's city name stands for: the
// normalised name when it is one of them, else the longest name of at least two characters that
// begins the service's name ("延边朝鲜族自治州" gives "延边", "锡林郭勒盟" gives "锡林郭勒"); the
// normalised name when none fits.
std::u16string MatchIpCityName(std::u16string_view city, const std::vector<std::u16string>& cities);

// GET "/service/getIpInfo.php?ip=<ip>" (ip in the system code page) and parse the reply; the names
// stay UTF-16 and are normalised whatever the outcome, the city against the province's cities of
// the "weathercode" table. Outputs are empty when the lookup fails.
// The caller stores them as the IP location only when both are non-empty.
void LocateByIp(std::string_view ip, std::u16string& province, std::u16string& city);
