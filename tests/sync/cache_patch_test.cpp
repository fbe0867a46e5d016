#include <gtest/gtest.h>

#include "base/files.h"
#include "support/cache_fixtures.h"
#include "sync/cache_patch.h"
#include "sync/cache_store.h"

namespace {

using gsync::Json;
using testsupport::TempFolder;

const std::string kPrimary = "minji.kim@gmail.com";
const std::string kTaskList = "MDk4NzY1NDMyMTA5ODc2NTQzMjE6MDow";

struct PatchFixture : ::testing::Test {
  TempFolder folder;
  void SetUp() override { testsupport::copySampleCache(folder.path()); }

  Json read(const std::string& name) {
    std::string error;
    auto json = gsync::readCacheJson(folder.file(name), error);
    EXPECT_TRUE(json) << error;
    return json.value_or(Json());
  }
  void write(const std::string& name, const std::string& json) {
    ASSERT_TRUE(gsync::writeCacheFile(folder.file(name), json));
  }
  void answer(const Json& item) { write("action.txt", item.dump(1)); }
};

Json newEvent(const std::string& id) {
  return Json::parse(R"({"kind": "calendar#event", "etag": "\"1\"", "id": ")" + id +
                     R"(", "status": "confirmed", "summary": "새 일정 > 확인",
                     "start": {"dateTime": "2025-04-01T09:00:00+09:00"},
                     "end": {"dateTime": "2025-04-01T10:00:00+09:00"}})");
}

// Every line of a cache file ends with CR LF.
void expectCrLfLines(const std::string& path) {
  const std::string bytes = base::readBytes(path).value_or("");
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << path << " at " << i;
    }
}

TEST_F(PatchFixture, InsertAppendsTheAnswerAndKeepsEverythingElse) {
  const std::string file = kPrimary + ".txt";
  const Json before = read(file);
  answer(newEvent("newevent01"));
  ASSERT_TRUE(gsync::insertCachedItem(folder.path(), kPrimary));
  const Json after = read(file);

  ASSERT_EQ(after["items"].size(), before["items"].size() + 1);
  for (std::size_t i = 0; i < before["items"].size(); ++i)
    EXPECT_EQ(after["items"][i], before["items"][i]) << "item " << i;
  // The stored answer reads back the same (the blank after ">" is the one
  // thing the cache text form does not keep).
  Json expected = newEvent("newevent01");
  expected["summary"] = "새 일정 >확인";
  EXPECT_EQ(after["items"].back(), expected);
  // Members other than items stay, in their order.
  Json head = after;
  head.erase("items");
  Json headBefore = before;
  headBefore.erase("items");
  EXPECT_EQ(head.dump(), headBefore.dump());
  expectCrLfLines(folder.file(file));
}

