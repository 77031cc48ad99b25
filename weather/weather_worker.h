#pragma once
// The weather refresh: one short-lived WeatherThread per request fetches the forecast (second
// site as fallback), cleans it, fetches the air quality, publishes both reports and posts
// UM_WEATHER_UPDATED. Requests never overlap: one arriving while a worker runs is kept (the
// latest one) and run by that worker right after the current run.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/thread.h"
#include "weather/weather_report.h"

constexpr uint32_t UM_WEATHER_UPDATED = 10028;

// How a worker reaches the user interface: posts a message (wParam and lParam 0) to the main
// window. Set once at start-up; tests observe the messages through it. Empty: nothing is posted.
using WeatherPoster = std::function<void(uint32_t message)>;
void SetWeatherPoster(WeatherPoster poster);

// Copies of the last published reports. A report is published whole at the end of a run, so a
// copy is never half written.
WeatherReport CurrentWeatherReport();
AirQualityReport CurrentAirQualityReport();

struct WeatherJob {
  std::u16string code;
  std::u16string province;
  std::u16string city;
};

class WeatherThread : public TThread {
 public:
  explicit WeatherThread(WeatherJob job);
  void Run() override;

  // One refresh for the job into the given reports (no publishing, no message).
  static void FetchInto(const WeatherJob& job, WeatherReport& report, AirQualityReport& air);

 private:
  WeatherJob job_;
};

// Starts a refresh for the current city (or queues it behind the running one). True when a worker
// runs or the request waits for it; false when no thread could be started (10028 is posted then).
bool StartWeatherWorker();

// Waits until no worker runs and no request waits; true when idle within the time (< 0: no limit).
bool WaitForWeatherIdle(int timeoutMs);
