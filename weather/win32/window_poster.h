#pragma once
// The weather worker's poster for a real window: PostMessage to the main window handle.
#include "weather/weather_worker.h"

// hwnd is the main window's HWND.
WeatherPoster MakeWindowPoster(void* hwnd);
