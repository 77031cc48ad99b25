#pragma once
// The second weather site: its city search answer and its forecast page (decoded from GBK).
#include <string>
#include <string_view>

#include "platform/text_utils.h"  // PercentEncode
#include "weather/weather_report.h"

// Form body of the city search, "city=%s&searchProvName=%s", both names GBK and percent-encoded.
std::string SecondSiteQueryBody(std::u16string_view city, std::u16string_view province);

// Value of the first header line named "location" (any case), trimmed; empty when there is none.
std::u16string LocationHeaderValue(std::u16string_view rawHeaders);

// Days 0..5 (day 6 stays empty) and life-index pairs 1, 9, 3, 7, 10, 6, 11, 4, 12. False when the
// page has no "今天</font>" (report untouched) or its life-index section is missing or short.
bool ParseSecondSitePage(std::u16string_view text, WeatherReport& report);