TEST_F(PatchFixture, InsertIntoEmptyMissingOrItemlessLists) {
  struct Case {
    const char* name;
    const char* content;  // nullptr: no file
    const char* expected;
  };
  const Case cases[] = {
      {"empty items", R"({"kind": "calendar#events", "items": []})",
       R"({"kind":"calendar#events","items":[{"id":"n1"}]})"},
      {"no items", R"({"kind": "calendar#calendarListEntry", "id": "x"})",
       R"({"kind":"calendar#calendarListEntry","id":"x","items":[{"id":"n1"}]})"},
      {"no file", nullptr, R"({"items":[{"id":"n1"}]})"},
  };
  for (const Case& c : cases) {
    base::removeFile(folder.file("list.txt"));
    if (c.content) write("list.txt", c.content);
    answer(Json::parse(R"({"id": "n1"})"));
    ASSERT_TRUE(gsync::insertCachedItem(folder.path(), "list")) << c.name;
    EXPECT_EQ(read("list.txt").dump(), c.expected) << c.name;
  }
  // A list file made from scratch says what it lists.
  base::removeFile(folder.file("list.txt"));
  answer(newEvent("n2"));
  ASSERT_TRUE(gsync::insertCachedItem(folder.path(), "list"));
  EXPECT_EQ(read("list.txt")["kind"], "calendar#events");
}

TEST_F(PatchFixture, ReplaceSwapsOnlyTheItemWithThatId) {
  const std::string file = kPrimary + ".txt";
  const std::string series = "4kq1v0b9m2c7d8e3f5g6h7i8j9";
  // Put an occurrence of the series first: its id begins with the series id
  // but it is not the series.
  Json list = read(file);
  Json occurrence = list["items"][5];
  ASSERT_EQ(occurrence["recurringEventId"], series);
  list["items"].erase(list["items"].begin() + 5);
  list["items"].insert(list["items"].begin(), occurrence);
  write(file, list.dump(1));
  const Json before = read(file);

  Json changed = before["items"][4];
  ASSERT_EQ(changed["id"], series);
  changed["summary"] = "영어 회화 스터디 (화상)";
  changed["sequence"] = 2;
  answer(changed);
  ASSERT_TRUE(gsync::replaceCachedItem(folder.path(), kPrimary, series));
  const Json after = read(file);
  ASSERT_EQ(after["items"].size(), before["items"].size());
  for (std::size_t i = 0; i < before["items"].size(); ++i)
    EXPECT_EQ(after["items"][i], i == 4 ? changed : before["items"][i]) << "item " << i;

  // No such item: the file stays as it was, byte for byte.
  const std::string bytes = *base::readBytes(folder.file(file));
  EXPECT_FALSE(gsync::replaceCachedItem(folder.path(), kPrimary, "nosuchid"));
  EXPECT_EQ(*base::readBytes(folder.file(file)), bytes);
}

TEST_F(PatchFixture, RemoveTakesTheItemAndEmptyItemsGo) {
  const std::string file = kTaskList + ".txt";
  const Json before = read(file);
  ASSERT_TRUE(gsync::removeCachedItem(folder.path(), kTaskList, "MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoyMDAw"));
  Json after = read(file);
  ASSERT_EQ(after["items"].size(), 3u);
  EXPECT_EQ(after["items"][0], before["items"][0]);
  EXPECT_EQ(after["items"][1], before["items"][2]);
  EXPECT_EQ(after["items"][2], before["items"][3]);

  for (const Json& item : after["items"])
    ASSERT_TRUE(gsync::removeCachedItem(folder.path(), kTaskList, item["id"].get<std::string>()));
  after = read(file);
  EXPECT_FALSE(after.contains("items"));
  EXPECT_EQ(after["kind"], "tasks#tasks");
}

TEST_F(PatchFixture, RemovingAListDeletesItsItemFileOnly) {
  ASSERT_TRUE(base::fileExists(folder.file(kPrimary + ".txt")));
  ASSERT_TRUE(gsync::removeCachedItem(folder.path(), "calendar", kPrimary));
  EXPECT_FALSE(base::fileExists(folder.file(kPrimary + ".txt")));
  const Json calendars = read("calendar.txt");
  ASSERT_EQ(calendars["items"].size(), 4u);
  for (const Json& entry : calendars["items"]) EXPECT_NE(entry["id"], kPrimary);

  // An event whose id happens to name a cache file leaves that file alone.
  EXPECT_FALSE(gsync::removeCachedItem(folder.path(), kTaskList, "calendar"));
  EXPECT_FALSE(gsync::removeCachedItem(folder.path(), "tasklist", "../calendar"));
  EXPECT_TRUE(base::fileExists(folder.file("calendar.txt")));
}

TEST_F(PatchFixture, BrokenFilesAreReportedAndLeftAlone) {
  const std::string file = kPrimary + ".txt";
  const std::string bytes = *base::readBytes(folder.file(file));
  std::string error;
  write("action.txt", "<html>502 Bad Gateway</html>");
  EXPECT_FALSE(gsync::insertCachedItem(folder.path(), kPrimary, &error));
  EXPECT_NE(error.find("action.txt"), std::string::npos);
  EXPECT_FALSE(gsync::replaceCachedItem(folder.path(), kPrimary, "7hq2c9v1bn4m6k8j0l3p5r7t9v", &error));
  EXPECT_EQ(*base::readBytes(folder.file(file)), bytes);

  answer(newEvent("n1"));
  write("broken.txt", "{\"items\": [");
  error.clear();
  EXPECT_FALSE(gsync::insertCachedItem(folder.path(), "broken", &error));
  EXPECT_NE(error.find("broken.txt"), std::string::npos);
  EXPECT_EQ(*base::readBytes(folder.file("broken.txt")), gsync::toCacheText("{\"items\": ["));
}

TEST_F(PatchFixture, PatchesDropTheYearIndex) {
  for (const char* name : {"2024.tmp", "2025.tmp"}) base::writeBytesAtomic(folder.file(name), "x");
  answer(newEvent("n1"));
  ASSERT_TRUE(gsync::insertCachedItem(folder.path(), kPrimary));
  EXPECT_FALSE(base::fileExists(folder.file("2024.tmp")));
  EXPECT_FALSE(base::fileExists(folder.file("2025.tmp")));
  EXPECT_TRUE(base::fileExists(folder.file("calendar.txt")));

  // Also when nothing matched.
  base::writeBytesAtomic(folder.file("2026.tmp"), "x");
  EXPECT_FALSE(gsync::removeCachedItem(folder.path(), kPrimary, "nosuchid"));
  EXPECT_FALSE(base::fileExists(folder.file("2026.tmp")));
}

TEST_F(PatchFixture, DeletionQueueKeepsOneLinePerPair) {
  gsync::queueEventDeletion(folder.path(), kPrimary, "e1");
  gsync::queueEventDeletion(folder.path(), kPrimary, "e2");
  gsync::queueEventDeletion(folder.path(), kPrimary, "e1");
  gsync::queueEventDeletion(folder.path(), "other@group.calendar.google.com", "e1");
  EXPECT_EQ(*base::readBytes(folder.file("delevents.txt")),
            kPrimary + "|e1\r\n" + kPrimary + "|e2\r\nother@group.calendar.google.com|e1\r\n");
}

TEST_F(PatchFixture, PatchedFilesLoadAgain) {
  answer(newEvent("newevent01"));
  ASSERT_TRUE(gsync::insertCachedItem(folder.path(), kPrimary));
  ASSERT_TRUE(gsync::removeCachedItem(folder.path(), kPrimary, "7hq2c9v1bn4m6k8j0l3p5r7t9v"));

  gsync::CacheListener quiet;
  app::EventExtraList extras;
  gsync::CacheStoreOptions options;
  options.folder = folder.path();
  options.extras = &extras;
  gsync::CacheStore store(options, quiet);
  store.loadCalendars();  // the quiet listener does not start the items
  store.buildSlots();
  store.loadAllItems();
  EXPECT_NE(store.findItem("newevent01"), nullptr);
  EXPECT_EQ(store.findItem("7hq2c9v1bn4m6k8j0l3p5r7t9v"), nullptr);
  EXPECT_EQ(store.findItem("newevent01")->title, "새 일정 >확인");
}

}  // namespace
