// Calculate for one day and for a month grid of 42 consecutive days, each day on a fresh
// CCalendar as the day-information builder does it.
#include <benchmark/benchmark.h>

#include "calendar/ccalendar.h"

namespace {

void CalculateDay(benchmark::State& state, Day date) {
  for (auto _ : state) {
    CCalendar cal;
    cal.Calculate(date);
    benchmark::DoNotOptimize(cal.lunarDay);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_CalculateOneDay(benchmark::State& state) {
  CalculateDay(state, Day::FromCivil(2024, 2, 10));  // 春节: term check, festivals
}
BENCHMARK(BM_CalculateOneDay);

// The grid of March 2024: 26 February ... 7 April.
void BM_Calculate42Days(benchmark::State& state) {
  const Day first = Day::FromCivil(2024, 2, 26);
  for (auto _ : state) {
    Day d = first;
    for (int i = 0; i < 42; ++i, d += 1) {
      CCalendar cal;
      cal.Calculate(d);
      benchmark::DoNotOptimize(cal.lunarDay);
    }
  }
  state.SetItemsProcessed(state.iterations() * 42);
}
BENCHMARK(BM_Calculate42Days);

// The slowest corner for the year search and month walk: the end of the range.
void BM_CalculateLastDay(benchmark::State& state) { CalculateDay(state, kLastCalendarDay); }
BENCHMARK(BM_CalculateLastDay);

}  // namespace
