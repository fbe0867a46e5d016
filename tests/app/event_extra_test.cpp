#include <gtest/gtest.h>

#include <filesystem>

#include "app/event_extra.h"
#include "base/datetime.h"
#include "base/files.h"
#include "base/text.h"

using namespace app;

namespace {
std::string freshFolder() {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("daybook-extra-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}
}  // namespace

TEST(EventExtra, PlanFileRoundTripsInListOrder) {
  const std::string path = base::joinPath(freshFolder(), "plan.dat");
  EventExtraList list;
  EventExtra& lunar = list.add("evt_lunar");
  lunar.category = 3;
  lunar.lunar = true;
  lunar.date = base::encodeDate(2014, 8, 15);
  EventExtra& pay = list.add("evt_pay");
  pay.category = 4;
  pay.date = base::encodeDateTime(2026, 12, 25, 13, 30);
  list.add("plain");
  ASSERT_TRUE(list.save(path));
  EXPECT_EQ(base::readLines(path)->at(0), "evt_lunar=3|1|41866");

  EventExtraList back;
  back.load(path);
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(back.records()[0].id, "evt_lunar");
  EXPECT_TRUE(back.records()[0].lunar);
  EXPECT_EQ(back.records()[1].category, 4);
  EXPECT_DOUBLE_EQ(back.records()[1].date, pay.date);  // shortest text reads back exactly
  EXPECT_EQ(back.records()[2].category, 0);
  EXPECT_EQ(back.find("evt_pay"), &back.records()[1]);
  EXPECT_EQ(back.find("EVT_PAY"), nullptr);  // ids are case-sensitive
}

TEST(EventExtra, LookupFindsTheFirstRecordOfAnId) {
  const std::string path = base::joinPath(freshFolder(), "plan.dat");
  base::writeLines(path, {"dup=1|0|0", "other=3|0|0", "dup=2|0|0"});
  EventExtraList list;
  list.load(path);
  ASSERT_NE(list.find("dup"), nullptr);
  EXPECT_EQ(list.find("dup")->category, 1);
  EXPECT_EQ(&list.findOrAdd("other"), list.find("other"));
  EXPECT_EQ(list.findOrAdd("new").category, 0);
  EXPECT_EQ(list.size(), 4u);
  list.clear();
  EXPECT_EQ(list.find("dup"), nullptr);
}

TEST(EventExtra, EmptyListLeavesTheFileAlone) {
  const std::string path = base::joinPath(freshFolder(), "plan.dat");
  base::writeLines(path, {"kept=1|0|0"});
  EventExtraList empty;
  ASSERT_TRUE(empty.save(path));
  EXPECT_EQ(*base::readLines(path), std::vector<std::string>{"kept=1|0|0"});
}

TEST(EventExtra, MalformedLinesReadAsZeroedFields) {
  struct Case {
    const char* line;
    int category;
    bool lunar;
    double date;
  } cases[] = {{"a=x|1|12.5", 0, true, 12.5},
               {"a=2|yes|", 2, false, 0},
               {"a=2", 2, false, 0},
               {"a=1|1|abc", 1, true, 0},
               {"id=with=equals|1|1", 0, true, 1}};  // the id ends at the first "="
  for (const Case& c : cases) {
    const EventExtra e = parseEventExtraLine(c.line);
    EXPECT_EQ(e.category, c.category) << c.line;
    EXPECT_EQ(e.lunar, c.lunar) << c.line;
    EXPECT_DOUBLE_EQ(e.date, c.date) << c.line;
  }
}
