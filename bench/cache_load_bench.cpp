// Loading a large cache folder through the whole load chain: 20 calendars with
// 20,000 events (2,000 of them recurring) and 2,000 tasks.
#include <benchmark/benchmark.h>

#include "app/event_extra.h"
#include "support/cache_fixtures.h"
#include "support/synthetic_cache.h"
#include "sync/cache_store.h"

namespace {

// Loads every slot at the end of the chain, as the window's stepping does.
class LoadAll : public gsync::CacheListener {
 public:
  gsync::CacheStore* store = nullptr;
  void startItemLoading() override {
    store->buildSlots();
    for (std::size_t i = 0; i < store->slots().size(); ++i)
      store->requestListItems(static_cast<int>(i));
  }
};

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
    app::EventExtraList extras;
    LoadAll listener;
    gsync::CacheStoreOptions options;
    options.folder = folder;
    options.googleId = "tester@gmail.com";
    options.myName = "테스터";
    options.extras = &extras;
    gsync::CacheStore store(options, listener);
    listener.store = &store;
    store.enterChain();
    items = store.items().size();
    benchmark::DoNotOptimize(items);
  }
  state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_LoadCache)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
