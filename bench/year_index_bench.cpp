// Building a year's index over a large cache: 20 calendars with 20,000 events
// (2,000 of them recurring) and 2,000 tasks, loaded once; each build reads the
// recurring events' item files, expands their rules and writes the file.
#include <benchmark/benchmark.h>

#include <memory>

#include "calendar/holidays.h"
#include "calendar/year_index.h"
#include "support/cache_fixtures.h"
#include "support/synthetic_cache.h"
#include "sync/cache_store.h"
#include "sync/year_index_source.h"

namespace {

// A synthetic cache of the given size, written once and loaded.
struct LoadedCache {
  testsupport::TempFolder folder;
  std::unique_ptr<testsupport::LoadedStore> loaded;
  gsync::CacheStore* store = nullptr;

  explicit LoadedCache(int events) {
    testsupport::SyntheticCacheShape shape;
    shape.events = events;
    shape.recurringEvents = events / 10;
    shape.tasks = 2000;
    testsupport::writeSyntheticCache(folder.path(), shape);
    loaded = std::make_unique<testsupport::LoadedStore>(folder.path(), shape.googleId, "테스터");
    store = &loaded->store();
  }
};

LoadedCache& cacheOf(int events) {
  static std::unique_ptr<LoadedCache> cache;
  static int loaded = 0;
  if (loaded != events) {
    cache.reset();
    cache = std::make_unique<LoadedCache>(events);
    loaded = events;
  }
  return *cache;
}

void BM_BuildYearIndex(benchmark::State& state) {
  LoadedCache& cache = cacheOf(static_cast<int>(state.range(0)));
  const std::vector<calendar::Holiday> holidays = calendar::bundledHolidays();
  std::size_t lines = 0;
  for (auto _ : state) {
    calendar::YearIndex index;
    if (!gsync::buildYearIndex(2025, *cache.store, holidays, &index))
      state.SkipWithError("the index file could not be written");
    lines = calendar::yearIndexLines(index).size();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["items"] = static_cast<double>(cache.store->items().size());
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_BuildYearIndex)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// The same build with the recurrence texts already in memory: the part of
// the time that is not spent reading the item files.
void BM_YearIndexFromMemory(benchmark::State& state) {
  LoadedCache& cache = cacheOf(static_cast<int>(state.range(0)));
  const std::vector<calendar::Holiday> holidays = calendar::bundledHolidays();
  gsync::StoreYearIndexSource store(*cache.store);
  calendar::YearIndexRecords records;
  for (std::size_t i = 0; i < store.itemCount(); ++i) {
    const calendar::YearIndexItem item = store.item(i);
    const bool recurring = item.kind >= 0;
    records.add({std::string(item.id), std::string(item.listId), item.kind, item.timed, item.start,
                 item.end, recurring ? store.recurrence(i) : std::vector<std::string>{},
                 recurring ? store.exceptionDays(i) : std::vector<int>{}});
  }
  for (auto _ : state) {
    calendar::YearIndex index = calendar::makeYearIndex(2025, holidays, records);
    benchmark::DoNotOptimize(index);
  }
}
BENCHMARK(BM_YearIndexFromMemory)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
