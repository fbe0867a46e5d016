#include "sync/year_index_source.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/datetime.h"
#include "base/files.h"
#include "support/cache_fixtures.h"
#include "sync/cache_patch.h"

namespace {

using calendar::YearIndex;
using testsupport::TempFolder;

using Tokens = std::vector<std::string>;

const std::string kYoga = "5m6n7o8p9q0r1s2t3u4v5a6b7c";          // weekly, EXDATE 18 March
const std::string kStudy = "4kq1v0b9m2c7d8e3f5g6h7i8j9";         // weekly, 26 March cancelled
const std::string kStudyMoved = "4kq1v0b9m2c7d8e3f5g6h7i8j9_20250402T220000Z";
const std::string kVitamin = "1a3c5e7g9i1k3m5o7q9s1u3a5c";       // daily, 30 times from 1 March
const std::string kJeju = "ev7m2k9p4r1t6v3b8d5f0h7j2l";          // all day, 3 May to end date 6 May
const std::string kGift = "fam9o8i7u6y5t4r3e2w1q0a9s8d";         // all day, 3 May to end date 4 May
const std::string kFamily = "fam1q2w3e4r5t6y7u8i9o0p1a2s";       // monthly, first Saturday
const std::string kTrip = "wrk2m3n4o5p6q7r8s9t0u1v2a3b";         // 7 April 09:00 to 9 April 18:00
const std::string kBirthday = "2024_BIRTHDAY_c7f3a1b2";          // 21 July 2024
const std::string kInsurance = "MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDoxMDAw";  // task due 20 March
const std::string kShelf = "MTA0NTc4OTIzNDU2Nzg5MDEyMzQ6MDozMDAw";      // task without due date
const std::string kMilk = "c2hvcDE6MDoxMDAwMDAwMDAwMDAwMDAw";           // task, id holds "ho"

// The sample cache, loaded as the window loads it.
struct SampleYearIndex : ::testing::Test {
  TempFolder folder;
  std::unique_ptr<testsupport::LoadedStore> loaded;
  gsync::CacheStore* store = nullptr;

  void SetUp() override {
    testsupport::copySampleCache(folder.path());
    loaded = std::make_unique<testsupport::LoadedStore>(folder.path());
    store = &loaded->store();
    ASSERT_EQ(store->items().size(), 28u);
  }

