#pragma once
// The weather refresh: a short-lived worker thread per request fetches the forecast (the forecast
// site, else the second site, else the default source), cleans it, fetches the air quality (the
// rankings, else the default source), publishes both reports, each naming its source, and posts
// UM_WEATHER_UPDATED. Requests never overlap: one arriving while a worker runs is kept (the
// latest one) and run by that worker right after the current run.
// A refresh has an overall time budget (60 s): what is not fetched by then counts as failed, the
// requests still to come are not sent, and the run ends as usual (10028 is posted).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/http_client.h"
#include "platform/message_ids.h"
#include "weather/weather_report.h"

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

// One refresh for the job into the given reports (no publishing, no message), within the budget
// and ending early when abandon is set.
void FetchWeatherInto(const WeatherJob& job, WeatherReport& report, AirQualityReport& air,
                      const HttpAbandonFlag* abandon = nullptr);

// The overall time of one refresh; <= 0 restores the 60 s default.
void SetWeatherRefreshBudget(int ms);

// For the exit: the running refresh stops fetching at once (its request in flight is abandoned)
// and ends as usual; a waiting request is dropped. Later requests run normally.
void AbandonWeatherRefresh();

// Starts a refresh for the current city (or queues it behind the running one). True when a worker
// runs or the request waits for it; false when no thread could be started (10028 is posted then).
bool StartWeatherWorker();

// Waits until no worker runs and no request waits; true when idle within the time (< 0: no limit).
bool WaitForWeatherIdle(int timeoutMs);

// For the exit: abandons the refresh (AbandonWeatherRefresh) and waits up to waitMs for its thread.
// True when it ended (or none ran); otherwise it is left to end on its own (its request in
// flight cannot be cut short) and false is returned.
bool StopWeatherWorker(int waitMs);
