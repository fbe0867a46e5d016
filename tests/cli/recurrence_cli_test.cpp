#include <gtest/gtest.h>

#include <sstream>

#include "cli/command.h"
#include "cli_test_support.h"

using clitest::run;

TEST(RecurrenceCli, ExpandRulePrintsOccurrencesInGenerationOrder) {
  std::string out, err;
  ASSERT_EQ(run({"expand-rule", "RRULE:FREQ=DAILY;COUNT=10", "2014", "2013-12-25"}, out, err), 0) << err;
  EXPECT_EQ(out, "2014-01-01 00:00\n2014-01-02 00:00\n2014-01-03 00:00\n");
  ASSERT_EQ(run({"expand-rule", "RRULE:FREQ=MONTHLY;BYMONTHDAY=15,1;COUNT=3", "2014", "2014-01-01T09:30"}, out, err),
            0);
  EXPECT_EQ(out, "2014-01-15 09:30\n2014-01-01 09:30\n2014-02-15 09:30\n");
  ASSERT_EQ(run({"expand-rule", "EXDATE:20140101T000000", "2014", "2014-01-01"}, out, err), 0);
  EXPECT_EQ(out, "");
}

TEST(RecurrenceCli, ExpandRuleRefusesBadArguments) {
  std::string out, err;
  EXPECT_EQ(run({"expand-rule", "RRULE:FREQ=DAILY", "2014"}, out, err), 2);
  EXPECT_NE(err.find("usage"), std::string::npos);
  for (const char* start : {"2014-02-30", "2014-1-1", "2014-01-01T25:00", "2014-01-01 09:00", "x"}) {
    EXPECT_EQ(run({"expand-rule", "RRULE:FREQ=DAILY", "2014", start}, out, err), 2) << start;
    EXPECT_NE(err.find("시작 일시가 올바르지 않습니다"), std::string::npos) << start;
  }
  EXPECT_EQ(run({"expand-rule", "RRULE:FREQ=DAILY", "year", "2014-01-01"}, out, err), 2);
  EXPECT_NE(err.find("연도가 올바르지 않습니다"), std::string::npos);
  EXPECT_EQ(out, "");
}

TEST(RecurrenceCli, DescribeRulePrintsShortThenLong) {
  std::string out, err;
  ASSERT_EQ(run({"describe-rule", "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;UNTIL=20141231T000000Z"}, out, err), 0);
  EXPECT_EQ(out, "매주월,수\n매주, 월요일, 수요일, 2주마다, 2014년 12월 31일까지\n");
  EXPECT_EQ(run({"describe-rule"}, out, err), 2);
}
