#pragma once
// The service document: the XML text the statistics service answers with, once descrambled. It
// carries the official holiday arrangement (handed down to the calendar), the machine's public
// address and location, and the service's URL lists (kept by this layer, see service_record.h).
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/holiday_texts.h"

// URL lists of the service document, each in document order, entries trimmed.
struct ServiceUrls {
  std::vector<std::u16string> weatherUrl;       // "weather_url"
  std::vector<std::u16string> userBehaviorUrl;  // "userbehavior_url"
  std::vector<std::u16string> aqiUrl;           // "aqi_url"
  std::vector<std::u16string> installUrl;       // "install_url"
  std::vector<std::u16string> uninstallUrl;     // "uninstall_url"
  std::vector<std::u16string> updateUrl;        // "update_url"
  std::vector<std::u16string> dataUrl;          // "data_url"
  std::u16string remark;                        // "remark"

  friend bool operator==(const ServiceUrls&, const ServiceUrls&) = default;
};

// What the service layer keeps of the document: everything but the holidays.
struct ServiceRecord {
  // Location texts 1 ... 3 from "ipdata" (index 0 ... 2) and the address from "ip".
  std::array<std::u16string, 3> location;
  std::u16string address;
  ServiceUrls urls;

  friend bool operator==(const ServiceRecord&, const ServiceRecord&) = default;
};

// The holidays' texts in the calendar's order (index 0 ... 6: yuandan ... guoqing).
using DocumentHolidays = std::array<HolidayTexts, kHolidayCount>;

// Reads the document onto `holidays` and `record`: what the document carries replaces what they
// held (a URL list as a whole, a holiday text by text), the rest stays. The document passes
// through a GUID-named ".tmp" file in `directory` (ending with a separator; the program's
// directory when empty), removed in every case, and is read from memory when the directory takes
// no file. A document that does not parse changes neither (logged); returns false then.
bool ParseServiceDocument(std::u16string_view document, DocumentHolidays& holidays, ServiceRecord& record,
                          std::u16string_view directory);
