#include "weather/weather_worker.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "platform/log.h"
#include "platform/worker.h"
#include "weather/air_quality_fetch.h"
#include "weather/current_city.h"
#include "weather/open_meteo_fetch.h"
#include "weather/report_cleanup.h"
#include "weather/service_hosts.h"
#include "weather/weather_fetch.h"

namespace {

std::mutex g_reportLock;
WeatherReport g_report;
AirQualityReport g_air;

std::mutex g_posterLock;
WeatherPoster g_poster;

// Scheduling: at most one worker; a request arriving meanwhile waits in g_pending.
std::mutex g_runLock;
std::condition_variable g_idle;
bool g_running = false;
std::optional<WeatherJob> g_pending;
std::shared_ptr<HttpAbandonFlag> g_abandon;  // of the running worker

constexpr int kDefaultBudgetMs = 60000;
std::atomic<int> g_budgetMs{kDefaultBudgetMs};

void Post(uint32_t message) {
  WeatherPoster poster;
  {
    std::lock_guard<std::mutex> lock(g_posterLock);
    poster = g_poster;
  }
  if (poster) poster(message);
}

WeatherJob JobForCurrentCity() {
  CurrentCity city = GetCurrentCity();
  return {city.code, city.province, city.city};
}

// The refresh thread (the running one, or the last one until the next start joins it); guarded
// by g_runLock. After what its thread uses, so that at the process's end it is stopped and joined
// first.
Worker g_worker;

}  // namespace

void SetWeatherPoster(WeatherPoster poster) {
  std::lock_guard<std::mutex> lock(g_posterLock);
  g_poster = std::move(poster);
}

WeatherReport CurrentWeatherReport() {
  std::lock_guard<std::mutex> lock(g_reportLock);
  return g_report;
}

AirQualityReport CurrentAirQualityReport() {
  std::lock_guard<std::mutex> lock(g_reportLock);
  return g_air;
}

void SetWeatherRefreshBudget(int ms) { g_budgetMs.store(ms > 0 ? ms : kDefaultBudgetMs); }

void AbandonWeatherRefresh() {
  std::lock_guard<std::mutex> lock(g_runLock);
  g_pending.reset();
  if (g_abandon) g_abandon->store(true);
}

void FetchWeatherInto(const WeatherJob& job, WeatherReport& report, AirQualityReport& air,
                      const HttpAbandonFlag* abandon) {
  // Every request below shares the budget; those that come after it fail without traffic.
  HttpScope::Bounds bounds;
  bounds.deadline = HttpScope::Clock::now() + std::chrono::milliseconds(g_budgetMs.load());
  bounds.abandon = abandon;
  HttpScope scope(bounds);
  air = AirQualityReport{};
  ClearReport(report);
  report.source.clear();
  if (FetchFromForecastSite(job.code, report)) {
    report.source = ServiceHostName(ServiceBaseUrl(kSvcForecast));
  } else if (FetchFromSecondSite(job.code, report)) {
    report.source = ServiceHostName(ServiceBaseUrl(kSvcWeather2));
  } else {
    // Nothing a failed site read half-way may stand as this refresh's weather.
    ClearReport(report);
    if (FetchFromDefaultSource(job.code, report)) report.source = std::u16string(kDefaultSourceName);
  }
  NormaliseReport(report);
  FetchAirQuality(job.city, air);
  if (!air.Known()) FetchAirQuality(job.province, air);
  if (!air.Known()) FetchDefaultAirQuality(job.code, job.city, air);
}

namespace {

// The refresh thread's body: the job, then every request that arrived meanwhile. A stop abandons
// the request in flight (the worker's wake raises the flag).
void RunRefreshes(WeatherJob job, const std::shared_ptr<HttpAbandonFlag>& abandon) {
  for (;;) {
    // Work on copies (pairs 9..12 carry over from the last run) and publish them whole.
    WeatherReport report = CurrentWeatherReport();
    AirQualityReport air;
    FetchWeatherInto(job, report, air, abandon.get());
    {
      std::lock_guard<std::mutex> lock(g_reportLock);
      g_report = std::move(report);
      g_air = std::move(air);
    }
    Post(UM_WEATHER_UPDATED);

    std::lock_guard<std::mutex> lock(g_runLock);
    if (g_pending) {
      job = std::move(*g_pending);
      g_pending.reset();
      continue;
    }
    g_running = false;
    g_abandon.reset();
    g_idle.notify_all();
    return;
  }
}

}  // namespace

bool StartWeatherWorker() {
  WeatherJob job = JobForCurrentCity();
  auto abandon = std::make_shared<HttpAbandonFlag>(false);
  {
    std::lock_guard<std::mutex> lock(g_runLock);
    if (g_running) {
      g_pending = std::move(job);
      return true;
    }
    g_running = true;
    g_abandon = abandon;
    // The last refresh has said it is done: its thread is at its end, the join is short.
    g_worker.Join();
    if (g_worker.Start([job = std::move(job), abandon](std::stop_token) { RunRefreshes(job, abandon); },
                       [abandon] { abandon->store(true); })) {
      return true;
    }
  }
  LogError(u"weather: the refresh thread could not be started");
  {
    std::lock_guard<std::mutex> lock(g_runLock);
    g_running = false;
    g_pending.reset();
    g_abandon.reset();
    g_idle.notify_all();
  }
  Post(UM_WEATHER_UPDATED);  // the window must leave its loading state all the same
  return false;
}

bool WaitForWeatherIdle(int timeoutMs) {
  std::unique_lock<std::mutex> lock(g_runLock);
  auto idle = [] { return !g_running && !g_pending; };
  if (timeoutMs < 0) {
    g_idle.wait(lock, idle);
    return true;
  }
  return g_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs), idle);
}

bool StopWeatherWorker(int waitMs) {
  AbandonWeatherRefresh();
  Worker worker;
  {
    std::lock_guard<std::mutex> lock(g_runLock);
    worker = std::move(g_worker);
  }
  return worker.Stop(waitMs);
}
