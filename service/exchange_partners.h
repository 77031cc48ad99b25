#pragma once
// The statistics exchange's partners: the service document (holiday texts to the calendar, the
// rest to the service record), the IP location and current city of the weather, the updater, and
// the main window as the target of its message.
#include <cstdint>
#include <functional>

#include "service/service_document.h"
#include "service/statistics_exchange.h"

// The exchange's view of one state of the record.
ServiceAnswer ServiceAnswerOf(const ServiceRecord& record);

// post receives UM_STATISTICS_DONE (may be empty).
ExchangePartners MakeExchangePartners(std::function<void(uint32_t message)> post);

// After an exchange: when the IP location has both names and the current city lacks its province
// or its city, switch to the IP location; otherwise refresh the current city's weather.
void FollowIpLocation();
