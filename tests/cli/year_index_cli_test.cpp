#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
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

using YearIndexCli = clitest::SampleAccount;

TEST_F(YearIndexCli, WritesTheFileAndPrintsItsLines) {
  ASSERT_EQ(run({"year-index", "2025", "--cache", cache_}), 0) << err_;
  EXPECT_EQ(err_, "");
  // The folder ends with "/": the file name holds a single separator.
  ASSERT_TRUE(fs::exists(root_ + "/cache/2025.tmp"));
  EXPECT_EQ(base::readLines(root_ + "/cache/2025.tmp"), out_);
  const std::string bytes = base::readBytes(root_ + "/cache/2025.tmp").value_or("");
  EXPECT_TRUE(base::startsWith(bytes, "1=ho00001\r\n")) << bytes.substr(0, 40);
  EXPECT_TRUE(printed("77=1a3c5e7g9i1k3m5o7q9s1u3a5c"));  // yoga's EXDATE left out
  EXPECT_TRUE(printed("125=ho00005|ev7m2k9p4r1t6v3b8d5f0h7j2l"));
  EXPECT_FALSE(printed("126=ev7m2k9p4r1t6v3b8d5f0h7j2l"));  // all-day end date exclusive
}

TEST_F(YearIndexCli, UsesTheGivenHolidayFile) {
  const std::string holidays = root_ + "/holiday.dat";
  ASSERT_TRUE(base::writeLines(holidays, {"ho90001=0|1|3/18|시험 휴일", "ho90002=0|x|3/19|깨진 줄",
                                          "ho90003=1|3|1/1|설날|2025"}));
  ASSERT_EQ(run({"year-index", "--holidays", holidays, "2025", "--cache", cache_}), 0) << err_;
  EXPECT_TRUE(printed("77=ho90001|1a3c5e7g9i1k3m5o7q9s1u3a5c"));
  EXPECT_TRUE(printed("78=4kq1v0b9m2c7d8e3f5g6h7i8j9|1a3c5e7g9i1k3m5o7q9s1u3a5c"));
  EXPECT_TRUE(printed("28=ho90003") && printed("29=ho90003") && printed("30=ho90003"));
  EXPECT_FALSE(printed("1=ho00001"));
}

TEST_F(YearIndexCli, RejectsBadArguments) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"year-index"}, {"year-index", "twenty"}, {"year-index", "0"},
        {"year-index", "2025", "2026"}, {"year-index", "2025", "--cache"},
        {"year-index", "2025", "--cash", cache_}})
    EXPECT_EQ(run(args), 2) << base::format("%zu args", args.size());
  EXPECT_EQ(run({"year-index", "2025", "--cache", root_ + "/none"}), 1);
  EXPECT_EQ(run({"year-index", "2025", "--cache", cache_, "--holidays", root_ + "/none.dat"}), 1);
  EXPECT_NE(err_.find("none.dat"), std::string::npos);
  EXPECT_FALSE(fs::exists(root_ + "/cache/2025.tmp"));
}

}  // namespace
