// A weather refresh against services that never answer: how long after its budget it ends, and
// how long an abandoned one takes to end (the exit waits for that).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/database.h"
#include "platform/http_client.h"
#include "platform/program_dir.h"
#include "platform/user_config.h"
#include "tests/platform/loopback_server.h"
#include "weather/current_city.h"
#include "weather/weather_worker.h"

namespace {

using Clock = std::chrono::steady_clock;

struct SilentServices {
  LoopbackServer server{[](const LoopbackServer::Request&) { return std::string(); }};
  std::filesystem::path dir;
  SilentServices() {
    dir = std::filesystem::temp_directory_path() / ("tvbench-wx-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(std::filesystem::path(ProgramDirectory() + u"user.dat"), dir / "user.dat");
    OpenDatabase((dir / "user.dat").u16string());
    std::string root = "http://127.0.0.1:" + std::to_string(server.Port());
    for (const char16_t* key : {u"svc_forecast", u"svc_weather2", u"svc_air"}) {
      SetUserConfig(std::u16string(root.begin(), root.end()), key);
    }
    SetCurrentCity({u"上海", u"上海", u"101020100"});
  }
  ~SilentServices() {
    CloseDatabase();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};

void BM_RefreshEndAfterItsBudget(benchmark::State& state) {
  SilentServices services;
  SetWeatherRefreshBudget(500);
  for (auto _ : state) {
    auto start = Clock::now();
    StartWeatherWorker();
    WaitForWeatherIdle(-1);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count() - 0.5);
  }
  SetWeatherRefreshBudget(0);
}
BENCHMARK(BM_RefreshEndAfterItsBudget)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AbandonedRefreshToIdle(benchmark::State& state) {
  SilentServices services;
  for (auto _ : state) {
    size_t before = services.server.Requests().size();
    StartWeatherWorker();
    while (services.server.Requests().size() == before) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    auto start = Clock::now();
    AbandonWeatherRefresh();
    WaitForWeatherIdle(-1);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}
BENCHMARK(BM_AbandonedRefreshToIdle)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
