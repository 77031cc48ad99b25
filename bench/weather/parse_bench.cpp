// Time to parse one forecast page, one second-site page and a ranking of 350 cities.
#include <benchmark/benchmark.h>

#include <vector>

#include "tests/weather/sample_pages.h"
#include "weather/air_quality_parser.h"
#include "weather/forecast_parser.h"
#include "weather/second_site_parser.h"

namespace {

void BM_ForecastPage(benchmark::State& state) {
  const std::u16string page = samples::ForecastPage();
  for (auto _ : state) {
    WeatherReport r;
    benchmark::DoNotOptimize(ParseForecastPage(page, r));
  }
  state.SetBytesProcessed(state.iterations() * page.size() * 2);
}
BENCHMARK(BM_ForecastPage);

void BM_SecondSitePage(benchmark::State& state) {
  const std::u16string page = samples::SecondSitePage();
  for (auto _ : state) {
    WeatherReport r;
    benchmark::DoNotOptimize(ParseSecondSitePage(page, r));
  }
}
BENCHMARK(BM_SecondSitePage);

void BM_AirRanking350(benchmark::State& state) {
  std::u16string page = u"<table><tr><th>排名</th></tr>\n";
  for (int i = 1; i <= 350; ++i) {
    std::u16string n;
    for (char c : std::to_string(i)) n += static_cast<char16_t>(c);
    page += u"<tr><td class=\"td td-1st\">" + n + u"</td><td><a href=\"/a\" target=\"_blank\">城市" + n +
            u"</a></td><td class=\"td td-3rd\">" + n + u"</td></tr>\n";
  }
  page += u"</table>";
  std::vector<AirQualityEntry> entries;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseAirRankingFirst(page, entries));
  }
}
BENCHMARK(BM_AirRanking350);

}  // namespace
