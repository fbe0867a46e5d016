// Lunar-solar conversions per second, each way, over the whole table.
#include <benchmark/benchmark.h>

#include "base/datetime.h"
#include "calendar/lunar.h"

namespace {

void BM_SolarToLunar(benchmark::State& state) {
  int n = calendar::kFirstLunarDayNumber;
  for (auto _ : state) {
    benchmark::DoNotOptimize(calendar::solarToLunar(static_cast<base::DateTime>(n)));
    if (++n > calendar::kLastLunarDayNumber) n = calendar::kFirstLunarDayNumber;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SolarToLunar);

void BM_LunarToSolar(benchmark::State& state) {
  int year = calendar::kFirstLunarYear, month = 1, day = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(calendar::lunarToSolar(year, month, day, false));
    if (++day > 29) {
      day = 1;
      if (++month > 12) {
        month = 1;
        if (++year > calendar::kLastLunarYear) year = calendar::kFirstLunarYear;
      }
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LunarToSolar);

}  // namespace
