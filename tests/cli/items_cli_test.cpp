#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "base/files.h"
#include "base/ini.h"
#include "base/secret.h"
#include "base/text.h"
#include "cli/command.h"
#include "cli_test_support.h"

namespace fs = std::filesystem;

namespace {

using ItemsCli = clitest::SampleAccount;

TEST_F(ItemsCli, PrintsEveryItemInLoadOrder) {
  ASSERT_EQ(run({"items", "--cache", cache_}), 0) << err_;
  EXPECT_EQ(err_, "");
  ASSERT_EQ(out_.size(), 28u);
  EXPECT_EQ(out_[0],
            "김민지\tminji.kim@gmail.com\t-1\t7hq2c9v1bn4m6k8j0l3p5r7t9v\t팀 주간 회의\t\t1\t"
            "2025-03-10 10:00\t2025-03-10 11:00");
  const std::vector<std::string> task = base::split(out_[22], '\t');
  ASSERT_EQ(task.size(), 9u);
  EXPECT_EQ(task[0], "할일");
  EXPECT_EQ(task[2], "-2");
  EXPECT_EQ(task[5], "진행중");
  EXPECT_EQ(task[7], "2025-03-20 00:00");
  // Recurring events carry a short description of their rule.
  const std::vector<std::string> weekly = base::split(out_[2], '\t');
  EXPECT_EQ(weekly[4], "요가 수업");
  EXPECT_EQ(weekly[2], "1");
  EXPECT_FALSE(weekly[5].empty());
  EXPECT_LE(base::cp949Width(weekly[5]), 20u);
}

TEST_F(ItemsCli, UnreadableFilesAreNamedAndTheRestLoads) {
  fs::remove(cache_ + "/clr_event.txt");
  base::writeBytesAtomic(cache_ + "/ZkxxR1B4cTNCX2VKX0VvUg.txt", "{\"items\": [");
  EXPECT_EQ(run({"items", "--cache", cache_}), 1);
  EXPECT_NE(err_.find("clr_event.txt"), std::string::npos) << err_;
  EXPECT_NE(err_.find("ZkxxR1B4cTNCX2VKX0VvUg.txt"), std::string::npos) << err_;
  EXPECT_EQ(out_.size(), 26u);  // all but the two tasks of the broken list
}

TEST_F(ItemsCli, RejectsUnknownArguments) {
  EXPECT_EQ(run({"items", "--cash", cache_}), 2);
  EXPECT_EQ(run({"items", "--cache", root_ + "/none"}), 1);
  EXPECT_NE(err_.find("none"), std::string::npos);
}

}  // namespace
