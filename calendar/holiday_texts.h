#pragma once
// The texts of one holiday's arrangement, as the service document and table `holiday` carry them.
#include <string>

inline constexpr int kHolidayCount = 7;

// The four texts of one holiday. Dates appear as "YYYY-MM-DD"; separators between them are free.
struct HolidayTexts {
  std::u16string left;    // make-up working days before the holiday
  std::u16string middle;  // the days off
  std::u16string right;   // make-up working days after the holiday
  std::u16string day;     // the holiday's date as its first ten characters

  friend bool operator==(const HolidayTexts&, const HolidayTexts&) = default;
};
