#pragma once
// Dates and times of the tests as the program's local date-time record.
#include <cstdint>

#include "platform/system_time.h"

namespace tvtest {

// The day of week is left 0.
inline SystemTime Date(int y, int m, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  SystemTime t;
  t.wYear = static_cast<uint16_t>(y);
  t.wMonth = static_cast<uint16_t>(m);
  t.wDay = static_cast<uint16_t>(d);
  t.wHour = static_cast<uint16_t>(h);
  t.wMinute = static_cast<uint16_t>(mi);
  t.wSecond = static_cast<uint16_t>(s);
  t.wMilliseconds = static_cast<uint16_t>(ms);
  return t;
}

}  // namespace tvtest
