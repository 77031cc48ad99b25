#include "service/exchange_partners.h"

#include <string>
#include <utility>

#include "calendar/holiday_arrangement.h"
#include "platform/launch.h"
#include "service/service_record.h"
#include "weather/city_switch.h"
#include "weather/current_city.h"
#include "weather/ip_location.h"
#include "weather/weather_worker.h"

namespace {

bool ReadDocument(std::u16string_view document) {
  if (!TakeServiceDocument(document)) return false;
  // "ipdata" names the province (second part) and the city (the rest): a first IP location,
  // replaced by the IP-location service's answer when that names both.
  const auto record = ServiceRecordSnapshot();
  if (!record->location[0].empty() && !record->location[1].empty()) {
    SetIpLocation({record->location[0], record->location[1]});
  }
  return true;
}

void Locate(const std::string& ip) {
  std::u16string province, city;
  LocateByIp(ip, province, city);
  if (!province.empty() && !city.empty()) SetIpLocation({province, city});
}

}  // namespace

ServiceAnswer ServiceAnswerOf(const ServiceRecord& record) {
  const ServiceUrls& urls = record.urls;
  ServiceAnswer answer;
  answer.address = record.address;
  if (!urls.userBehaviorUrl.empty()) answer.uploadTarget = urls.userBehaviorUrl.front();
  answer.uploadListed = !urls.dataUrl.empty() && !urls.userBehaviorUrl.empty();
  if (!urls.uninstallUrl.empty()) answer.uninstallUrl = urls.uninstallUrl.front();
  answer.updateListed = !urls.updateUrl.empty();
  return answer;
}

void FollowIpLocation() {
  const IpLocation location = GetIpLocation();
  const CurrentCity current = GetCurrentCity();
  if (!location.province.empty() && !location.city.empty() &&
      (current.province.empty() || current.city.empty())) {
    SwitchCity(location.city, location.province);
  } else {
    StartWeatherWorker();
  }
}

ExchangePartners MakeExchangePartners(std::function<void(uint32_t message)> post) {
  ExchangePartners partners;
  partners.loadHolidays = [] { LoadHolidayArrangement(); };
  partners.readDocument = &ReadDocument;
  partners.answer = [] { return ServiceAnswerOf(*ServiceRecordSnapshot()); };
  partners.locate = &Locate;
  partners.followLocation = &FollowIpLocation;
  partners.launchUpdater = [] { LaunchUpdater(); };
  partners.post = std::move(post);
  return partners;
}
