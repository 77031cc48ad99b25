#include <windows.h>

#include <cstring>

#include "platform/clock.h"

SystemTime SystemLocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  SystemTime t;
  static_assert(sizeof t == sizeof st, "SystemTime mirrors SYSTEMTIME");
  std::memcpy(&t, &st, sizeof t);
  return t;
}
