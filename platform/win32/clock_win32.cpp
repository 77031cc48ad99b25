#include <windows.h>

#include "platform/clock.h"

SystemTime SystemLocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return SystemTime{st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}