  YearIndex build(int year) {
    YearIndex index;
    EXPECT_TRUE(gsync::buildYearIndex(year, *store, calendar::bundledHolidays(), &index));
    return index;
  }
};

std::vector<std::string> daysOf(const YearIndex& index, const std::string& token) {
  std::vector<std::string> days;
  const base::DateTime first = base::encodeDate(index.year, 1, 1);
  for (int day = 1; day <= base::daysInYear(index.year); ++day) {
    const Tokens& tokens = index.tokensOf(day);
    if (std::find(tokens.begin(), tokens.end(), token) != tokens.end())
      days.push_back(base::formatDate(first + day - 1));
  }
  return days;
}

Tokens on(const YearIndex& index, int month, int day) {
  return index.tokensOn(base::encodeDate(index.year, month, day));
}

TEST_F(SampleYearIndex, DaysOfTheSampleItems) {
  const YearIndex index = build(2025);
  // EXDATE: the yoga class of 18 March is gone, the daily reminder stays.
  EXPECT_EQ(on(index, 3, 18), (Tokens{kVitamin}));
  EXPECT_EQ(on(index, 3, 20), (Tokens{kYoga, kVitamin, kInsurance}));
  // The cancelled study of 26 March is gone; the moved one is on its own day.
  EXPECT_EQ(on(index, 3, 19), (Tokens{kStudy, kVitamin}));
  EXPECT_EQ(on(index, 3, 26), (Tokens{kVitamin}));
  EXPECT_EQ(daysOf(index, kStudyMoved), (std::vector<std::string>{"2025-04-04"}));
  // All-day end dates are exclusive; a timed trip covers every day to its end.
  EXPECT_EQ(daysOf(index, kJeju), (std::vector<std::string>{"2025-05-03", "2025-05-04", "2025-05-05"}));
  EXPECT_EQ(on(index, 5, 3), (Tokens{kJeju, kFamily, kGift}));
  EXPECT_EQ(daysOf(index, kTrip), (std::vector<std::string>{"2025-04-07", "2025-04-08", "2025-04-09"}));
  // Tasks: on the due day, or nowhere without one.
  EXPECT_EQ(daysOf(index, kInsurance), (std::vector<std::string>{"2025-03-20"}));
  EXPECT_TRUE(daysOf(index, kShelf).empty());
  EXPECT_EQ(daysOf(index, kMilk), (std::vector<std::string>{"2025-03-08"}));
  EXPECT_FALSE(calendar::isHolidayToken(kMilk, calendar::bundledHolidays()));
  // The file holds the same lines.
  EXPECT_EQ(base::readLines(folder.file("2025.tmp")), calendar::yearIndexLines(index));
}

TEST_F(SampleYearIndex, OtherYears) {
  const YearIndex y2014 = build(2014);
  EXPECT_EQ(on(y2014, 1, 30), (Tokens{"ho00002"}));
  EXPECT_EQ(on(y2014, 2, 1), (Tokens{"ho00002"}));
  // Every birthday of the contacts' calendar falls on its day in any year.
  EXPECT_EQ(daysOf(y2014, kBirthday), (std::vector<std::string>{"2014-07-21"}));
  EXPECT_EQ(on(y2014, 7, 21).size(), 4u);
  // Series that start later, and the 2025 events, are not in 2014.
  EXPECT_TRUE(daysOf(y2014, kVitamin).empty());
  EXPECT_TRUE(daysOf(y2014, kJeju).empty());
  // The daily reminder has used up its count in 2025.
  EXPECT_TRUE(daysOf(build(2026), kVitamin).empty());
}

TEST_F(SampleYearIndex, EachListFileIsParsedOnce) {
  gsync::StoreYearIndexSource source(*store);
  calendar::makeYearIndex(2025, {}, source);
  EXPECT_EQ(source.filesParsed(), 3);  // the three calendars with recurring events
}

TEST_F(SampleYearIndex, AnEventMissingFromItsFileAddsNothing) {
  ASSERT_TRUE(base::writeBytesAtomic(folder.file("minji.kim@gmail.com.txt"), "{\"items\": ["));
  const YearIndex index = build(2025);
  EXPECT_TRUE(daysOf(index, kYoga).empty());
  EXPECT_EQ(daysOf(index, kJeju).size(), 3u);     // single events come from the records
  EXPECT_EQ(daysOf(index, kFamily).size(), 10u);  // another calendar's series, March to December
}

// A change to a cached list drops every year's file; the next view that
// needs a year builds it again from the changed file.
TEST_F(SampleYearIndex, AChangedListDropsTheFilesAndTheYearIsRebuilt) {
  build(2025);
  build(2026);
  ASSERT_TRUE(gsync::writeCacheFile(
      folder.file("action.txt"),
      R"({"id": "5m6n7o8p9q0r1s2t3u4v5a6b7c", "summary": "요가 수업",)"
      R"( "start": {"dateTime": "2025-03-04T19:30:00+09:00"},)"
      R"( "end": {"dateTime": "2025-03-04T20:30:00+09:00"},)"
      R"( "recurrence": ["RRULE:FREQ=WEEKLY;BYDAY=TU;COUNT=2"]})"));
  ASSERT_TRUE(gsync::replaceCachedItem(folder.path(), "minji.kim@gmail.com", kYoga));
  EXPECT_FALSE(base::fileExists(folder.file("2025.tmp")));
  EXPECT_FALSE(base::fileExists(folder.file("2026.tmp")));

  gsync::StoreYearIndexSource source(*store);
  const YearIndex index =
      calendar::ensureYearIndex(2025, folder.path(), calendar::bundledHolidays(), source);
  EXPECT_EQ(daysOf(index, kYoga), (std::vector<std::string>{"2025-03-04", "2025-03-11"}));
  EXPECT_TRUE(base::fileExists(folder.file("2025.tmp")));
}

}  // namespace
