#pragma once
// The program's local date-time record: the eight 16-bit fields of Windows' SYSTEMTIME,
// in the same order, so that the Windows edge converts by copying.
#include <cstdint>

struct SystemTime {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;  // 0 = Sunday ... 6 = Saturday
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
};

static_assert(sizeof(SystemTime) == 16, "SystemTime must match SYSTEMTIME");
