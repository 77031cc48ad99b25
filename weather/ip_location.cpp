#include "weather/ip_location.h"

#include "platform/http_client.h"
#include "platform/text_codec.h"
#include "platform/text_utils.h"
#include "weather/city_codes.h"
#include "weather/json_fields.h"
#include "weather/service_hosts.h"

bool ParseIpLocationReply(std::string_view body, std::u16string& province, std::u16string& city) {
  try {
    using json_fields::Field;
    const json_fields::Json root = json_fields::Parse(body);
    if (!root.is_object()) return false;
    long long code = -1;
    if (!json_fields::WholeNumber(Field(root, "code"), code) || code != 0) return false;
    const json_fields::Json& data = Field(root, "data");
    const json_fields::Json& c = Field(data, "city");
    const json_fields::Json& r = Field(data, "region");
    if (!c.is_string() || !r.is_string()) return false;
    city = Utf8ToWide(c.get<std::string>());
    province = Utf8ToWide(r.get<std::string>());
    return true;
  } catch (...) {
    return false;  // the JSON library reports some misuse by throwing; none of it leaves here
  }
}

std::u16string NormaliseIpCityName(std::u16string_view city) {
  std::u16string s = ReplaceText(city, u"县", u"");
  s = ReplaceText(s, u"市", u"");
  return ReplaceText(s, u"区", u"");
}

std::u16string NormaliseIpProvinceName(std::u16string_view province) {
  // Longest endings first: "自治区" alone would leave "广西壮族".
  static constexpr std::u16string_view kEndings[] = {u"维吾尔自治区", u"壮族自治区", u"回族自治区",
                                                     u"特别行政区",   u"自治区",     u"省",
                                                     u"市"};
  std::u16string name = TrimText(province);
  for (std::u16string_view ending : kEndings) {
    if (name.size() > ending.size() && name.ends_with(ending)) {
      name.resize(name.size() - ending.size());
      break;
    }
  }
  return name;
}

std::u16string MatchIpCityName(std::u16string_view city, const std::vector<std::u16string>& cities) {
  std::u16string normalised = NormaliseIpCityName(city);
  const std::u16string* best = nullptr;
  for (const std::u16string& name : cities) {
    if (name == normalised) return name;
    if (name.size() >= 2 && city.starts_with(name) && (!best || name.size() > best->size())) best = &name;
  }
  return best ? *best : normalised;
}

void LocateByIp(std::string_view ip, std::u16string& province, std::u16string& city) {
  province.clear();
  city.clear();
  std::u16string base = ServiceBaseUrl(kSvcIpLocation);
  if (!base.empty()) {
    std::string body;
    std::u16string url = base + u"/service/getIpInfo.php?ip=" + ToWide(ip, kCodePageAnsi);
    if (HttpGet(url, body) == 0) ParseIpLocationReply(body, province, city);
  }
  province = NormaliseIpProvinceName(province);
  std::vector<std::u16string> cities;
  if (!province.empty() && !city.empty()) {
    for (const std::u16string& entry : ListCities(province)) cities.push_back(LetteredEntryName(entry));
  }
  city = MatchIpCityName(city, cities);
}
