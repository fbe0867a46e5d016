// Loading a large cache folder through the whole load chain: 20 calendars with
// 20,000 events (2,000 of them recurring) and 2,000 tasks.
#include <benchmark/benchmark.h>

#include "support/cache_fixtures.h"
#include "support/synthetic_cache.h"

namespace {

const testsupport::TempFolder& cacheOfSize(int events) {
  static testsupport::TempFolder folder;
  static int written = 0;
  if (written != events) {
    testsupport::SyntheticCacheShape shape;
    shape.events = events;
    shape.recurringEvents = events / 10;
    shape.tasks = 2000;
    testsupport::writeSyntheticCache(folder.path(), shape);
    written = events;
  }
  return folder;
}

void BM_LoadCache(benchmark::State& state) {
  const int events = static_cast<int>(state.range(0));
  const std::string folder = cacheOfSize(events).path();
  std::size_t items = 0;
  for (auto _ : state) {
    testsupport::LoadedStore loaded(folder, testsupport::SyntheticCacheShape{}.googleId, "테스터");
    items = loaded.store().items().size();
    benchmark::DoNotOptimize(items);
  }
  state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_LoadCache)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
