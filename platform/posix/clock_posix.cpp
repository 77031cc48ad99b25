#include <sys/time.h>

#include <ctime>

#include "platform/clock.h"

SystemTime SystemLocalNow() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  time_t seconds = tv.tv_sec;
  tm local{};
  localtime_r(&seconds, &local);
  SystemTime t;
  t.wYear = static_cast<uint16_t>(local.tm_year + 1900);
  t.wMonth = static_cast<uint16_t>(local.tm_mon + 1);
  t.wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
  t.wDay = static_cast<uint16_t>(local.tm_mday);
  t.wHour = static_cast<uint16_t>(local.tm_hour);
  t.wMinute = static_cast<uint16_t>(local.tm_min);
  t.wSecond = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
  t.wMilliseconds = static_cast<uint16_t>(tv.tv_usec / 1000);
  return t;
}
