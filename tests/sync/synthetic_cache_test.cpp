#include <gtest/gtest.h>

#include "support/cache_fixtures.h"
#include "support/synthetic_cache.h"
#include "sync/cache_store.h"

namespace {

TEST(SyntheticCache, LoadsWithTheRequestedCounts) {
  testsupport::TempFolder folder;
  testsupport::SyntheticCacheShape shape;
  shape.calendars = 3;
  shape.events = 300;
  shape.recurringEvents = 40;
  shape.tasks = 50;
  testsupport::writeSyntheticCache(folder.path(), shape);

  gsync::CacheListener quiet;
  app::EventExtraList extras;
  gsync::CacheStoreOptions options;
  options.folder = folder.path();
  options.googleId = shape.googleId;
  options.myName = "테스터";
  options.extras = &extras;
  gsync::CacheStore store(options, quiet);
  store.enterChain();
  store.buildSlots();
  store.loadAllItems();

  ASSERT_EQ(store.calendars().size(), 3u);  // the holiday calendar is not shown
  EXPECT_EQ(store.calendars()[0]->name, "테스터");
  EXPECT_EQ(store.taskLists()[0]->name, "할일");
  int events = 0, recurring = 0, tasks = 0;
  for (const auto& item : store.items()) {
    if (item->kind == gsync::kTask) ++tasks;
    else ++events;
    if (item->kind >= 0) ++recurring;
  }
  EXPECT_EQ(events, 300);
  EXPECT_EQ(recurring, 40);
  EXPECT_EQ(tasks, 50);
}

}  // namespace
