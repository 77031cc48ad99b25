#include "weather/win32/window_poster.h"

#include <windows.h>

WeatherPoster MakeWindowPoster(void* hwnd) {
  HWND target = static_cast<HWND>(hwnd);
  return [target](uint32_t message) { PostMessageW(target, message, 0, 0); };
}
